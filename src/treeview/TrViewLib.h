// TrViewLib: creates nodes in the caller's tree under path-like keys, and finds, collects
// and counts its nodes.
#pragma once

#include "api/TrViewLib.h"

namespace zv::impl {

class TrViewLib final : public zv::TrViewLib {
 public:
  // Creating or destroying a TrViewLib drops the thread's shared progress object.
  TrViewLib();
  ~TrViewLib() override;
  TrViewLib(const TrViewLib&) = delete;
  TrViewLib& operator=(const TrViewLib&) = delete;

  // node_creation.cpp
  String CreateRelationNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                            const String& iconLabel, const String& iconSelected,
                            const String& theTag, bool valExpand, bool valSorted, bool valForce,
                            bool displayWarning, int16_t theRelationShip) override;
  String CreateChildNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                         const String& iconLabel, const String& theTag, bool valExpand,
                         bool valSorted, bool valForce, bool displayWarning) override;
  String CreateNextNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                        const String& iconLabel, const String& theTag, bool valExpand,
                        bool valSorted, bool valForce, bool displayWarning) override;
  String CreateFirstNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                         const String& iconLabel, const String& theTag, bool valExpand,
                         bool valSorted, bool valForce, bool displayWarning) override;
  String CreateNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                    const String& iconLabel, const String& iconSelected, const String& theTag,
                    bool valExpand, bool valSorted, bool valForce, bool displayWarning) override;
  String CheckExistingLabelAndGetNew(ObjectRef& theMainTree, ObjectRef& theParentNode,
                                     const String& theLabel) override;

  // child_members.cpp: the direct children of a start node, and below them when asked.
  bool SearchNodeFromTextAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                       const String& parentKeyNode, const String& aText,
                                       bool searchInSubChlid, bool acceptSimilar, bool withUCase,
                                       bool stopOnFirst) override;
  bool SearchNodeFromImageAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                        const String& parentKeyNode, const String& anImage,
                                        bool searchInSubChlid, bool acceptSimilar, bool withUCase,
                                        bool stopOnFirst) override;
  bool SearchNodeFromTagAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                      const String& parentKeyNode, const String& aTag,
                                      bool searchInSubChlid, bool acceptSimilar, bool withUCase,
                                      bool stopOnFirst) override;
  String SearchChildFromImage(ObjectRef& trViewObj, const String& parentKeyNode,
                              const String& anImage, bool searchInSubChlid, bool acceptSimilar,
                              bool withUCase) override;
  String SearchChildFromTag(ObjectRef& trViewObj, const String& parentKeyNode, const String& aTag,
                            bool searchInSubChlid, bool ifOnlyExist, bool withUCase) override;
  String SearchChildFromImageAndTag(ObjectRef& trViewObj, const String& parentKeyNode,
                                    String& anImage, const String& aTag) override;
  String SearchChildFromText(ObjectRef& trViewObj, const String& parentKeyNode,
                             const String& theText, bool recursiveSearch) override;
  int32_t FindChildFromText(ObjectRef& trViewObj, const String& parentKeyNode,
                            const String& theText, bool recursiveFind) override;
  int32_t FindChildFromTag(ObjectRef& trViewObj, int32_t parentIndexNode,
                           const String& aTag) override;
  int32_t FindChildFromTagWithSep(ObjectRef& trViewObj, int32_t parentIndexNode, const String& aTag,
                                  const String& aSeparator, int16_t thePos) override;
  int32_t FindChildFromImageAndTag(ObjectRef& trViewObj, int32_t parentIndexNode, String& anImage,
                                   const String& aTag) override;
  int32_t FindChildFromImageAndTagWithSep(ObjectRef& trViewObj, int32_t parentIndexNode,
                                          String& anImage, const String& aTag,
                                          const String& aSeparator, int16_t thePos) override;
  int32_t FindChildFromImage(ObjectRef& trViewObj, int32_t parentIndexNode, const String& anImage,
                             bool searchInSubChlid) override;
  int32_t isExistInChildText(ObjectRef& trViewObj, const String& parentKeyNode, const String& aText,
                             bool recursiveFind, bool findUcase) override;

  // tree_members.cpp: the whole tree by index, the ancestors, keys.
  String SearchNodeFromImage(ObjectRef& trViewObj, String& anImage) override;
  String SearchNodeFromTag(ObjectRef& trViewObj, const String& aTag) override;
  String SearchNodeFromText(ObjectRef& trViewObj, const String& aText) override;
  String SearchParentFromImage(ObjectRef& trViewObj, const String& theKeyNode,
                               const String& anImage, bool ifOnlyExist, bool findUcase) override;
  int32_t FindNodeFromText(ObjectRef& trViewObj, const String& aText) override;
  int32_t FindNodeFromImage(ObjectRef& trViewObj, String& anImage) override;
  int32_t FindNodeFromSelectedImage(ObjectRef& trViewObj, String& aSelectedImage) override;
  int32_t FindNodeFromImageAndSelected(ObjectRef& trViewObj, String& anImage,
                                       String& aSelectedImage) override;
  int32_t FindNodeFromTag(ObjectRef& trViewObj, const String& aTag) override;
  int32_t isExistInNodeText(ObjectRef& trViewObj, const String& aText) override;
  int32_t GetChildPosition(ObjectRef& theMainTree, const String& theKeyNode) override;
  bool isNodeKeyExist(ObjectRef& theMainTree, const String& theNodeKey, int32_t& theIndex) override;

  // counting.cpp: counts and tags of children.
  int32_t CountChildFromImage(ObjectRef& theMainTree, ObjectRef& theMainNode,
                              const String& theImage, bool acceptSimilar,
                              bool countInSubChild) override;
  int32_t CountChildFromSelectedImage(ObjectRef& theMainTree, ObjectRef& theMainNode,
                                      const String& theImage, bool acceptSimilar,
                                      bool countInSubChild) override;
  String GetAllTagFromChild(ObjectRef& theMainTree, int32_t theParentIndex,
                            const String& theSeparator) override;
  String GetAllTagFromChildWithImage(ObjectRef& theMainTree, int32_t theParentIndex,
                                     const String& theImage, const String& theSeparator) override;

  // progress.cpp
  void SetProgressBar(ObjectRef& theBar, bool displayERR) override;
  void unSetProgressBar() override;

  // subtree.cpp: subtree copy, move and delete.
  bool SubTreeCopyWithRelation(ObjectRef& theMainTree, const String& keyNodeSource,
                               const String& keyNodeTarget, const String& newLabel,
                               const String& newIcon, const String& newSelectedIcon,
                               int16_t theRelationShip, bool valForce,
                               bool displayWarning) override;
  bool SubTreeCopy(ObjectRef& theTree, const String& keyNodeSource, const String& keyNodeTarget,
                   const String& newLabel, const String& newIcon,
                   const String& newSelectedIcon) override;
  bool SubTreeMove(ObjectRef& theMainTree, const String& keyNodeSource, const String& keyNodeTarget,
                   int16_t theRelationShip, const String& newLabel, const String& newIcon,
                   const String& newSelectedIcon, bool displayWarning) override;
  void CopyStateView(ObjectRef& theMainTree, const String& keyNodeSource,
                     const String& keyNodeTarget, bool displayWarning) override;
  bool DeleteChildrenOfNode(ObjectRef& theMainTree, const String& StartNodeKey) override;
  bool DeleteNodeWithChildren(ObjectRef& theMainTree, const String& StartNodeKey) override;

  // notes.cpp: notes between nodes and text boxes or rich text boxes.
  bool AddNodeFromTextBox(ObjectRef& theTreeView, ObjectRef& theTextBox, const String& keyMainNode,
                          const String& labelNoteNode, const String& theTag, const String& iconNote,
                          const String& iconLine) override;
  bool AddNodeFromRtfBox(ObjectRef& theTreeView, ObjectRef& theRtfBox, const String& keyMainNode,
                         const String& labelNoteNode, const String& theTag, const String& iconNote,
                         const String& iconLine) override;
  bool AddTextBoxContentFromNode(ObjectRef& theTreeView, ObjectRef& theTextBox,
                                 const String& indexMainNode, const String& iconNote,
                                 const String& theTag, bool initDestBefore) override;
  bool AddRtfBoxContentFromNode(ObjectRef& theTreeView, ObjectRef& theRtfBox,
                                const String& indexMainNode, const String& iconNote,
                                const String& theTag, bool initDestBefore) override;
  // tree_xml_writer.cpp, tree_xml_reader.cpp: the tree as an XML file.
  bool TreeViewToXMLfile(ObjectRef& trViewObj, const String& XMLfileName, const String& theAppName,
                         const String& thePasswd, bool displayERR) override;
  bool TreeViewFromXMLfile(ObjectRef& trViewObj, const String& XMLfileName,
                           const String& theAppName, bool displayERR, bool useValueKey) override;
  bool SubTreeToXMLfile(ObjectRef& trViewObj, String& theParentKey, const String& XMLfileName,
                        bool includeParent, bool HeaderFooter) override;
  bool SubTreeFromXMLfile(ObjectRef& trViewObj, String& theParentKey, const String& XMLfileName,
                          bool displayERR, bool useValueKey) override;
};

}  // namespace zv::impl
