#include "base/sizes.h"

#include <gtest/gtest.h>

#include "base/pathtext.h"

namespace glenvask {
namespace {

TEST(Sizes, FormatFileSizeInEnglish) {
  std::tuple<double, int, bool, const char*> cases[] = {
      {0, 2, true, "0 Bytes"},           {1023, 2, true, "1,023 Bytes"},
      {1023, 2, false, "1,023"},         {1024, 2, true, "1.00 KB"},
      {1536, 0, true, "2 KB"},           // half rounds away from zero
      {1048575, 2, true, "1,024.00 KB"}, {1048576, 2, true, "1.00 MB"},
      {5000000, 1, true, "4.8 MB"},      {5000000, 4, true, "4.7684 MB"},
      {1073741823, 2, true, "1,024.00 MB"}, {1073741824, 2, true, "1.00 GB"},
      {1073741824.0 * 1500, 2, true, "1,500.00 GB"},
      {1152, 2, true, "1.13 KB"},        // 1.125: half away from zero, not to even
      {1029.12, 2, true, "1.01 KB"},     // 1.005 is held as 1.00499..., read as 1.005
      {2047, 2, true, "2.00 KB"},        // rounding carries into the whole part
      {1023.4, 2, true, "1,023 Bytes"},  // a fraction of a byte stays in bytes
      // Negative sizes are given in gigabytes; one that rounds to zero has no sign.
      {-1073741824, 2, true, "-1.00 GB"}, {-536870912, 2, true, "-0.50 GB"},
      {-1536, 2, true, "0.00 GB"},       {-1, 0, false, "0"},
  };
  for (const auto& [size, decimals, unit, text] : cases)
    EXPECT_EQ(FormatFileSize(size, decimals, unit, NumberStyle{}), text) << size << " " << decimals;
}

TEST(Sizes, KilobytesWithAtMostTwoDecimalsAndAttributeLetters) {
  std::tuple<std::int64_t, const char*, const char*> cases[] = {
      {0, ".", "0"},       {1024, ".", "1"},    {10, ".", "0.01"},   {128, ".", "0.12"},
      {384, ".", "0.38"},  {5000, ".", "4.88"}, {1536, ",", "1,5"},  {1536, ".", "1.5"}};
  for (const auto& [bytes, separator, text] : cases)
    EXPECT_EQ(kilobytesText(bytes, separator), text) << bytes;

  std::pair<std::uint32_t, const char*> attributes[] = {
      {0, ""}, {1, "R"}, {2, "H"}, {4, "S"}, {32, "A"}, {39, "RASH"}, {0x90, ""}, {~0u, "RASH"}};
  for (const auto& [bits, letters] : attributes)
    EXPECT_EQ(GetAttributeString(bits), letters) << bits;
}

TEST(Sizes, RegionalStylesAndExtremeInputs) {
  const NumberStyle de{.decimalSeparator = ",", .groupSeparator = "."};
  const NumberStyle noZero{.leadingZero = false};
  std::tuple<NumberStyle, double, int, const char*> cases[] = {
      {de, 1234567.891, 1, "1.234.567,9"}, {de, 999, 0, "999"}, {noZero, 0.5, 2, ".50"},
      {noZero, -0.5, 2, "-.50"}, {noZero, 0, 0, "0"}, {{.negativeOrder = 0}, -2.25, 1, "(2.3)"},
      {{.negativeOrder = 4}, -2, 0, "2 -"}, {{.grouping = {3, 2}}, 1234567, 0, "12,34,567"},
      {{.grouping = {3, 0}}, 1234567, 0, "1234,567"}, {{.grouping = {}}, 1234567, 0, "1234567"},
  };
  for (const auto& [style, value, decimals, text] : cases)
    EXPECT_EQ(formatNumber(value, decimals, style), text) << value;
  EXPECT_EQ(FormatFileSize(1048575, 2, true, de), "1.024,00 KB");
  EXPECT_EQ(FormatFileSize(-536870912, 2, true, noZero), "-.50 GB");

  // The setting, the group sizes, and 1234567890 with that grouping.
  std::tuple<const char*, std::vector<int>, const char*> groupings[] = {
      {"3;0", {3}, "1,234,567,890"},     {"3", {3, 0}, "1234567,890"},
      {"3;2;0", {3, 2}, "1,23,45,67,890"}, {"3;2", {3, 2, 0}, "12345,67,890"},
      {"0;0", {0}, "1234567890"},        {"", {}, "1234567890"},
      {"x", {}, "1234567890"},           {"3;-1", {}, "1234567890"},
  };
  for (const auto& [text, sizes, formatted] : groupings)
    EXPECT_EQ(std::pair(groupingFromLocale(text), formatNumber(1234567890, 0, {.grouping = sizes})),
              std::pair(sizes, std::string(formatted))) << text;

  const NumberStyle en;
  using Limits = std::numeric_limits<double>;
  for (double bad : {Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity()})
    EXPECT_EQ(FormatFileSize(bad, 2, true, en), "") << bad;
  std::string huge = FormatFileSize(Limits::max(), 2, true, en);
  EXPECT_EQ(huge.substr(0, 6) + huge.substr(huge.size() - 6), "167,42.00 GB");  // 1.674e299
  EXPECT_EQ(FormatFileSize(-Limits::denorm_min(), 255, false, en), "0." + std::string(255, '0'));
  EXPECT_EQ(FormatFileSize(1536, -3, true, en), "2 KB");  // no negative decimals
  EXPECT_EQ(formatNumber(1e-5, 6, en), "0.000010");
  EXPECT_EQ(formatNumber(0.000005, 5, en), "0.00001");
  EXPECT_EQ(formatNumber(9.9999999999999999e-1, 2, en), "1.00");
}

TEST(PathText, NamesNullsAndTheSystemRoot) {
  std::pair<const char*, const char*> names[] = {{"C:\\Windows\\notepad.exe", "notepad.exe"},
      {"notepad.exe", "notepad.exe"}, {"C:\\Windows\\", ""}, {"", ""}, {"a/b", "a/b"}};
  for (const auto& [path, name] : names) EXPECT_EQ(GetFileNameFromPath(path), name) << path;
  EXPECT_EQ(StripNulls(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(StripNulls(std::string("\0x", 2)), "");
  EXPECT_EQ(StrFromPtr("http://x/"), "http://x/");
  EXPECT_EQ(StrFromPtr(nullptr), "");

  // The system root in any case.
  std::pair<const char*, const char*> cases[] = {
      {"%systemroot%\\system32\\a.dll", "C:\\windows\\system32\\a.dll"},
      {"%SystemRoot%\\x;%SYSTEMROOT%\\y", "C:\\windows\\x;C:\\windows\\y"},
      {"C:\\plain", "C:\\plain"},
      {"%SYSTEMROOT", "%SYSTEMROOT"},
      {"%%SYSTEMROOT%%", "%C:\\windows%"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(std::pair(replaceSystemRoot(in, "C:\\windows"), hasSystemRoot(in)),
              std::pair(std::string(out), std::string(in) != out)) << in;
}

}  // namespace
}  // namespace glenvask
