// The user's regional date and time formats set for one test, in this process and in the
// prefix's registry (HKCU\Control Panel\International: Wine honours sShortDate, sTimeFormat,
// s1159 and s2359 there), and put back when the object goes. Programs started meanwhile see
// them too: tests that use this belong in tests/<layer>/system/ (the prefix_system lock).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/datetime.h"
#include "win/unicode.h"

namespace glenvask::test {

struct Regional {
  const char *name, *shortDate, *time, *am, *pm;
};

// German, British, Japanese, Dutch and American settings, in that order.
inline const std::vector<Regional>& regionalSettings() {
  static const std::vector<Regional> all = {
      {"German", "dd.MM.yyyy", "HH:mm:ss", "", ""},
      {"British", "dd/MM/yyyy", "HH:mm:ss", "am", "pm"},
      {"Japanese", "yyyy/MM/dd", "H:mm:ss", "\xE5\x8D\x88\xE5\x89\x8D", "\xE5\x8D\x88\xE5\xBE\x8C"},
      {"Dutch", "d-M-yyyy", "H:mm:ss", "", ""},
      {"American", "M/d/yyyy", "h:mm:ss tt", "AM", "PM"},
  };
  return all;
}

class RegionalSettings {
 public:
  explicit RegionalSettings(const Regional& r) {
    const char* values[] = {r.shortDate, r.time, r.am, r.pm};
    for (size_t i = 0; i < std::size(kTypes); ++i) {
      wchar_t buf[128] = {};
      GetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], buf, 128);
      saved_.push_back(buf);
      ok_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], wide(values[i]).c_str()) && ok_;
    }
  }
  ~RegionalSettings() {
    for (size_t i = 0; i < std::size(kTypes); ++i)
      SetLocaleInfoW(LOCALE_USER_DEFAULT, kTypes[i], saved_[i].c_str());
  }
  bool ok() const { return ok_; }

 private:
  static constexpr LCTYPE kTypes[] = {LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT, LOCALE_S1159,
                                      LOCALE_S2359};
  std::vector<std::wstring> saved_;
  bool ok_ = true;
};

// A local date-time as a file time; a file's last-write time set to one.
inline FILETIME fromLocal(const DateTime& local) {
  SYSTEMTIME lt{}, utc{};
  lt.wYear = WORD(local.year), lt.wMonth = WORD(local.month), lt.wDay = WORD(local.day);
  lt.wHour = WORD(local.hour), lt.wMinute = WORD(local.minute), lt.wSecond = WORD(local.second);
  FILETIME ft{};
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &lt, &utc) &&
              SystemTimeToFileTime(&utc, &ft));
  return ft;
}

inline void setLocalWriteTime(const std::string& path, DateTime local) {
  FILETIME ft = fromLocal(local);
  HANDLE h = CreateFileW(wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
}

}  // namespace glenvask::test
