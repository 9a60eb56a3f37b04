// The tree as an XML file: the whole tree with its INFO block, or one node's subtree.
// One byte per character in ISO-8859-1, lines ended by CR LF, every node line indented by
// one TAB and the CHILDREN lines by two, whatever the depth.
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

// Characters the header's character set holds are written as they are; the others
// (C1 controls and everything beyond U+00FF) as character references, so they load back.
void appendLatin1(String& out, StringView text) {
  for (const char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += c;
    } else {
      out += u"&#";
      out += longToString(c);
      out += u';';
    }
  }
}

void appendEscaped(String& out, StringView text) {
  for (const char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&#38;";
        break;
      case u'>':
        out += u"&#62;";
        break;
      case u'<':
        out += u"&#60;";
        break;
      default:
        appendLatin1(out, StringView(&c, 1));
    }
  }
}

void appendLine(String& out, StringView indent, StringView name, StringView value, bool escaped) {
  out += indent;
  out += u'<';
  out += name;
  out += u'>';
  if (escaped)
    appendEscaped(out, value);
  else
    appendLatin1(out, value);
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
    String block = u"\r\n\t<NODE>\r\n";
    appendLine(block, u"\t", u"TEXT", textOf(node), true);
    appendLine(block, u"\t", u"KEY", plainKey(keyOf(node)), false);
    const NodeLook look = lookOf(node);
    appendLine(block, u"\t", u"BOLD", booleanToString(look.bold), false);
    appendLine(block, u"\t", u"FOR_COLOR", longToString(look.foreColor), false);
    appendLine(block, u"\t", u"BCK_COLOR", longToString(look.backColor), false);
    appendLine(block, u"\t", u"SORT", booleanToString(look.sorted), false);
    appendLine(block, u"\t", u"EXPAND", booleanToString(look.expanded), false);
    if (const String image = imageOf(node); !isBlank(image))
      appendLine(block, u"\t", u"IMG", image, false);
    if (const String selected = selectedImageOf(node); !selected.empty())
      appendLine(block, u"\t", u"IMG_SELECTED", selected, false);
    if (const String tag = tagOf(node); !isBlank(tag)) appendLine(block, u"\t", u"TAG", tag, true);
    if (const ObjectRef parent = parentOf(node))
      appendLine(block, u"\t", u"PARENT", plainKey(keyOf(parent)), false);
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
        appendLine(head, u"\t", u"TAG", appName, false);
        appendLine(head, u"\t", u"PASSWD", password, false);
        appendLine(head, u"\t", u"COUNT", longToString(count), false);
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
