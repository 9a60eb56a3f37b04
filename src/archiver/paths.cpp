#include "archiver/paths.h"

#include "archiver/os/os.h"
#include "archiver/text.h"

namespace zv::archiver {

namespace {

std::vector<std::string> split(std::string_view text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '/' || c == '\\')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

bool hasDrive(std::string_view text) {
  return text.size() >= 2 && text[1] == ':' &&
         ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

}  // namespace

std::string entryNameOf(std::string_view path) {
  std::string name = forwardSlashes(path);
  if (hasDrive(name)) name.erase(0, 2);
  for (;;) {
    if (!name.empty() && name[0] == '/')
      name.erase(0, 1);
    else if (name.rfind("./", 0) == 0)
      name.erase(0, 2);
    else if (name.rfind("../", 0) == 0)
      name.erase(0, 3);
    else
      break;
  }
  return name == "." || name == ".." ? std::string() : name;
}

std::optional<std::vector<std::string>> safeParts(std::string_view entryName) {
  if (entryName.empty() || entryName[0] == '/' || entryName[0] == '\\' || hasDrive(entryName))
    return std::nullopt;
  std::vector<std::string> parts;
  for (std::string& part : split(entryName)) {
    if (part.empty() || part == ".") continue;
    if (part == ".." || part.find(':') != std::string::npos) return std::nullopt;
    parts.push_back(std::move(part));
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

std::optional<std::vector<std::string>> linkDestination(const std::vector<std::string>& linkParts,
                                                        std::string_view target) {
  if (target.empty() || target[0] == '/' || target[0] == '\\' || hasDrive(target))
    return std::nullopt;
  std::vector<std::string> at(linkParts.begin(), linkParts.end() - 1);
  for (std::string& part : split(target)) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (at.empty()) return std::nullopt;
      at.pop_back();
    } else {
      at.push_back(std::move(part));
    }
  }
  return at;
}

std::string joinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path(folder);
  if (path.back() != '/' && path.back() != os::separator()) path += os::separator();
  return path + std::string(name);
}

std::string folderOf(std::string_view path) {
  const size_t cut = path.find_last_of("/\\");
  if (cut == std::string_view::npos) return {};
  return std::string(path.substr(0, cut == 0 ? 1 : cut));
}

std::string lastPartOf(std::string_view path) {
  const size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace zv::archiver
