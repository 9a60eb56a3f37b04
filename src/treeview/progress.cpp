// The progress object the tree routines of one thread share: set by any TrViewLib, dropped
// when one is created or destroyed.
#include "api/ProgressLib.h"
#include "frame/traps.h"
#include "treeview/TrViewLib.h"
#include "treeview/shared_progress.h"

namespace zv::treeview {

std::shared_ptr<zv::ProgressLib>& sharedProgress() {
  thread_local std::shared_ptr<zv::ProgressLib> progress;
  return progress;
}

}  // namespace zv::treeview

namespace zv::impl {

using treeview::sharedProgress;

TrViewLib::TrViewLib() {
  sharedProgress().reset();
}

TrViewLib::~TrViewLib() {
  sharedProgress().reset();
}

void TrViewLib::SetProgressBar(ObjectRef& theBar, bool displayERR) {
  reportAndReturn(
      [&] {
        auto& progress = sharedProgress();
        if (!progress) progress = zv::ProgressLib::create();
        progress->SetProgressBar(theBar, displayERR);
      },
      u"Error on setting the Tree progress bar");
}

void TrViewLib::unSetProgressBar() {
  // Without a shared progress object there is nothing to hide.
  if (auto progress = std::move(sharedProgress())) progress->unSetProgressBar(false);
}

}  // namespace zv::impl
