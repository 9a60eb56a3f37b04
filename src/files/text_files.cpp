// FileLib: text files read whole or by line, searched, and moved between text boxes and
// files. Every file is opened under a file number and closed within the call, a failure
// included.
#include "files/FileLib.h"
#include "frame/file_numbers.h"
#include "frame/traps.h"
#include "runtime/convert.h"

namespace zv::impl {

namespace {

// Opens `theFile` for reading, reporting `failure` and its name when it cannot be opened.
FileNumber openForReading(const String& theFile, StringView failure) {
  FileNumber file(OpenFileForInput(theFile, true, false));
  if (!file.isOpen()) ReportError(String(failure) + u"\r\n" + theFile, false);
  return file;
}

String withoutLineBreaks(StringView line) {
  String out;
  for (const char16_t c : line)
    if (c != kCr && c != kLf) out += c;
  return out;
}

}  // namespace

// Report and return the empty string. Leading empty lines are dropped.
String FileLib::GetFileContent(const String& theFile) {
  String result;
  if (theFile.empty()) return result;
  onError(
      [&] {
        FileNumber file = openForReading(theFile, u"Unable to open file:");
        if (!file.isOpen()) return;
        for (TextFile& in = file.file(); !in.atEnd();) {
          const String line = in.readLine();
          if (result.empty())
            result = line;
          else
            result.append(kCrLf).append(line);
        }
        file.close();
      },
      [&] {
        result.clear();
        ReportError(u"Error on  file reading:\r\n" + theFile, false);
      });
  return result;
}

// Report and return.
String FileLib::GetLineFile(const String& theFile, bool getFirstOrLastLine) {
  String result;
  if (theFile.empty()) return result;
  reportAndReturn(
      [&] {
        FileNumber file = openForReading(theFile, u"Unable to open file:");
        if (!file.isOpen()) return;
        for (TextFile& in = file.file(); !in.atEnd();) {
          result = in.readLine();
          if (getFirstOrLastLine) break;
        }
        file.close();
      },
      u"Error on  file reading first or last line:\r\n" + theFile);
  return result;
}

// Report and return; a file shorter than `fileLine` gives its last line.
String FileLib::GetThisLineFile(const String& theFile, int32_t fileLine) {
  String result;
  if (theFile.empty() || fileLine < 1) return result;
  reportAndReturn(
      [&] {
        FileNumber file = openForReading(theFile, u"Unable to open file:");
        if (!file.isOpen()) return;
        TextFile& in = file.file();
        for (int32_t number = 1; !in.atEnd(); ++number) {
          result = in.readLine();
          if (number == fileLine) break;
        }
        file.close();
      },
      [&] { return u"Error on  file reading: " + longToString(fileLine) + u"\r\n" + theFile; });
  return result;
}

// Report and return. The line counter is 16-bit; an empty line holds no text, not even "".
String FileLib::GetLineIfTextExist(const String& theFile, String& theExistText, int32_t startLine) {
  String result;
  if (isBlank(theFile)) return result;
  reportAndReturn(
      [&] {
        FileNumber file = openForReading(theFile, u"Unable to open the file:");
        if (!file.isOpen()) return;
        TextFile& in = file.file();
        for (int16_t number = 0; !in.atEnd();) {
          const String line = in.readLine();
          number = toInteger16(number + 1);
          if (number >= startLine && !line.empty() && line.find(theExistText) != String::npos) {
            result = line;
            break;
          }
        }
        file.close();
      },
      u"Error on file reading:\r\n" + theFile);
  return result;
}

// Report and return. With LinesMax300 the box takes the first line and 300 more; each
// CR LF CR LF of the text then becomes one CR LF.
bool FileLib::PutInTextBox(const String& theFile, ObjectRef& theTextBox, bool LinesMax300) {
  bool result = false;
  if (isBlank(theFile)) return false;
  bool reading = false;
  onError(
      [&] {
        FileNumber file = openForReading(theFile, u"Unable to open the file:");
        if (!file.isOpen()) return;
        reading = true;
        String text;
        int32_t count = 0;
        for (TextFile& in = file.file(); !in.atEnd();) {
          const String line = withoutLineBreaks(in.readLine());
          if (count > 300 && LinesMax300) break;
          text.append(count++ ? kCrLf : StringView()).append(line);
        }
        file.close();
        if (count == 0) text = toString(get(theTextBox, u"Text"));
        put(theTextBox, u"Text", Variant(replaceAll(text, u"\r\n\r\n", kCrLf)));
        result = true;
      },
      [&] {
        ReportError(
            (reading ? u"Error on file reading:\r\n" : u"Unable to open the file:\r\n") + theFile,
            false);
      });
  return result;
}

// Report and return: the box's text, each LF made CR LF, written as one line.
bool FileLib::SaveTextBoxContent(const String& theFile, ObjectRef& theTextBox) {
  bool result = false;
  if (isBlank(theFile)) return false;
  bool writing = false;
  onError(
      [&] {
        FileNumber file(OpenFileForOutput(theFile));
        if (!file.isOpen()) {
          ReportError(u"Unable to open the file:\r\n" + theFile, false);
          return;
        }
        writing = true;
        file.file().writeLine(replaceAll(toString(get(theTextBox, u"Text")), u"\n", kCrLf));
        file.close();
        result = true;
      },
      [&] {
        ReportError(
            (writing ? u"Unable on file writing:\r\n" : u"Unable to open the file:\r\n") + theFile,
            false);
      });
  return result;
}

}  // namespace zv::impl
