// The drive list with every letter in use. Drive letters are prefix-wide: this runs alone, and
// the letters it adds go again at its end.
#include <gtest/gtest.h>

#include <memory>

#include "services/system.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(Drives, AllTwentySixDrivesAreListed) {
  test::ScratchFolder folder;
  const std::wstring target = wide(folder.path());
  const std::string before = GetLogicalDriveList();
  {
    std::vector<std::wstring> added;  // removed again whatever happens
    std::shared_ptr<void> removeAdded(nullptr, [&](void*) {
      for (const auto& l : added)
        DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, l.c_str(),
                         target.c_str());
    });
    const DWORD used = GetLogicalDrives();
    for (wchar_t c = L'A'; c <= L'Z'; ++c) {
      std::wstring letter = {c, L':'};
      if (!(used & (1u << (c - L'A'))) && DefineDosDeviceW(0, letter.c_str(), target.c_str()))
        added.push_back(letter);
    }
    ASSERT_EQ(GetLogicalDrives(), 0x3FFFFFFu) << "every letter in use";
    std::string expected;
    for (char c = 'A'; c <= 'Z'; ++c) expected += std::string(1, c) + ":\\" + '\0';
    EXPECT_EQ(GetLogicalDriveList(), expected + '\0');
  }
  EXPECT_EQ(GetLogicalDriveList(), before);
}

}  // namespace
}  // namespace glenvask
