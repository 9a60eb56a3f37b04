// The desktop shell: opening a document with its program, the recycle bin, starting
// programs and the recent-documents list.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/types.h"

namespace zv::platform {

// ShellExecute's result codes below 33 (a failure); 42 stands for success.
namespace shell {
inline constexpr int32_t kOpened = 42;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kPathNotFound = 3;
inline constexpr int32_t kAccessDenied = 5;
inline constexpr int32_t kOutOfMemory = 8;
inline constexpr int32_t kBadFormat = 11;
inline constexpr int32_t kNoAssociation = 31;
}  // namespace shell

// Opens `file` with its associated program (the "Open" verb), without waiting for it.
int32_t openDocument(const String& file);

// Moves files (and folders) to the recycle bin, as SHFileOperation's delete with undo
// does: 0 on success, else a Windows error code (2 missing file, 5 denied, ...).
int32_t moveToTrash(const std::vector<String>& paths);

// Starts a command line as VB's Shell does, without waiting: the process identifier, or a
// code below 32 when the program does not start (2 not found, 5 denied, 8 no memory,
// 11 not a program). `windowState` is VB's (0 hidden, 1 normal, 2 minimized, ...).
int32_t launchProgram(const String& commandLine, int16_t windowState);

// Adds a document to the user's recent documents.
void addRecentDocument(const String& path);

}  // namespace zv::platform
