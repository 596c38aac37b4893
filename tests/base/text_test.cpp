#include "base/text.h"

#include <gtest/gtest.h>

#include "base/datetime.h"

namespace glenvask {
namespace {

TEST(Text, SplitKeepsEveryEmptyField) {
  struct Case {
    std::string in;
    std::vector<std::string> out;
  } cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a,b", {"a", "b"}},
      {",a,", {"", "a", ""}},
      {"1,0,,1", {"1", "0", "", "1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split(c.in, ','), c.out) << c.in;
}

TEST(Text, ParseIntegerTakesOnlyWholeNumbers) {
  struct Case {
    const char* in;
    std::optional<std::int64_t> out;
  } cases[] = {
      {"1", 1},          {" 42 ", 42},    {"-7", -7},      {"+3", 3},
      {"", std::nullopt}, {"abc", std::nullopt}, {"1.5", std::nullopt}, {"12x", std::nullopt},
      {"99999999999999999999", std::nullopt}, {"- 1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseInteger(c.in), c.out) << c.in;
}

TEST(Text, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(iequals("-S", "-s"));
  EXPECT_FALSE(iequals("\xC3\x89", "\xC3\xA9"));  // É and é are different bytes
  EXPECT_EQ(toLower("AbC-\xC3\x89"), "abc-\xC3\x89");
}

TEST(Text, Utf8Validity) {
  struct Case {
    std::string in;
    bool valid;
  } cases[] = {
      {"plain", true},
      {"caf\xC3\xA9", true},
      {"\xE2\x82\xAC", true},             // euro sign
      {"\xF0\x9F\x98\x80", true},         // outside the BMP
      {"caf\xE9", false},                 // Latin-1
      {"\xC0\xAF", false},                // overlong
      {"\xED\xA0\x80", false},            // surrogate
      {"\xE2\x82", false},                // cut short
      {"\xF4\x90\x80\x80", false},        // past U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.in), c.valid) << c.in;
}

TEST(DateTime, GeneralDateRoundTrips) {
  struct Case {
    DateTime t;
    const char* text;
  } cases[] = {
      {{2026, 12, 6, 17, 3, 9}, "12/6/2026 5:03:09 PM"},
      {{2026, 1, 1, 0, 0, 0}, "1/1/2026 12:00:00 AM"},
      {{2024, 2, 29, 12, 30, 0}, "2/29/2024 12:30:00 PM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatGeneralDate(c.t), c.text);
    EXPECT_EQ(parseDateTime(c.text), c.t) << c.text;
  }
}

TEST(DateTime, ParseAcceptsDatesAloneAndRefusesNonsense) {
  EXPECT_EQ(parseDateTime("3/4/2025"), (DateTime{2025, 3, 4, 0, 0, 0}));
  EXPECT_EQ(parseDateTime("2025-03-04 17:05:06"), (DateTime{2025, 3, 4, 17, 5, 6}));
  EXPECT_EQ(parseDateTime("3/4/2025 17:05"), (DateTime{2025, 3, 4, 17, 5, 0}));
  for (const char* bad : {"", "yesterday", "2/30/2025", "13/1/2025", "1/1/25", "1/1/2025 13:00 PM",
                          "1/1/2025 10:61:00", "1/1/2025 junk"})
    EXPECT_FALSE(parseDateTime(bad)) << bad;
}

}  // namespace
}  // namespace glenvask
