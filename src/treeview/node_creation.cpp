// Node creation under path-like keys (parent key, "\", label key) and labels kept unique
// among siblings.
#include "api/StrChr.h"
#include "frame/traps.h"
#include "frame/varnix.h"
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/lib_treeview.h"

namespace zv::impl {

using treeview::ChildKeys;

namespace {

constexpr int16_t kFirstSibling = 0;
constexpr int16_t kNextSibling = 2;
constexpr int16_t kChild = 4;
// The numbers tried in front of a taken label key.
constexpr int32_t kForcingLimit = 500;

String lengthText(const String& s) {
  return longToString(static_cast<int64_t>(s.size()));
}

// The result of `body` under a report-and-return trap: empty after a failure.
template <class Body, class Message>
String trapped(Body&& body, Message&& message) {
  String result;
  reportAndReturn([&] { result = body(); }, message);
  return result;
}

}  // namespace

String TrViewLib::CreateRelationNode(ObjectRef& theTree, const String& theParent,
                                     const String& theLabel, const String& iconLabel,
                                     const String& iconSelected, const String& theTag,
                                     bool valExpand, bool valSorted, bool valForce,
                                     bool displayWarning, int16_t theRelationShip) {
  String result;
  if (!theTree) return result;
  if (isBlank(theParent) || isBlank(theLabel)) {
    if (displayWarning) {
      ShowInformation(u"Relation Key or label is empty:\r\n\tParent: " + theParent +
                          u"\r\n\tLabel: " + theLabel,
                      u"");
    }
    return result;
  }

  // The key: the parent's key, "\", the label without accents, blanks as "_" (one pass
  // turns "__" into "_"), numbered when taken and forcing is on.
  const String parentPart = replaceAll(theParent, u" ", u"_");
  String labelPart;
  bool free = false;
  reportAndReturn(
      [&] {
        labelPart = replaceAll(replaceAll(StrChr::create()->RemoveAccent(theLabel), u" ", u"_"),
                               u"__", u"_");
        const ChildKeys keys(theTree, parentPart);
        free = !keys.exists(parentPart + u"\\" + labelPart);
        for (int32_t n = 1; !free && valForce && n <= kForcingLimit; ++n) {
          const String numbered = longToString(n) + labelPart;
          if (!keys.exists(parentPart + u"\\" + numbered)) {
            labelPart = numbered;
            free = true;
          }
        }
        if (!free && displayWarning) {
          const String lastTried = valForce ? longToString(kForcingLimit) + labelPart : String();
          ShowInformation(u"Node is already exist, unable to add it: " + booleanToString(valForce) +
                              u"\r\n" + theLabel + u"\r\n" + parentPart + u"\\" + labelPart +
                              u"\r\n" + lastTried,
                          u"");
        }
      },
      [&] {
        return u"Error on testing the Node with RelationShip: \r\n\t\t" + theLabel + u"\r\n\r\n\t" +
               parentPart + u"\\" + labelPart;
      });
  if (!free) return result;

  // An empty icon names no image: it is left out rather than looked up in the image list
  // (as a missing argument, so that a caller's Add without optional parameters, such as a
  // script class's, still receives five).
  const String key = parentPart + u"\\" + labelPart;
  int32_t step = 4;
  reportAndReturn(
      [&] {
        const Variant image = iconLabel.empty() ? Variant::missing() : Variant(iconLabel);
        const ObjectRef node =
            toObject(call(treeview::nodesOf(theTree), u"Add",
                          {Variant(parentPart), Variant(theRelationShip), Variant(key),
                           Variant(theLabel), image}));
        result = treeview::keyOf(node);
        step = 5;
        put(node, u"Tag", Variant(theTag));
        put(node, u"Expanded", Variant(valExpand));
        put(node, u"Sorted", Variant(valSorted));
        step = 6;
        if (!isBlank(iconSelected)) put(node, u"SelectedImage", Variant(iconSelected));
      },
      [&] {
        return u"Error on adding the Node with RelationShip: " + longToString(step) + u"\r\n\r\n" +
               theParent + u"\t" + lengthText(theParent) + u"\r\n\t" + theLabel + u"\r\n\r\n" +
               key + u"\t" + lengthText(key) + u"\r\n\t[" + iconLabel + u"]\t[" + iconSelected +
               u"]";
      },
      true);
  return result;
}

String TrViewLib::CreateChildNode(ObjectRef& theTree, const String& theParent,
                                  const String& theLabel, const String& iconLabel,
                                  const String& theTag, bool valExpand, bool valSorted,
                                  bool valForce, bool displayWarning) {
  return trapped(
      [&] {
        return CreateRelationNode(theTree, theParent, theLabel, iconLabel, u"", theTag, valExpand,
                                  valSorted, valForce, displayWarning, kChild);
      },
      [&] {
        return u"Error on Adding the Child Node: " + theTag + u"\r\n" + theParent + u"\r\n" +
               theLabel;
      });
}

String TrViewLib::CreateNextNode(ObjectRef& theTree, const String& theParent,
                                 const String& theLabel, const String& iconLabel,
                                 const String& theTag, bool valExpand, bool valSorted,
                                 bool valForce, bool displayWarning) {
  return trapped(
      [&] {
        return CreateRelationNode(theTree, theParent, theLabel, iconLabel, u"", theTag, valExpand,
                                  valSorted, valForce, displayWarning, kNextSibling);
      },
      [&] { return u"Error on Adding the Next Node: " + theLabel; });
}

String TrViewLib::CreateFirstNode(ObjectRef& theTree, const String& theParent,
                                  const String& theLabel, const String& iconLabel,
                                  const String& theTag, bool valExpand, bool valSorted,
                                  bool valForce, bool displayWarning) {
  return trapped(
      [&] {
        return CreateRelationNode(theTree, theParent, theLabel, iconLabel, u"", theTag, valExpand,
                                  valSorted, valForce, displayWarning, kFirstSibling);
      },
      [&] { return u"Error on Adding the First Node: " + theLabel; });
}

String TrViewLib::CreateNode(ObjectRef& theTree, const String& theParent, const String& theLabel,
                             const String& iconLabel, const String& iconSelected,
                             const String& theTag, bool valExpand, bool valSorted, bool valForce,
                             bool displayWarning) {
  return trapped(
      [&] {
        return CreateRelationNode(theTree, theParent, theLabel, iconLabel, iconSelected, theTag,
                                  valExpand, valSorted, valForce, displayWarning, kChild);
      },
      [&] { return u"Error on creating the Node: " + theLabel; });
}

String TrViewLib::CheckExistingLabelAndGetNew(ObjectRef& theMainTree, ObjectRef& theParentNode,
                                              const String& theLabel) {
  return trapped([&] { return treeview::GetNewLabel(theMainTree, theParentNode, theLabel); },
                 [&] { return u"Error on checking label: " + theLabel; });
}

}  // namespace zv::impl
