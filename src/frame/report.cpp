#include "frame/report_listener.h"
#include "frame/varnix.h"
#include "platform/user_interface.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/trap.h"

namespace zv {

namespace {

// The report's own statements: a failure is skipped and leaves the pending error as it was.
template <class Statement>
void ignoringFailure(Statement&& statement) {
  const PendingError saved = pendingError();
  resumeNext(statement);
  pendingError() = saved;
}

}  // namespace

String ReportErrorText(const String& theMessage) {
  const PendingError& e = pendingError();
  if (e.number == 0) return theMessage;
  String text = theMessage + u"\r\n\r\nError #" + longToString(e.number);
  if (e.line != 0) text += u" - Line n\u00B0 " + longToString(e.line);
  text += u" by " + e.source;
  if (!e.description.empty()) text += u"\r\n" + e.description;
  return text;
}

void ReportError(const String& theMessage, bool showIt) {
  auto& ui = platform::userInterface();
  ignoringFailure([&] { ui.setMousePointer(platform::kDefaultPointer); });
  if (showIt) {
    resumeNext([&] {
      const PendingError& e = pendingError();
      ui.messageBox({ReportErrorText(theMessage), u"Error message",
                     platform::kCritical | platform::kSetForeground, e.helpFile, e.helpContext});
    });
  }
  ignoringFailure([&] { notifyReport(theMessage, showIt); });
  clearPendingError();
}

void ShowInformation(const String& theMessage, const String& theTitle) {
  auto& ui = platform::userInterface();
  ignoringFailure([&] { ui.setMousePointer(platform::kDefaultPointer); });
  ignoringFailure([&] {
    ui.messageBox({theMessage, theTitle.empty() ? String(u"Information") : theTitle,
                   platform::kInformation, String(), 0});
  });
}

}  // namespace zv
