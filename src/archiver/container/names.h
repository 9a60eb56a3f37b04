// Entry names as stored in archives: UTF-8 marked by the language-encoding flag, Info-ZIP's
// Unicode path field, or code page 437 (the original encoding, still what readers assume
// for unmarked names).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv::archiver {

// The UTF-8 name of an entry stored as `raw` with `flags` and central `extra` by `host`.
// Unmarked names from Unix hosts that are valid UTF-8 are taken as UTF-8, as Unix zip
// tools write them so.
std::string decodeName(std::string_view raw, uint16_t flags, std::string_view extra, uint8_t host);

// Whether a UTF-8 name needs the language-encoding flag (it holds non-ASCII characters).
bool needsUtf8Flag(std::string_view name);

}  // namespace zv::archiver
