// TrViewLib's reports, exactly as ReportError receives them, and the limits of key
// numbering. The search orders and results run from the shared tree table (Python, Wine).
#include <gtest/gtest.h>

#include <functional>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "frame/report_listener.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

// The messages ReportError receives while it lives.
class Reports {
 public:
  Reports()
      : previous_(zv::setReportListener([this](const String& m, bool) { texts.push_back(m); })) {}
  ~Reports() { zv::setReportListener(previous_); }
  std::vector<String> texts;

 private:
  zv::ReportListener previous_;
};

// A tree whose one node cannot be read: Count is 1, Item and every node member fail.
class BrokenTree : public zv::Object {
 public:
  Variant invoke(zv::StringView name, unsigned, zv::Args&) override {
    if (zv::equalsNoCase(name, u"Nodes")) return Variant(shared_from_this());
    if (zv::equalsNoCase(name, u"Count")) return Variant(int32_t{1});
    zv::raise(35600);
  }
  String typeName() const override { return u"BrokenTree"; }
};

ObjectRef nodesOf(const ObjectRef& tree) {
  return zv::toObject(zv::get(tree, u"Nodes"));
}

ObjectRef addNode(const ObjectRef& tree, const char16_t* parent, const char16_t* key,
                  const char16_t* text) {
  const Variant relative = parent ? Variant(parent) : Variant::missing();
  return zv::toObject(zv::call(nodesOf(tree), u"Add",
                               {relative, Variant(int16_t{4}), Variant(key), Variant(text)}));
}

struct ReportCase {
  const char* member;
  std::function<void(zv::TrViewLib&, ObjectRef& tree, ObjectRef& broken)> call;
  std::vector<const char16_t*> messages;
};

class TrViewLibReports : public testing::TestWithParam<ReportCase> {};

TEST_P(TrViewLibReports, CarryTheMembersMessage) {
  zvtest::RecordingUserInterface ui;
  Reports reports;
  ObjectRef tree = zv::createModel(u"TreeView");
  addNode(tree, nullptr, u"R", u"Root");
  ObjectRef broken = std::make_shared<BrokenTree>();
  auto lib = zv::TrViewLib::create();
  GetParam().call(*lib, tree, broken);
  std::vector<String> expected;
  for (const char16_t* m : GetParam().messages)
    expected.emplace_back(m);
  EXPECT_EQ(reports.texts, expected);
}

String img = u"i";
int32_t index = 0;

