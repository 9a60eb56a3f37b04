#include "reg_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "runtime/ansi.h"
#include "runtime/text.h"

namespace zvv {

namespace {

namespace reg = zv::platform::reg;
using zv::String;

constexpr char16_t kVersion5[] = u"Windows Registry Editor Version 5.00";
constexpr char16_t kVersion4[] = u"REGEDIT4";
constexpr uint32_t kNameCapacity = 16384;

struct Root {
  const char16_t* name;
  const char16_t* abbreviation;
  int32_t value;
};
constexpr Root kRoots[] = {{u"HKEY_CLASSES_ROOT", u"HKCR", reg::kClassesRoot},
                           {u"HKEY_CURRENT_USER", u"HKCU", reg::kCurrentUser},
                           {u"HKEY_LOCAL_MACHINE", u"HKLM", reg::kLocalMachine},
                           {u"HKEY_USERS", u"HKU", reg::kUsers}};

struct KeyPath {
  const Root* root = nullptr;
  String subKey;  // without a leading "\"
};

KeyPath parseKeyPath(const String& path) {
  const size_t slash = path.find(u'\\');
  const String first = path.substr(0, slash);
  for (const Root& root : kRoots)
    if (zv::equalsNoCase(first, root.name) || zv::equalsNoCase(first, root.abbreviation))
      return {&root, slash == String::npos ? String() : path.substr(slash + 1)};
  throw std::runtime_error("unknown root key: " + zv::toUtf8(first));
}

// ---- reading ------------------------------------------------------------------------

String decodeFile(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
      static_cast<uint8_t>(bytes[1]) == 0xFE)
    return reg::fromUtf16le(std::string_view(bytes).substr(2));
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return zv::fromUtf8(bytes.substr(3));
  if (bytes.rfind("REGEDIT4", 0) == 0) return zv::fromAnsi(bytes);
  return zv::fromUtf8(bytes);
}

// Logical lines: CR LF or LF ends a line; a value line ending in "\" goes on with the next.
std::vector<std::pair<int, String>> logicalLines(const String& text) {
  std::vector<std::pair<int, String>> lines;
  String current;
  int number = 0, first = 0;
  bool continued = false;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(u'\n', start);
    if (end == String::npos) end = text.size();
    String line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    start = end + 1;
    ++number;
    if (continued) {
      current += zv::trim(line);
    } else {
      current = line;
      first = number;
    }
    continued = !current.empty() && current.back() == u'\\' && current[0] != u'[';
    if (continued)
      current.pop_back();
    else
      lines.emplace_back(first, current);
  }
  if (continued) lines.emplace_back(first, current);
  return lines;
}

// "aa,bb,..." as bytes.
std::string hexBytes(const String& list) {
  std::string bytes;
  for (size_t start = 0; start <= list.size();) {
    size_t comma = list.find(u',', start);
    if (comma == String::npos) comma = list.size();
    const String digits = zv::trim(list.substr(start, comma - start));
    start = comma + 1;
    if (digits.empty()) continue;
    if (digits.size() > 2 || digits.find_first_not_of(u"0123456789abcdefABCDEF") != String::npos)
      throw std::runtime_error("bad hex byte");
    bytes += static_cast<char>(std::stoul(zv::toUtf8(digits), nullptr, 16));
  }
  return bytes;
}

// A quoted name or text at `at` (just after its opening quote); `at` ends past the quote.
String quoted(const String& line, size_t& at) {
  String out;
  for (; at < line.size(); ++at) {
    if (line[at] == u'\\' && at + 1 < line.size()) {
      out += line[++at];
    } else if (line[at] == u'"') {
      ++at;
      return out;
    } else {
      out += line[at];
    }
  }
  throw std::runtime_error("unterminated quoted text");
}

