#include "base/text.h"

#include <gtest/gtest.h>


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
  EXPECT_TRUE(iendsWith("Settings.INI", ".ini"));
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

// Switches, flags and check states as hand-edited files hold them.
TEST(Text, NumbersAsSettingsHoldThem) {
  struct Case {
    const char* in;
    std::optional<double> number;
    std::optional<std::int64_t> whole;
  } cases[] = {
      {"1", 1, 1},        {" 1", 1, 1},      {"1.0", 1, 1},     {"+1", 1, 1},
      {"1e0", 1, 1},      {"\t-2 ", -2, -2}, {".5", 0.5, 0},    {"1.5", 1.5, 2},
      {"2.5", 2.5, 2},    {"0.6", 0.6, 1},   {"5.", 5, 5},
      {"", std::nullopt, std::nullopt},      {"1,0", std::nullopt, std::nullopt},
      {"one", std::nullopt, std::nullopt},   {"1 1", std::nullopt, std::nullopt},
      {".", std::nullopt, std::nullopt},     {"1e", std::nullopt, std::nullopt},
      {"- 1", std::nullopt, std::nullopt},   {"1e999", std::nullopt, std::nullopt},
      {"1e30", 1e30, std::nullopt},          {"0x1", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseNumber(c.in), c.number) << c.in;
    EXPECT_EQ(parseWholeNumber(c.in), c.whole) << c.in;
  }
}

}  // namespace
}  // namespace glenvask
