// Entry names and the paths they come from or go to.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::archiver {

// The entry name a file path is stored under: "/" between folders, without a drive, a
// leading "/" or leading "./" and "../" parts (Info-ZIP stores "../a.txt" as "a.txt").
std::string entryNameOf(std::string_view path);

// The folders and file name an entry extracts to, when every part stays inside the
// extraction folder: no absolute path, drive, "..", ":" or empty part ("./" parts are
// dropped). "\" counts as a separator too. nullopt for a name that would lead out.
std::optional<std::vector<std::string>> safeParts(std::string_view entryName);

// Where a symbolic link at `linkParts` (its own name last) pointing to `target` leads,
// as parts under the extraction folder; nullopt when it leads out of it.
std::optional<std::vector<std::string>> linkDestination(const std::vector<std::string>& linkParts,
                                                        std::string_view target);

std::string joinPath(std::string_view folder, std::string_view name);

// The folder part of a path ("" for a bare name) and its last part.
std::string folderOf(std::string_view path);
std::string lastPartOf(std::string_view path);

}  // namespace zv::archiver
