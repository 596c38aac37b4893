#include "base/text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace glenvask {
namespace {

TEST(Text, SplitKeepsEveryEmptyField) {
  std::pair<const char*, std::vector<std::string>> cases[] = {
      {"", {""}}, {"a", {"a"}}, {"a,b", {"a", "b"}}, {",a,", {"", "a", ""}},
      {"1,0,,1", {"1", "0", "", "1"}}};
  for (const auto& [in, out] : cases) EXPECT_EQ(split(in, ','), out) << in;
}

TEST(Text, ParseIntegerTakesOnlyWholeNumbers) {
  std::pair<const char*, std::optional<std::int64_t>> cases[] = {
      {"1", 1}, {" 42 ", 42}, {"-7", -7}, {"+3", 3}, {"", {}}, {"abc", {}}, {"1.5", {}},
      {"12x", {}}, {"99999999999999999999", {}}, {"- 1", {}}};
  for (const auto& [in, out] : cases) EXPECT_EQ(parseInteger(in), out) << in;
}

TEST(Text, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(iequals("-S", "-s"));
  EXPECT_FALSE(iequals("\xC3\x89", "\xC3\xA9"));  // É and é are different bytes
  EXPECT_EQ(toLower("AbC-\xC3\x89"), "abc-\xC3\x89");
}

TEST(Text, Utf8Validity) {
  // A euro sign, a character outside the BMP; Latin-1, an overlong form, a surrogate, a
  // sequence cut short, past U+10FFFF.
  std::pair<const char*, bool> cases[] = {
      {"plain", true}, {"caf\xC3\xA9", true}, {"\xE2\x82\xAC", true}, {"\xF0\x9F\x98\x80", true},
      {"caf\xE9", false}, {"\xC0\xAF", false}, {"\xED\xA0\x80", false}, {"\xE2\x82", false},
      {"\xF4\x90\x80\x80", false}};
  for (const auto& [in, valid] : cases) EXPECT_EQ(isValidUtf8(in), valid) << in;
}

// Switches, flags and check states as hand-edited files hold them.
TEST(Text, NumbersAsSettingsHoldThem) {
  std::tuple<const char*, std::optional<double>, std::optional<std::int64_t>> cases[] = {
      {"1", 1, 1},     {" 1", 1, 1},     {"1.0", 1, 1},    {"+1", 1, 1},   {"1e0", 1, 1},
      {"\t-2 ", -2, -2}, {".5", 0.5, 0},   {"1.5", 1.5, 2},  {"2.5", 2.5, 2}, {"0.6", 0.6, 1},
      {"5.", 5, 5},    {"1e30", 1e30, {}}, {"", {}, {}},   {"1,0", {}, {}}, {"one", {}, {}},
      {"1 1", {}, {}}, {".", {}, {}},    {"1e", {}, {}},   {"- 1", {}, {}}, {"1e999", {}, {}},
      {"0x1", {}, {}},
  };
  for (const auto& [in, number, whole] : cases) {
    EXPECT_EQ(parseNumber(in), number) << in;
    EXPECT_EQ(parseWholeNumber(in), whole) << in;
  }
}

}  // namespace
}  // namespace glenvask
