// The oracle's native side: every case through the library's runtime (Format, CDate,
// CDbl, CCur of text under the case's locale) and its locale service.
//
// Usage: zv_oracle_native CASES ANSWERS
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "case_io.h"
#include "platform/locale.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"
#include "runtime/vblocale.h"

namespace {

const zv::LocaleSettings& settings(int32_t lcid) {
  static std::map<int32_t, zv::LocaleSettings> cache;
  const auto [at, added] = cache.try_emplace(lcid);
  if (added) at->second = zv::readLocaleSettings(lcid);
  return at->second;
}

zv::Variant valueOf(const std::string& field) {
  const std::string text = field.substr(2);
  switch (field[0]) {
    case 'd':
      return zv::Variant(std::strtod(text.c_str(), nullptr));
    case 'c':
      return zv::Variant(zv::Currency{std::strtoll(text.c_str(), nullptr, 10)});
    case 't':
      return zv::Variant(zv::Date{std::strtod(text.c_str(), nullptr)});
  }
  return zv::Variant(zv::fromUtf8(text));
}

std::string localeItem(const oracle::Case& c) {
  const auto type = static_cast<int32_t>(std::stoul(c.fields.at(0)));
  const zv::String item = zv::platform::localeInfoAnsi(c.lcid, type);
  if (type & oracle::kReturnNumber) {
    std::string bytes;
    for (char16_t ch : item)
      bytes += static_cast<char>(ch);
    return item.empty() ? std::string() : oracle::bytesText(bytes);
  }
  return oracle::escape(zv::toUtf8(item.substr(0, item.find(u'\0'))));
}

std::string answer(const oracle::Case& c) {
  const zv::String text = zv::fromUtf8(c.fields.at(0));
  switch (c.kind) {
    case 'F':
      return oracle::escape(zv::toUtf8(
          zv::format(valueOf(c.fields.at(0)), zv::fromUtf8(c.fields.at(1)), settings(c.lcid))));
    case 'D': {
      const auto date = zv::parseDate(text, settings(c.lcid));
      return date ? oracle::dateText(date->days) : oracle::error(13);
    }
    case 'R':
      return oracle::shortest(zv::doubleFromText(text, settings(c.lcid)));
    case 'C':
      return oracle::currencyText(zv::currencyFromText(text, settings(c.lcid)).units);
    case 'L':
      return localeItem(c);
  }
  return oracle::error(5);
}

}  // namespace

int main(int argc, char** argv) {
  return oracle::run(argc, argv, [](const oracle::Case& c) {
    try {
      return answer(c);
    } catch (const zv::Error& e) {
      return oracle::error(e.number());
    }
  });
}
