// Tree XML files beyond the shared case table (tests/cases/tree_xml, run from Python and
// Wine): the reader's reports, images and lengths, the depth limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "list_view_text.h"
#include "platform/xml_document.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

using zvtest::addNode;
using zvtest::nodesOf;
using zvtest::Reports;

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>";

String member(const ObjectRef& tree, const char16_t* key, const char16_t* name) {
  return zv::toString(
      zv::get(zv::toObject(zv::call(nodesOf(tree), u"Item", {Variant(key)})), name));
}

bool load(ObjectRef& tree, const zvtest::TempDir& dir, const std::string& body) {
  zvtest::writeBytes(dir.path("t.xml"), kHeader + body);
  return zv::TrViewLib::create()->TreeViewFromXMLfile(tree, dir.u("t.xml"), u"App", false, true);
}

TEST(TreeXml, ReaderReportsNameTheStepAndPosition) {
  const struct {
    std::string body;
    std::vector<String> reports;
  } cases[] = {
      {"<TREE><NODE><TEXT>A</TEXT><KEY>a</KEY><BOLD>maybe</BOLD></NODE></TREE>",
       {u"Error on import TreeView Object From XML:\r\n\t#331 (3\t101)"}},
      {"<TREE><NODE><TEXT>A</TEXT><KEY>a</KEY><PARENT>x</PARENT><CHILDREN/></NODE></TREE>",
       {u"Error on import TreeView Object From XML:\r\n\t#4 (10435)"}},
      {"<TREE><NODE><TEXT>A</TEXT><KEY>a</KEY><FOR_COLOR>-3000000000</FOR_COLOR></NODE></TREE>",
       {u"Error on import TreeView Object From XML:\r\n\t#331 (3\t101)"}},
  };
  zvtest::TempDir dir;
  for (const auto& c : cases) {
    Reports reports;
    ObjectRef tree = zv::createModel(u"TreeView");
    EXPECT_TRUE(load(tree, dir, c.body)) << c.body;
    EXPECT_EQ(reports.texts, c.reports) << c.body;
  }
}

TEST(TreeXml, ImagesFromTheListAndTextsCutAt255) {
  zvtest::TempDir dir;
  ObjectRef tree = zv::createModel(u"TreeView");
  zvtest::giveImages(tree, {u"first", u"second"});
  const std::string longText(300, 'x');
  ASSERT_TRUE(load(tree, dir,
                   "<TREE><NODE><TEXT>" + longText +
                       "</TEXT><KEY>r</KEY><IMG>none</IMG>"
                       "<IMG_SELECTED>none</IMG_SELECTED><CHILDREN><NODE><TEXT>c</TEXT><KEY>c</KEY>"
                       "<IMG>2</IMG><IMG_SELECTED>second</IMG_SELECTED></NODE><NODE><TEXT>d</TEXT>"
                       "<KEY>d</KEY><IMG>none</IMG></NODE></CHILDREN></NODE></TREE>"));
  EXPECT_EQ(member(tree, u"r", u"Text"), String(255, u'x'));
  EXPECT_EQ(member(tree, u"r", u"Image"), u"first");  // a root takes the list's first image
  EXPECT_EQ(member(tree, u"r", u"SelectedImage"), u"");
  EXPECT_EQ(member(tree, u"c", u"Image"), u"2");
  EXPECT_EQ(member(tree, u"c", u"SelectedImage"), u"second");
  EXPECT_EQ(member(tree, u"d", u"Image"), u"");
}

TEST(TreeXml, TheWriterLeavesOutNodesBelowItsDepthLimit) {
  zvtest::TempDir dir;
  ObjectRef tree = zv::createModel(u"TreeView");
  String parent = u"n0";
  addNode(tree, nullptr, parent.c_str(), u"0");
  for (int i = 1; i <= 510; ++i) {
    const String key = u"n" + zv::longToString(i);
    addNode(tree, parent.c_str(), key.c_str(), key.c_str());
    parent = key;
  }
  Reports reports;
  auto lib = zv::TrViewLib::create();
  EXPECT_TRUE(lib->TreeViewToXMLfile(tree, dir.u("deep.xml"), u"", u"", false));
  EXPECT_EQ(reports.texts, std::vector<String>{u"Error on Export TreeView Object To XML"});
  EXPECT_TRUE(lib->TreeViewFromXMLfile(tree, dir.u("deep.xml"), u"", false, true));
  EXPECT_EQ(zv::toLong(zv::get(nodesOf(tree), u"Count")), 501);
}

// What the case table cannot show: the nesting limit and attributes named twice.
TEST(TreeXml, TheXmlServiceRefusesDeepNestingAndRepeatedAttributes) {
  const auto nested = [](int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i)
      open += "<a>", close += "</a>";
    return zv::platform::parseXmlDocument(open + close).has_value();
  };
  EXPECT_TRUE(nested(zv::platform::kMaxXmlDepth));
  EXPECT_FALSE(nested(zv::platform::kMaxXmlDepth + 1));
  EXPECT_FALSE(zv::platform::parseXmlDocument("<A a='1' a='2'/>"));
}

}  // namespace
