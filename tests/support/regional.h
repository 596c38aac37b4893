// The user's regional date and time formats set for one test: in this process and in the
// prefix's registry (HKCU\Control Panel\International, where Wine keeps what it honours for
// the user's locale: the short date and time pictures and the texts of the halves of the
// day), put back when the object goes. Wine reads them once per process, so a program
// started meanwhile sees them too: tests that use this run in the prefix_system lock
// (tests/<layer>/system/) or in the end-to-end tests.
#pragma once

#include <string>
#include <vector>

namespace glenvask::test {

struct Regional {
  const char* name;  // for messages: "German"
  const char* shortDate;
  const char* time;
  const char* am;
  const char* pm;
};

// German, British, Japanese (24-hour clocks, "." "/" separators, year first), Dutch ("-")
// and American.
const std::vector<Regional>& regionalSettings();

class RegionalSettings {
 public:
  explicit RegionalSettings(const Regional& r);
  ~RegionalSettings();
  RegionalSettings(const RegionalSettings&) = delete;
  RegionalSettings& operator=(const RegionalSettings&) = delete;
  bool ok() const { return ok_; }

 private:
  std::vector<std::wstring> saved_;
  bool ok_ = true;
};

}  // namespace glenvask::test