INSTANTIATE_TEST_SUITE_P(
    TrViewLib, TrViewLibReports,
    testing::Values(
        // A start key or index that names no node: the control's error, index reached 0.
        ReportCase{"SearchNodeFromTextAndPushInColl",
                   [](auto& l, auto& t, auto&) {
                     ObjectRef c = zv::createModel(u"Collection");
                     l.SearchNodeFromTextAndPushInColl(t, c, u"nope", u"t");
                   },
                   {u"Error on searching the Text from tree: 0\r\n\tnope\r\n\tt"}},
        ReportCase{"SearchNodeFromImageAndPushInColl",
                   [](auto& l, auto& t, auto&) {
                     ObjectRef c = zv::createModel(u"Collection");
                     l.SearchNodeFromImageAndPushInColl(t, c, u"nope", u"i");
                   },
                   {u"Error on searching the Image from tree: 0\r\n\tnope\r\n\ti"}},
        ReportCase{"SearchNodeFromTagAndPushInColl",
                   [](auto& l, auto& t, auto&) {
                     ObjectRef c = zv::createModel(u"Collection");
                     l.SearchNodeFromTagAndPushInColl(t, c, u"nope", u"g");
                   },
                   {u"Error on searching the Tag from tree: 0\r\n\tnope\r\n\tg"}},
        ReportCase{"SearchChildFromImage",
                   [](auto& l, auto& t, auto&) { l.SearchChildFromImage(t, u"nope", u"i"); },
                   {u"Error on searching the Image Node: 0\r\n\tnope\r\n\ti"}},
        ReportCase{"SearchChildFromTag",
                   [](auto& l, auto& t, auto&) { l.SearchChildFromTag(t, u"nope", u"g"); },
                   {u"Error on Searching Node from his Tag"}},
        ReportCase{
            "SearchChildFromImageAndTag",
            [](auto& l, auto& t, auto&) { l.SearchChildFromImageAndTag(t, u"nope", img, u"g"); },
            {u"Error on Searching the Image/Tag Node: 0\r\n\tnope\r\n\tg"}},
        ReportCase{"SearchChildFromText",
                   [](auto& l, auto& t, auto&) { l.SearchChildFromText(t, u"nope", u"t"); },
                   {u"Error on finding the Text Node: 0\r\n\tnope\r\n\tt"}},
        ReportCase{"SearchParentFromImage",
                   [](auto& l, auto& t, auto&) { l.SearchParentFromImage(t, u"nope", u"i"); },
                   {u"Error on searching parent from Image Node\r\n\tnope\r\n\ti"}},
        ReportCase{"FindChildFromTag",
                   [](auto& l, auto& t, auto&) { l.FindChildFromTag(t, 9, u"g"); },
                   {u"Error on finding Node from his Tag"}},
        ReportCase{"FindChildFromTagWithSep",
                   [](auto& l, auto& t, auto&) { l.FindChildFromTagWithSep(t, 9, u"g", u"|", 2); },
                   {u"Error on finding Node from his Tag with separator: \r\n\tg\t|\t2\r\n\t"}},
        ReportCase{"FindChildFromImageAndTag",
                   [](auto& l, auto& t, auto&) { l.FindChildFromImageAndTag(t, 9, img, u"g"); },
                   {u"Error on finding the Image/Tag Node: 0\r\n\t9\r\n\tg"}},
        ReportCase{"FindChildFromImageAndTagWithSep",
                   [](auto& l, auto& t, auto&) {
                     l.FindChildFromImageAndTagWithSep(t, 9, img, u"g", u"|", 2);
                   },
                   {u"Error on  finding the Image/Tag/Separator Node: 0\r\n\t9\r\n\tg\t|\r\n\t2"}},
        ReportCase{"FindChildFromImage",
                   [](auto& l, auto& t, auto&) { l.FindChildFromImage(t, 9, u"i"); },
                   {u"Error on finding the Image Node: 0\r\n\t9\r\n\ti"}},
        ReportCase{"isExistInChildText",
                   [](auto& l, auto& t, auto&) { l.isExistInChildText(t, u"nope", u"t"); },
                   {u"Error on isExist the text Node: 0\r\n\tnope\r\n\tt"}},
        ReportCase{"GetAllTagFromChild",
                   [](auto& l, auto& t, auto&) { l.GetAllTagFromChild(t, 9, u";"); },
                   {u"Error on getting Tag Node from index: 9"}},
        ReportCase{"GetAllTagFromChildWithImage",
                   [](auto& l, auto& t, auto&) { l.GetAllTagFromChildWithImage(t, 9, u"i"); },
                   {u"Error on getting Tag Node with Image: i"}},
        ReportCase{"GetChildPosition",
                   [](auto& l, auto& t, auto&) { EXPECT_EQ(l.GetChildPosition(t, u"nope"), 1); },
                   {u"Error on get Child Node position"}},
        // A node that cannot be read.
        ReportCase{"SearchNodeFromImage",
                   [](auto& l, auto&, auto& b) { l.SearchNodeFromImage(b, img); },
                   {u"Error on searching Node from his Image"}},
        ReportCase{"SearchNodeFromTag",
                   [](auto& l, auto&, auto& b) { l.SearchNodeFromTag(b, u"g"); },
                   {u"Error on searching Node from his Tag information"}},
        ReportCase{"SearchNodeFromText",
                   [](auto& l, auto&, auto& b) { l.SearchNodeFromText(b, u"t"); },
                   {u"Error on searching Node from the Text: t"}},
        ReportCase{"FindNodeFromText",
                   [](auto& l, auto&, auto& b) { l.FindNodeFromText(b, u"t"); },
                   {u"Error on finding Node from the Text: t"}},
        ReportCase{"FindNodeFromImage",
                   [](auto& l, auto&, auto& b) { l.FindNodeFromImage(b, img); },
                   {u"Error on finding Node from his Image"}},
        ReportCase{"FindNodeFromSelectedImage",
                   [](auto& l, auto&, auto& b) { l.FindNodeFromSelectedImage(b, img); },
                   {u"Error on finding Node from his selected Image"}},
        ReportCase{"FindNodeFromImageAndSelected",
                   [](auto& l, auto&, auto& b) { l.FindNodeFromImageAndSelected(b, img, img); },
                   {u"Error on finding Node from his Image and selected Image"}},
        ReportCase{"FindNodeFromTag",
                   [](auto& l, auto&, auto& b) { l.FindNodeFromTag(b, u"g"); },
                   {u"Error on finding Node from his Tag information"}},
        ReportCase{"isExistInNodeText",
                   [](auto& l, auto&, auto& b) { l.isExistInNodeText(b, u"t"); },
                   {u"Error on searching Node with the Text: t"}},
        ReportCase{"CountChildFromImage",
                   [](auto& l, auto&, auto& b) { l.CountChildFromImage(b, b, u"i", true, false); },
                   {u"Error on count the sub Node image: i\tTrue\tFalse"}},
        ReportCase{"CountChildFromSelectedImage",
                   [](auto& l, auto&, auto& b) { l.CountChildFromSelectedImage(b, b, u"i"); },
                   {u"Error on count the sub Node selected image: i\tFalse\tTrue"}},
        ReportCase{"isNodeKeyExist",
                   [](auto& l, auto&, auto& b) { l.isNodeKeyExist(b, u"k", index); },
                   {}},
        // The routines below the members report as the walks they stand for.
        ReportCase{"CheckExistingLabelAndGetNew",
                   [](auto& l, auto& t, auto&) {
                     ObjectRef gone = addNode(t, nullptr, u"gone", u"Gone");
                     zv::call(nodesOf(t), u"Remove", {Variant(u"gone")});
                     EXPECT_EQ(l.CheckExistingLabelAndGetNew(t, gone, u"Note"), u"Note");
                   },
                   {u"Error on finding the Text Node: 0\r\n\tgone\r\n\tNote"}},
        ReportCase{"CreateChildNode",
                   [](auto& l, auto& t, auto&) {
                     EXPECT_EQ(l.CreateChildNode(t, u"R\\x y", u"z", u""), u"");
                   },
                   {u"Error on finding the Key Node: 0\r\n\tR\\x_y\r\n\tR\\x_y\\z",
                    u"Error on adding the Node with RelationShip: 4\r\n\r\nR\\x y\t5\r\n\tz\r\n\r\n"
                    u"R\\x_y\\z\t7\r\n\t[]\t[]"}}),
    [](const auto& info) { return std::string(info.param.member); });

