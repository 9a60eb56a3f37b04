// The tree as an XML file: the whole tree with its INFO block, or one node's subtree.
// One byte per character in ISO-8859-1, lines ended by CR LF, every node line indented by
// one TAB and the CHILDREN lines by two, whatever the depth.
#include <algorithm>
#include <chrono>
#include <thread>

#include "api/StrChr.h"
#include "frame/file_numbers.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/shared_progress.h"
#include "treeview/tree_links.h"
#include "treeview/tree_xml.h"

namespace zv::impl {

using namespace treeview;

namespace {

constexpr char16_t kHeader[] = u"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>";
constexpr int32_t kOutOfStackSpace = 28;

// Whether `c` is written as a character reference: C1 controls and everything beyond
// U+00FF, which the header's character set lacks, and with `escaped` '&', '<' and '>'.
bool needsReference(char16_t c, bool escaped) {
  if (c < 0x80) return escaped && (c == u'&' || c == u'<' || c == u'>');
  return c < 0xA0 || c > 0xFF;
}

// `text` with references where needed, so it loads back. Most texts need none: a block of
// 16 units is cleared in one branch-free test and copied with the run around it.
void appendXmlText(String& out, StringView text, bool escaped) {
  constexpr size_t kBlock = 16;
  size_t run = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text.size() - i >= kBlock) {
      bool wide = false, marks = false;
      for (size_t k = i; k < i + kBlock; ++k) {
        wide |= text[k] >= 0x80;
        marks |= text[k] == u'&' || text[k] == u'<' || text[k] == u'>';
      }
      if (!wide && !(escaped && marks)) {
        i += kBlock;
        continue;
      }
    }
    const size_t blockEnd = std::min(text.size(), i + kBlock);
    for (; i < blockEnd; ++i) {
      if (!needsReference(text[i], escaped)) continue;
      out.append(text.substr(run, i - run));
      out += u"&#";
      out += longToString(text[i]);
      out += u';';
      run = i + 1;
    }
  }
  out.append(text.substr(run));
}

// One line of a block: a TAB, then the element.
void appendLine(String& out, StringView name, StringView value, bool escaped) {
  out += u"\t<";
  out += name;
  out += u'>';
  appendXmlText(out, value, escaped);
  out += u"</";
  out += name;
  out += u">\r\n";
}

// NodeToXMLfile for one node and its subtree; `depth` guards the stack as VB's own
// recursion limit would.
class NodeWriter {
 public:
  NodeWriter(TextFile& file, int32_t nodeCount)
      : file_(file), budget_(nodeCount, 1), strings_(StrChr::create()) {}

  void write(const ObjectRef& node, bool displayERR, int32_t depth = 0) {
    if (!node) return;
    reportAndReturn([&] { writeBlock(node, displayERR, depth); },
                    u"Error on Export TreeView Object To XML", displayERR);
  }

  WalkBudget& budget() { return budget_; }

 private:
  void writeBlock(const ObjectRef& node, bool displayERR, int32_t depth) {
    if (depth > kMaxTreeDepth) raise(kOutOfStackSpace);
    if (const auto& progress = sharedProgress()) progress->AddProgressBarValue(1, displayERR);
    // Written out before the children are, so each node reuses its storage.
    String& block = block_;
    block = u"\r\n\t<NODE>\r\n";
    appendLine(block, u"TEXT", textOf(node), true);
    appendLine(block, u"KEY", plainKey(keyOf(node)), false);
    const NodeLook look = lookOf(node);
    appendLine(block, u"BOLD", booleanToString(look.bold), false);
    appendLine(block, u"FOR_COLOR", longToString(look.foreColor), false);
    appendLine(block, u"BCK_COLOR", longToString(look.backColor), false);
    appendLine(block, u"SORT", booleanToString(look.sorted), false);
    appendLine(block, u"EXPAND", booleanToString(look.expanded), false);
    if (const String image = imageOf(node); !isBlank(image))
      appendLine(block, u"IMG", image, false);
    if (const String selected = selectedImageOf(node); !selected.empty())
      appendLine(block, u"IMG_SELECTED", selected, false);
    if (const String tag = tagOf(node); !isBlank(tag)) appendLine(block, u"TAG", tag, true);
    if (const ObjectRef parent = parentOf(node))
      appendLine(block, u"PARENT", plainKey(keyOf(parent)), false);
    file_.write(block);
    if (childrenOf(node) > 0) {
      file_.write(u"\t\t<CHILDREN>\r\n");
      SiblingWalk walk(node, budget_);
      while (const ObjectRef child = walk.next())
        write(child, displayERR, depth + 1);
      file_.write(u"\t\t</CHILDREN>\r\n");
    }
    file_.write(u"\t</NODE>\r\n\r\n");
  }

