// A delimited text file loaded into a list-view model with LoadListViewFromASCII, then
// written as an HTML page, an XML document or delimited text, chosen by the output's
// extension or --to. A large input shows the import's progress bar on the terminal.
#include "convert_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "api/LstViewLib.h"
#include "api/ProgressBar.h"
#include "frame/classes.h"
#include "frame/report_listener.h"
#include "progress_bar.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;

// Inputs from this size on show the bar.
constexpr std::uintmax_t kLargeInput = 4 << 20;

int usage() {
  std::fputs(
      "usage: zvv convert [--to html|xml|csv|txt] [--separator SEP] [--no-header] [--quotes]\n"
      "                   INPUT OUTPUT\n"
      "  INPUT is delimited text (SEP: a text, or \"tab\"; by default \",\" for .csv, else a\n"
      "  tab); its first line holds the captions unless --no-header. --quotes removes the\n"
      "  double quotes around fields. OUTPUT's extension (.htm/.html, .xml, .csv, .txt/.tsv)\n"
      "  chooses the format unless --to does.\n",
      stderr);
  return 2;
}

// The caller's progress bar the import advances, drawn as the terminal's bar.
class TerminalBar final : public zv::ProgressBar {
 public:
  explicit TerminalBar(std::string label) : bar_(1), label_(std::move(label)) {}

  float get_Min() override { return min_; }
  void let_Min(float newValue) override { min_ = newValue; }
  float get_Max() override { return max_; }
  void let_Max(float newValue) override { max_ = newValue; }
  float get_Value() override { return value_; }
  void let_Value(float newValue) override {
    value_ = newValue;
    bar_.moveTo(static_cast<int64_t>(value_ - min_), static_cast<int64_t>(max_ - min_), label_);
  }
  void let_Visible(bool newValue) override {
    if (!newValue) bar_.clear();
    stored_Visible = newValue;
  }
  int32_t get_RefreshCount() override { return 0; }
  void Refresh() override {}

 private:
  zvv::ProgressBar bar_;
  std::string label_;
  float min_ = 0, max_ = 100, value_ = 0;
};

enum class Format { Html, Xml, Csv, Text, Unknown };

Format formatNamed(std::string name) {
  for (char& c : name)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name == "html" || name == "htm") return Format::Html;
  if (name == "xml") return Format::Xml;
  if (name == "csv") return Format::Csv;
  if (name == "txt" || name == "tsv") return Format::Text;
  return Format::Unknown;
}

Format formatOf(const std::string& file) {
  const std::string extension = std::filesystem::path(file).extension().string();
  return extension.empty() ? Format::Unknown : formatNamed(extension.substr(1));
}

struct Options {
  Format format = Format::Unknown;
  std::string separator;
  bool header = true;
  bool quotes = false;
  std::string input, output;
};

bool parse(int argc, char** argv, Options& o) {
  std::vector<std::string> files;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--to" && i + 1 < argc) {
      o.format = formatNamed(argv[++i]);
      if (o.format == Format::Unknown) return false;
    } else if (a == "--separator" && i + 1 < argc) {
      o.separator = argv[++i];
    } else if (a == "--no-header") {
      o.header = false;
    } else if (a == "--quotes") {
      o.quotes = true;
    } else if (a.starts_with("--")) {
      return false;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return false;
  o.input = files[0];
  o.output = files[1];
  if (o.format == Format::Unknown) o.format = formatOf(o.output);
  if (o.separator.empty()) o.separator = formatOf(o.input) == Format::Csv ? "," : "tab";
  if (o.separator == "tab") o.separator = "\t";
  return o.format != Format::Unknown;
}

// The headers' texts joined by `delimiter`, each between `enclose`: the first line of a
// delimited output.
String headerLine(const ObjectRef& view, const String& delimiter, const String& enclose) {
  const ObjectRef headers = zv::toObject(zv::get(view, u"ColumnHeaders"));
  const int32_t count = zv::toLong(zv::get(headers, u"Count"));
  String line;
  for (int32_t c = 1; c <= count; ++c) {
    if (c > 1) line += delimiter;
    const ObjectRef header = zv::toObject(zv::call(headers, u"Item", {zv::Variant(c)}));
    line += enclose + zv::toString(zv::get(header, u"Text")) + enclose;
  }
  return line;
}

bool write(zv::LstViewLib& lib, ObjectRef& view, const Options& o) {
  const String output = zv::fromUtf8(o.output);
  bool no = false;
  int16_t none = 0;
  switch (o.format) {
    case Format::Html: {
      String title = zv::fromUtf8(std::filesystem::path(o.input).filename().string());
      String tableTitle, white = u"white", black = u"black", header = u"#DDDDDD",
                         second = u"#F4F4F4", font = u"Verdana", image;
      bool includeHeader = true;
      return lib.ListViewToHTMLfile(output, view, title, tableTitle, no, white, black, header,
                                    white, second, font, font, none, no, image, none,
                                    includeHeader);
    }
    case Format::Xml:
      return lib.ListViewToXMLfile(output, view, no, no, none);
    default: {
      const bool csv = o.format == Format::Csv;
      String delimiter = csv ? u"," : u"\t", enclose = csv ? u"\"" : u"", empty;
      String first = o.header ? headerLine(view, delimiter, enclose) : String();
      return lib.ListViewToASCII(output, view, delimiter, enclose, no, empty, empty, none, first);
    }
  }
}

}  // namespace

int convertCommand(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) return usage();
  auto lib = zv::LstViewLib::create();
  ObjectRef view = zv::createModel(u"ListView");
  std::error_code ec;
  if (std::filesystem::file_size(o.input, ec) >= kLargeInput && !ec) {
    ObjectRef bar = std::make_shared<TerminalBar>(o.input);
    lib->SetProgressBar(bar);
  }
  // The library's silent reports say why a step failed.
  zv::setReportListener([](const String& message, bool) {
    std::fprintf(stderr, "zvv: %s\n", zv::toUtf8(message).c_str());
  });
  try {
    if (!lib->LoadListViewFromASCII(zv::fromUtf8(o.input), view, o.header, o.quotes, false, false,
                                    false, zv::fromUtf8(o.separator), true, String(), 0, false)) {
      std::fprintf(stderr, "zvv: could not load %s\n", o.input.c_str());
      return 1;
    }
    if (!write(*lib, view, o)) {
      std::fprintf(stderr, "zvv: could not write %s\n", o.output.c_str());
      return 1;
    }
    const int32_t rows = zv::toLong(zv::get(zv::toObject(zv::get(view, u"ListItems")), u"Count"));
    const int32_t columns =
        zv::toLong(zv::get(zv::toObject(zv::get(view, u"ColumnHeaders")), u"Count"));
    std::printf("%s: %d rows, %d columns\n", o.output.c_str(), rows, columns);
    return 0;
  } catch (const zv::Error& e) {
    std::fprintf(stderr, "Error %d: %s\n", e.number(), zv::toUtf8(e.description()).c_str());
    return 1;
  }
}

}  // namespace zvv
