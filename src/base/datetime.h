// Calendar date-times and the program's texts for them. Every date text follows the machine's
// regional settings: the pictures of its short date and time formats (as the platform gives
// them, "dd.MM.yyyy", "h:mm:ss tt") and its names of months, days and the two halves of the
// day. The platform side reads them (win/regional.h); what is here only applies them.
#pragma once

#include <array>
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

// Regional date and time formats. The initial values are the American ones.
//
// Date pictures: d, dd (day), ddd, dddd (day name), M, MM (month), MMM, MMMM (month name),
// y, yy (year in its century), yyyy (four-digit year), g (era, left out). Time pictures:
// h, hh (12-hour clock), H, HH (24-hour clock), m, mm, s, ss, t, tt (the half of the day:
// its first character, or all of it). Text in single quotes, and any other character, is
// written as it stands.
struct RegionalFormat {
  std::string shortDate = "M/d/yyyy";
  std::string time = "h:mm:ss tt";
  std::string am = "AM", pm = "PM";
  std::array<std::string, 12> months = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
  std::array<std::string, 12> shortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> days = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};  // Sunday first
  std::array<std::string, 7> shortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

// The order of day, month and year in a short date picture: "DMY", "MDY", "YMD"...
std::string dateOrder(std::string_view shortDatePicture);

// A date-time through a date picture or a time picture.
std::string formatDatePicture(const DateTime& t, std::string_view picture,
                              const RegionalFormat& format);
std::string formatTimePicture(const DateTime& t, std::string_view picture,
                              const RegionalFormat& format);

// The short date ("06.12.2026"; no time of day).
std::string formatShortDate(const DateTime& t, const RegionalFormat& format);

// The general date-time text: the short date, a blank and the time ("12/6/2026 5:03:09 PM",
// "06.12.2026 17:03:09"); at midnight the date alone.
std::string formatGeneralDate(const DateTime& t, const RegionalFormat& format);

// The date text of file times: the short date with two-digit day and month and a four-digit
// year, a blank and the time, always ("03/01/2024 5:03:09 PM", "01.03.2024 17:03:09").
std::string formatFileTime(const DateTime& t, const RegionalFormat& format);

// Reads a date, with or without a time of day, as the regional settings write it. Day, month
// and year are taken in the order of the short date picture; a text that cannot be a date in
// that order is read in the order its fields allow: a four-digit first field is the year of a
// year-month-day date ("2024-03-01", "2024/03/01"), a four-digit last field the year of a
// month-day-year or else a day-month-year date ("12/31/2024", "31/12/2024"). So the ISO dates
// and the earlier "m/d/yyyy" texts stay readable where the regional order does not read them
// otherwise. Two-digit years lie in 1930 to 2029. Month names, day names (passed over) and
// the texts of the pictures are taken too. The time: hours, minutes and optional seconds,
// separated by ":", "." or the picture's separator, on a 24-hour clock or with the half of
// the day ("AM"/"PM" or the regional texts) before or after it. Anything else, or an
// impossible date or time, gives nothing.
std::optional<DateTime> parseDateTime(std::string_view text, const RegionalFormat& format);

// Calendar days from the day of `from` to the day of `to`: the day boundaries crossed, whatever
// the times of day (negative when `to` is earlier). Any field values give a number.
std::int64_t daysBetween(const DateTime& from, const DateTime& to);

// Whole-minute boundaries crossed from `from` to `to` (negative when `to` is earlier).
std::int64_t minutesBetween(const DateTime& from, const DateTime& to);

}  // namespace glenvask
