// The archiver's own pieces: names that must not leave the extraction folder, line ends
// across chunks, patterns, DOS times, and ZIP64 end records for 65,536 entries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "archiver/container/dos_time.h"
#include "archiver/container/line_ends.h"
#include "archiver/container/reader.h"
#include "archiver/container/writer.h"
#include "archiver/paths.h"
#include "archiver/wildcard.h"
#include "test_support.h"

namespace {

using namespace zv::archiver;
using Parts = std::optional<std::vector<std::string>>;

TEST(ArchiverPaths, NamesLeadingOutAreRefused) {
  const std::pair<const char*, Parts> cases[] = {
      {"a/b.txt", std::vector<std::string>{"a", "b.txt"}},
      {"./a//b.txt", std::vector<std::string>{"a", "b.txt"}},
      {"a\\b.txt", std::vector<std::string>{"a", "b.txt"}},
      {"dir/", std::vector<std::string>{"dir"}},
      {"../a.txt", std::nullopt},
      {"a/../../b", std::nullopt},
      {"a/..", std::nullopt},
      {"/etc/passwd", std::nullopt},
      {"\\x", std::nullopt},
      {"C:/x", std::nullopt},
      {"c:x", std::nullopt},
      {"a/b:stream", std::nullopt},
      {"", std::nullopt},
      {"./", std::nullopt},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(safeParts(name), expected) << name;
}

TEST(ArchiverPaths, LinksLeadingOutAreRefused) {
  const std::vector<std::string> at{"a", "link"};
  EXPECT_EQ(linkDestination(at, "b/c"), (Parts{{"a", "b", "c"}}));
  EXPECT_EQ(linkDestination(at, "../x"), (Parts{{"x"}}));
  EXPECT_EQ(linkDestination(at, ".."), (Parts{std::vector<std::string>{}}));
  EXPECT_EQ(linkDestination(at, "../../x"), std::nullopt);
  EXPECT_EQ(linkDestination(at, "/tmp"), std::nullopt);
  EXPECT_EQ(linkDestination({"link"}, "C:\\x"), std::nullopt);
  EXPECT_EQ(entryNameOf("C:\\dir\\..\\a.txt"), "dir/../a.txt");
  EXPECT_EQ(entryNameOf("/../../a.txt"), "a.txt");
}

TEST(ArchiverText, LineEndsAcrossChunks) {
  const auto convert = [](LineEnds mode, std::vector<std::string> chunks) {
    LineEndConverter converter(mode);
    std::string out;
    for (const std::string& c : chunks)
      out += converter.convert(reinterpret_cast<const uint8_t*>(c.data()), c.size());
    return out + converter.end();
  };
  EXPECT_EQ(convert(LineEnds::ToLf, {"a\r", "\nb\r", "c\r"}), "a\nb\rc\r");
  EXPECT_EQ(convert(LineEnds::ToCrLf, {"a\n", "b\r", "\nc\n"}), "a\r\nb\r\nc\r\n");
  const std::string binary("a\0b", 3);
  EXPECT_FALSE(looksLikeText(reinterpret_cast<const uint8_t*>(binary.data()), 3));
  EXPECT_TRUE(looksLikeText(reinterpret_cast<const uint8_t*>("a\tb\r\n\f"), 6));
}

TEST(ArchiverText, Patterns) {
  EXPECT_TRUE(wildcardMatch("*.txt", "dir/a.txt", false));
  EXPECT_TRUE(wildcardMatch("a?c", "abc", false));
  EXPECT_FALSE(wildcardMatch("a?c", "ac", false));
  EXPECT_FALSE(wildcardMatch("*.TXT", "a.txt", false));
  EXPECT_TRUE(wildcardMatch("\xc3\x89T\xc3\x89.*", "\xc3\xa9t\xc3\xa9.txt", true));
  EXPECT_TRUE(wildcardMatch("*", "", false));
}

TEST(ArchiverText, DosTimes) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(dosTimeOf(1700000001), dosTimeOf(1700000002)) << "odd seconds round up";
  EXPECT_EQ(secondsOf(dosTimeOf(1700000002)), 1700000002);
  EXPECT_EQ(dosTimeOf(0), (1u << 21) | (1u << 16)) << "before 1980: 1980-01-01";
  const DosParts p = splitDosTime(dosTimeOf(1700000000));
  EXPECT_EQ(std::vector<int>({p.year, p.month, p.day, p.hour, p.minute, p.second}),
            std::vector<int>({2023, 11, 14, 22, 13, 20}));
  unsetenv("TZ");
  tzset();
}

TEST(ArchiverContainer, SixtyFiveThousandEntriesNeedZip64) {
  zvtest::TempDir dir;
  const std::string path = dir.path("many.zip");
  {
    os::File out = os::File::open(path, true);
    ZipWriter writer(out);
    for (int i = 0; i < 65536; ++i) {
      Entry e;
      e.name = "d" + std::to_string(i) + "/";
      e.dosTime = dosTimeOf(1700000000);
      writer.addEmpty(e);
    }
    writer.finish("comment");
    out.close();
  }
  ZipReader reader(path);
  ASSERT_EQ(reader.entries().size(), 65536u);
  EXPECT_EQ(reader.entries().back().name, "d65535/");
  EXPECT_EQ(reader.comment(), "comment");
  const std::string bytes = zvtest::readBytes(path);
  EXPECT_NE(bytes.find("PK\x06\x06"), std::string::npos) << "ZIP64 end record";
  EXPECT_EQ(bytes.substr(bytes.size() - 22 - 7 + 8, 4), "\xff\xff\xff\xff");
  if (std::system("unzip -v >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("unzip -tqq " + path + " >/dev/null").c_str()), 0);
  }
}

}  // namespace
