// LstViewLib: fills, copies, searches, counts and rearranges the caller's list-view.
#pragma once

#include "api/LstViewLib.h"
#include "api/ProgressLib.h"

namespace zv::impl {

class LstViewLib final : public zv::LstViewLib {
 public:
  // columns_items.cpp: filling from collections, clearing, columns into lists, tips.
  bool AddItemsFromColl(ObjectRef& theList, ObjectRef& theColl) override;
  bool CreateHeadersFromColl(ObjectRef& theListVw, ObjectRef& theColl) override;
  bool CopyColumnToListBox(ObjectRef& theListVw, ObjectRef& theListBx, int16_t theColumn,
                           bool acceptEmptyValue) override;
  bool CopyColumnToComboBox(ObjectRef& theListVw, ObjectRef& theComboBx, int16_t theColumn,
                            bool acceptEmptyValue) override;
  bool CopyListViewHeaderToRow(ObjectRef& theLsvHeader, ObjectRef& theTarget) override;
  bool ChangeItemSubItemsForeColor(ObjectRef& theListItem, int32_t newColor) override;
  void ClearListViewAndHeaders(ObjectRef& theMainList) override;
  bool SetAutomaticTips(ObjectRef& theMainList, bool& withHeader, bool& withError,
                        int16_t& withoutSubColumn1, int16_t& withoutSubColumn2) override;
  void SetProgressBar(ObjectRef& theBar) override;

  // list_copy.cpp: one list-view into another, headers, settings and rows.
  bool CopyListToList(ObjectRef& srcList, ObjectRef& destList,
                      bool& forceCheckBoxUsingOnDest) override;
  bool CopyListToTmpList(ObjectRef& srcList, ObjectRef& destList,
                         bool& forceCheckBoxUsingOnDest) override;

  // search_count.cpp
  int32_t FindItemFromText(ObjectRef& theList, const String& theText, bool& addIt, bool& checkIt,
                           String& theIcon) override;
  int32_t FindItemFromSubItem(ObjectRef& theListView, const String& theText, int16_t theSubId,
                              bool& addIt, bool& checkIt, String& theIcon) override;
  int32_t FindItemFromIcon(ObjectRef& theListView, const String& anIcon) override;
  int32_t FindItemFromSmallIcon(ObjectRef& theListView, const String& anIcon) override;
  int32_t FindItemFromTag(ObjectRef& theListView, const String& aTag) override;
  int32_t FindHeaderFromCaption(ObjectRef& theList, const String& theCaption, bool& addIt,
                                int16_t& theAlign, int16_t& theWidth, String& theIcon) override;
  int32_t CountStringFromColumn(ObjectRef& theListView, const String& theString, int16_t theColumn,
                                bool acceptSimilar, bool withUCase) override;
  int32_t CountCheckedItem(ObjectRef& theListView) override;
  int32_t CountSelectedItem(ObjectRef& theListView) override;
  int32_t CountHeaderCaption(ObjectRef& theListView, const String& theCaption) override;

  // column_rearrange.cpp
  bool DeleteCharColumn(ObjectRef& theListView, const String& theChar, int16_t theColumn) override;
  bool ChangeColumnToBold(ObjectRef& theListView, int16_t theColumn, bool theBold) override;
  bool ChangeColumnToColor(ObjectRef& theListView, int16_t theColumn, int32_t theColor) override;
  bool DeleteAllEmptyColumns(ObjectRef& theListView) override;
  bool isEmptyColumn(ObjectRef& theListView, int32_t theCol) override;
  bool isMoveColumnAndHeaderToLast(ObjectRef& theListView, int32_t theColSource) override;
  bool isMoveColumnAndHeaderToBeforeLast(ObjectRef& theListView, int32_t theColSource) override;
  bool isSwitchColumns(ObjectRef& theListView, int32_t theColSource, int32_t theColDestination,
                       bool withSetting) override;
  bool isSwitchColumnsAndHeaders(ObjectRef& theListView, int32_t theColSource,
                                 int32_t theColDestination, bool withSetting) override;
  bool isEqualColumns(ObjectRef& theListView, int32_t theLineSource, int32_t theLineDestination,
                      int16_t exceptColumn) override;

