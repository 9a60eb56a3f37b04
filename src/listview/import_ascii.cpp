// A delimited text file into the caller's list-view: one record per line (or per group of
// lines when a quoted last field spans line breaks), headers from the first line, a header
// file or generic captions, and the instance's progress bar advanced line by line.
#include <algorithm>
#include <utility>

#include "api/FileLib.h"
#include "api/StrChr.h"
#include "frame/file_numbers.h"
#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"
#include "runtime/convert.h"
#include "text/separator_scan.h"

namespace zv::impl {

using namespace listview;

namespace {

constexpr char16_t kQuote = u'"';
const Variant kWidth{int16_t{1300}};
const Variant kLeft{int16_t{0}};

// The fields of a line one after another, as GetLeft and GetRight(..., True) cut a working
// copy again and again: a field beyond position 32767 of what is left is error 6; once the
// separator is no longer found, the rest is the last field and every later one is empty.
class FieldCursor {
 public:
  FieldCursor(StringView line, StringView separator)
      : line_(line), separator_(separator), scan_(line, separator) {}

  StringView next() {
    if (start_ >= line_.size()) return {};
    text::checkSeparatorLength(separator_);
    const size_t hit = scan_.next(start_);
    if (hit == text::SeparatorScan::npos) {
      const StringView field = line_.substr(start_);
      start_ = line_.size();
      return field;
    }
    text::checkPosition(hit, start_);
    const StringView field = line_.substr(start_, hit - start_);
    start_ = hit + separator_.size();
    return field;
  }

 private:
  StringView line_;
  StringView separator_;
  text::SeparatorScan scan_;
  size_t start_ = 0;
};

void trimInPlace(String& s) {
  const StringView kept = trimView(s);
  if (kept.size() == s.size()) return;
  if (kept.empty()) {  // all blanks: the view need not point into `s`
    s.clear();
    return;
  }
  const size_t from = static_cast<size_t>(kept.data() - s.data());
  s.erase(from + kept.size());
  s.erase(0, from);
}

bool startsWithQuote(StringView s) {
  return !s.empty() && s.front() == kQuote;
}
bool endsWithQuote(StringView s) {
  return !s.empty() && s.back() == kQuote;
}

// The import's options and where it stands, for the steps and for the failure report.
class AsciiImport {
 public:
  AsciiImport(LstViewLib& lib, ObjectRef& view, const String& separator, bool checkQuote,
              bool delComma)
      : lib_(lib),
        view_(view),
        separator_(separator),
        fieldSeparator_(checkQuote ? kQuote + separator : separator),
        checkQuote_(checkQuote),
        delComma_(delComma),
        str_(StrChr::create()) {}

  int32_t step = 2;
  int32_t index = 0;
  String line;

  void attach() {
    headers_ = headersOf(view_);
    rows_ = rowsOf(view_);
  }
  ObjectRef& view() { return view_; }
  const ObjectRef& rows() const { return rows_; }
  StrChr& str() { return *str_; }

  int32_t countFields() { return str_->CountItem(line, separator_); }

  // Step 7 with a header line: one caption a field, numbered when the list-view has it.
  void headersFromLine(int32_t n) {
    FieldCursor fields(line, separator_);
    for (index = 1; index <= n; ++index) {
      String f = trim(fields.next());
      if (f.empty()) f = u"Item #" + longToString(index);
      f = cleaned(f);
      const int32_t c = lib_.CountHeaderCaption(view_, trim(f));
      if (startsWithQuote(f)) f.erase(0, 1);
      if (endsWithQuote(f)) f.pop_back();
      const String caption = trim(f);
      if (c == 0)
        addHeader(headers_, withoutBlanks(caption) + longToString(index), caption, kWidth, kLeft);
      else
        addHeader(headers_, withoutBlanks(caption + u"#" + longToString(c)),
                  caption + u" #" + longToString(c), kWidth, kLeft);
    }
  }

  // Step 7 with a header file: false when it could not be opened.
  bool headersFromFile(const String& headerFile) {
    FileNumber file(OpenFileForInput(headerFile, true, false));
    if (!file.isOpen()) {
      ShowInformation(u"Unable to open the header file:\r\n" + headerFile, {});
      return false;
    }
    TextFile& in = file.file();
    for (index = 1; !in.atEnd(); ++index) {
      String caption = in.readLine();
      if (isBlank(caption)) caption = u"item #" + longToString(index);
      addHeader(headers_, withoutBlanks(trim(caption)), caption, kWidth, kLeft);
    }
    file.close();
    return true;
  }

  // Generic captions for columns `from` to `to`.
  void genericHeaders(int32_t from, int32_t to) {
    for (index = from; index <= to; ++index)
      addHeader(headers_, u"item#" + longToString(index), u"item #" + longToString(index), kWidth,
                kLeft);
  }

  int32_t headerCount() const { return countOf(headers_); }

  // Step 9: one row from the line's n fields, column `nextThisHeader` left empty.
  void addRow(int32_t n, int32_t nextThisHeader) {
    FieldCursor fields(line, fieldSeparator_);
    ObjectRef row;
    int32_t s = 0;  // the last sub-item filled
    for (index = 1; index <= n; ++index) {
      String f = cleaned(fields.next());
      trimInPlace(f);
      if (index == 1) {
        if (nextThisHeader == 1) {
          row = listview::addRow(rows_, {}, String());
          setCell(row, s = 1, std::move(f));
        } else {
          row = listview::addRow(rows_, {}, std::move(f));
        }
        setSelected(row, false);
      } else if (nextThisHeader == s + 1) {
        setCell(row, s + 1, String());
        setCell(row, s + 2, std::move(f));
        s += 2;
      } else {
        setCell(row, s += 1, std::move(f));
      }
    }
  }

