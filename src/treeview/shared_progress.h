// The progress object the tree routines of the calling thread share (TrViewLib's
// SetProgressBar sets it); the tree XML routines move it only while it is set.
#pragma once

#include <memory>

#include "api/ProgressLib.h"

namespace zv::treeview {

std::shared_ptr<zv::ProgressLib>& sharedProgress();

}  // namespace zv::treeview
