// Tree XML files beyond the shared case table (tests/cases/tree_xml, run from Python and
// Wine, the reader's reports from Python): images and lengths, the depth limits.
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

// The writer clears plain text 16 units at a time: references at the edges of those blocks
// and after them, in long texts as in short.
TEST(TreeXml, TheWriterEscapesAtEveryPositionOfLongTexts) {
  const String x15(15, u'x'), y16(16, u'y');
  const struct {
    String text;
    std::string written;
  } cases[] = {
      {String(40, u'p'), std::string(40, 'p')},
      {x15 + u"&", std::string(15, 'x') + "&#38;"},
      {x15 + u"x\u20AC" + y16 + u"<",
       std::string(16, 'x') + "&#8364;" + std::string(16, 'y') + "&#60;"},
      {y16 + u"\u0085\u00E9>", std::string(16, 'y') + "&#133;\xE9&#62;"},
  };
  zvtest::TempDir dir;
  ObjectRef tree = zv::createModel(u"TreeView");
  for (size_t i = 0; i < std::size(cases); ++i)
    addNode(tree, nullptr, (u"k" + zv::longToString(int32_t(i))).c_str(), cases[i].text.c_str());
  ASSERT_TRUE(zv::TrViewLib::create()->TreeViewToXMLfile(tree, dir.u("w.xml"), u"", u"", false));
  const std::string bytes = zvtest::readBytes(dir.path("w.xml"));
  for (const auto& c : cases)
    EXPECT_NE(bytes.find("<TEXT>" + c.written + "</TEXT>"), std::string::npos) << c.written;
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
