// The tree read back from an XML file: the platform's XML document is walked element by
// element, each NODE list gathering the values of one node, which is made when the list
// ends or when its CHILDREN start.
#include <algorithm>
#include <cstdint>

#include "api/StrChr.h"
#include "frame/string_table.h"
#include "frame/traps.h"
#include "platform/xml_document.h"
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/lib_treeview.h"
#include "treeview/shared_progress.h"
#include "treeview/tree_links.h"

namespace zv::impl {

using namespace treeview;
using platform::XmlItem;

namespace {

// The trace number of an error report: two decimal digits a level, the step or position
// last. Files nested deeper than ten levels wrap it around instead of overflowing.
int64_t traceOf(int64_t parent, uint64_t last) {
  return static_cast<int64_t>(static_cast<uint64_t>(parent) * 100 + last);
}

constexpr int32_t kFileIsEmpty = 10;
constexpr int32_t kLastColor = 16777215;
constexpr size_t kValueLength = 255;

// The element's text: its text items and those of the elements within, in order.
void appendText(String& out, const XmlItem& item) {
  if (item.kind == XmlItem::kText) out += item.value;
  for (const XmlItem& child : item.children)
    appendText(out, child);
}

String valueOf(const XmlItem& element) {
  String value;
  appendText(value, element);
  return value;
}

// TEXT and TAG: the markers stand for the angle brackets, 255 characters at most.
String markedText(const XmlItem& element) {
  return left(replaceAll(replaceAll(valueOf(element), u"_[_", u"<"), u"_]_", u">"), kValueLength);
}

// COUNT read leniently: blanks skipped, then the digits up to the first other character.
int32_t leadingNumber(StringView text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
    ++i;
  int64_t n = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    n = std::min<int64_t>(n * 10 + (text[i] - u'0'), INT32_MAX);
  return static_cast<int32_t>(n);
}

void allTreeElements(const XmlItem& item, std::vector<const XmlItem*>& out) {
  if (item.kind != XmlItem::kElement) return;
  if (item.name == u"TREE") out.push_back(&item);
  for (const XmlItem& child : item.children)
    allTreeElements(child, out);
}

void unsetProgress() {
  if (const auto& progress = sharedProgress()) progress->unSetProgressBar(false);
}

// The values one NODE list gathers (ClearNodeElements sets them back).
struct NodeValues {
  String text, key, image, selectedImage, tag;
  bool bold = false, italic = false, sorted = true, expanded = true;
  int32_t foreColor = -1, backColor = -1;
};

class TreeReader {
 public:
  TreeReader(const ObjectRef& tree, bool displayERR, bool useValueKey)
      : tree_(tree),
        nodes_(nodesOf(tree)),
        strings_(StrChr::create()),
        displayERR_(displayERR),
        useValueKey_(useValueKey) {}

  // ElementsToNodes: the nodes one element list describes, under `parentKey`.
  bool elementsToNodes(const std::vector<XmlItem>& list, const String& parentKey, int64_t trace) {
    NodeValues values;
    String currentParent = parentKey;
    bool result = false;
    int32_t step = 1;
    size_t position = 0;
    const auto createPending = [&] {
      ObjectRef node = createNode(values, currentParent, traceOf(trace, step));
      if (node) result = true;
      return node;
    };
    onError(
        [&] {
          for (; position < list.size(); ++position) {
            const XmlItem& element = list[position];
            if (element.kind != XmlItem::kElement) continue;
            const int64_t nested = traceOf(trace, position + 1);
            step = 331;
            if (!readValue(element, values, parentKey, currentParent)) {
              step = 332;
              const String& name = element.name;
              if (name == u"INFO") {
                values = NodeValues();
                elementsToNodes(element.children, String(), nested);
              } else if (name == u"COUNT") {
                if (const auto& progress = sharedProgress())
                  progress->InitProgressBar(1, leadingNumber(valueOf(element)) + 5, displayERR_);
              } else if (name == u"NODE") {
                step = 333;
                createPending();
                values = NodeValues();
                step = 334;
                if (!elementsToNodes(element.children, currentParent, nested)) break;
              } else if (name == u"CHILDREN") {
                step = 335;
                const ObjectRef created = createPending();
                const bool complete =
                    !created || elementsToNodes(element.children, keyOf(created), nested);
                values = NodeValues();
                if (!complete) break;
              }
            }
          }
          step = 4;
          createPending();
          result = true;
        },
        [&] {
          ReportError(u"Error on import TreeView Object From XML:\r\n\t#" + longToString(step) +
                          u" (" + longToString(static_cast<int64_t>(position + 1)) + u"\t" +
                          longToString(trace) + u")",
                      displayERR_);
        });
    return result;
  }

