// LstViewLib's files: pages and several list-views, chosen rows and columns, the import's
// header file and the exact boxes and reports of its failure paths, hostile input and rows
// from tree-view nodes. The exports' exact bytes, the round trip, the import's options and
// the boxes of nothing to export are in the list-view case table (tests/cases/listview, run
// from Python and under Wine).
#include <gtest/gtest.h>

#include <vector>

#include "controls/models/ListView.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "list_view_text.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using Texts = std::vector<String>;

namespace {

using Options = std::vector<std::pair<const char16_t*, Variant>>;
const Variant kTrue(true);

std::string expectedFile(const char* name) {
  return zvtest::readBytes(std::string(ZV_CASES_DIR) + "/listview/" + name);
}

// The sample every face exports: three columns (left, centre, right), accents, an empty
// cell, a bold sub-item, a bold item, a red sub-item and a cell that needs escaping.
ObjectRef sample() {
  auto lv = zvtest::listView({{u"Nom", u"Ville", u"Note"},
                              {u"Caf\u00e9", u"Zo\u00eb", u""},
                              {u"\u00c4rger & Co", u"Lyon", u"a<b"},
                              {u"", u"", u"12 \u20ac"}});
  lv->headers().list().items()[1]->let_Alignment(2);
  lv->headers().list().items()[2]->let_Alignment(1);
  const auto& rows = lv->rows().list().items();
  rows[0]->subItems().list().items()[0]->let_Bold(true);
  rows[1]->let_Bold(true);
  rows[1]->subItems().list().items()[0]->let_ForeColor(255);
  return lv;
}

class LstViewFilesTest : public testing::Test {
 protected:
  ~LstViewFilesTest() override { EXPECT_EQ(zv::openFileCount(), 0u); }

  bool ok(const char16_t* member, zv::Args args) {
    return zv::toBoolean(zv::call(lib_, member, std::move(args)));
  }
  // LoadListViewFromASCII of in.txt (holding `content`, "-" for no file) with named options.
  bool load(const std::string& content, const ObjectRef& view, const Options& options = {}) {
    std::filesystem::remove(dir.path("in.txt"));
    if (content != "-") zvtest::writeBytes(dir.path("in.txt"), content);
    zv::Args args{Variant(dir.u("in.txt")), Variant(view)};
    for (const auto& [name, value] : options)
      args.push_back(zv::Arg(value).named(name));
    return ok(u"LoadListViewFromASCII", std::move(args));
  }
  Texts boxTexts() const {
    Texts out;
    for (const auto& b : ui.boxes)
      out.push_back(b.title + u"|" + b.text);
    return out;
  }

  zvtest::TempDir dir;
  zvtest::RecordingUserInterface ui;
  zvtest::Reports reported;
  Texts& reports = reported.texts;

