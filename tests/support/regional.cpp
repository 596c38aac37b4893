#include "support/regional.h"

#include <gtest/gtest.h>

#include "win/unicode.h"

namespace glenvask::test {

constexpr LCTYPE kTypes[] = {LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT, LOCALE_S1159, LOCALE_S2359};

const std::vector<Regional>& regionalSettings() {
  static const std::vector<Regional> all = {
      {"German", "dd.MM.yyyy", "HH:mm:ss", "", ""},
      {"British", "dd/MM/yyyy", "HH:mm:ss", "am", "pm"},
      {"Japanese", "yyyy/MM/dd", "H:mm:ss", "\xE5\x8D\x88\xE5\x89\x8D", "\xE5\x8D\x88\xE5\xBE\x8C"},
      {"Dutch", "d-M-yyyy", "H:mm:ss", "", ""},
      {"American", "M/d/yyyy", "h:mm:ss tt", "AM", "PM"},
  };
  return all;
}

RegionalSettings::RegionalSettings(const Regional& r) {
  const char* values[] = {r.shortDate, r.time, r.am, r.pm};
  for (size_t i = 0; i < std::size(kTypes); ++i) {
    wchar_t buf[128] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], buf, 128);
    saved_.push_back(buf);
    ok_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], wide(values[i]).c_str()) && ok_;
  }
}

RegionalSettings::~RegionalSettings() {
  for (size_t i = 0; i < std::size(kTypes); ++i)
    SetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], saved_[i].c_str());
}

FILETIME fromLocal(const DateTime& local) {
  SYSTEMTIME lt{}, utc{};
  lt.wYear = WORD(local.year), lt.wMonth = WORD(local.month), lt.wDay = WORD(local.day);
  lt.wHour = WORD(local.hour), lt.wMinute = WORD(local.minute), lt.wSecond = WORD(local.second);
  FILETIME ft{};
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &lt, &utc) &&
              SystemTimeToFileTime(&utc, &ft));
  return ft;
}

void setLocalWriteTime(const std::string& path, DateTime local) {
  FILETIME ft = fromLocal(local);
  HANDLE h = CreateFileW(wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
}

}  // namespace glenvask::test
