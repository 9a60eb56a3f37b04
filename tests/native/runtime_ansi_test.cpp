// The Windows-1252 code page text goes through on its way to files and platform services.
#include <gtest/gtest.h>

#include <string>

#include "runtime/ansi.h"

using namespace std::string_literals;
using zv::String;

namespace {

// Every code, NUL included, comes back from its character, so no two codes share one.
TEST(Ansi, EveryCodeRoundTrips) {
  std::string all;
  for (int code = 0; code < 256; ++code)
    all += static_cast<char>(code);
  const String text = zv::fromAnsi(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(zv::toAnsi(text), all);
  for (int code = 0; code < 256; ++code) {
    const auto byte = static_cast<uint8_t>(code);
    EXPECT_EQ(zv::ansiCode(zv::ansiChar(byte)), byte) << "code " << code;
    EXPECT_EQ(text[code], zv::ansiChar(byte)) << "code " << code;
  }
}

// The 0x80-0x9F block, where the code page differs from Latin-1, and its neighbours; the five
// codes it leaves undefined keep the C1 control of the same value.
TEST(Ansi, MapsBothWays) {
  const std::pair<uint8_t, char16_t> cases[] = {
      {0x00, u'\0'},     {0x41, u'A'},      {0x7F, u'\x7F'},   {0x80, u'\u20AC'},
      {0x81, u'\x81'},   {0x82, u'\u201A'}, {0x83, u'\u0192'}, {0x85, u'\u2026'},
      {0x8A, u'\u0160'}, {0x8C, u'\u0152'}, {0x8D, u'\x8D'},   {0x8E, u'\u017D'},
      {0x8F, u'\x8F'},   {0x90, u'\x90'},   {0x91, u'\u2018'}, {0x93, u'\u201C'},
      {0x96, u'\u2013'}, {0x97, u'\u2014'}, {0x99, u'\u2122'}, {0x9C, u'\u0153'},
      {0x9D, u'\x9D'},   {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xE9, u'\u00E9'},
      {0xFF, u'\u00FF'}};
  for (const auto& [code, character] : cases) {
    EXPECT_EQ(zv::ansiChar(code), character) << int(code);
    EXPECT_EQ(zv::ansiCode(character), code) << int(code);
  }
  EXPECT_EQ(zv::toAnsi(u"5 \u20AC"), "5 \x80");
}

// A C1 control whose code Windows-1252 gives to another character, Latin Extended-A letters
// outside the code page, CJK and the replacement character become "?"; so does a surrogate
// pair, as one character, and each lone half.
TEST(Ansi, UnmappableCharactersBecomeQuestionMarks) {
  for (char16_t c : {u'\x80', u'\x9E', u'\u0100', u'\u0141', u'\u4E2D', u'\uFFFD'}) {
    EXPECT_EQ(zv::ansiCode(c), '?') << static_cast<int>(c);
    EXPECT_EQ(zv::toAnsi(String(1, c)), "?") << static_cast<int>(c);
  }
  const std::pair<String, std::string> cases[] = {
      {u"a\u0100b", "a?b"},      {u"a\U0001F600b", "a?b"},  {u"\U0001F600\U0001F600", "??"},
      {u"\xD83D"s + u"x", "?x"}, {u"\xDE00"s + u"x", "?x"}, {u"\xDE00\xD83D"s, "??"},
      {u"x\xD83D"s, "x?"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(zv::toAnsi(c.first), c.second) << "row " << &c - cases;
}

}  // namespace
