// One run of the zip side: adds, updates or freshens files in an archive, or deletes
// entries from it, writing the new archive beside the old one and replacing it at the end.
#pragma once

#include <string>
#include <vector>

#include "archiver/container/line_ends.h"
#include "archiver/interface.h"

namespace zv::archiver {

// The option record in the archiver's own terms.
struct ZipSettings {
  std::string rootFolder;  // relative names start here
  std::string tempFolder;  // "" for the archive's own folder
  bool encrypt = false;
  bool includeHidden = false;
  bool storeVolumeLabel = false;
  bool noFolderEntries = false;
  bool verbose = false;
  bool quiet = false;
  bool dropFolderNames = false;
  bool deleteEntries = false;
  bool update = false;   // only files newer than their entries, and new files
  bool freshen = false;  // only files newer than their entries
  bool askComment = false;
  LineEnds lineEnds = LineEnds::Keep;
  int recurse = 0;  // 1: named folders with their content; 2: patterns in subfolders too
  int level = 6;
};

ZipSettings zipSettingsOf(const ZPOPT& options);

// Runs with the archive and the file specifications (UTF-8); returns Info-ZIP's zip exit
// code.
int runZip(const ZipSettings& settings, const ZIPUSERFUNCTIONS& callbacks,
           const std::string& archive, const std::vector<std::string>& specs);

}  // namespace zv::archiver
