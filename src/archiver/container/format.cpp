#include "archiver/container/format.h"

namespace zv::archiver {

namespace {

// Visits each (id, data) of an extra block; stops at the first malformed field.
template <class Visit>
void forEachExtra(std::string_view extra, Visit&& visit) {
  Fields fields(extra);
  while (fields.left() >= 4) {
    const uint16_t id = fields.u16();
    const uint16_t size = fields.u16();
    if (fields.left() < size) return;
    visit(id, fields.take(size));
  }
}

}  // namespace

std::optional<std::string_view> findExtra(std::string_view extra, uint16_t id) {
  std::optional<std::string_view> found;
  forEachExtra(extra, [&](uint16_t fieldId, std::string_view data) {
    if (fieldId == id && !found) found = data;
  });
  return found;
}

std::string withoutExtra(std::string_view extra, uint16_t id) {
  Bytes kept;
  forEachExtra(extra, [&](uint16_t fieldId, std::string_view data) {
    if (fieldId != id) kept.u16(fieldId).u16(data.size()).text(data);
  });
  return kept.data();
}

}  // namespace zv::archiver
