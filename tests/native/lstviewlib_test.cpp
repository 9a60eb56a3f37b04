// LstViewLib on the list-view model, reached late-bound as every host reaches it: rows and
// headers from collections, copies, tips, searches, counts and column rearrangement, with
// the exact report texts of the failures.
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

ObjectRef collection(const Texts& values) {
  ObjectRef coll = zv::createModel(u"Collection");
  for (const String& v : values)
    zv::call(coll, u"Add", {Variant(v)});
  return coll;
}

TEST_F(LstViewLibTest, RowsAndHeadersFromCollections) {
  auto lv = listView({{u"City"}, {u"old"}});
  ObjectRef coll = collection({u"New York", u"  ", u" Paris ", u"New York"});
  EXPECT_TRUE(ok(u"AddItemsFromColl", {obj(lv), Variant(coll)}));
  Texts keys;
  for (const auto& row : lv->rows().list().items())
    keys.push_back(row->get_Key() + u"=" + row->get_Text());
  EXPECT_EQ(keys, (Texts{u"NewYork11=New York", u"Paris33=Paris", u"NewYork44=New York"}));

  EXPECT_TRUE(ok(u"CreateHeadersFromColl", {obj(lv), Variant(coll)}));
  EXPECT_EQ(dump(*lv), u"New York|Paris|New York");  // the rows went with the old headers
  EXPECT_EQ(lv->headers().list().items()[1]->get_Key(), u"Paris3");
  EXPECT_EQ(lv->headers().list().items()[1]->get_Width(), 1300);

  // Neutral results: nothing given, an empty collection, a list-view without headers.
  const ObjectRef nothing;
  EXPECT_FALSE(ok(u"AddItemsFromColl", {Variant(nothing), Variant(coll)}));
  EXPECT_FALSE(ok(u"AddItemsFromColl", {obj(listView({{}})), Variant(coll)}));
  EXPECT_FALSE(ok(u"CreateHeadersFromColl", {Variant(nothing), Variant(coll)}));
  EXPECT_FALSE(ok(u"CreateHeadersFromColl", {obj(lv), Variant(collection({}))}));
  EXPECT_EQ(reports, (Texts{u"LIB - Unable to initialize table, destination is null",
                            u"LIB - Unable to initialize table, items list is empty: 0"}));
}

TEST_F(LstViewLibTest, ColumnIntoListBoxAddsOnlyNewValues) {
  auto lv = listView({{u"A", u"B", u"C"}, {u"x", u"1"}, {u"y", u"1", u"z"}, {u"x"}});
  const struct {
    int16_t column;
    bool acceptEmpty;
    bool result;
    Texts items;
  } cases[] = {{1, false, true, {u"x", u"y"}}, {2, false, true, {u"1"}}, {3, false, true, {u"z"}},
               {3, true, true, {u"", u"z"}},  // rows without the sub-item give ""
               {4, true, false, {}},           {0, true, false, {}}};
  for (const auto& c : cases) {
    ObjectRef box = zv::createModel(u"ListBox");
    EXPECT_EQ(ok(u"CopyColumnToListBox",
                 {obj(lv), Variant(box), Variant(c.column), Variant(c.acceptEmpty)}),
              c.result);
    Texts items;
    for (int32_t i = 0; i < zv::toLong(zv::get(box, u"ListCount")); ++i)
      items.push_back(zv::toString(zv::get(box, u"List", {n(i)})));
    EXPECT_EQ(items, c.items) << c.column;
  }
}

TEST_F(LstViewLibTest, HeadersIntoRowsColoursAndClearing) {
  auto source = listView({{u"A", u"B"}});
  auto target = listView({{u"Only"}, {u"gone"}});
  EXPECT_TRUE(ok(u"CopyListViewHeaderToRow", {obj(source), obj(target)}));
  EXPECT_EQ(dump(*target), u"Only;A;B");
  EXPECT_EQ(target->get_Tag(), u"2");

  auto lv = listView({{u"A", u"B", u"C"}, {u"r", u"s", u"t"}});
  ObjectRef row = lv->rows().Item(n(1));
  EXPECT_TRUE(ok(u"ChangeItemSubItemsForeColor", {Variant(row), n(255)}));
  EXPECT_EQ(lv->rows().list().items()[0]->subItems().list().items()[1]->get_ForeColor(), 255);
  EXPECT_EQ(lv->rows().list().items()[0]->get_ForeColor(), 0);
  EXPECT_FALSE(ok(u"ChangeItemSubItemsForeColor", {Variant(row), n(0x1000000)}));

  run(u"ClearListViewAndHeaders", {obj(lv)});
  EXPECT_EQ(dump(*lv), u"");
  EXPECT_EQ(reports, (Texts{u"Error on changing items color: 1"}));
}

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

