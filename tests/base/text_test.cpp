#include "base/text.h"

#include <gtest/gtest.h>

#include "base/datetime.h"

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

TEST(DateTime, GeneralDateRoundTrips) {
  std::pair<DateTime, const char*> cases[] = {
      {{2026, 12, 6, 17, 3, 9}, "12/6/2026 5:03:09 PM"},
      {{2026, 1, 1, 0, 0, 0}, "1/1/2026 12:00:00 AM"},
      {{2024, 2, 29, 12, 30, 0}, "2/29/2024 12:30:00 PM"}};
  for (const auto& [t, text] : cases) {
    EXPECT_EQ(formatGeneralDate(t), text);
    EXPECT_EQ(parseDateTime(text), t) << text;
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
