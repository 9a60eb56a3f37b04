// TrViewLib beyond the shared tree table (tests/cases/trees, run from Python and Wine): a
// failure in the middle of a walk, the numbering limit, the thread's progress object.
#include <gtest/gtest.h>

#include <vector>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "list_view_text.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

using zvtest::addNode;
using zvtest::nodesOf;
using zvtest::Reports;

TEST(TrViewLib, AFailureInTheWalkEndsWithWhatWasHeldAndTheIndexReached) {
  Reports reports;
  ObjectRef tree = zv::createModel(u"TreeView");
  addNode(tree, nullptr, u"R", u"Root");
  zv::put(addNode(tree, u"R", u"R\\a", u"A"), u"Tag", Variant(u"g"));
  zv::put(addNode(tree, u"R", u"R\\b", u"B"), u"Tag", Variant::null());  // not a text: error 94
  ObjectRef gone = addNode(tree, nullptr, u"gone", u"Gone");
  zv::call(nodesOf(tree), u"Remove", {Variant(u"gone")});
  ObjectRef coll = zv::createModel(u"Collection");
  auto lib = zv::TrViewLib::create();
  EXPECT_TRUE(lib->SearchNodeFromTagAndPushInColl(tree, coll, u"R", u"g"));
  EXPECT_EQ(zv::toLong(zv::get(coll, u"Count")), 1);
  // A removed node's key names no node: the label search fails and keeps the label.
  EXPECT_EQ(lib->CheckExistingLabelAndGetNew(tree, gone, u"Note"), u"Note");
  EXPECT_EQ(reports.texts,
            (std::vector<String>{u"Error on searching the Tag from tree: 3\r\n\tR\r\n\tg",
                                 u"Error on finding the Text Node: 0\r\n\tgone\r\n\tNote"}));
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

// Keys grow with the depth, so a chain costs depth x key length: kept short here.
TEST(TrViewLib, ADeepChainIsMovedAndItsCopyDeleted) {
  constexpr int kDepth = 1000;
  ObjectRef tree = zv::createModel(u"TreeView");
  addNode(tree, nullptr, u"T", u"Target");
  String key = u"C";
  addNode(tree, nullptr, key.c_str(), u"Chain");
  for (int i = 1; i < kDepth; ++i) {
    const String child = key + u"\\n";
    addNode(tree, key.c_str(), child.c_str(), u"n");
    key = child;
  }
  auto lib = zv::TrViewLib::create();
  auto count = [&] { return zv::toLong(zv::get(nodesOf(tree), u"Count")); };
  EXPECT_TRUE(lib->SubTreeMove(tree, u"C", u"T"));
  EXPECT_EQ(count(), kDepth + 1);
  int32_t index = 0;
  EXPECT_TRUE(lib->isNodeKeyExist(tree, u"T\\Chain" + String(key.substr(1)), index));
  EXPECT_TRUE(lib->DeleteChildrenOfNode(tree, u"T"));
  EXPECT_EQ(count(), 1);
}
