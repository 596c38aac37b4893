#include "base/datetime.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Reads 1 to maxDigits decimal digits at pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& out) {
  size_t start = pos;
  int v = 0;
  while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])) &&
         pos - start < static_cast<size_t>(maxDigits)) {
    v = v * 10 + (s[pos] - '0');
    ++pos;
  }
  if (pos == start) return false;
  out = v;
  return true;
}

bool expect(std::string_view s, size_t& pos, char c) {
  if (pos < s.size() && s[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

void skipBlanks(std::string_view s, size_t& pos) {
  while (pos < s.size() && s[pos] == ' ') ++pos;
}

// "h:mm[:ss][ AM|PM]" from pos to the end.
bool parseTime(std::string_view s, size_t& pos, DateTime& t) {
  if (!readNumber(s, pos, 2, t.hour) || !expect(s, pos, ':') || !readNumber(s, pos, 2, t.minute))
    return false;
  t.second = 0;
  if (expect(s, pos, ':') && !readNumber(s, pos, 2, t.second)) return false;
  skipBlanks(s, pos);
  std::string rest = toUpper(s.substr(pos));
  if (rest == "AM" || rest == "PM") {
    if (t.hour < 1 || t.hour > 12) return false;
    if (rest == "AM" && t.hour == 12) t.hour = 0;
    if (rest == "PM" && t.hour != 12) t.hour += 12;
    pos = s.size();
  }
  return pos == s.size();
}

// Days since 1970-01-01 of a proleptic Gregorian date; months outside 1-12 carry into years.
std::int64_t dayNumber(const DateTime& t) {
  std::int64_t y = t.year, m = std::int64_t{t.month} - 1;
  std::int64_t carry = m >= 0 ? m / 12 : (m - 11) / 12;
  y += carry;
  m -= 12 * carry;  // 0..11, January first
  // Counted from March so that the leap day ends the year.
  if (m < 2) --y;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t mp = (m + 10) % 12;  // March = 0
  std::int64_t doy = (153 * mp + 2) / 5 + std::int64_t{t.day} - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

bool isValidDateTime(const DateTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

namespace {
// "m/d/yyyy h:nn:ss AM", with two-digit month and day when asked.
std::string formatUsDate(const DateTime& t, bool twoDigitDay) {
  int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char buf[64];
  std::snprintf(buf, sizeof buf, twoDigitDay ? "%02d/%02d/%04d %d:%02d:%02d %s"
                                             : "%d/%d/%04d %d:%02d:%02d %s",
                t.month, t.day, t.year, h12, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
  return buf;
}
}  // namespace

std::string formatGeneralDate(const DateTime& t) { return formatUsDate(t, false); }

std::string formatFileTime(const DateTime& t) {
  return formatUsDate(t, true);
}

std::int64_t daysBetween(const DateTime& from, const DateTime& to) {
  return dayNumber(to) - dayNumber(from);
}

std::int64_t minutesBetween(const DateTime& from, const DateTime& to) {
  auto minutes = [](const DateTime& t) {
    return (dayNumber(t) * 24 + t.hour) * 60 + t.minute;
  };
  return minutes(to) - minutes(from);
}

std::optional<DateTime> parseDateTime(std::string_view text) {
  std::string trimmed = trim(text);
  std::string_view s = trimmed;
  DateTime t;
  size_t pos = 0;
  int a = 0, b = 0, c = 0;
  if (!readNumber(s, pos, 4, a)) return std::nullopt;
  if (pos == 4 && expect(s, pos, '-')) {  // ISO: yyyy-mm-dd
    if (!readNumber(s, pos, 2, b) || !expect(s, pos, '-') || !readNumber(s, pos, 2, c))
      return std::nullopt;
    t.year = a, t.month = b, t.day = c;
    if (pos < s.size() && (s[pos] == 'T' || s[pos] == ' ')) ++pos;
  } else {  // m/d/yyyy
    if (!expect(s, pos, '/') || !readNumber(s, pos, 2, b) || !expect(s, pos, '/'))
      return std::nullopt;
    size_t yearStart = pos;
    if (!readNumber(s, pos, 4, c) || pos - yearStart != 4) return std::nullopt;
    t.month = a, t.day = b, t.year = c;
  }
  skipBlanks(s, pos);
  if (pos < s.size() && !parseTime(s, pos, t)) return std::nullopt;
  if (!isValidDateTime(t)) return std::nullopt;
  return t;
}

}  // namespace glenvask
