#include "base/firefoxpaths.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(FirefoxPaths, VersionNames) {
  struct Case {
    unsigned major, minor, platform;
    const char* name;
  } cases[] = {
      {4, 0, 1, "95"},  {4, 10, 1, "98"},  {4, 90, 1, "98"},   {4, 0, 2, "NT"},
      {5, 0, 2, "2K"},  {5, 1, 2, "XP"},   {5, 2, 2, ""},      {6, 0, 2, "Vista"},
      {6, 1, 2, "Win7"}, {6, 2, 2, ""},    {6, 3, 2, ""},      {10, 0, 2, ""},
      {3, 51, 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(osVersionName(c.major, c.minor, c.platform), c.name)
        << c.major << "." << c.minor << " " << c.platform;
}

TEST(FirefoxPaths, ProfilesFolderIsFullOrNothing) {
  const std::string nt = "C:\\users\\u\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
  struct Case {
    unsigned platform;
    const char* version;
    const char* appData;
    const char* windows;
    std::string folder;
  } cases[] = {
      // Every NT version, known by name or not, takes the application data folder.
      {2, "Win7", "C:\\users\\u\\AppData\\Roaming", "C:\\windows", nt},
      {2, "", "C:\\users\\u\\AppData\\Roaming", "C:\\windows", nt},
      {2, "XP", "C:\\users\\u\\AppData\\Roaming\\", "", nt},
      {2, "2K", "\\\\srv\\home\\u\\AppData", "",
       "\\\\srv\\home\\u\\AppData\\Mozilla\\Firefox\\Profiles\\"},
      {2, "XP", "D:\\", "", "D:\\Mozilla\\Firefox\\Profiles\\"},
      {1, "98", "", "C:\\WINDOWS", "C:\\WINDOWS\\Application Data\\Mozilla\\Firefox\\Profiles\\"},
      {1, "95", "", "C:\\WINDOWS\\", "C:\\WINDOWS\\Application Data\\Mozilla\\Firefox\\Profiles\\"},
      // Never a folder that would depend on the current folder or drive.
      {2, "Win7", "", "C:\\windows", ""},
      {2, "Win7", "Roaming", "C:\\windows", ""},
      {2, "Win7", "C:Roaming", "C:\\windows", ""},
      {2, "Win7", "\\Roaming", "C:\\windows", ""},
      {2, "Win7", "C:\\users\\..\\..", "C:\\windows", ""},
      {2, "Win7", "\\\\srv", "C:\\windows", ""},
      {1, "98", "", "", ""},
      {1, "", "", "C:\\WINDOWS", ""},
      {0, "", "C:\\a", "C:\\WINDOWS", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(firefoxProfilesFolder(c.platform, c.version, c.appData, c.windows), c.folder)
        << c.platform << " " << c.version << " " << c.appData << " " << c.windows;
}

TEST(FirefoxPaths, FullPathsAndRoots) {
  struct Case {
    const char* path;
    bool full, root;
  } cases[] = {
      {"C:\\a\\b\\", true, false}, {"C:\\", true, true},       {"c:", false, true},
      {"C:\\\\", true, true},      {"\\\\srv\\share", true, true}, {"\\\\srv\\share\\", true, true},
      {"\\\\srv\\share\\x", true, false}, {"", false, false},  {"a\\b", false, false},
      {"C:a", false, false},       {"\\a", false, false},      {"\\\\srv", false, false},
      {"\\\\?\\C:\\a", false, false}, {"C:\\a\\..\\b", false, false}, {"C:\\a\\.", false, false},
      {"C:\\a/b", false, false},   {"1:\\a", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isFullFolderPath(c.path), c.full) << c.path;
    EXPECT_EQ(isRootFolder(c.path), c.root) << c.path;
  }
}

}  // namespace
}  // namespace glenvask
