#include "demo_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "api/FileLib.h"
#include "api/RegistryLib.h"
#include "api/SystemLib.h"
#include "frame/classes.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"

namespace zvv {

namespace {

using zv::String;
using zv::Variant;
namespace fs = std::filesystem;

void say(const String& label, const String& value) {
  std::printf("  %-34s %s\n", zv::toUtf8(label).c_str(), zv::toUtf8(value).c_str());
}

// The Path= line of a .trashinfo file, percent-decoded.
std::string trashedFrom(const fs::path& info) {
  std::ifstream in(info);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Path=", 0) != 0) continue;
    std::string path;
    for (size_t i = 5; i < line.size(); ++i) {
      if (line[i] == '%' && i + 2 < line.size()) {
        path += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        path += line[i];
      }
    }
    return path;
  }
  return std::string();
}

// Puts every file of the demo's trash back where it was.
int restoreFromTrash(const fs::path& trash) {
  int restored = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(trash / "info", ec)) {
    const std::string original = trashedFrom(entry.path());
    const fs::path file = trash / "files" / entry.path().stem();
    if (original.empty() || fs::exists(original)) continue;
    fs::rename(file, original, ec);
    if (!ec && fs::remove(entry.path(), ec)) ++restored;
  }
  return restored;
}

}  // namespace

void filesDemoPart(const String& folder) {
  std::puts("Files, recycle bin, registry and system report (FileLib, RegistryLib, SystemLib)");
  const std::string dir = zv::toUtf8(folder);
  ::setenv("ZV_REGISTRY", (dir + "/registry.db").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dir + "/xdg-data").c_str(), 1);

  auto files = zv::FileLib::create();
  const String letter = folder + u"/letter.txt", copy = folder + u"/letter-copy.txt";
  zv::ObjectRef box = zv::createModel(u"TextBox");
  zv::put(box, u"Text", Variant(String(u"Dear reader,\nthis letter travels.")));
  say(u"SaveTextBoxContent(letter.txt)",
      zv::booleanToString(files->SaveTextBoxContent(letter, box)));
  say(u"CopyFile(letter, letter-copy)", zv::booleanToString(files->CopyFile(letter, copy, true)));
  say(u"GetThisLineFile(copy, 2)", files->GetThisLineFile(copy, 2));
  Variant names(zv::SafeArray::vector(zv::VarType::Variant, 0, {Variant(copy)}));
  say(u"DeleteFilesToWindowsTrash(copy)",
      zv::longToString(files->DeleteFilesToWindowsTrash(names)));
  say(u"isFileExist(copy) after", zv::booleanToString(files->isFileExist(copy)));
  say(u"restored from the trash",
      zv::longToString(restoreFromTrash(fs::path(dir) / "xdg-data" / "Trash")));
  say(u"isFileExist(copy) restored", zv::booleanToString(files->isFileExist(copy)));

  auto registry = zv::RegistryLib::create();
  String section = u"Software\\ZivoviViruvov\\Demo";
  int32_t currentUser = static_cast<int32_t>(0x80000001u);
  registry->WriteRegistryCurrentUser(section, u"Greeting", u"Bonjour");
  say(u"registry store", zv::fromUtf8(dir + "/registry.db"));
  say(u"isKeySectionExists(HKCU, ...\\Demo)",
      zv::booleanToString(registry->isKeySectionExists(currentUser, section)));
  const Variant values = registry->EnumerateRegistryValues(section, currentUser);
  const zv::SafeArray& first = values.arrayValue().at(1).arrayValue();
  const String data = zv::toString(first.at(1));
  say(u"EnumerateRegistryValues: " + zv::toString(first.at(0)),
      data.substr(0, data.find(u'\0')) + u" (" + zv::toString(first.at(2)) + u")");

  const String report = folder + u"/host-config.txt";
  zv::SystemLib::create()->HostConfig(report);
  say(u"HostConfig(host-config.txt)", u"first lines:");
  std::ifstream in(dir + "/host-config.txt", std::ios::binary);
  std::string line;
  for (int n = 0; n < 5 && std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::printf("    %s\n", zv::toUtf8(zv::fromAnsi(line)).c_str());
  }
}

}  // namespace zvv
