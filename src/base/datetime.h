// Calendar date-times and the program's texts for them.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glenvask {

struct DateTime {
  int year = 0, month = 0, day = 0;     // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0;  // 24-hour clock
  auto operator<=>(const DateTime&) const = default;
};

bool isValidDateTime(const DateTime& t);

// The general date-time text settings are stored in: "12/6/2026 5:03:09 PM".
std::string formatGeneralDate(const DateTime& t);

// Reads a general date-time text back; also takes a date alone ("12/6/2026"), a time
// without seconds, a 24-hour time without AM/PM, and the ISO form "2026-12-06 17:03:09".
// Anything else, or an impossible date, gives nothing.
std::optional<DateTime> parseDateTime(std::string_view text);

// The date text of file times: "03/01/2024 5:03:09 PM" (two-digit month and day, four-digit
// year, hour 1 to 12 without a leading zero, two-digit minutes and seconds).
std::string formatFileTime(const DateTime& t);

// Calendar days from the day of `from` to the day of `to`: the day boundaries crossed, whatever
// the times of day (negative when `to` is earlier). Any field values give a number.
std::int64_t daysBetween(const DateTime& from, const DateTime& to);

// Whole-minute boundaries crossed from `from` to `to` (negative when `to` is earlier).
std::int64_t minutesBetween(const DateTime& from, const DateTime& to);

}  // namespace glenvask
