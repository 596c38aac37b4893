#include "services/guard.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "base/text.h"
#include "services/system.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::string special(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return utf8(path);
}

std::string shortName(const std::string& path) {
  wchar_t buf[MAX_PATH] = {};
  DWORD n = GetShortPathNameW(wide(path).c_str(), buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? utf8(buf) : path;
}

TEST(CleaningGuard, RefusesRootsSystemFoldersGivenFoldersAndWhatHoldsThem) {
  test::ScratchFolder scratch;
  std::string windows = GetWindowsDir(), system = GetSystemDir();
  std::string profile = special(CSIDL_PROFILE), programs = special(CSIDL_PROGRAM_FILES);
  ASSERT_FALSE(windows.empty() || profile.empty() || programs.empty());

  std::pair<std::string, bool> cases[] = {  // path, refused
      // Drive and share roots, however written; "C:" is the current folder of drive C.
      {"C:\\", true}, {"c:\\", true}, {"C:", true}, {"C:\\\\", true}, {"C:/", true},
      {"C:\\.", true}, {"C:\\Windows\\..", true}, {"C:\\Windows\\..\\", true},
      {"\\\\?\\C:\\", true}, {"\\\\server\\share", true}, {"\\\\server\\share\\", true},
      {"\\\\server", true}, {"\\\\?\\UNC\\server\\share\\", true},
      {"\\\\server\\share\\folder", false},
      // Nothing that depends on the current folder.
      {"", true}, {"Temp", true}, {"Temp\\", true}, {".", true}, {"C:Temp", true}, {"\\Temp", true},
      // The system's folders, and the folders that hold them.
      {windows, true}, {windows + "\\", true}, {toLower(windows), true}, {windows + ".", true},
      {windows + "\\.\\", true}, {windows + "\\Temp\\..", true}, {"\\\\?\\" + windows, true},
      {system, true}, {system + "\\", true}, {programs, true}, {shortName(programs), true},
      {profile, true}, {profile + "\\", true}, {profile.substr(0, profile.rfind('\\')), true},
      // What lies below them may be cleaned; so may a sibling whose name begins like one.
      {windows + "\\Temp", false}, {windows + "\\Temp\\", false},
      {windows + "\\Offline Web Pages\\", false}, {system + "\\spool\\PRINTERS\\", false},
      {programs + "\\Glenvask\\Backup\\", false}, {profile + "\\Temp\\", false},
      {windows + "x", false}, {scratch.path(), false}, {scratch.path() + "\\", false},
      {scratch.path() + "/", false},
  };
  for (const auto& [path, refused] : cases)
    EXPECT_EQ(isProtectedCleaningRoot(path), refused) << '"' << path << '"';

  std::vector<std::string> folders = {"D:\\Data\\Keep", "\\\\srv\\share\\Keep\\"};
  std::pair<const char*, bool> given[] = {
      {"D:\\Data\\Keep", true},     {"d:\\data\\keep\\", true}, {"D:\\Data", true},
      {"D:\\Data\\Keep\\a", false}, {"D:\\Data\\Keeper", false}, {"D:\\Other", false},
      {"\\\\srv\\share\\keep", true}, {"\\\\srv\\share\\keep2", false},
  };
  for (const auto& [path, refused] : given)
    EXPECT_EQ(isProtectedCleaningRoot(path, folders), refused) << '"' << path << '"';
  EXPECT_FALSE(isProtectedCleaningRoot("D:\\Data", {})) << "no folder given, only roots refused";
  EXPECT_EQ(cleaningRootPath("c:\\windows\\..\\"), "c:\\");
  EXPECT_EQ(cleaningRootPath("relative"), "");
}

}  // namespace
}  // namespace glenvask