TEST_F(LstViewLibTest, AutomaticTipsAndTheirExclusions) {
  const struct {
    bool withHeader;
    int16_t without1, without2;
    Texts tips;  // the row's, then each sub-item's
  } cases[] = {{false, -1, -1, {u"a", u"b", u"c"}},
               {true, -1, -1, {u"H1 : a", u"b", u"H3 : c"}},  // a blank header adds nothing
               {false, 0, -1, {u"", u"b", u"c"}},
               {false, 2, 1, {u"a", u"", u""}}};
  for (const auto& c : cases) {
    auto lv = listView({{u"H1", u" ", u"H3"}, {u" a ", u"b", u"c"}});
    run(u"SetAutomaticTips",
        {obj(lv), Variant(c.withHeader), Variant(false), Variant(c.without1), Variant(c.without2)});
    auto& row = *lv->rows().list().items()[0];
    Texts tips{row.get_ToolTipText()};
    for (const auto& cell : row.subItems().list().items())
      tips.push_back(cell->get_ToolTipText());
    EXPECT_EQ(tips, c.tips) << c.withHeader << c.without1 << c.without2;
  }
}

// Each search in turn: the first match's index, 0 for none, or the index of the row or
// header added on request.
TEST_F(LstViewLibTest, FindsTheFirstMatchAndAddsOnRequest) {
  auto lv = listView({{u"A", u"B"}, {u"ABC", u"x"}, {u"abc", u"y"}});
  lv->rows().list().items()[1]->let_Tag(Variant(u"t"));
  lv->rows().list().items()[1]->let_SmallIcon(Variant(u"i"));
  lv->let_Checkboxes(true);
  auto bare = listView({{}});
  const Variant v = obj(lv), b = obj(bare), yes(true), i(u"i");
  const Variant one(int16_t{1}), two(int16_t{2});
  const struct {
    const char16_t* member;
    Args args;
    int32_t found;
  } steps[] = {
      {u"FindItemFromText", {v, Variant(u"abc")}, 2},
      {u"FindItemFromText", {v, Variant(u"ab")}, 0},
      {u"FindItemFromText", {v, Variant(u"   "), yes}, 0},
      {u"FindItemFromText", {v, Variant(u"new"), yes, yes, Variant(u"ico")}, 3},
      {u"FindItemFromSubItem", {v, Variant(u"y"), one}, 2},
      {u"FindItemFromSubItem", {v, Variant(u"y"), two, yes}, 0},
      {u"FindItemFromSubItem", {v, Variant(u"z"), one, yes}, 4},
      {u"FindItemFromTag", {v, Variant(u"t")}, 2},
      {u"FindItemFromTag", {v, Variant(u"")}, 1},
      {u"FindItemFromSmallIcon", {v, i}, 2},
      {u"FindItemFromIcon", {v, i}, 0},
      {u"FindHeaderFromCaption", {b, Variant(u"H"), yes, one}, 1},
      {u"FindHeaderFromCaption", {b, Variant(u"I"), yes, two, Variant(int16_t{700})}, 2},
      {u"FindHeaderFromCaption", {b, Variant(u"J"), yes, one}, 3},
  };
  for (const auto& s : steps) {
    Args args = s.args;
    EXPECT_EQ(number(s.member, std::move(args)), s.found) << zv::toUtf8(s.member);
  }
  auto& added = *lv->rows().list().items()[2];
  EXPECT_TRUE(added.get_Checked() && !added.get_Selected());
  EXPECT_EQ(zv::toString(added.get_Icon()) + zv::toString(added.get_SmallIcon()), u"icoico");
  EXPECT_EQ(dump(*lv), u"A|B;ABC|x;abc|y;new;|z");
  Texts shape;
  for (const auto& h : bare->headers().list().items())
    shape.push_back(h->get_Text() + zv::longToString(h->get_Alignment()) + u"/" +
                    zv::longToString(h->get_Width()));
  EXPECT_EQ(shape, (Texts{u"H0/1300", u"I0/700", u"J1/1300"}));
  EXPECT_TRUE(reports.empty());
}