 private:
  // The elements that only set a value; false for the others.
  static bool readValue(const XmlItem& element, NodeValues& values, const String& listParent,
                        String& currentParent) {
    const String& name = element.name;
    if (name == u"TEXT") {
      values.text = markedText(element);
    } else if (name == u"KEY") {
      values.key = valueOf(element);
    } else if (name == u"IMG") {
      values.image = valueOf(element);
    } else if (name == u"IMG_SELECTED") {
      values.selectedImage = valueOf(element);
    } else if (name == u"TAG") {
      values.tag = markedText(element);
    } else if (name == u"BOLD") {
      values.bold = toBoolean(Variant(valueOf(element)));
    } else if (name == u"ITAL") {
      values.italic = toBoolean(Variant(valueOf(element)));
    } else if (name == u"FOR_COLOR") {
      readColor(element, values.foreColor);
    } else if (name == u"BCK_COLOR") {
      readColor(element, values.backColor);
    } else if (name == u"SORT") {
      values.sorted = toBoolean(Variant(valueOf(element)));
    } else if (name == u"EXPAND") {
      values.expanded = toBoolean(Variant(valueOf(element)));
    } else if (name == u"PARENT") {
      if (isBlank(listParent)) currentParent = valueOf(element);
    } else {
      return name == u"PASSWD";
    }
    return true;
  }

  static void readColor(const XmlItem& element, int32_t& color) {
    const double value = toDouble(Variant(valueOf(element)));
    if (value <= kLastColor) color = toLong(Variant(value));
  }

  // CreateNodeFromElements: the new node, or Nothing when the values make none or making
  // it failed (reported; the node and its children are skipped).
  ObjectRef createNode(const NodeValues& values, const String& parentKey, int64_t trace) {
    ObjectRef node;
    int32_t step = 1;
    reportAndReturn(
        [&] {
          String key = strings_->RemoveAccent(values.key);
          const String parent = strings_->RemoveAccent(parentKey);
          if (values.text.empty() || key.empty()) return;
          step = 2;
          if (const auto& progress = sharedProgress())
            progress->AddProgressBarValue(1, displayERR_);
          String text = values.text;
          Variant image = Variant::missing();
          if (isBlank(parent)) {
            step = 3;
            image = listedImage(values.image);
            if (image.isMissing()) {
              const String first = GetFirstTreeImage();
              if (!first.empty()) image = Variant(first);
            }
            node = toObject(
                call(nodes_, u"Add",
                     {Variant::missing(), Variant::missing(), Variant(key), Variant(text), image}));
          } else {
            step = 4;
            const ObjectRef parentNode = itemOf(nodes_, Variant(parent));
            if (!parentNode) return;
            if (!useValueKey_) {
              text = GetNewLabel(tree_, parentNode, text);
              key = parent + strings_->RemoveAccent(text);
            }
            image = listedImage(values.image);
            node = toObject(
                call(nodes_, u"Add",
                     {Variant(parent), Variant(int16_t{4}), Variant(key), Variant(text), image}));
          }
          step = 5;
          put(node, u"Bold", Variant(values.bold));
          if (!values.selectedImage.empty()) {
            const Variant selected = listedImage(values.selectedImage);
            if (!selected.isMissing()) put(node, u"SelectedImage", selected);
          }
          if (values.foreColor >= 0) put(node, u"ForeColor", Variant(values.foreColor));
          if (values.backColor >= 0) put(node, u"BackColor", Variant(values.backColor));
          put(node, u"Sorted", Variant(values.sorted));
          put(node, u"Expanded", Variant(values.expanded));
          if (!values.tag.empty()) put(node, u"Tag", Variant(values.tag));
        },
        [&] {
          node = nullptr;
          return u"Error on import TreeView Object From XML:\r\n\t#" + longToString(step) + u" (" +
                 longToString(trace) + u")";
        },
        displayERR_);
    return node;
  }

  ObjectRef listImages() const {
    const ObjectRef images = toObject(get(tree_, u"ImageList"));
    return images ? toObject(get(images, u"ListImages")) : nullptr;
  }

  // isImageInTreeList: the image as Nodes.Add and SelectedImage take it when the tree's
  // image list holds it (by key, else by number: then the number itself), else missing.
  Variant listedImage(const String& image) const {
    Variant found = Variant::missing();
    reportAndReturn(
        [&] {
          const ObjectRef list = listImages();
          if (!list) return;
          const int32_t count = countOf(list);
          const std::optional<double> number = parseNumber(image);
          for (int32_t i = 1; i <= count && found.isMissing(); ++i) {
            const ObjectRef entry = itemOf(list, Variant(i));
            if (keyOf(entry) == image)
              found = Variant(image);
            else if (number && indexOf(entry) == *number)
              found = Variant(i);
          }
        },
        [&] { return u"Error on checking the Tree image: " + image; }, displayERR_);
    return found;
  }

