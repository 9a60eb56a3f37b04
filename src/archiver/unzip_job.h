// One run of the unzip side: lists, tests or extracts the entries of an archive.
#pragma once

#include <string>
#include <vector>

#include "archiver/interface.h"

namespace zv::archiver {

// The option record in the archiver's own terms.
struct UnzipSettings {
  std::string archive;
  std::string folder;  // "" extracts into the current folder
  bool list = false;
  bool test = false;
  bool onlyNewer = false;  // existing files only when the entry is newer; new files too
  bool freshen = false;    // existing files only, when the entry is newer
  bool overwrite = false;
  bool promptToOverwrite = false;
  bool keepFolders = false;
  bool spacesToUnderscores = false;
  bool nativeLineEnds = false;  // text entries get the platform's line ends
  bool ignoreCase = false;      // in the name patterns
  int quiet = 0;                // 0 every message, 1 problems only, 2 none
};

UnzipSettings unzipSettingsOf(const DCL& options);

// Runs on the entries matching `includes` (all when empty) and none of `excludes` (UTF-8
// patterns); returns Info-ZIP's unzip exit code.
int runUnzip(const UnzipSettings& settings, USERFUNCTIONS& callbacks,
             const std::vector<std::string>& includes, const std::vector<std::string>& excludes);

}  // namespace zv::archiver