TEST_F(LstViewLibTest, Counts) {
  auto lv =
      listView({{u"A", u"B"}, {u"r1", u"Paris-Nord"}, {u"r2", u"paris"}, {u"r3"}, {u"Paris"}});
  const struct {
    const char16_t* text;
    int16_t column;
    bool similar, ucase;
    int32_t count;
  } cases[] = {{u"paris", 1, true, true, 2},   {u"paris", 1, true, false, 1},
               {u"PARIS", 1, false, true, 1},  {u"paris", 1, false, false, 1},
               {u"Paris", 0, false, false, 1}, {u"paris", 3, true, true, 0},
               {u"paris", 4, true, true, 0},   {u"paris", -1, true, true, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(number(u"CountStringFromColumn", {obj(lv), Variant(c.text), Variant(c.column),
                                                Variant(c.similar), Variant(c.ucase)}),
              c.count)
        << zv::toUtf8(c.text) << c.column << c.similar << c.ucase;
  lv->rows().list().items()[0]->let_Checked(true);
  lv->rows().list().items()[1]->let_Selected(true);
  EXPECT_EQ(number(u"CountCheckedItem", {obj(lv)}), 0);  // no check boxes shown
  lv->let_Checkboxes(true);
  EXPECT_EQ(number(u"CountCheckedItem", {obj(lv)}), 1);
  EXPECT_EQ(number(u"CountSelectedItem", {obj(lv)}), 1);
  EXPECT_EQ(number(u"CountHeaderCaption", {obj(lv), Variant(u"B")}), 1);
}

TEST_F(LstViewLibTest, SwitchesAndMovesColumnsWithTheirHeaders) {
  const struct {
    const char16_t* member;
    int32_t a, b;
    bool result;
    const char16_t* after;
  } cases[] = {
      // Headers stay; a sub-item never made is made to take the other cell.
      {u"isSwitchColumns", 1, 3, true, u"A|B|C|D;c|b|a|d;|y|z"},
      {u"isSwitchColumnsAndHeaders", 2, 4, true, u"A|D|C|B;a|d|c|b;z|||y"},
      {u"isSwitchColumnsAndHeaders", 2, 2, true, u"A|B|C|D;a|b|c|d;z|y"},
      {u"isSwitchColumns", 0, 2, false, u"A|B|C|D;a|b|c|d;z|y"},
      {u"isMoveColumnAndHeaderToLast", 1, 0, true, u"B|C|D|A;b|c|d|a;y|||z"},
      {u"isMoveColumnAndHeaderToLast", 4, 0, true, u"A|B|C|D;a|b|c|d;z|y"},
      {u"isMoveColumnAndHeaderToBeforeLast", 1, 0, true, u"B|C|A|D;b|c|a|d;y||z"},
      {u"isMoveColumnAndHeaderToBeforeLast", 3, 0, true, u"A|B|C|D;a|b|c|d;z|y"},
  };
  for (const auto& c : cases) {
    auto lv = listView({{u"A", u"B", u"C", u"D"}, {u"a", u"b", u"c", u"d"}, {u"z", u"y"}});
    Args args{obj(lv), n(c.a)};
    if (c.b) args.emplace_back(n(c.b));
    EXPECT_EQ(ok(c.member, std::move(args)), c.result) << zv::toUtf8(c.member) << c.a;
    EXPECT_EQ(dump(*lv), c.after) << zv::toUtf8(c.member) << c.a << c.b;
  }
}

TEST_F(LstViewLibTest, ColumnFormattingEmptinessAndComparison) {
  auto lv = listView(
      {{u"A", u"B", u"C", u"D"}, {u"a.b", u"x.", u" ", u"abc "}, {u"..", u"", u"", u"ABC"}});
  EXPECT_TRUE(ok(u"DeleteCharColumn", {obj(lv), Variant(u"."), Variant(int16_t{1})}));
  EXPECT_EQ(dump(*lv), u"A|B|C|D;ab|x.| |abc ;|||ABC");
  // Here column k >= 2 names sub-item k: column 2 is the third column.
  EXPECT_TRUE(ok(u"ChangeColumnToBold", {obj(lv), Variant(int16_t{2})}));
  EXPECT_TRUE(lv->rows().list().items()[0]->subItems().list().items()[1]->get_Bold());
  EXPECT_FALSE(ok(u"ChangeColumnToColor", {obj(lv), Variant(int16_t{1}), n(-1)}));
  EXPECT_FALSE(ok(u"DeleteCharColumn", {obj(lv), Variant(u"x"), Variant(int16_t{4})}));

  EXPECT_TRUE(ok(u"isEmptyColumn", {obj(lv), n(3)}));
  EXPECT_FALSE(ok(u"isEmptyColumn", {obj(lv), n(2)}));
  EXPECT_FALSE(ok(u"isEqualColumns", {obj(lv), n(1), n(2), Variant(int16_t{2})}));
  EXPECT_TRUE(ok(u"DeleteAllEmptyColumns", {obj(lv)}));
  EXPECT_EQ(dump(*lv), u"A|B|D;ab|x.|abc ;||ABC");
  lv->rows().list().items()[0]->let_Text(u"");
  lv->rows().list().items()[0]->let_SubItems(1, u"");
  EXPECT_TRUE(ok(u"isEqualColumns", {obj(lv), n(1), n(2)}));  // "abc " is "ABC"
  EXPECT_FALSE(ok(u"isEqualColumns", {obj(lv), n(1), n(3)}));
  EXPECT_EQ(reports, (Texts{u"Error on Delete Char of Column: 1"}));
}

// A foreign object that has none of a list-view's members.
class Stranger : public zv::Object {
 public:
  Variant invoke(zv::StringView name, unsigned, Args&) override {
    zv::raise(438, u"Object doesn't support this property or method: " + String(name));
  }
  String typeName() const override { return u"Stranger"; }
};

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

TEST_F(LstViewLibTest, EveryFailureReportsItsText) {
  const Variant s(ObjectRef(std::make_shared<Stranger>())), a(u"a"), one = n(1);
  const Variant yes(true), no(false), coll(collection({u"a"})), box(zv::createModel(u"ListBox"));
  const Variant lv(ObjectRef(listView({{u"A"}})));
  const Variant refused(ObjectRef(
      std::make_shared<HeaderTextRefused>(ObjectRef(listView({{u"A", u"B"}, {u"a", u"b"}})))));
  const String column = u"Error on ListView column copy to ", moving = u"Error on moving the ";
  const struct {
    const char16_t* member;
    Args args;
    Texts reports;
  } cases[] = {
      {u"AddItemsFromColl", {s, coll}, {u"Error on adding the Items from Coll: 0"}},
      {u"CreateHeadersFromColl",
       {s, coll},
       {u"Error on ListView cleaning function", u"LIB - Error on create the Headers: 0"}},
      {u"CopyColumnToListBox", {s, box, one}, {column + u"standard List > 0"}},
      {u"CopyColumnToComboBox", {s, box, one}, {column + u"combo List > 0"}},
      {u"CopyListViewHeaderToRow", {s, lv}, {u"Unable to copy Header list to another list"}},
      {u"CopyListToList", {s, lv}, {u"Error on List View copy: 0/0/0"}},
      {u"SetAutomaticTips", {s, no, yes}, {u"Error on automatic setting Tips"}},
      {u"SetAutomaticTips", {s}, {}},
      {u"FindItemFromSubItem", {s, a, one}, {u"Error on finding subItem value in list: 0"}},
      {u"FindItemFromText", {s, a}, {u"Error on finding text value in list: 0"}},
      {u"FindHeaderFromCaption",
       {s, a, yes},
       {u"Error on finding caption value in header list: 0"}},
      {u"CountStringFromColumn", {s, a, one}, {u"Error on  count string from column 1\t0"}},
      {u"CountHeaderCaption", {s, a}, {u"Error on count header caption: 0"}},
      {u"isEqualColumns", {s, one, n(2)}, {u"Error on comparing two lines: 1 to 2\r\n\t0"}},
      {u"FindItemFromIcon", {s, a}, {}},
      {u"CountCheckedItem", {s}, {u"Error on  count checked item "}},
      {u"CountSelectedItem", {s}, {u"Error on  count Selected item "}},
      {u"ChangeColumnToBold", {s, one}, {u"Error on Change Column To Bold: 0"}},
      {u"ChangeColumnToColor", {s, one, n(0)}, {u"Error on Change Column To Color: 0"}},
      {u"DeleteAllEmptyColumns", {s}, {u"Error on delete all empty columns"}},
      {u"isEmptyColumn", {s, one}, {u"Error on checking empty column"}},
      {u"isSwitchColumns", {s, one, n(2)}, {u"Error on switching two columns: 1 to 2"}},
      {u"isMoveColumnAndHeaderToLast",
       {s, n(2)},
       {moving + u"Column and Header to the before last position: 2",
        moving + u"Column and Header to the last position: 2"}},
      {u"isSwitchColumnsAndHeaders",
       {refused, one, n(2)},
       {u"Error on switching two headers: 1 to 2"}},
  };
  for (const auto& c : cases) {
    reports.clear();
    Args args = c.args;
    EXPECT_EQ(zv::toDouble(run(c.member, std::move(args))), 0) << zv::toUtf8(c.member);  // neutral
    EXPECT_EQ(reports, c.reports) << zv::toUtf8(c.member);
  }
}

TEST_F(LstViewLibTest, LongTextsAndValuesThatAreNoObject) {
  auto lv = listView({{u"A"}});
  const Variant text(String(40000, u'x'));
  EXPECT_EQ(number(u"FindItemFromText", {obj(lv), text, Variant(true)}), 1);
  EXPECT_EQ(number(u"FindItemFromText", {obj(lv), text}), 1);
  EXPECT_EQ(zvtest::errorOf([&] { run(u"FindItemFromText", {Variant(u"no object"), text}); }), 13);
}

}  // namespace
