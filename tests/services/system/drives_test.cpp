// The drive list with every letter in use. Drive letters are prefix-wide: this runs alone, and
// the letters it adds go again at its end.
#include <gtest/gtest.h>

#include <vector>

#include "services/system.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

// Letters defined for the test, removed when it ends whatever happens.
class ExtraDrives {
 public:
  explicit ExtraDrives(const std::string& target) : target_(wide(target)) {
    DWORD used = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if (used & (1u << i)) continue;
      std::wstring letter = {wchar_t(L'A' + i), L':'};
      if (DefineDosDeviceW(0, letter.c_str(), target_.c_str())) letters_.push_back(letter);
    }
  }
  ~ExtraDrives() {
    for (const auto& l : letters_)
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, l.c_str(),
                       target_.c_str());
  }

 private:
  std::wstring target_;
  std::vector<std::wstring> letters_;
};

TEST(Drives, AllTwentySixDrivesAreListed) {
  test::ScratchFolder folder;
  std::string before = GetLogicalDriveList();
  {
    ExtraDrives extra(folder.path());
    ASSERT_EQ(GetLogicalDrives(), 0x3FFFFFFu) << "every letter in use";
    std::string list = GetLogicalDriveList();
    std::string expected;
    for (char c = 'A'; c <= 'Z'; ++c) expected += std::string(1, c) + ":\\" + '\0';
    EXPECT_EQ(list, expected + '\0');
  }
  EXPECT_EQ(GetLogicalDriveList(), before);
}

}  // namespace
}  // namespace glenvask
