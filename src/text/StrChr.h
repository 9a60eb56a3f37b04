// StrChr: the library's string functions (separators, items, collections, accents,
// cleanup, counting).
#pragma once

#include "api/StrChr.h"

namespace zv::impl {

class StrChr final : public zv::StrChr {
 public:
  // separators.cpp
  String GetLeft(const String& theString, const String& theSeperator,
                 bool separatorMustExist) override;
  String GetRight(const String& theString, const String& theSeperator,
                  bool separatorMustExist) override;
  String GetLastLeft(const String& theString, const String& theSeperator,
                     bool separatorMustExist) override;
  String GetLastRight(const String& theString, const String& theSeperator,
                      bool separatorMustExist) override;
  String GetEnd(const String& theString, const String& theSeperator,
                bool separatorMustExist) override;
  String GetRightCount(const String& theString, const String& theSeparator, int16_t thePosition,
                       bool separatorMustExist) override;
  int32_t CountItem(const String& theString, const String& theSeperator) override;
  String ReplaceToCRLF(const String& theString, const String& theOldChar) override;
  String GetStringFile(const String& thePathAndFile) override;
  String GetStringPath(const String& thePathAndFile) override;

  // items.cpp
  bool ItemsToCollection(const String& theItemList, ObjectRef& theColl,
                         const String& theSeparator) override;
  int16_t isStringExistInList(Variant& theStringListe, const String& stringCompare,
                              bool& upperCompare) override;
  String GetChar(const String& theString, int16_t thePosition) override;
  bool GetBoolean(const String& theString, int16_t thePosition) override;
  String Terminator(const String& strString) override;
  int32_t String2Long(String& theString) override;
  String Long2String(int32_t theLong) override;

  // cleanup.cpp
  String RemoveAccent(const String& theString) override;
  String RemoveExtraAccentAndChar(const String& theString) override;
  String RemoveExtraSpaces(const String& strString) override;
  String KeepOnlyNumeric(const String& theString) override;
  String KeepOnlyString(const String& theString) override;

  // counting.cpp
  int32_t CountChar(const String& theString, const String& theChar) override;
  bool TextBoxCounter(ObjectRef& theTextBox, int32_t& nbChar, int32_t& nbWord,
                      int32_t& nbBlank) override;
};

}  // namespace zv::impl