void importValue(reg::Key key, const String& line, bool unicode) {
  size_t at = 0;
  String name;
  if (line[0] == u'@') {
    at = 1;
  } else {
    at = 1;
    name = quoted(line, at);
  }
  if (at >= line.size() || line[at] != u'=') throw std::runtime_error("expected '='");
  const String data = zv::trim(line.substr(at + 1));
  const std::string valueName = zv::toAnsi(name);
  int32_t status = 0;
  if (data == u"-") {
    status = reg::deleteValue(key, valueName);
    if (status == reg::kFileNotFound) status = 0;
  } else if (!data.empty() && data[0] == u'"') {
    size_t from = 1;
    status = reg::setValue(key, valueName, reg::kString, zv::toAnsi(quoted(data, from)) + '\0');
  } else if (data.rfind(u"dword:", 0) == 0) {
    const uint32_t number = std::stoul(zv::toUtf8(data.substr(6)), nullptr, 16);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
      bytes[i] = static_cast<char>(number >> (8 * i));
    status = reg::setValue(key, valueName, reg::kDword, bytes);
  } else if (data.rfind(u"hex", 0) == 0) {
    uint32_t type = reg::kBinary;
    size_t colon = data.find(u':');
    if (data.size() > 3 && data[3] == u'(') {
      type = std::stoul(zv::toUtf8(data.substr(4, data.find(u')') - 4)), nullptr, 16);
    }
    if (colon == String::npos) throw std::runtime_error("expected ':' after hex");
    std::string bytes = hexBytes(data.substr(colon + 1));
    if (unicode && reg::isTextType(type)) bytes = reg::ansiBytes(bytes);
    status = reg::setValue(key, valueName, type, bytes);
  } else {
    throw std::runtime_error("unknown value form");
  }
  if (status)
    throw std::runtime_error("the registry refused the value (error " + std::to_string(status) +
                             ")");
}

int importFile(const char* file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "zvv: cannot read %s\n", file);
    return 1;
  }
  const String text = decodeFile(std::string(std::istreambuf_iterator<char>(in), {}));
  const auto lines = logicalLines(text);
  reg::Key key = 0;
  bool unicode = true, headerSeen = false;
  int lineNumber = 0;
  try {
    for (const auto& [number, line] : lines) {
      lineNumber = number;
      const String content = zv::trim(line);
      if (content.empty() || content[0] == u';') continue;
      if (!headerSeen) {
        if (content != kVersion5 && content != kVersion4)
          throw std::runtime_error("not a registry file (no REGEDIT5 or REGEDIT4 header)");
        unicode = content == kVersion5;
        headerSeen = true;
      } else if (content[0] == u'[') {
        if (key) reg::closeKey(key);
        key = 0;
        const bool remove = content.size() > 1 && content[1] == u'-';
        const KeyPath path =
            parseKeyPath(content.substr(remove ? 2 : 1, content.rfind(u']') - (remove ? 2 : 1)));
        const reg::Key root = reg::rootKey(path.root->value);
        const std::string subKey = zv::toAnsi(path.subKey);
        const int32_t status =
            remove ? reg::deleteTree(root, subKey) : reg::createKey(root, subKey, key);
        if (status && !(remove && status == reg::kFileNotFound))
          throw std::runtime_error("the registry refused the key (error " + std::to_string(status) +
                                   ")");
      } else {
        if (!key) throw std::runtime_error("a value outside any key");
        importValue(key, content, unicode);
      }
    }
  } catch (const std::exception& e) {
    if (key) reg::closeKey(key);
    std::fprintf(stderr, "zvv: %s:%d: %s\n", file, lineNumber, e.what());
    return 1;
  }
  if (key) reg::closeKey(key);
  return 0;
}

// ---- writing ------------------------------------------------------------------------

