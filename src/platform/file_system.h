// Directory listings with the attributes the library's existence tests look at; the file
// operations of VB's statements (FileCopy, Kill, MkDir, ChDir) with the errors they raise;
// the environment and the folders the library looks in.
#pragma once

#include <functional>

#include "runtime/text.h"

namespace zv::platform {

struct DirectoryEntry {
  String name;
  bool directory = false;
  // On POSIX a name starting with "." is hidden, and anything that is neither a regular
  // file nor a folder is a system entry.
  bool hidden = false;
  bool system = false;
};

// Visits the entries that match `pattern`: a folder path and a last part that may hold
// the wildcards * and ? ("*.*" matches every name). `visit` returns false to stop. A
// folder that cannot be read visits nothing. Listing a folder ("dir/*.*") includes the
// entry "." that names the folder itself, as Windows does.
void forEachMatch(const String& pattern, const std::function<bool(const DirectoryEntry&)>& visit);

// The separator the platform's paths use ('/' on POSIX, '\' on Windows).
char16_t pathSeparator();
// Whether names differing only in case are different files (POSIX) or the same (Windows).
bool caseSensitivePaths();
// The separator of the items of the search path PATH (':' on POSIX, ';' on Windows).
char16_t pathListSeparator();

// The environment variable `name` as it is at the call ("" when unset).
String environmentVariable(StringView name);

// FileCopy: 53 missing source, 76 missing folder, 70 denied, 55 a file locked by another
// program, 75 a folder or an unusable name, 61 a full disk.
void copyFile(const String& from, const String& to);
// A whole-file write goes to a new empty file beside `target` (same folder, the target's
// permissions), which replaceFile then puts in the target's place: a failure on the way
// leaves the old file whole. Errors as opening `target` for writing gives them: 76 missing
// folder, 70 denied, 75 otherwise.
String createScratchBeside(const String& target);
// Puts `scratch` in the place of `target` in one step (a reader sees the old file or the
// new one, never a part); 70 denied, 75 otherwise.
void replaceFile(const String& scratch, const String& target);
// Kill: 53 missing file, 70 denied, 75 a folder.
void deleteFile(const String& path);
// MkDir, one level: 75 when it exists or cannot be made, 76 missing parent.
void createDirectory(const String& path);
// CurDir and ChDir (76 for a missing folder or one that cannot be entered).
String currentDirectory();
void setCurrentDirectory(const String& path);

// The folder holding the library's own file (the DLL, or the program or module the
// library is linked into), without a final separator.
String libraryFolder();
// The folder for temporary files: TMPDIR, else /tmp on POSIX; TMP, else TEMP, else the
// library's folder on Windows.
String temporaryFolder();

}  // namespace zv::platform
