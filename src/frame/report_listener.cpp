#include "frame/report_listener.h"

#include <mutex>

namespace zv {

namespace {

std::mutex gMutex;
ReportListener gListener;

}  // namespace

ReportListener setReportListener(ReportListener listener) {
  std::lock_guard lock(gMutex);
  std::swap(gListener, listener);
  return listener;
}

void notifyReport(const String& message, bool shown) {
  ReportListener listener;
  {
    std::lock_guard lock(gMutex);
    listener = gListener;
  }
  if (listener) listener(message, shown);
}

}  // namespace zv
