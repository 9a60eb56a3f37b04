// The reports the library makes, shown or not, for hosts and tests that want to see them:
// most reports are silent (they only clear the pending error), so without a listener
// nothing tells which message a failed method reported.
#pragma once

#include <functional>

#include "runtime/types.h"

namespace zv {

// Receives each ReportError call's message (without the error's details) and whether a
// box showed it.
using ReportListener = std::function<void(const String& message, bool shown)>;

// Installs `listener` for the whole process (an empty one removes it) and returns the one
// it replaces.
ReportListener setReportListener(ReportListener listener);

// Tells the installed listener, if any (ReportError does).
void notifyReport(const String& message, bool shown);

}  // namespace zv