TEST(TrViewLib, AFailingChildEndsTheLevelWithWhatItHeld) {
  Reports reports;
  ObjectRef tree = zv::createModel(u"TreeView");
  addNode(tree, nullptr, u"R", u"Root");
  zv::put(addNode(tree, u"R", u"R\\a", u"A"), u"Tag", Variant(u"g"));
  zv::put(addNode(tree, u"R", u"R\\b", u"B"), u"Tag", Variant::null());
  ObjectRef coll = zv::createModel(u"Collection");
  EXPECT_TRUE(zv::TrViewLib::create()->SearchNodeFromTagAndPushInColl(tree, coll, u"R", u"g"));
  EXPECT_EQ(zv::toLong(zv::get(coll, u"Count")), 1);
  EXPECT_EQ(reports.texts,
            std::vector<String>{u"Error on searching the Tag from tree: 3\r\n\tR\r\n\tg"});
}

TEST(TrViewLib, KeysAreNumberedUpTo500) {
  zvtest::RecordingUserInterface ui;
  ObjectRef tree = zv::createModel(u"TreeView");
  addNode(tree, nullptr, u"R", u"Root");
  auto lib = zv::TrViewLib::create();
  for (int n = 0; n <= 500; ++n)
    ASSERT_EQ(lib->CreateChildNode(tree, u"R", u"x", u""),
              n ? u"R\\" + zv::longToString(n) + u"x" : String(u"R\\x"));
  EXPECT_EQ(lib->CreateChildNode(tree, u"R", u"x", u""), u"");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text,
            u"Node is already exist, unable to add it: True\r\nx\r\nR\\x\r\n500x");
  EXPECT_EQ(zv::toLong(zv::get(nodesOf(tree), u"Count")), 502);
}

}  // namespace

TEST(TrViewLib, TheThreadsProgressObjectIsSharedUntilATrViewLibComesOrGoes) {
  ObjectRef bar = zv::createModel(u"ProgressBar");
  auto visible = [&] { return zv::toBoolean(zv::get(bar, u"Visible")); };
  zv::put(bar, u"Visible", Variant(false));
  auto first = zv::TrViewLib::create();
  first->SetProgressBar(bar);
  EXPECT_TRUE(visible());
  zv::TrViewLib::create()->unSetProgressBar();  // its creation dropped the shared object
  EXPECT_TRUE(visible());
  first->SetProgressBar(bar);
  zv::TrViewLib::create();  // created and destroyed: the object is gone again
  first->unSetProgressBar();
  EXPECT_TRUE(visible());
  first->SetProgressBar(bar);
  first->unSetProgressBar();
  EXPECT_FALSE(visible());
}
