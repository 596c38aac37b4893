#include "base/datetime.h"

#include <gtest/gtest.h>

#include <climits>

namespace glenvask {
namespace {

TEST(DateTime, FileTimeTextPadsDateButNotHour) {
  struct Case {
    DateTime t;
    const char* text;
  } cases[] = {
      {{2024, 3, 1, 17, 3, 9}, "03/01/2024 5:03:09 PM"},
      {{2024, 12, 31, 0, 0, 0}, "12/31/2024 12:00:00 AM"},  // midnight is 12 AM
      {{2024, 7, 4, 12, 0, 5}, "07/04/2024 12:00:05 PM"},   // noon is 12 PM
      {{2024, 7, 4, 11, 59, 59}, "07/04/2024 11:59:59 AM"},
      {{999, 1, 2, 1, 2, 3}, "01/02/0999 1:02:03 AM"},      // four-digit year
  };
  for (const auto& c : cases) EXPECT_EQ(formatFileTime(c.t), c.text);
}

TEST(DateTime, DaysBetweenCountsDayBoundaries) {
  struct Case {
    DateTime from, to;
    std::int64_t days;
  } cases[] = {
      {{2024, 3, 1, 23, 59, 59}, {2024, 3, 2, 0, 0, 0}, 1},  // one second, one boundary
      {{2024, 3, 1, 0, 0, 0}, {2024, 3, 1, 23, 59, 59}, 0},
      {{2024, 3, 3, 0, 0, 0}, {2024, 3, 1, 12, 0, 0}, -2},
      {{2024, 2, 28}, {2024, 3, 1}, 2},  {{2023, 2, 28}, {2023, 3, 1}, 1},
      {{1900, 2, 28}, {1900, 3, 1}, 1},  {{2000, 2, 28}, {2000, 3, 1}, 2},
      {{1899, 12, 30}, {2024, 1, 1}, 45292},
      // Any fields: month 13 is January of the next year, day 0 the month before's last.
      {{2024, 13, 1}, {2025, 1, 1}, 0}, {{2024, 3, 0}, {2024, 2, 29}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(daysBetween(c.from, c.to), c.days)
        << formatGeneralDate(c.from) << " -> " << formatGeneralDate(c.to);
  // An empty date, or extreme fields, still give a number and no undefined behaviour.
  EXPECT_GT(daysBetween(DateTime{}, DateTime{2024, 1, 1}), 0);
  EXPECT_LT(daysBetween({INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN}), 0);
}

}  // namespace
}  // namespace glenvask
