#include "base/datetime.h"

#include <gtest/gtest.h>

#include <climits>

namespace glenvask {
namespace {

using Regional = RegionalFormat;
const Regional kUS;  // M/d/yyyy h:mm:ss tt
const Regional kDE{"dd.MM.yyyy", "HH:mm:ss", "", ""};
const Regional kGB{"dd/MM/yyyy", "HH:mm:ss", "am", "pm"};
const Regional kJP{"yyyy/MM/dd", "H:mm:ss", "\xE5\x8D\x88\xE5\x89\x8D",
                   "\xE5\x8D\x88\xE5\xBE\x8C"};  // 午前, 午後

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return DateTime{y, mo, d, h, mi, s};
}

TEST(DateTime, RegionalTextsReadDatesAndCountDays) {
  // The format; the moment as a general date and as a file time, and so midnight.
  std::tuple<RegionalFormat, const char*, const char*, const char*, const char*> cases[] = {
      {kUS, "3/1/2024 5:03:09 PM", "03/01/2024 5:03:09 PM", "3/1/2024", "03/01/2024 12:00:00 AM"},
      {kDE, "01.03.2024 17:03:09", "01.03.2024 17:03:09", "01.03.2024", "01.03.2024 00:00:00"},
      {kGB, "01/03/2024 17:03:09", "01/03/2024 17:03:09", "01/03/2024", "01/03/2024 00:00:00"},
      {kJP, "2024/03/01 17:03:09", "2024/03/01 17:03:09", "2024/03/01", "2024/03/01 0:00:00"},
      {Regional{"d-M-yyyy", "H:mm:ss"}, "1-3-2024 17:03:09", "01-03-2024 17:03:09", "1-3-2024",
       "01-03-2024 0:00:00"},
      {Regional{"dd-MMM-yy", "hh:mm tt"}, "01-Mar-24 05:03 PM", "01-Mar-2024 05:03 PM", "01-Mar-24",
       "01-Mar-2024 12:00 AM"},
      {Regional{"ddd, d MMMM yyyy", "HH:mm:ss 'Uhr'"}, "Fri, 1 March 2024 17:03:09 Uhr",
       "Fri, 01 March 2024 17:03:09 Uhr", "Fri, 1 March 2024", "Fri, 01 March 2024 00:00:00 Uhr"},
      {Regional{"yyyy-MM-dd", "tt h:mm:ss", "\xEC\x98\xA4\xEC\xA0\x84", "\xEC\x98\xA4\xED\x9B\x84"},
       "2024-03-01 \xEC\x98\xA4\xED\x9B\x84 5:03:09", "2024-03-01 \xEC\x98\xA4\xED\x9B\x84 5:03:09",
       "2024-03-01", "2024-03-01 \xEC\x98\xA4\xEC\xA0\x84 12:00:00"},  // the half first
  };
  const DateTime moment = at(2024, 3, 1, 17, 3, 9), midnight = at(2024, 3, 1);
  for (const auto& [f, general, file, night, nightFile] : cases) {
    const DateTime shown = f.time.find('s') == std::string::npos ? at(2024, 3, 1, 17, 3) : moment;
    EXPECT_EQ(std::tuple(formatGeneralDate(moment, f), formatFileTime(moment, f),
                         formatGeneralDate(midnight, f), formatFileTime(midnight, f)),
              std::tuple(general, file, night, nightFile));
    for (const char* text : {general, file}) EXPECT_EQ(parseDateTime(text, f), shown) << text;
    for (const char* text : {night, nightFile}) EXPECT_EQ(parseDateTime(text, f), midnight) << text;
  }

  // Reading follows the regional order; what it cannot read so, it reads in the order the
  // fields allow (ISO dates, the earlier m/d/yyyy texts).
  std::tuple<const char*, const RegionalFormat&, std::optional<DateTime>> reads[] = {
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
  for (const auto& [text, f, date] : reads) EXPECT_EQ(parseDateTime(text, f), date) << text;
  EXPECT_EQ(dateOrder("'d' yyyy-MM-dd") + "|" + dateOrder("dddd, MMMM d"), "YMD|MDY");

  std::tuple<DateTime, DateTime, std::int64_t> spans[] = {
      {{2024, 3, 1, 23, 59, 59}, {2024, 3, 2, 0, 0, 0}, 1},  // one second, one boundary
      {{2024, 3, 1, 0, 0, 0}, {2024, 3, 1, 23, 59, 59}, 0},
      {{2024, 3, 3, 0, 0, 0}, {2024, 3, 1, 12, 0, 0}, -2},
      {{2024, 2, 28}, {2024, 3, 1}, 2},  {{1900, 2, 28}, {1900, 3, 1}, 1},
      {{2000, 2, 28}, {2000, 3, 1}, 2},
      {{1899, 12, 30}, {2024, 1, 1}, 45292},
      // Any fields: month 13 is January of the next year, day 0 the month before's last.
      {{2024, 13, 1}, {2025, 1, 1}, 0}, {{2024, 3, 0}, {2024, 2, 29}, 0},
  };
  for (const auto& [from, to, days] : spans)
    EXPECT_EQ(daysBetween(from, to), days)
        << formatGeneralDate(from, kUS) << " -> " << formatGeneralDate(to, kUS);
  // An empty date, or extreme fields, still give a number and no undefined behaviour.
  EXPECT_GT(daysBetween(DateTime{}, DateTime{2024, 1, 1}), 0);
  EXPECT_LT(daysBetween({INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN}), 0);
  EXPECT_EQ(formatFileTime({INT_MAX, INT_MAX, INT_MAX, 25, 61, 61}, kUS).empty(), false);
}

}  // namespace
}  // namespace glenvask
