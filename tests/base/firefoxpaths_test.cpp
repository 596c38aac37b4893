#include "base/firefoxpaths.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(FirefoxPaths, VersionNamesProfilesFolderAndRoots) {
  std::tuple<unsigned, unsigned, unsigned, const char*> cases[] = {
      {4, 0, 1, "95"}, {4, 10, 1, "98"}, {4, 90, 1, "98"}, {4, 0, 2, "NT"}, {5, 0, 2, "2K"},
      {5, 1, 2, "XP"}, {5, 2, 2, ""}, {6, 0, 2, "Vista"}, {6, 1, 2, "Win7"}, {6, 2, 2, ""},
      {10, 0, 2, ""}, {3, 51, 2, ""}};
  for (const auto& [major, minor, platform, name] : cases)
    EXPECT_EQ(osVersionName(major, minor, platform), name) << major << "." << minor;

  const std::string nt = "C:\\users\\u\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
  // Platform, version name, application data folder, Windows folder; the profiles folder.
  std::tuple<unsigned, const char*, const char*, const char*, std::string> folders[] = {
      // Every NT version, known by name or not, takes the application data folder.
      {2, "", "C:\\users\\u\\AppData\\Roaming", "C:\\windows", nt},
      {2, "XP", "C:\\users\\u\\AppData\\Roaming\\", "", nt},
      {2, "2K", "\\\\srv\\home\\u\\AppData", "",
       "\\\\srv\\home\\u\\AppData\\Mozilla\\Firefox\\Profiles\\"},
      {2, "XP", "D:\\", "", "D:\\Mozilla\\Firefox\\Profiles\\"},
      {1, "98", "", "C:\\WINDOWS", "C:\\WINDOWS\\Application Data\\Mozilla\\Firefox\\Profiles\\"},
      // Never a folder that would depend on the current folder or drive.
      {2, "Win7", "", "C:\\windows", ""}, {2, "Win7", "Roaming", "C:\\windows", ""},
      {2, "Win7", "C:Roaming", "C:\\windows", ""}, {2, "Win7", "\\Roaming", "C:\\windows", ""},
      {2, "Win7", "C:\\users\\..\\..", "C:\\windows", ""},
      {2, "Win7", "\\\\srv", "C:\\windows", ""},
      {1, "98", "", "", ""}, {1, "", "", "C:\\WINDOWS", ""}, {0, "", "C:\\a", "C:\\WINDOWS", ""},
  };
  for (const auto& [platform, version, appData, windows, folder] : folders)
    EXPECT_EQ(firefoxProfilesFolder(platform, version, appData, windows), folder)
        << platform << " " << version << " " << appData << " " << windows;

  std::tuple<const char*, bool, bool> paths[] = {  // full path, root
      {"C:\\a\\b\\", true, false}, {"C:\\", true, true},       {"c:", false, true},
      {"C:\\\\", true, true},      {"\\\\srv\\share", true, true}, {"\\\\srv\\share\\", true, true},
      {"\\\\srv\\share\\x", true, false}, {"", false, false},  {"a\\b", false, false},
      {"C:a", false, false},       {"\\a", false, false},      {"\\\\srv", false, false},
      {"\\\\?\\C:\\a", false, false}, {"C:\\a\\..\\b", false, false}, {"C:\\a\\.", false, false},
      {"C:\\a/b", false, false},   {"1:\\a", false, false},
  };
  for (const auto& [path, full, root] : paths)
    EXPECT_EQ(std::pair(isFullFolderPath(path), isRootFolder(path)), std::pair(full, root)) << path;
}

}  // namespace
}  // namespace glenvask