String escapedText(const String& text) {
  String out;
  for (const char16_t c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out;
}

// "hex(N):" and the bytes, wrapped as regedit wraps them: a line ends with ",\" once its
// column reaches 76, and the next one starts with two blanks.
String hexValue(const String& prefix, const std::string& bytes) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  String out = prefix;
  size_t lineLength = out.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    lineLength += 2;
    if (i + 1 < bytes.size()) {
      out += u',';
      ++lineLength;
      if (lineLength >= 76) {
        out += u"\\\r\n  ";
        lineLength = 2;
      }
    }
  }
  return out;
}

String valueLine(const std::string& name, uint32_t type, const std::string& data) {
  String line = name.empty() ? String(u"@=") : u"\"" + escapedText(zv::fromAnsi(name)) + u"\"=";
  // A text ending in its only NUL is written as regedit writes it; any other stays bytes,
  // so that importing it again gives the same value.
  if (type == reg::kString && !data.empty() && data.find('\0') == data.size() - 1)
    return line + u"\"" + escapedText(zv::fromAnsi(data.substr(0, data.size() - 1))) + u"\"";
  if (type == reg::kDword && data.size() == 4) {
    char digits[16];
    std::snprintf(
        digits, sizeof digits, "dword:%08x",
        static_cast<uint32_t>(static_cast<uint8_t>(data[0]) | static_cast<uint8_t>(data[1]) << 8 |
                              static_cast<uint8_t>(data[2]) << 16 |
                              static_cast<uint32_t>(static_cast<uint8_t>(data[3])) << 24));
    return line + zv::fromUtf8(digits);
  }
  if (type == reg::kBinary) return hexValue(line + u"hex:", data);
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
  return hexValue(line + zv::fromUtf8(prefix),
                  reg::isTextType(type) ? reg::unicodeBytes(data) : data);
}

void exportKey(reg::Key key, const String& path, String& out) {
  out += u"[" + path + u"]\r\n";
  for (uint32_t index = 0;; ++index) {
    std::string name;
    uint32_t type = 0, size = 0;
    if (reg::enumValue(key, index, kNameCapacity, name, type, nullptr, size) != reg::kSuccess)
      break;
    reg::Buffer data(size, '\0');
    if (reg::queryValue(key, name, type, &data, size) != reg::kSuccess) continue;
    out += valueLine(name, type, data.substr(0, size)) + u"\r\n";
  }
  out += u"\r\n";
  for (uint32_t index = 0;; ++index) {
    std::string name;
    if (reg::enumKey(key, index, kNameCapacity, name) != reg::kSuccess) break;
    reg::Key child = 0;
    if (reg::openKey(key, name, reg::kRead, child) != reg::kSuccess) continue;
    exportKey(child, path + u"\\" + zv::fromAnsi(name), out);
    reg::closeKey(child);
  }
}

int exportFile(const char* keyText, const char* file) {
  KeyPath path;
  try {
    path = parseKeyPath(zv::fromUtf8(keyText));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zvv: %s\n", e.what());
    return 1;
  }
  reg::Key key = 0;
  if (reg::openKey(reg::rootKey(path.root->value), zv::toAnsi(path.subKey), reg::kRead, key)) {
    std::fprintf(stderr, "zvv: no key %s\n", keyText);
    return 1;
  }
  String text = String(kVersion5) + u"\r\n\r\n";
  exportKey(key, String(path.root->name) + (path.subKey.empty() ? u"" : u"\\" + path.subKey), text);
  reg::closeKey(key);
  const std::string bytes = "\xFF\xFE" + reg::toUtf16le(text);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "zvv: cannot write %s\n", file);
    return 1;
  }
  return 0;
}

}  // namespace

int regCommand(int argc, char** argv) {
  if (argc == 2 && std::string(argv[0]) == "import") return importFile(argv[1]);
  if (argc == 3 && std::string(argv[0]) == "export") return exportFile(argv[1], argv[2]);
  std::fputs("usage: zvv reg import FILE.reg | zvv reg export KEY FILE.reg\n", stderr);
  return 2;
}

}  // namespace zvv
