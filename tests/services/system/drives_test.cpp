// The drive list with every letter in use. Drive letters are prefix-wide: this runs alone, and
// the letters it adds go again at its end.
#include <gtest/gtest.h>

#include <vector>

#include "base/text.h"
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
    ASSERT_EQ(list.size(), 105u);  // 26 times "X:\" and a null, and the closing null
    std::vector<std::string> roots = split(list.substr(0, 104), '\0');
    ASSERT_EQ(roots.size(), 27u);  // the last piece is empty
    for (int i = 0; i < 26; ++i) EXPECT_EQ(roots[i], std::string(1, char('A' + i)) + ":\\");
  }
  EXPECT_EQ(GetLogicalDriveList(), before);
}

}  // namespace
}  // namespace glenvask
