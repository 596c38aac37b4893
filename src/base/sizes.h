// Size texts and attribute letters, as the lists and the summary show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glenvask {

// How numbers are written: the regional defaults for the leading zero, negative numbers and
// digit grouping. The default is the English one ("1,234.50", "-0.50").
struct NumberStyle {
  std::string decimalSeparator = ".";
  std::string groupSeparator = ",";
  // Sizes of the digit groups from the decimal point leftward; the last one repeats, and a
  // last size of 0 stops the grouping ({3} is "1,234,567"; {3, 2} is "12,34,567").
  std::vector<int> grouping = {3};
  bool leadingZero = true;  // "0.5" rather than ".5"
  // 0 "(1.1)", 1 "-1.1", 2 "- 1.1", 3 "1.1-", 4 "1.1 -"
  int negativeOrder = 1;
};

// The group sizes of a regional settings' grouping text: "3;0" repeats threes, "3;2;0" is a
// three then twos, "3" is a single group of three; "" or anything unreadable is no grouping.
std::vector<int> groupingFromLocale(const std::string& text);

// The style FormatFileSize uses unless told otherwise; the program sets it from the user's
// regional settings at start (see useRegionalNumberStyle in services/system.h).
const NumberStyle& numberStyle();
void setNumberStyle(NumberStyle style);

// The number with that many decimals, rounded half away from zero (on its first 15
// significant digits, so 1.005 gives "1.01"). A value that rounds to zero has no sign.
// Infinities and NaN give "".
std::string formatNumber(double value, int decimals, const NumberStyle& style);

// The size text: whole bytes (" Bytes", no decimals) below 1024, then KB below 1 MB, MB
// below 1 GB, and GB for anything larger or negative, each with the given decimals. The unit
// is appended only when withUnit is true. 1536 with 2 decimals gives "1.50 KB".
std::string FormatFileSize(double size, int decimals, bool withUnit);
std::string FormatFileSize(double size, int decimals, bool withUnit, const NumberStyle& style);

// The size in kilobytes with at most two decimals (halves to the even neighbour), without
// trailing zeros, with the decimal separator given: 1536 bytes give "1.5".
std::string kilobytesText(std::int64_t bytes, const std::string& decimalSeparator = ".");

// The attribute letters of a file's attribute bits, in the order R (1), A (32), S (4), H (2):
// all four give "RASH", none gives "".
std::string GetAttributeString(std::uint32_t attributes);

}  // namespace glenvask
