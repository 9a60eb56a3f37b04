// The recent-documents list on POSIX: the freedesktop.org recently-used.xbel in
// $XDG_DATA_HOME. A document already listed gets new modified and visited times; a new
// one is added with its MIME type and this program as the application. The file is
// replaced atomically (written beside it, then renamed over it).
#include <errno.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/posix/xdg_posix.h"
#include "platform/shell.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

const char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "</xbel>\n";

std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string mimeType(const std::string& path) {
  static const std::pair<const char*, const char*> kTypes[] = {
      {".txt", "text/plain"},      {".htm", "text/html"},       {".html", "text/html"},
      {".xml", "application/xml"}, {".rtf", "application/rtf"}, {".csv", "text/csv"},
      {".pdf", "application/pdf"}, {".zip", "application/zip"}, {".reg", "text/plain"}};
  const size_t dot = path.find_last_of("./");
  if (dot != std::string::npos && path[dot] == '.') {
    std::string extension = path.substr(dot);
    for (char& c : extension)
      c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const auto& [ext, type] : kTypes)
      if (extension == ext) return type;
  }
  return "application/octet-stream";
}

// Sets attribute `name` of the start tag that begins at `tag` (up to its ">").
void setAttribute(std::string& xml, size_t tag, const std::string& name, const std::string& value) {
  const size_t end = xml.find('>', tag);
  const size_t at = xml.find(" " + name + "=\"", tag);
  if (at != std::string::npos && at < end) {
    const size_t from = at + name.size() + 3;
    xml.replace(from, xml.find('"', from) - from, value);
  } else {
    xml.insert(end, " " + name + "=\"" + value + "\"");
  }
}

std::string newBookmark(const std::string& href, const std::string& path, const std::string& when) {
  const std::string app = xmlEscaped(program_invocation_short_name);
  return "  <bookmark href=\"" + href + "\" added=\"" + when + "\" modified=\"" + when +
         "\" visited=\"" + when +
         "\">\n"
         "    <info>\n"
         "      <metadata owner=\"http://freedesktop.org\">\n"
         "        <mime:mime-type type=\"" +
         mimeType(path) +
         "\"/>\n"
         "        <bookmark:applications>\n"
         "          <bookmark:application name=\"" +
         app + "\" exec=\"&apos;" + app + " %u&apos;\" modified=\"" + when +
         "\" count=\"1\"/>\n"
         "        </bookmark:applications>\n"
         "      </metadata>\n"
         "    </info>\n"
         "  </bookmark>\n";
}

bool replaceFile(const std::string& file, const std::string& content) {
  std::string temporary = file + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < content.size();) {
    const ssize_t put = ::write(fd, content.data() + done, content.size() - done);
    if (put < 0 && errno == EINTR) continue;
    ok = put > 0;
    if (ok) done += static_cast<size_t>(put);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace

void addRecentDocument(const String& path) {
  if (path.empty()) return;
  const std::string folder = posix::dataHome();
  if (!posix::makeFolders(folder, 0700)) return;
  const std::string file = folder + "/recently-used.xbel";
  std::ifstream in(file, std::ios::binary);
  std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (xml.find("</xbel>") == std::string::npos) xml = kEmptyList;
  const std::string absolute = posix::absolutePath(toUtf8(path));
  const std::string href = "file://" + posix::percentEncode(absolute);
  const std::string when = posix::timestamp(true);
  const size_t existing = xml.find("<bookmark href=\"" + href + "\"");
  if (existing != std::string::npos) {
    setAttribute(xml, existing, "modified", when);
    setAttribute(xml, existing, "visited", when);
  } else {
    xml.insert(xml.rfind("</xbel>"), newBookmark(href, absolute, when));
  }
  replaceFile(file, xml);
}

}  // namespace zv::platform
