// Notes between the tree and the caller's text boxes and rich text boxes: a note is a node
// (image "Note") under a main node, with one child (image "Quote") per non-blank line.
// The rich text variants work on the box's plain Text as the text variants do.
#include "api/StrChr.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/tree_links.h"

namespace zv::impl {

using namespace treeview;

namespace {

constexpr const char16_t* kCrLf = u"\r\n";

String boxText(const ObjectRef& box) {
  return toString(get(box, u"Text"));
}

void setBoxText(const ObjectRef& box, const String& text) {
  put(box, u"Text", Variant(text));
}

// Stores the box's text as a note under `keyMainNode`, emptying the box line by line.
bool storeNote(TrViewLib& lib, ObjectRef& tree, const ObjectRef& box, const String& keyMainNode,
               const String& labelNoteNode, const String& theTag, const String& iconNote,
               const String& iconLine, const String& messagePrefix) {
  bool result = false;
  String line;
  String rest;  // the box's Text as last read or written
  reportAndReturn(
      [&] {
        if (!tree) return;
        rest = boxText(box);
        if (isBlank(rest)) return;
        const String noteKey = lib.CreateChildNode(tree, keyMainNode, trim(labelNoteNode), iconNote,
                                                   theTag, false, false, true, true);
        if (isBlank(noteKey)) return;
        const auto strChr = StrChr::create();
        while (!isBlank(rest = boxText(box))) {
          line = strChr->GetLeft(rest, String(kCrLf), false);
          rest = strChr->GetRight(rest, String(kCrLf), true);
          setBoxText(box, rest);
          if (!isBlank(line))
            lib.CreateChildNode(tree, noteKey, line, iconLine, u"", true, false, true, true);
        }
        result = true;
      },
      [&] { return messagePrefix + keyMainNode + kCrLf + line + kCrLf + kCrLf + rest; });
  return result;
}

// Writes the lines of the first note child of the main node (by image, and tag when given)
// into the box, one line each.
bool loadNote(TrViewLib& lib, ObjectRef& tree, const ObjectRef& box, const String& indexMainNode,
              const String& iconNote, const String& theTag, bool initDestBefore,
              const String& messagePrefix) {
  bool result = false;
  int32_t step = 1;
  reportAndReturn(
      [&] {
        if (initDestBefore) setBoxText(box, u"");
        const ObjectRef nodes = nodesOf(tree);
        const int32_t mainIndex = indexOf(itemOf(nodes, Variant(indexMainNode)));
        String image = iconNote;
        const int32_t found = isBlank(theTag)
                                  ? lib.FindChildFromImage(tree, mainIndex, iconNote, false)
                                  : lib.FindChildFromImageAndTag(tree, mainIndex, image, theTag);
        step = 2;
        if (found <= 0) return;
        const ObjectRef note = itemOf(nodes, Variant(found));
        step = 3;
        if (childrenOf(note) < 1) return;
        step = 4;
        WalkBudget budget(countOf(nodes), 1);
        SiblingWalk walk(note, budget);
        setBoxText(box, textOf(walk.next()));
        step = 41;
        while (true) {
          step = 5;
          const ObjectRef child = walk.next();
          if (!child) break;
          step = 51;
          const String text = trim(textOf(child));
          step = 52;
          String joined = boxText(box);
          step = 53;
          joined.append(kCrLf).append(text);
          step = 54;
          setBoxText(box, joined);
        }
        step = 6;
        result = true;
      },
      [&] {
        return messagePrefix + longToString(step) + kCrLf + iconNote + u"\t" + theTag + kCrLf +
               indexMainNode;
      });
  return result;
}

}  // namespace

bool TrViewLib::AddNodeFromTextBox(ObjectRef& theTreeView, ObjectRef& theTextBox,
                                   const String& keyMainNode, const String& labelNoteNode,
                                   const String& theTag, const String& iconNote,
                                   const String& iconLine) {
  return storeNote(*this, theTreeView, theTextBox, keyMainNode, labelNoteNode, theTag, iconNote,
                   iconLine, u"Error on adding Node from Text: ");
}

bool TrViewLib::AddNodeFromRtfBox(ObjectRef& theTreeView, ObjectRef& theRtfBox,
                                  const String& keyMainNode, const String& labelNoteNode,
                                  const String& theTag, const String& iconNote,
                                  const String& iconLine) {
  return storeNote(*this, theTreeView, theRtfBox, keyMainNode, labelNoteNode, theTag, iconNote,
                   iconLine, u"Error on adding Node from RTF Text: ");
}

bool TrViewLib::AddTextBoxContentFromNode(ObjectRef& theTreeView, ObjectRef& theTextBox,
                                          const String& indexMainNode, const String& iconNote,
                                          const String& theTag, bool initDestBefore) {
  return loadNote(*this, theTreeView, theTextBox, indexMainNode, iconNote, theTag, initDestBefore,
                  u"Error on setting Text content from Node: ");
}

bool TrViewLib::AddRtfBoxContentFromNode(ObjectRef& theTreeView, ObjectRef& theRtfBox,
                                         const String& indexMainNode, const String& iconNote,
                                         const String& theTag, bool initDestBefore) {
  return loadNote(*this, theTreeView, theRtfBox, indexMainNode, iconNote, theTag, initDestBefore,
                  u"Error on setting RTF text content from Node: ");
}

}  // namespace zv::impl