 private:
  ObjectRef lib_ = zv::createObject(u"ZivoviViruvov.LstViewLib");
};

String dump(const ObjectRef& view) {
  return zvtest::listViewText(dynamic_cast<zv::models::ListView&>(*view));
}

ObjectRef emptyView() {
  return zvtest::listView({{}});
}

TEST_F(LstViewFilesTest, PagesAndSeveralListViews) {
  const ObjectRef view = sample();
  ObjectRef coll = zv::createModel(u"Collection");
  zv::call(coll, u"Add", {Variant(view)});
  zv::call(coll, u"Add", {Variant(sample())});
  EXPECT_TRUE(ok(u"ListViewToHTMLfile", {Variant(dir.u("one.htm")), Variant(view)}));
  EXPECT_TRUE(
      ok(u"SeveralListViewToHTMLfile", {Variant(coll), Variant(dir.u("two.htm")), Variant(u"P"),
                                        Variant(u"first"), Variant(u"second")}));
  const std::string one = zvtest::readBytes(dir.path("one.htm"));
  const std::string two = zvtest::readBytes(dir.path("two.htm"));
  EXPECT_TRUE(one.ends_with("\t</CENTER>\r\n</BODY>\r\n</HTML>\r\n")) << one;
  EXPECT_EQ(two.find("<B>first</B>") < two.find("<B>second</B>"), true) << two;
  EXPECT_TRUE(two.ends_with("</HTML>\r\n"));

  // Several list-views: one document, the records of each in turn.
  EXPECT_TRUE(ok(u"SeveralListViewToXMLfile", {Variant(coll), Variant(dir.u("x"))}));
  const std::string records = expectedFile("sample.xml");
  const std::string inner = records.substr(12, records.size() - 12 - 13);  // without DATABASE
  EXPECT_EQ(zvtest::readBytes(dir.path("x")), "<DATABASE>\r\n" + inner + inner + "</DATABASE>\r\n");
  EXPECT_TRUE(ok(u"SeveralListViewToASCII", {Variant(coll), Variant(dir.u("t"))}));
  EXPECT_TRUE(ok(u"ListViewToASCII", {Variant(dir.u("t1")), Variant(view)}));
  const std::string single = zvtest::readBytes(dir.path("t1"));
  EXPECT_EQ(zvtest::readBytes(dir.path("t")), single + single);
}

TEST_F(LstViewFilesTest, ChosenRowsAndSkippedColumns) {
  const ObjectRef view = sample();
  const ObjectRef rows = zv::toObject(zv::get(view, u"ListItems"));
  zv::put(view, u"Checkboxes", Variant(true));
  zv::put(zv::toObject(zv::call(rows, u"Item", {Variant(1)})), u"Selected",
          Variant(true));  // not checked
  zv::put(zv::toObject(zv::call(rows, u"Item", {Variant(2)})), u"Checked", Variant(true));
  zv::put(zv::toObject(zv::call(rows, u"Item", {Variant(3)})), u"Checked", Variant(true));
  EXPECT_TRUE(ok(u"ListViewToASCII",
                 {Variant(dir.u("a")), Variant(view), Variant(u","), Variant(u""), Variant(true)}));
  EXPECT_EQ(zvtest::readBytes(dir.path("a")), "\xc4rger & Co,Lyon,a<b\r\n,,12 \x80\r\n");
  EXPECT_TRUE(ok(u"AppendListViewCheckToHTML",
                 {Variant(dir.u("c.htm")), Variant(view), Variant(u""), Variant(u"h"),
                  Variant(u"one"), Variant(u"two"), Variant(u"F"), Variant(u"G"),
                  Variant(int16_t{1}), Variant(int16_t{2}), Variant(false), Variant(false)}));
  const std::string html = zvtest::readBytes(dir.path("c.htm"));
  EXPECT_TRUE(
      html.starts_with("\t<CENTER>\r\n<TABLE WIDTH=\"99%\" cellspacing=5 cellpadding=0 "
                       "BORDER=1>\r\n\t<TR bgcolor=\"one\">\r\n"))
      << html;
  EXPECT_EQ(html.find("Lyon"), std::string::npos);  // column 2 left out
  EXPECT_NE(html.find("\t<TR bgcolor=\"two\">"), std::string::npos);
  EXPECT_EQ(html.find("Caf"), std::string::npos);  // selected, not checked
}

TEST_F(LstViewFilesTest, ImportHeaderFileTipsAndSelection) {
  zvtest::writeBytes(dir.path("head.txt"), "First name\r\n \r\nCity\r\n");
  const ObjectRef view = emptyView();
  EXPECT_TRUE(load("Ann\t\tRome\r\nBob\t \r\n", view,
                   {{u"isDelEmptyCol", kTrue}, {u"theHeaderFile", Variant(dir.u("head.txt"))}}));
  // Column 2 was left blank in every row: gone.
  EXPECT_EQ(dump(view), u"First name|City;Ann|Rome;Bob");
  const auto& first = dynamic_cast<zv::models::ListView&>(*view).rows().list().items()[0];
  EXPECT_TRUE(first->get_Selected());
  EXPECT_EQ(first->get_ToolTipText(), u"");
  EXPECT_EQ(first->subItems().list().items()[0]->get_ToolTipText(), u"City : Rome");
}

// Each failure's boxes (as "title|text") then reports, and what the list-view keeps; those
// without the file's name are in the list-view case table.
TEST_F(LstViewFilesTest, ImportFailuresShowTheirBoxesAndReports) {
  const String file = dir.u("in.txt"), info = u"Information|";
  const String failure = u"Error on data file reading: ";
  const Options headerFile{{u"theHeaderFile", Variant(dir.u("head.txt"))}};
  const struct {
    std::string content;  // "-" for no file
    Options options;
    bool result;
    Texts shown;
    const char16_t* dump;
  } cases[] = {
      {"a", {}, false, {info + u"Unable to load data. The file is empty: 1\r\n" + file}, u"H;old"},
      {"-", {}, false, {failure + u"2\t0\r\n\r\n" + file}, u"H;old"},
      // Two equal captions in the header file: the second key is taken.
      {"a\tb\r\n", headerFile, false, {failure + u"7\t2\r\na\tb\r\n" + file}, u"H|x"},
      // A shifted last field needs one header more than the line has fields.
      {"a\tb\tc\r\n",
       {{u"nextThisHeader", Variant(int16_t{2})}},
       false,
       {failure + u"9\t3\r\na\tb\tc\r\n" + file},
       u"H|item #2|item #3;a|b|"},
  };
  zvtest::writeBytes(dir.path("head.txt"), "x\r\nx\r\n");
  for (const auto& c : cases) {
    ObjectRef view = zvtest::listView({{u"H"}, {u"old"}});
    ui.boxes.clear();
    reports.clear();
    EXPECT_EQ(load(c.content, view, c.options), c.result) << c.content;
    Texts shown = boxTexts();
    shown.insert(shown.end(), reports.begin(), reports.end());
    EXPECT_EQ(shown, c.shown) << c.content;
    EXPECT_EQ(dump(view), c.dump) << c.content;
  }
}

TEST_F(LstViewFilesTest, HostileInputIsReadOrRefusedWhole) {
  // 100 MB on one line without a line end and without a separator: one row.
  {
    std::ofstream out(dir.path("big"), std::ios::binary);
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i)
      out << chunk;
  }
  const ObjectRef view = emptyView();
  EXPECT_TRUE(ok(u"LoadListViewFromASCII", {Variant(dir.u("big")), Variant(view)}));
  auto& lv = dynamic_cast<zv::models::ListView&>(*view);
  ASSERT_EQ(lv.rows().get_Count(), 1);
  EXPECT_EQ(lv.rows().list().items()[0]->get_Text().size(), 100u << 20);
  // A field beyond position 32767: error 6, reported with the line.
  const std::string longField = "a\t" + std::string(40000, 'y') + "\tb\r\n";
  EXPECT_FALSE(load("binary\x01\xff\t\x80\r\n" + longField, view));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].starts_with(u"Error on data file reading: 6\t0\r\na\tyyy"));
  EXPECT_EQ(dump(view), u"item #1|item #2;binary\x01\u00ff|\u20ac");
}

