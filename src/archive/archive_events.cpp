#include "archive/archive_events.h"

#include "runtime/convert.h"

namespace zv {

void ZipLibEvents::Cancel(const String&, bool&) {}
void ZipLibEvents::PasswordRequest(String&, bool&) {}
void ZipLibEvents::Progress(int32_t, const String&) {}
void UnZipLibEvents::OverwritePrompt(const String&, int32_t&) {}

void ZipLibEvents::fire(const MemberInfo& event, Args& args) {
  if (args.size() != event.params.size()) return;
  const StringView name = event.name;
  if (equalsNoCase(name, u"Progress")) {
    Progress(toLong(args[0].value()), toString(args[1].value()));
  } else if (equalsNoCase(name, u"Cancel")) {
    bool cancel = toBoolean(args[1].value());
    Cancel(toString(args[0].value()), cancel);
    args[1].value() = Variant(cancel);
  } else if (equalsNoCase(name, u"PasswordRequest")) {
    String password = toString(args[0].value());
    bool cancel = toBoolean(args[1].value());
    PasswordRequest(password, cancel);
    args[0].value() = Variant(password);
    args[1].value() = Variant(cancel);
  }
}

void UnZipLibEvents::fire(const MemberInfo& event, Args& args) {
  if (!equalsNoCase(event.name, u"OverwritePrompt") || args.size() != 2)
    return ZipLibEvents::fire(event, args);
  int32_t response = toLong(args[1].value());
  OverwritePrompt(toString(args[0].value()), response);
  args[1].value() = Variant(response);
}

}  // namespace zv
