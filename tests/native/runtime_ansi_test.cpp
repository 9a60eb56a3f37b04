// The Windows-1252 code page text goes through on its way to files and platform services.
#include <gtest/gtest.h>

#include <string>

#include "runtime/ansi.h"

using namespace std::string_literals;
using zv::String;

namespace {

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

TEST(Ansi, EveryCodeHasItsOwnCharacter) {
  for (int a = 0; a < 256; ++a)
    for (int b = a + 1; b < 256; ++b)
      ASSERT_NE(zv::ansiChar(static_cast<uint8_t>(a)), zv::ansiChar(static_cast<uint8_t>(b)))
          << a << " and " << b;
}

struct Mapping {
  uint8_t code;
  char16_t character;
};

class AnsiMappingTest : public testing::TestWithParam<Mapping> {};

TEST_P(AnsiMappingTest, MapsBothWays) {
  EXPECT_EQ(zv::ansiChar(GetParam().code), GetParam().character);
  EXPECT_EQ(zv::ansiCode(GetParam().character), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Ansi, AnsiMappingTest,
    testing::Values(Mapping{0x00, u'\0'}, Mapping{0x41, u'A'}, Mapping{0x7F, u'\x7F'},
                    Mapping{0x80, u'\u20AC'}, Mapping{0x81, u'\x81'}, Mapping{0x82, u'\u201A'},
                    Mapping{0x83, u'\u0192'}, Mapping{0x85, u'\u2026'}, Mapping{0x8A, u'\u0160'},
                    Mapping{0x8C, u'\u0152'}, Mapping{0x8D, u'\x8D'}, Mapping{0x8E, u'\u017D'},
                    Mapping{0x8F, u'\x8F'}, Mapping{0x90, u'\x90'}, Mapping{0x91, u'\u2018'},
                    Mapping{0x93, u'\u201C'}, Mapping{0x96, u'\u2013'}, Mapping{0x97, u'\u2014'},
                    Mapping{0x99, u'\u2122'}, Mapping{0x9C, u'\u0153'}, Mapping{0x9D, u'\x9D'},
                    Mapping{0x9F, u'\u0178'}, Mapping{0xA0, u'\u00A0'}, Mapping{0xE9, u'\u00E9'},
                    Mapping{0xFF, u'\u00FF'}));

TEST(Ansi, EuroSign) {
  EXPECT_EQ(zv::toAnsi(u"\u20AC"), "\x80");
  EXPECT_EQ(zv::fromAnsi("\x80"), u"\u20AC");
  EXPECT_EQ(zv::toAnsi(u"5 \u20AC"), "5 \x80");
}

TEST(Ansi, UnmappableCharactersBecomeQuestionMarks) {
  // A C1 control whose code Windows-1252 gives to another character, Latin Extended-A
  // letters outside the code page, CJK, and the replacement character.
  for (char16_t c : {u'\x80', u'\x9E', u'\u0100', u'\u0141', u'\u4E2D', u'\uFFFD'}) {
    EXPECT_EQ(zv::ansiCode(c), '?') << static_cast<int>(c);
    EXPECT_EQ(zv::toAnsi(String(1, c)), "?") << static_cast<int>(c);
  }
  EXPECT_EQ(zv::toAnsi(u"a\u0100b"), "a?b");
}

TEST(Ansi, SurrogatePairIsOneQuestionMark) {
  EXPECT_EQ(zv::toAnsi(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(zv::toAnsi(u"\U0001F600\U0001F600"), "??");
  // Lone halves are one character each.
  EXPECT_EQ(zv::toAnsi(u"\xD83D"s + u"x"), "?x");
  EXPECT_EQ(zv::toAnsi(u"\xDE00"s + u"x"), "?x");
  EXPECT_EQ(zv::toAnsi(u"\xDE00\xD83D"s), "??");
  EXPECT_EQ(zv::toAnsi(u"x\xD83D"s), "x?");
}

TEST(Ansi, KeepsNulAndLength) {
  EXPECT_EQ(zv::toAnsi(u"a\0b"s), "a\0b"s);
  EXPECT_EQ(zv::fromAnsi("a\0b"s), u"a\0b"s);
  EXPECT_EQ(zv::toAnsi(u""), "");
  EXPECT_EQ(zv::fromAnsi(""), u"");
}

}  // namespace
