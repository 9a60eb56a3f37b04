// LstViewLib on the list-view model, reached late-bound as every host reaches it, beyond the
// list-view case table (tests/cases/listview, run from Python and Wine): copies with all their
// properties and the bar, searches by tag and icon, check boxes, a refused header text, long
// texts.
#include <gtest/gtest.h>

#include <vector>

#include "controls/models/ListView.h"
#include "frame/classes.h"
#include "list_view_text.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::ObjectRef;
using zv::String;
using zv::Variant;
using Texts = std::vector<String>;
using zvtest::listView;

namespace {

Variant n(int32_t v) {
  return Variant(v);
}
Variant obj(const ObjectRef& view) {
  return Variant(view);
}
const Variant kMissing = Variant::missing();

class LstViewLibTest : public testing::Test {
 protected:
  static String dump(zv::models::ListView& lv) { return zvtest::listViewText(lv); }
  Variant run(const char16_t* member, Args args) { return zv::call(lib_, member, std::move(args)); }
  bool ok(const char16_t* member, Args args) { return zv::toBoolean(run(member, std::move(args))); }
  int32_t number(const char16_t* member, Args args) {
    return zv::toLong(run(member, std::move(args)));
  }

  ObjectRef lib_ = zv::createObject(u"ZivoviViruvov.LstViewLib");
  zvtest::Reports reported;
  Texts& reports = reported.texts;
};

TEST_F(LstViewLibTest, CopyListToListCarriesEverythingAndMovesTheBar) {
  auto source = listView({{u"Name", u"Town"}, {u"a", u"x"}, {u"b"}});
  source->headers().Add(kMissing, Variant(u"k"), Variant(u"Amount"), n(900), n(1), kMissing);
  source->let_Checkboxes(true);
  source->let_GridLines(true);
  source->let_Tag(u"src");
  auto& first = *source->rows().list().items()[0];
  first.let_Key(u"ka");
  first.let_Checked(true);
  first.let_ForeColor(0xFF);
  first.subItems().list().items()[0]->let_Bold(true);
  auto dest = listView({{u"Old"}, {u"old"}});
  ObjectRef bar = zv::createModel(u"ProgressBar");
  run(u"SetProgressBar", {Variant(bar)});

  EXPECT_TRUE(ok(u"CopyListToTmpList", {obj(source), obj(dest)}));
  EXPECT_EQ(dump(*dest), u"Name|Town|Amount;a|x;b");
  auto& h = *dest->headers().list().items()[2];
  EXPECT_EQ(h.get_Key() + u"/" + zv::longToString(h.get_Alignment()) + u"/" +
                zv::longToString(h.get_Width()),
            u"k/1/900");
  EXPECT_TRUE(dest->get_Checkboxes() && dest->get_GridLines());
  EXPECT_EQ(dest->get_Tag(), u"src");
  auto& copied = *dest->rows().list().items()[0];
  EXPECT_TRUE(copied.get_Key() == u"ka" && copied.get_Checked() && copied.get_ForeColor() == 0xFF);
  EXPECT_TRUE(copied.subItems().list().items()[0]->get_Bold());
  // The bar ran to rows + headers + 1 of its maximum, then was hidden and let go.
  EXPECT_EQ(zv::toLong(zv::get(bar, u"Value")), 6);
  EXPECT_EQ(zv::toLong(zv::get(bar, u"Max")), 7);
  EXPECT_FALSE(zv::toBoolean(zv::get(bar, u"Visible")));

  // A source sub-item beyond its headers fails on the copy, quoting step, row and sub-item.
  for (const char16_t* text : {u"1", u"2", u"3"})
    source->rows().list().items()[1]->subItems().Add(kMissing, kMissing, Variant(text), kMissing,
                                                     kMissing);
  Variant force(false);
  EXPECT_FALSE(ok(u"CopyListToList", {obj(source), obj(dest), Arg::ref(force)}));
  EXPECT_EQ(reports, (Texts{u"Error on List View copy: 3/2/3"}));
}

// Searches by tag and icon, a row added checked while check boxes show, and the counts of
// checked rows (none while no check boxes show) and of selected rows.
TEST_F(LstViewLibTest, TagsIconsAndCheckBoxes) {
  auto lv = listView({{u"A", u"B"}, {u"ABC", u"x"}, {u"abc", u"y"}});
  lv->rows().list().items()[1]->let_Tag(Variant(u"t"));
  lv->rows().list().items()[1]->let_SmallIcon(Variant(u"i"));
  const Variant v = obj(lv), i(u"i"), yes(true);
  EXPECT_EQ(number(u"FindItemFromTag", {v, Variant(u"t")}), 2);
  EXPECT_EQ(number(u"FindItemFromTag", {v, Variant(u"")}), 1);
  EXPECT_EQ(number(u"FindItemFromSmallIcon", {v, i}), 2);
  EXPECT_EQ(number(u"FindItemFromIcon", {v, i}), 0);
  lv->rows().list().items()[0]->let_Checked(true);
  lv->rows().list().items()[1]->let_Selected(true);
  EXPECT_EQ(number(u"CountCheckedItem", {v}), 0);
  lv->let_Checkboxes(true);
  EXPECT_EQ(number(u"FindItemFromText", {v, Variant(u"new"), yes, yes}), 3);
  EXPECT_TRUE(lv->rows().list().items()[2]->get_Checked());
  EXPECT_EQ(number(u"CountCheckedItem", {v}), 2);
  EXPECT_EQ(number(u"CountSelectedItem", {v}), 1);
  EXPECT_TRUE(reports.empty());
}

// A list-view model seen through a proxy that refuses to set the Text of its headers.
class HeaderTextRefused : public zv::Object {
 public:
  explicit HeaderTextRefused(ObjectRef inner) : inner_(std::move(inner)) {}
  Variant invoke(zv::StringView name, unsigned kinds, Args& args) override {
    if (inner_->typeName() == u"ColumnHeader" && name == u"Text" && (kinds & zv::kPropertyPut))
      zv::raise(380);
    Variant result = inner_->invoke(name, kinds, args);
    if (result.isObject() && result.objectValue())
      return Variant(ObjectRef(std::make_shared<HeaderTextRefused>(result.objectValue())));
    return result;
  }
  String typeName() const override { return inner_->typeName(); }

 private:
  ObjectRef inner_;
};

// The other failures' texts are in the list-view case table (tests/cases/listview).
TEST_F(LstViewLibTest, ARefusedHeaderTextReportsTheSwitch) {
  const Variant refused(ObjectRef(
      std::make_shared<HeaderTextRefused>(ObjectRef(listView({{u"A", u"B"}, {u"a", u"b"}})))));
  EXPECT_FALSE(ok(u"isSwitchColumnsAndHeaders", {refused, n(1), n(2)}));
  EXPECT_EQ(reports, (Texts{u"Error on switching two headers: 1 to 2"}));
}

TEST_F(LstViewLibTest, LongTextsAndValuesThatAreNoObject) {
  auto lv = listView({{u"A"}});
  const Variant text(String(40000, u'x'));
  EXPECT_EQ(number(u"FindItemFromText", {obj(lv), text, Variant(true)}), 1);
  EXPECT_EQ(number(u"FindItemFromText", {obj(lv), text}), 1);
  EXPECT_EQ(zvtest::errorOf([&] { run(u"FindItemFromText", {Variant(u"no object"), text}); }), 13);
}

}  // namespace
