#include "win/regional.h"

#include <windows.h>

#include "win/unicode.h"

namespace glenvask {

namespace {

// One value of the user's locale; what the format had when the platform gives none.
void read(LCTYPE type, std::string& into) {
  wchar_t buf[128] = {};
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, static_cast<int>(std::size(buf)));
  if (n > 1) into = utf8(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

}  // namespace

RegionalFormat userRegionalFormat() {
  RegionalFormat f;
  read(LOCALE_SSHORTDATE, f.shortDate);
  read(LOCALE_STIMEFORMAT, f.time);
  // The halves of the day may be empty on a 24-hour clock.
  f.am.clear();
  f.pm.clear();
  read(LOCALE_S1159, f.am);
  read(LOCALE_S2359, f.pm);
  for (int i = 0; i < 12; ++i) {
    read(LOCALE_SMONTHNAME1 + i, f.months[i]);
    read(LOCALE_SABBREVMONTHNAME1 + i, f.shortMonths[i]);
  }
  // The platform counts days from Monday; the format from Sunday.
  for (int i = 0; i < 7; ++i) {
    read(LOCALE_SDAYNAME1 + i, f.days[(i + 1) % 7]);
    read(LOCALE_SABBREVDAYNAME1 + i, f.shortDays[(i + 1) % 7]);
  }
  return f;
}

}  // namespace glenvask
