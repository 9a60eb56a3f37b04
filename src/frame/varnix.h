// The shared routines every class uses: error report, information box, list-box and
// combo-box lookups, the file-number openers and the NUL cuts.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/text.h"

namespace zv {

// Shows (when `showIt`) the pending error under `theMessage`, then clears it.
void ReportError(const String& theMessage, bool showIt);
// The text ReportError shows: `theMessage` followed by the pending error's details.
String ReportErrorText(const String& theMessage);
void ShowInformation(const String& theMessage, const String& theTitle);

int32_t iExistInListBox(const ObjectRef& listBox, const String& theText, bool addIt);
int16_t iExistInComboBox(const ObjectRef& comboBox, const String& theText, bool addIt);

// Each returns a file number from the thread's table, or -1.
int16_t OpenFileForAppend(const String& theFile);
int16_t OpenFileForInput(const String& theFile, bool reportFailure, bool createIfMissing);
int16_t OpenFileForOutput(const String& theFile);

String CutAtNullChar(StringView theString);
String CutAtNullCharOrTrim(StringView theString);

}  // namespace zv
