#include "base/sizes.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/text.h"

namespace glenvask {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 255;

NumberStyle& currentStyle() {
  static NumberStyle style;
  return style;
}

// Adds one to the last digit of a string of decimal digits, carrying to the left.
void incrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string groupDigits(const std::string& digits, const NumberStyle& style) {
  if (style.grouping.empty() || style.groupSeparator.empty()) return digits;
  std::string out;
  size_t end = digits.size();  // digits[0, end) are still to place
  size_t g = 0;
  std::string tail;
  while (end > 0) {
    int size = style.grouping[std::min(g, style.grouping.size() - 1)];
    if (size <= 0 || static_cast<size_t>(size) >= end) break;
    tail = style.groupSeparator + digits.substr(end - size, size) + tail;
    end -= size;
    ++g;
  }
  return digits.substr(0, end) + tail;
}

}  // namespace

const NumberStyle& numberStyle() { return currentStyle(); }
void setNumberStyle(NumberStyle style) { currentStyle() = std::move(style); }

std::vector<int> groupingFromLocale(const std::string& text) {
  std::vector<int> sizes;
  for (const auto& part : split(text, ';')) {
    auto n = parseInteger(part);
    if (!n || *n < 0 || *n > 9) return {};
    sizes.push_back(static_cast<int>(*n));
  }
  // Here the last size repeats unless it is 0; there a closing 0 asks for the repeat.
  if (!sizes.empty() && sizes.back() == 0)
    sizes.pop_back();
  else if (!sizes.empty())
    sizes.push_back(0);
  return sizes;
}

std::string formatNumber(double value, int decimals, const NumberStyle& style) {
  if (!std::isfinite(value)) return "";
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  bool negative = std::signbit(value);
  double magnitude = std::fabs(value);

  // The first 15 significant digits and the power of ten of the first one.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                           kSignificantDigits - 1);
  std::string_view sci(buf, res.ptr - buf);
  size_t e = sci.find('e');
  std::string mantissa;
  for (char c : sci.substr(0, e))
    if (c != '.') mantissa.push_back(c);
  int exponent = 0;
  std::string_view ex = sci.substr(e + 1);
  if (!ex.empty() && ex.front() == '+') ex.remove_prefix(1);
  std::from_chars(ex.data(), ex.data() + ex.size(), exponent);

  std::string whole, fraction;
  int pointAt = exponent + 1;  // digits of mantissa before the decimal point
  if (magnitude == 0) {
    whole = "0";
  } else if (pointAt <= 0) {
    whole = "0";
    fraction = std::string(static_cast<size_t>(-pointAt), '0') + mantissa;
  } else if (static_cast<size_t>(pointAt) >= mantissa.size()) {
    whole = mantissa + std::string(pointAt - mantissa.size(), '0');
  } else {
    whole = mantissa.substr(0, pointAt);
    fraction = mantissa.substr(pointAt);
  }

  // Round half away from zero at the wanted decimals.
  bool roundUp = fraction.size() > static_cast<size_t>(decimals) && fraction[decimals] >= '5';
  if (fraction.size() > static_cast<size_t>(decimals)) fraction.resize(decimals);
  fraction.append(decimals - fraction.size(), '0');
  if (roundUp) {
    std::string all = whole + fraction;
    incrementDigits(all);
    whole = all.substr(0, all.size() - decimals);
    fraction = all.substr(all.size() - decimals);
  }
  size_t firstNonZero = whole.find_first_not_of('0');
  whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);

  bool isZero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  std::string number = groupDigits(whole, style);
  if (decimals > 0) {
    if (whole == "0" && !style.leadingZero) number.clear();
    number += style.decimalSeparator + fraction;
  }
  if (!negative || isZero) return number;
  switch (style.negativeOrder) {
    case 0: return "(" + number + ")";
    case 2: return "- " + number;
    case 3: return number + "-";
    case 4: return number + " -";
    default: return "-" + number;
  }
}

std::string FormatFileSize(double size, int decimals, bool withUnit) {
  return FormatFileSize(size, decimals, withUnit, numberStyle());
}

std::string FormatFileSize(double size, int decimals, bool withUnit, const NumberStyle& style) {
  // Each unit takes everything below the next one, so a fraction of a byte or a kilobyte
  // stays in its own unit rather than dropping to gigabytes.
  constexpr double kKB = 1024.0, kMB = 1048576.0, kGB = 1073741824.0;
  std::string text, unit;
  if (size >= 0 && size < kKB) {
    text = formatNumber(size, 0, style);
    unit = " Bytes";
  } else if (size >= kKB && size < kMB) {
    text = formatNumber(size / kKB, decimals, style);
    unit = " KB";
  } else if (size >= kMB && size < kGB) {
    text = formatNumber(size / kMB, decimals, style);
    unit = " MB";
  } else {
    text = formatNumber(size / kGB, decimals, style);
    unit = " GB";
  }
  if (text.empty()) return text;
  return withUnit ? text + unit : text;
}

std::string GetAttributeString(std::uint32_t attributes) {
  std::string s;
  if (attributes & 1) s += 'R';
  if (attributes & 32) s += 'A';
  if (attributes & 4) s += 'S';
  if (attributes & 2) s += 'H';
  return s;
}

std::string kilobytesText(std::int64_t bytes, const std::string& decimalSeparator) {
  if (bytes < 0) bytes = 0;
  // Hundredths of a kilobyte: bytes * 100 / 1024 = bytes * 25 / 256, exactly, halves to even.
  std::int64_t whole = bytes / 256, part = bytes % 256;
  std::int64_t hundredths = whole * 25 + part * 25 / 256;
  std::int64_t rest = part * 25 % 256;
  if (rest > 128 || (rest == 128 && hundredths % 2 == 1)) ++hundredths;
  std::string text = std::to_string(hundredths / 100);
  std::int64_t cents = hundredths % 100;
  if (cents != 0) {
    std::string digits = (cents < 10 ? "0" : "") + std::to_string(cents);
    if (digits.back() == '0') digits.pop_back();
    text += decimalSeparator + digits;
  }
  return text;
}

}  // namespace glenvask