// The tree: R with children A (tag "Paris]#[75", image doc, a child C with image pin) and
// B (tag "Lyon", image doc).
ObjectRef tree() {
  ObjectRef t = zv::createModel(u"TreeView");
  zvtest::giveImages(t, {u"doc", u"pin"});
  zv::put(zvtest::addNode(t, nullptr, u"R", u"Root"), u"Tag", Variant(u""));
  zv::put(zvtest::addNode(t, u"R", u"A", u" Alpha ", Variant(u"doc")), u"Tag",
          Variant(u"Paris]#[75"));
  zv::put(zvtest::addNode(t, u"A", u"C", u"Pin", Variant(u"pin")), u"Tag", Variant(u"p"));
  zv::put(zvtest::addNode(t, u"R", u"B", u"Beta", Variant(u"doc")), u"Tag", Variant(u"Lyon"));
  return t;
}

TEST_F(LstViewFilesTest, RowsFromChildNodes) {
  const Variant yes(true), no(false), pin(u"pin");
  const struct {
    const char16_t* member;
    std::vector<Variant> options;
    const char16_t* dump;
  } cases[] = {
      {u"LoadListViewFromChildNodeAndTag", {}, u"A|B;Beta|Lyon"},
      {u"LoadListViewFromChildNodeAndTag", {no}, u"A|B;Alpha|Paris;Beta|Lyon"},
      {u"LoadListViewFromChildNodeAndTag", {no, yes, no}, u"A|B;Alpha|Paris]#[75;Beta|Lyon"},
      {u"LoadListViewFromChildNodeAndTag", {yes, no}, u"A|B;old;Beta|Lyon"},
      {u"LoadListViewFromChildNode", {}, u"A|B;Alpha;Beta"},
      {u"LoadListViewFromChildNode", {yes, no, pin}, u"A|B;Alpha|Pin;Beta"},
      {u"LoadListViewFromChildNode", {yes, yes, pin, yes}, u"A|B;Alpha|p;Beta"},
  };
  for (const auto& c : cases) {
    ObjectRef view = zvtest::listView({{u"A", u"B"}, {u"old"}});
    zv::Args args{Variant(view), Variant(tree()), Variant(int32_t{1})};
    for (const Variant& v : c.options)
      args.push_back(v);
    EXPECT_TRUE(ok(c.member, std::move(args))) << zv::toUtf8(c.dump);
    EXPECT_EQ(dump(view), c.dump);
    auto& lv = dynamic_cast<zv::models::ListView&>(*view);
    EXPECT_EQ(zv::toLong(lv.rows().list().items().back()->get_Tag()), 4);  // Beta's Index
  }
  // Nothing to load: no parent, no children, no tree.
  const ObjectRef view = emptyView();
  for (int32_t parent : {0, 3, 9})
    EXPECT_FALSE(
        ok(u"LoadListViewFromChildNode", {Variant(view), Variant(tree()), Variant(parent)}));
  EXPECT_EQ(reports, Texts{});
}

}  // namespace
