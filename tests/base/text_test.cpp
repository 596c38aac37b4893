#include "base/text.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(Text, SplitCaseFoldingUtf8AndNumbers) {
  std::pair<const char*, std::vector<std::string>> cases[] = {
      {"", {""}}, {"a", {"a"}}, {"a,b", {"a", "b"}}, {",a,", {"", "a", ""}},
      {"1,0,,1", {"1", "0", "", "1"}}};
  for (const auto& [in, out] : cases) EXPECT_EQ(split(in, ','), out) << in;
  // ASCII only: É and é are different bytes.
  EXPECT_TRUE(iequals("-S", "-s") && !iequals("\xC3\x89", "\xC3\xA9"));
  EXPECT_EQ(toLower("AbC-\xC3\x89"), "abc-\xC3\x89");

  // A euro sign, a character outside the BMP; Latin-1, an overlong form, a surrogate, a
  // sequence cut short, past U+10FFFF.
  std::pair<const char*, bool> texts[] = {
      {"plain", true}, {"caf\xC3\xA9", true}, {"\xE2\x82\xAC", true}, {"\xF0\x9F\x98\x80", true},
      {"caf\xE9", false}, {"\xC0\xAF", false}, {"\xED\xA0\x80", false}, {"\xE2\x82", false},
      {"\xF4\x90\x80\x80", false}};
  for (const auto& [in, valid] : texts) EXPECT_EQ(isValidUtf8(in), valid) << in;

  // Whole numbers, and switches, flags and check states as hand-edited files hold them.
  using Whole = std::optional<std::int64_t>;
  std::tuple<const char*, std::optional<double>, Whole, Whole> numbers[] = {  // and parseInteger
      {"1", 1, 1, 1},      {" 1", 1, 1, 1},     {"1.0", 1, 1, {}},  {"+1", 1, 1, 1},
      {"1e0", 1, 1, {}},   {"\t-2 ", -2, -2, -2}, {".5", 0.5, 0, {}}, {"1.5", 1.5, 2, {}},
      {"2.5", 2.5, 2, {}}, {"0.6", 0.6, 1, {}},  {"5.", 5, 5, {}},   {"1e30", 1e30, {}, {}},
      {"", {}, {}, {}},    {"1,0", {}, {}, {}},  {"one", {}, {}, {}}, {"1 1", {}, {}, {}},
      {".", {}, {}, {}},   {"1e", {}, {}, {}},   {"- 1", {}, {}, {}}, {"1e999", {}, {}, {}},
      {"0x1", {}, {}, {}}, {"12x", {}, {}, {}},  {"99999999999999999999", 1e20, {}, {}},
  };
  for (const auto& [in, number, whole, integer] : numbers)
    EXPECT_EQ(std::tuple(parseNumber(in), parseWholeNumber(in), parseInteger(in)),
              std::tuple(number, whole, integer)) << in;
}

}  // namespace
}  // namespace glenvask