  String GetFirstTreeImage() const {
    String key;
    reportAndReturn(
        [&] {
          const ObjectRef list = listImages();
          if (list && countOf(list) > 0) key = keyOf(itemOf(list, Variant(int32_t{1})));
        },
        u"Error on getting the first Tree image", displayERR_);
    return key;
  }

  ObjectRef tree_;
  ObjectRef nodes_;
  std::shared_ptr<StrChr> strings_;
  bool displayERR_;
  bool useValueKey_;
};

// Where a whole-file read stood when it failed, for its report.
struct ReadState {
  int32_t step = 0;
  size_t position = 0;
  const std::vector<const XmlItem*>* trees = nullptr;
  const XmlItem* element = nullptr;

  String describe() const {
    String out = u"\r\n\t#" + longToString(step) + u" (" +
                 longToString(static_cast<int64_t>(position)) + u")";
    if (trees) out += u"\r\n\t#Length: " + longToString(static_cast<int64_t>(trees->size()));
    if (element) {
      out += u"\r\n\t#Name: " + element->name;
      out +=
          u"\r\n\t#Length Child: " + longToString(static_cast<int64_t>(element->children.size()));
    }
    return out;
  }
};

// Reads every TREE element of `document` under `parentKey`; false when it holds none.
bool readTrees(TreeReader& reader, const XmlItem& document, const String& parentKey,
               ReadState& state, bool& result) {
  std::vector<const XmlItem*> trees;
  allTreeElements(document, trees);
  if (trees.empty()) return false;
  state.trees = &trees;
  for (const XmlItem* tree : trees) {
    state.step = 3;
    ++state.position;
    state.element = tree;
    if (!tree->children.empty())
      result =
          reader.elementsToNodes(tree->children, parentKey, static_cast<int64_t>(state.position));
  }
  state.trees = nullptr;
  state.element = nullptr;
  return true;
}

bool TreeFromXMLfile(ObjectRef& tree, const String& fileName, const String& appName,
                     bool displayERR, bool useValueKey) {
  bool result = false;
  ReadState state;
  onError(
      [&] {
        state.step = 1;
        if (!tree || !equalsNoCase(tree->typeName(), u"treeview")) {
          ReportError(
              u"TreeView object is not valid. Unable to load the data from file:\r\n" + fileName,
              displayERR);
          return;
        }
        if (isBlank(fileName)) {
          ReportError(u"Data file name is nul. Unable to load the data", displayERR);
          return;
        }
        if (const auto& progress = sharedProgress()) progress->InitProgressBar(0, 1, displayERR);
        if (const auto document = platform::loadXmlDocument(fileName)) {
          state.step = 2;
          TreeReader reader(tree, displayERR, useValueKey);
          call(nodesOf(tree), u"Clear");
          bool read = false;
          if (!readTrees(reader, *document, String(), state, read)) {
            ShowInformation(loadString(kFileIsEmpty), appName);
          }
          result = read;
        }
        unsetProgress();
      },
      [&] {
        ReportError(u"Error on TreeView Object From XML: " + appName + state.describe(),
                    displayERR);
        unsetProgress();
      });
  return result;
}

}  // namespace

bool TrViewLib::TreeViewFromXMLfile(ObjectRef& trViewObj, const String& XMLfileName,
                                    const String& theAppName, bool displayERR, bool useValueKey) {
  bool result = false;
  reportAndReturn(
      [&] {
        result = TreeFromXMLfile(trViewObj, XMLfileName, theAppName, displayERR, useValueKey);
      },
      [&] { return u"Error on TreeView Object From XML: " + theAppName; }, displayERR);
  return result;
}

bool TrViewLib::SubTreeFromXMLfile(ObjectRef& trViewObj, String& theParentKey,
                                   const String& XMLfileName, bool displayERR, bool useValueKey) {
  bool result = false;
  ReadState state;
  onError(
      [&] {
        state.step = 1;
        if (!trViewObj || isBlank(theParentKey) || isBlank(XMLfileName)) return;
        ObjectRef start;
        returnOnly([&] { start = itemOf(nodesOf(trViewObj), Variant(theParentKey)); });
        if (!start) return;
        if (const auto& progress = sharedProgress()) progress->InitProgressBar(0, 1, false);
        if (const auto document = platform::loadXmlDocument(XMLfileName)) {
          state.step = 2;
          TreeReader reader(trViewObj, displayERR, useValueKey);
          bool read = false;
          if (!readTrees(reader, *document, theParentKey, state, read)) {
            ShowInformation(loadString(kFileIsEmpty), u"");
            return;
          }
        }
        unsetProgress();
        result = true;
      },
      [&] { ReportError(u"Error on SubTree Object From XML:" + state.describe(), false); });
  return result;
}

}  // namespace zv::impl