  // import_ascii.cpp: rows and headers from a delimited text file.
  bool LoadListViewFromASCII(const String& theFile, ObjectRef& theDestList, bool isHeaderExist,
                             bool isCheckQuote, bool isDelEmptyCol, bool isDelComma, bool isCR,
                             const String& theSeparator, bool addGenericHeader,
                             const String& theHeaderFile, int16_t nextThisHeader,
                             bool doNotUseFirstLine) override;

  // export_html.cpp: HTML tables appended to a file, whole pages.
  bool AppendListViewToHTML(const String& theFile, ObjectRef& destList, const String& theTabTitle,
                            bool selectedItem, const String& headerColor, const String& firstColor,
                            const String& secondColor, const String& theTitleFont,
                            const String& theContentFont, int16_t borderSize,
                            int16_t notExportThisHeader, bool includeHeader, bool addCRbefore,
                            bool detectHTMLchar, bool detectHREF, bool detectMAIL) override;
  bool AppendListViewCheckToHTML(const String& theFile, ObjectRef& srcList,
                                 const String& theTabTitle, const String& headerColor,
                                 const String& firstColor, const String& secondColor,
                                 const String& theTitleFont, const String& theContentFont,
                                 int16_t borderSize, int16_t notExportThisHeader,
                                 bool includeHeader, bool addCRbefore, bool detectHTMLchar,
                                 bool detectHREF, bool detectMAIL) override;
  bool ListViewToHTMLfile(const String& HTMLfileName, ObjectRef& theDestList, String& thePageTitle,
                          String& theTabTitle, bool& selectedItem, String& backgroundPageColor,
                          String& defaultTextColor, String& headerColor, String& firstColor,
                          String& secondColor, String& theTitleFont, String& theContentFont,
                          int16_t& borderSize, bool& printOnLoad, String& backgroundImage,
                          int16_t& notThisHeader, bool& includeHeader) override;
  bool SeveralListViewToHTMLfile(ObjectRef& lstViewColl, const String& HTMLfileName,
                                 String& thePageTitle, String& theTabTitle1, String& theTabTitle2,
                                 bool& selectedItem, String& backgroundPageColor,
                                 String& defaultTextColor, String& headerColor, String& firstColor,
                                 String& secondColor, String& theTitleFont, String& theContentFont,
                                 int16_t& borderSize, bool& printOnLoad, String& backgroundImage,
                                 int16_t& notThisHeader) override;

  // export_text.cpp: XML documents and delimited text files.
  bool ListViewToXMLfile(const String& XMLfileName, ObjectRef& theDestList, bool& itmSelected,
                         bool& tagHeader, int16_t& notThisHeader) override;
  bool SeveralListViewToXMLfile(ObjectRef& lstViewColl, const String& XMLfileName,
                                bool& itmSelected, bool& tagHeader,
                                int16_t& notThisHeader) override;
  bool ListViewToASCII(const String& ASCIIfileName, ObjectRef& theDestList, String& Delimiter,
                       String& EncloseStrings, bool& itmSelected, String& addThisFirstColumn,
                       String& addThisEndColumn, int16_t& notThisHeader,
                       String& addInFirst) override;
  bool SeveralListViewToASCII(ObjectRef& lstViewColl, const String& ASCIIfileName,
                              String& Delimiter, String& EncloseStrings, bool& itmSelected,
                              String& addThisFirstColumn, String& addThisEndColumn,
                              int16_t& notThisHeader) override;

  // from_tree_nodes.cpp: rows from the children of a tree-view node.
  bool LoadListViewFromChildNode(ObjectRef& theListView, ObjectRef& theTreeView,
                                 int32_t& parentIndexNode, bool& flagReplace, bool& flagUseTag,
                                 String& addChildNodeFromImage, bool& useImage) override;
  bool LoadListViewFromChildNodeAndTag(ObjectRef& theListView, ObjectRef& theTreeView,
                                       int32_t& parentIndexNode, bool& onlyChildWithoutChild,
                                       bool& flagReplace, bool& useSeparator,
                                       bool& useImage) override;

 private:
  // A row found by its text, sub-item, icon or tag: its 1-based position, or 0.
  template <class Matches>
  static int32_t firstRow(const ObjectRef& rows, int32_t& position, Matches matches);
  // The common end of the find methods that add a row: icons, check state, selection.
  static void prepareAddedRow(const ObjectRef& view, const ObjectRef& row, bool checkIt,
                              const String& theIcon);

  std::shared_ptr<zv::ProgressLib> progress_ = zv::ProgressLib::create();
};

}  // namespace zv::impl
