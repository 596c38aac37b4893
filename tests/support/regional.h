// The user's regional date and time formats set for one test, in this process and in the
// prefix's registry (HKCU\Control Panel\International: Wine honours sShortDate, sTimeFormat,
// s1159 and s2359 there), and put back when the object goes. Programs started meanwhile see
// them too: tests that use this belong in tests/<layer>/system/ (the prefix_system lock).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/datetime.h"

namespace glenvask::test {

struct Regional {
  const char *name, *shortDate, *time, *am, *pm;
};

// German, British, Japanese, Dutch and American settings, in that order.
const std::vector<Regional>& regionalSettings();

class RegionalSettings {
 public:
  explicit RegionalSettings(const Regional& r);
  ~RegionalSettings();
  bool ok() const { return ok_; }

 private:
  std::vector<std::wstring> saved_;
  bool ok_ = true;
};

// A local date-time as a file time; a file's last-write time set to one.
FILETIME fromLocal(const DateTime& local);
void setLocalWriteTime(const std::string& path, DateTime local);

}  // namespace glenvask::test