  String plainKey(const String& key) const { return strings_->RemoveAccent(key); }

  TextFile& file_;
  String block_;
  WalkBudget budget_;
  std::shared_ptr<StrChr> strings_;
};

// The root nodes, from Nodes(1).Root.FirstSibling through Next to the root whose Index is
// Nodes(1).Root.LastSibling.Index.
void writeRoots(NodeWriter& writer, const ObjectRef& nodes, bool displayERR) {
  const ObjectRef root = linkOf(itemOf(nodes, Variant(int32_t{1})), Link::Root);
  const int32_t last = indexOf(linkOf(root, Link::LastSibling));
  ObjectRef node = linkOf(root, Link::FirstSibling);
  for (int64_t visits = 1;; ++visits) {
    writer.budget().spend(visits);
    writer.write(node, displayERR);
    if (!node) raise(err::kObjectNotSet);
    if (indexOf(node) == last) return;
    node = linkOf(node, Link::Next);
  }
}

void unsetProgress() {
  if (const auto& progress = sharedProgress()) progress->unSetProgressBar(false);
}

bool TreeToXMLfile(const ObjectRef& tree, const String& fileName, const String& appName,
                   const String& password, bool displayERR) {
  bool result = false;
  reportAndReturn(
      [&] {
        if (!tree) return;
        const ObjectRef nodes = nodesOf(tree);
        const int32_t count = countOf(nodes);
        if (count < 1) return;
        FileNumber file(OpenFileForOutput(fileName));
        if (!file.isOpen()) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1000));
          file = OpenFileForOutput(fileName);
          if (!file.isOpen()) return;
        }
        String head = kHeader;
        head += u"\r\n<TREE>\r\n\t<INFO>\r\n";
        appendLine(head, u"TAG", appName, false);
        appendLine(head, u"PASSWD", password, false);
        appendLine(head, u"COUNT", longToString(count), false);
        head += u"\t</INFO>\r\n";
        file.file().write(head);
        if (const auto& progress = sharedProgress())
          progress->InitProgressBar(1, count, displayERR);
        NodeWriter writer(file.file(), count);
        writeRoots(writer, nodes, displayERR);
        file.file().write(u"</TREE>\r\n");
        file.close();
        unsetProgress();
        result = true;
      },
      [&] { return u"Error on Tree To XML\r\n" + appName; });
  return result;
}

}  // namespace

bool TrViewLib::TreeViewToXMLfile(ObjectRef& trViewObj, const String& XMLfileName,
                                  const String& theAppName, const String& thePasswd,
                                  bool displayERR) {
  bool result = false;
  reportAndReturn(
      [&] { result = TreeToXMLfile(trViewObj, XMLfileName, theAppName, thePasswd, displayERR); },
      [&] { return u"Error on TreeView Object To XML\r\n" + theAppName; });
  return result;
}

bool TrViewLib::SubTreeToXMLfile(ObjectRef& trViewObj, String& theParentKey,
                                 const String& XMLfileName, bool includeParent, bool HeaderFooter) {
  bool result = false;
  reportAndReturn(
      [&] {
        if (!trViewObj) return;
        const ObjectRef nodes = nodesOf(trViewObj);
        const ObjectRef start = itemOf(nodes, Variant(theParentKey));
        if (!start) return;
        if (const auto& progress = sharedProgress()) progress->InitProgressBar(0, 1, false);
        FileNumber file(OpenFileForOutput(XMLfileName));
        if (!file.isOpen()) return;
        if (HeaderFooter) file.file().write(String(kHeader) + u"\r\n<TREE>\r\n");
        NodeWriter writer(file.file(), countOf(nodes));
        if (includeParent) {
          writer.write(start, false);
        } else if (childrenOf(start) > 0) {
          SiblingWalk walk(start, writer.budget());
          while (const ObjectRef child = walk.next())
            writer.write(child, false);
        }
        if (HeaderFooter) file.file().write(u"</TREE>\r\n");
        file.close();
        unsetProgress();
        result = true;
      },
      u"Error on SubTreeView Object To XML");
  return result;
}

}  // namespace zv::impl