 private:
  // Quotes removed when checked, ";" made a blank when asked, "" made empty.
  String cleaned(StringView field) const {
    String f(field);
    if (checkQuote_) f.erase(std::remove(f.begin(), f.end(), kQuote), f.end());
    if (delComma_) std::replace(f.begin(), f.end(), u';', u' ');
    if (f == u"\"\"") f.clear();
    return f;
  }

  LstViewLib& lib_;
  ObjectRef& view_;
  const String& separator_;
  const String fieldSeparator_;
  bool checkQuote_;
  bool delComma_;
  std::shared_ptr<StrChr> str_;
  ObjectRef headers_;
  ObjectRef rows_;
};

}  // namespace

bool LstViewLib::LoadListViewFromASCII(const String& theFile, ObjectRef& theDestList,
                                       bool isHeaderExist, bool isCheckQuote, bool isDelEmptyCol,
                                       bool isDelComma, bool isCR, const String& theSeparator,
                                       bool addGenericHeader, const String& theHeaderFile,
                                       int16_t nextThisHeader, bool doNotUseFirstLine) {
  if (!theDestList || isBlank(theSeparator)) {
    ShowInformation(u"Unable to initialize data loading: (" + theSeparator + u")", {});
    return false;
  }
  bool result = false;
  AsciiImport import(*this, theDestList, theSeparator, isCheckQuote, isDelComma);
  FileNumber data;
  onError(
      [&] {
        const int64_t length = fileLength(theFile);
        if (length <= 1) {
          ShowInformation(u"Unable to load data. The file is empty: " + longToString(length) +
                              u"\r\n" + theFile,
                          {});
          return;
        }
        import.step = 3;
        progress_->InitProgressBar(1, toLong(Variant(static_cast<double>(length + 10))), false);
        import.step = 4;
        if (addGenericHeader)
          ClearListViewAndHeaders(theDestList);
        else
          call(rowsOf(theDestList), u"Clear");
        import.attach();
        progress_->AddProgressBarValue(1, false);

        import.step = 5;
        data = OpenFileForInput(theFile, true, false);
        if (!data.isOpen()) {
          ShowInformation(u"Unable to open the ASCII data file:\r\n" + theFile, {});
          progress_->unSetProgressBar(false);
          return;
        }
        int32_t next = nextThisHeader;
        bool firstLine = true;
        bool firstUsed = true;
        bool holding = false;  // a quoted last field goes on over the next lines
        String held;
        for (TextFile& in = data.file(); !in.atEnd();) {
          import.step = 6;
          import.index = 0;
          String& line = import.line;
          line = in.readLine();
          progress_->AddProgressBarValue(static_cast<int32_t>(line.size()), false);
          if (std::exchange(firstLine, false) && doNotUseFirstLine) continue;
          if (holding) {
            const String f = trim(import.str().GetLeft(line, theSeparator));
            if ((!startsWithQuote(f) && endsWithQuote(f)) || f == u"\"") {
              holding = false;
              line = held + u" " + line;
            } else {
              held += u" " + line;
              continue;
            }
          } else if (isBlank(line)) {
            continue;
          }
          if (isCR && !firstUsed) {
            const String g = trim(import.str().GetLastRight(line, theSeparator));
            if (startsWithQuote(g) && !endsWithQuote(g)) {
              held = line;
              holding = true;
              continue;
            }
          }
          const int32_t n = import.countFields();

          if (std::exchange(firstUsed, false)) {
            import.step = 7;
            if (isHeaderExist) {
              import.headersFromLine(n);
              continue;
            }
            const bool fromFile = FileLib::create()->isFileExist(theHeaderFile) &&
                                  import.headersFromFile(theHeaderFile);
            if (!fromFile && addGenericHeader) import.genericHeaders(1, n);
          }
          import.step = 8;
          const int32_t headers = import.headerCount();
          if (n > headers) import.genericHeaders(headers + 1, n);
          if (next > import.headerCount()) next = 0;
          import.step = 9;
          import.addRow(n, next);
        }

        import.step = 10;
        import.index = 0;
        data.close();
        progress_->AddProgressBarValue(1, false);
        if (isDelEmptyCol) DeleteAllEmptyColumns(theDestList);
        progress_->AddProgressBarValue(1, false);

        import.step = 11;
        if (countOf(import.rows()) > 0) {
          bool withHeader = true, withError = true;
          int16_t none1 = 0, none2 = 0;
          SetAutomaticTips(theDestList, withHeader, withError, none1, none2);
          const ObjectRef first = itemOf(import.rows(), 1);
          setSelected(first, true);
          call(first, u"EnsureVisible");
        } else {
          ShowInformation(u"No imported data, destination list is empty.\r\nCheck content of file.",
                          {});
        }
        import.step = 12;
        progress_->unSetProgressBar(false);
        result = true;
      },
      [&] {
        ReportError(u"Error on data file reading: " + longToString(import.step) + u"\t" +
                        longToString(import.index) + u"\r\n" + import.line + u"\r\n" + theFile,
                    false);
        progress_->unSetProgressBar(false);
        data = -1;
      });
  return result;
}

}  // namespace zv::impl
