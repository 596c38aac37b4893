#include "base/datetime.h"

#include <gtest/gtest.h>

#include <climits>

namespace glenvask {
namespace {

RegionalFormat regional(const char* date, const char* time, const char* am = "AM",
                        const char* pm = "PM") {
  return RegionalFormat{date, time, am, pm};
}

const RegionalFormat kUS = regional("M/d/yyyy", "h:mm:ss tt");
const RegionalFormat kDE = regional("dd.MM.yyyy", "HH:mm:ss", "", "");
const RegionalFormat kGB = regional("dd/MM/yyyy", "HH:mm:ss", "am", "pm");
const RegionalFormat kJP = regional("yyyy/MM/dd", "H:mm:ss", "\xE5\x8D\x88\xE5\x89\x8D",
                                    "\xE5\x8D\x88\xE5\xBE\x8C");  // 午前, 午後

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return DateTime{y, mo, d, h, mi, s};
}

// Each format writes the general and the file-time text of a moment and of a midnight, and
// reads all of them back.
TEST(DateTime, RegionalTextsRoundTrip) {
  struct Case {
    RegionalFormat f;
    const char *general, *file, *midnight, *midnightFile;
  } cases[] = {
      {kUS, "3/1/2024 5:03:09 PM", "03/01/2024 5:03:09 PM", "3/1/2024", "03/01/2024 12:00:00 AM"},
      {kDE, "01.03.2024 17:03:09", "01.03.2024 17:03:09", "01.03.2024", "01.03.2024 00:00:00"},
      {kGB, "01/03/2024 17:03:09", "01/03/2024 17:03:09", "01/03/2024", "01/03/2024 00:00:00"},
      {kJP, "2024/03/01 17:03:09", "2024/03/01 17:03:09", "2024/03/01", "2024/03/01 0:00:00"},
      {regional("d-M-yyyy", "H:mm:ss"), "1-3-2024 17:03:09", "01-03-2024 17:03:09", "1-3-2024",
       "01-03-2024 0:00:00"},
      {regional("dd-MMM-yy", "hh:mm tt"), "01-Mar-24 05:03 PM", "01-Mar-2024 05:03 PM", "01-Mar-24",
       "01-Mar-2024 12:00 AM"},
      {regional("ddd, d MMMM yyyy", "HH:mm:ss 'Uhr'"), "Fri, 1 March 2024 17:03:09 Uhr",
       "Fri, 01 March 2024 17:03:09 Uhr", "Fri, 1 March 2024", "Fri, 01 March 2024 00:00:00 Uhr"},
      {regional("yyyy-MM-dd", "tt h:mm:ss", "\xEC\x98\xA4\xEC\xA0\x84", "\xEC\x98\xA4\xED\x9B\x84"),
       "2024-03-01 \xEC\x98\xA4\xED\x9B\x84 5:03:09", "2024-03-01 \xEC\x98\xA4\xED\x9B\x84 5:03:09",
       "2024-03-01", "2024-03-01 \xEC\x98\xA4\xEC\xA0\x84 12:00:00"},  // the half first
  };
  const DateTime moment = at(2024, 3, 1, 17, 3, 9), midnight = at(2024, 3, 1);
  for (const auto& c : cases) {
    const DateTime shown = c.f.time.find('s') == std::string::npos ? at(2024, 3, 1, 17, 3) : moment;
    EXPECT_EQ(formatGeneralDate(moment, c.f), c.general);
    EXPECT_EQ(formatFileTime(moment, c.f), c.file);
    EXPECT_EQ(formatGeneralDate(midnight, c.f), c.midnight);
    EXPECT_EQ(formatFileTime(midnight, c.f), c.midnightFile);
    for (const char* text : {c.general, c.file}) EXPECT_EQ(parseDateTime(text, c.f), shown) << text;
    for (const char* text : {c.midnight, c.midnightFile})
      EXPECT_EQ(parseDateTime(text, c.f), midnight) << text;
  }
}

// Reading follows the regional order; what it cannot read so, it reads in the order the
// fields allow (ISO dates, the earlier m/d/yyyy texts).
TEST(DateTime, ReadsByTheRegionalOrder) {
  struct Case {
    const char* text;
    const RegionalFormat& f;
    std::optional<DateTime> date;
  } cases[] = {
      {"01/03/2024", kGB, at(2024, 3, 1)},
      {"01/03/2024", kUS, at(2024, 1, 3)},
      {"12/6/2026 5:03:09 PM", kDE, at(2026, 6, 12, 17, 3, 9)},  // ambiguous: the region's
      {"12/6/2026 5:03:09 PM", kJP, at(2026, 12, 6, 17, 3, 9)},  // not a y/m/d date
      {"2024-03-01 17:03:09", kDE, at(2024, 3, 1, 17, 3, 9)},
      {"01.03.2024 17.03", kDE, at(2024, 3, 1, 17, 3)},
      {" 3/4/2025 17:05 ", kUS, at(2025, 3, 4, 17, 5)},
      {"3/4/2025 5:05 pm", kDE, at(2025, 4, 3, 17, 5)},
      {"1/1/25", kUS, at(2025, 1, 1)},
      {"1/1/30", kUS, at(1930, 1, 1)},
      {"1\xC2\xA0Mar\xC2\xA0" "2024", kUS, at(2024, 3, 1)},  // no-break blanks
      {"", kUS, std::nullopt},
      {"2/30/2025", kUS, std::nullopt},
      {"1/1", kUS, std::nullopt},
      {"5:03:09 PM", kUS, std::nullopt},
      {"1/1/2025 13:00 PM", kUS, std::nullopt},
      {"01.03.2024 garbage", kDE, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseDateTime(c.text, c.f), c.date) << c.text;
  EXPECT_EQ(dateOrder("'d' yyyy-MM-dd"), "YMD");
  EXPECT_EQ(dateOrder("dddd, MMMM d"), "MDY");
}

TEST(DateTime, DaysBetweenCountsDayBoundaries) {
  struct Case {
    DateTime from, to;
    std::int64_t days;
  } cases[] = {
      {{2024, 3, 1, 23, 59, 59}, {2024, 3, 2, 0, 0, 0}, 1},  // one second, one boundary
      {{2024, 3, 1, 0, 0, 0}, {2024, 3, 1, 23, 59, 59}, 0},
      {{2024, 3, 3, 0, 0, 0}, {2024, 3, 1, 12, 0, 0}, -2},
      {{2024, 2, 28}, {2024, 3, 1}, 2},  {{1900, 2, 28}, {1900, 3, 1}, 1},
      {{2000, 2, 28}, {2000, 3, 1}, 2},
      {{1899, 12, 30}, {2024, 1, 1}, 45292},
      // Any fields: month 13 is January of the next year, day 0 the month before's last.
      {{2024, 13, 1}, {2025, 1, 1}, 0}, {{2024, 3, 0}, {2024, 2, 29}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(daysBetween(c.from, c.to), c.days)
        << formatGeneralDate(c.from, kUS) << " -> " << formatGeneralDate(c.to, kUS);
  // An empty date, or extreme fields, still give a number and no undefined behaviour.
  EXPECT_GT(daysBetween(DateTime{}, DateTime{2024, 1, 1}), 0);
  EXPECT_LT(daysBetween({INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN}), 0);
  EXPECT_EQ(formatFileTime({INT_MAX, INT_MAX, INT_MAX, 25, 61, 61}, kUS).empty(), false);
}

}  // namespace
}  // namespace glenvask
