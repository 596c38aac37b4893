// The Firefox categories on profile folders made in the prefix's real application data folder
// (prefix-wide state: these tests run one at a time and remove what they made).
#include "cleaner/routines.h"
#include "cleaner/firefox.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>
#include <set>

#include "base/sizes.h"
#include "cleaner/files_support.h"
#include "review/frmLog.h"

namespace glenvask {
namespace {

using test::exists;

const std::string kP1 = "Firefox\\Profiles\\a1b2.default\\";
const std::string kP2 = "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\";

// Two profiles and their neighbours, below %APPDATA%\Mozilla; the sizes differ, so a sum tells
// which files went.
const std::vector<std::string> kLayout = {
    kP1 + "cookies.txt", kP1 + "cookperm.txt", kP1 + "history.dat", kP1 + "downloads.rdf",
    kP1 + "key3.s", kP1 + "signons.txt", kP1 + "ac-weights.txt", kP1 + "forms.w",
    kP1 + "formhistory.dat", kP1 + "prefs.js", kP1 + "cookies.txt.bak", kP1 + "places.sqlite",
    kP1 + "notes.sw", kP1 + "Cache\\_CACHE_MAP_", kP1 + "Cache\\0A1B2C3D",
    kP1 + "Cache\\cookies.txt", kP1 + "Cache\\deeper\\entry", kP1 + "Cache\\deeper\\Cache\\entry",
    kP1 + "Cache2\\entry", kP1 + "chrome\\history.dat", kP1 + "chrome\\sub\\other.s",
    kP2 + "cookies.txt", kP2 + "history.dat", kP2 + "signons.txt", kP2 + "formhistory.dat",
    kP2 + "downloads.rdf", kP2 + "cache\\lower", kP2 + "x\\Cache\\y.bin",
    "Firefox\\Profiles\\cookies.txt",
    // Outside the profiles folder: never touched.
    "Firefox\\cookies.txt", "Firefox\\history.dat", "Firefox\\Cache\\entry", "cookies.txt"};
const char* const kBehindLinks[] = {"target\\cookies.txt", "target\\history.dat",
                                    "target\\key3.s", "target\\Cache\\entry", "cachetarget\\entry"};

class FirefoxTest : public test::CategoryTest {
 protected:
  test::ScratchFolder& outside = work;
  std::string mozilla, profiles;
  std::map<std::string, std::int64_t> sizes;  // relative to mozilla
  bool ownMozilla = false;

  void SetUp() override {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(
        SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
    mozilla = utf8(appData) + "\\Mozilla";
    profiles = mozilla + "\\Firefox\\Profiles\\";
    if (exists(mozilla)) GTEST_SKIP() << mozilla << " is there already; it is not ours to touch";
    ownMozilla = true;
    CategoryTest::SetUp();
    load();
  }
  void TearDown() override {
    CategoryTest::TearDown();
    if (ownMozilla) {
      removeMozilla();
      EXPECT_FALSE(exists(mozilla)) << "left behind";
    }
  }
  // On the Linux side: Wine 8 removes a link to a folder with neither RemoveDirectoryW nor
  // DeleteFileW; rm removes links, never what they point to.
  void removeMozilla() {
    if (!exists(mozilla)) return;
    std::string unix = test::unixPath(mozilla);
    ASSERT_NE(unix.find("/AppData/Roaming/Mozilla"), std::string::npos) << unix;
    test::runUnix("/bin/rm", "-rf \"" + unix + "\"");
    for (int i = 0; i < 500 && exists(mozilla); ++i) Sleep(10);
  }

  // The layout afresh, with links from inside the profiles to folders outside them.
  void makeProfiles() {
    removeMozilla();
    sizes.clear();
    std::int64_t size = 100;
    for (const auto& f : kLayout) test::writeFile(mozilla + "\\" + f, sizes[f] = size++);
    for (const char* f : kBehindLinks) outside.write(f, "keep");
    test::makeFolderLink(profiles + "a1b2.default\\linked", outside.file("target"));
    test::makeFolders(profiles + "pr\xC3\xB3" "fil.work\\y");
    test::makeFolderLink(profiles + "pr\xC3\xB3" "fil.work\\y\\Cache",
                         outside.file("cachetarget"));
  }

  // Every file of the layout is there unless it is one of the gone, and nothing behind a link
  // went; returns the size of the gone.
  std::int64_t expectOnlyGone(const std::set<std::string>& gone, const std::string& what) {
    std::int64_t sum = 0;
    for (const auto& [f, size] : sizes) {
      bool isGone = gone.count(f) > 0;
      EXPECT_EQ(exists(mozilla + "\\" + f), !isGone) << what << ": " << f;
      if (isGone) sum += size;
    }
    for (const char* f : kBehindLinks) EXPECT_TRUE(outside.exists(f)) << what << ": " << f;
    return sum;
  }
};

const std::set<std::string> kCacheFiles = {kP1 + "Cache\\_CACHE_MAP_", kP1 + "Cache\\0A1B2C3D",
                                           kP1 + "Cache\\cookies.txt",
                                           kP1 + "Cache\\deeper\\Cache\\entry",
                                           kP2 + "x\\Cache\\y.bin"};
const std::set<std::string> kCookieFiles = {kP1 + "cookies.txt", kP1 + "cookperm.txt",
                                            kP1 + "Cache\\cookies.txt", kP2 + "cookies.txt",
                                            "Firefox\\Profiles\\cookies.txt"};
const std::set<std::string> kHistoryFiles = {kP1 + "history.dat", kP1 + "chrome\\history.dat",
                                             kP2 + "history.dat"};

TEST_F(FirefoxTest, EachCategoryDeletesItsFilesOfEveryProfile) {
  EXPECT_EQ(GetOSVersionName(), "Win7");
  EXPECT_EQ(GetFirefoxProfilesPath(), profiles);
  struct Case {
    const char* name;
    void (*routine)(MainWindow&);
    std::set<std::string> gone;
  } cases[] = {
      {"cache", &CleanMozillaCache, kCacheFiles},
      {"cookies", &CleanMozillaCookies, kCookieFiles},
      {"forms",
       &CleanMozillaForms,
       {kP1 + "forms.w", kP1 + "formhistory.dat", kP2 + "formhistory.dat"}},
      {"passwords",
       &CleanMozillaPasswords,
       {kP1 + "key3.s", kP1 + "signons.txt", kP1 + "ac-weights.txt", kP1 + "chrome\\sub\\other.s",
        kP2 + "signons.txt"}},
      {"history", &CleanMozillaHistory, kHistoryFiles},
      {"downloads", &CleanMozillaDownloads, {kP1 + "downloads.rdf", kP2 + "downloads.rdf"}},
  };
  for (const auto& c : cases) {
    makeProfiles();
    FirefoxFilesDeleted = 3, FirefoxSpaceGained = 7;  // the walk only adds
    w.lblStatus.setText("Working...");
    c.routine(w);
    std::int64_t bytes = expectOnlyGone(c.gone, c.name);
    EXPECT_EQ(FirefoxFilesDeleted, 3 + static_cast<std::int64_t>(c.gone.size())) << c.name;
    EXPECT_EQ(FirefoxSpaceGained, 7 + bytes) << c.name;
    EXPECT_EQ(w.lblStatus.text(), "") << c.name << ": the step ended normally";
  }
}

TEST_F(FirefoxTest, RunTotalsCountEachFileOnce) {
  std::string count, size, log;
  auto summary = [&] {
    script.answerModal([&](Dialog& d) {
      auto& s = static_cast<SummaryWindow&>(d);
      count = s.Label3.text(), size = s.Label4.text(), log = s.run().log;
      s.cmdClose_Click();
    });
  };
  // Two Firefox boxes in a whole run, then one category from its menu.
  makeProfiles();
  check("chkCleanMozillaCache");
  check("chkCleanMozillaCookies");
  summary();
  w.cmdClean.click();
  std::set<std::string> gone = kCacheFiles;
  gone.insert(kCookieFiles.begin(), kCookieFiles.end());
  std::int64_t bytes = expectOnlyGone(gone, "whole run");
  EXPECT_EQ(count, "9");
  EXPECT_EQ(TotalFilesDeleted, 9);
  EXPECT_EQ(FirefoxFilesDeleted, 9);
  EXPECT_EQ(TotalSpaceGained, bytes);
  EXPECT_EQ(size, FormatFileSize(static_cast<double>(bytes), 2, true));
  EXPECT_EQ(log,
            "\r\n-------------------------------------------------------------------\r\n"
            "Files Deleted:  9   Space Gained:  " + size)
      << "the Firefox steps write no log line";

  makeProfiles();
  summary();
  w.mnuPopupTag = "CleanMozillaHistory";
  w.mnuPopup_Click();
  bytes = expectOnlyGone(kHistoryFiles, "single run");
  EXPECT_EQ(count, "3");
  EXPECT_EQ(TotalFilesDeleted, 3);
  EXPECT_EQ(TotalSpaceGained, bytes);
  EXPECT_EQ(size, FormatFileSize(static_cast<double>(bytes), 2, true));
}

TEST_F(FirefoxTest, LargeAndLockedFiles) {
  makeProfiles();
  const std::int64_t big = 5000000000LL;
  test::writeFile(profiles + "a1b2.default\\Cache\\big", big);
  HANDLE lock = CreateFileW(wide(profiles + "a1b2.default\\cookies.txt").c_str(), GENERIC_READ,
                            0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  CleanMozillaCache(w);
  EXPECT_FALSE(exists(profiles + "a1b2.default\\Cache\\big"));
  EXPECT_EQ(FirefoxFilesDeleted, 6);
  EXPECT_GT(FirefoxSpaceGained, big);
  EXPECT_LT(FirefoxSpaceGained, big + 1000);

  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  CleanMozillaCookies(w);
  CloseHandle(lock);
  EXPECT_TRUE(exists(profiles + "a1b2.default\\cookies.txt")) << "a held file stays";
  EXPECT_EQ(FirefoxFilesDeleted, 3) << "and is not counted";
  EXPECT_EQ(FirefoxSpaceGained, sizes[kP1 + "cookperm.txt"] + sizes[kP2 + "cookies.txt"] +
                                    sizes["Firefox\\Profiles\\cookies.txt"]);
}

TEST_F(FirefoxTest, WithoutAProfilesFolderNothingIsTouched) {
  // Firefox's folder without profiles; the current folder full of names the walk looks for.
  const char* mine[] = {"Firefox\\cookies.txt", "Firefox\\history.dat", "Firefox\\Cache\\entry"};
  for (const char* f : mine) test::writeFile(mozilla + "\\" + f, 10);
  const char* bait[] = {"cookies.txt", "cookperm.txt", "history.dat", "downloads.rdf", "key3.s",
                        "signons.txt", "ac-weights.txt", "f.w", "formhistory.dat",
                        "Cache\\entry", "sub\\cookies.txt"};
  for (const char* f : bait) outside.write(f, "keep");
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(wide(outside.file("sub")).c_str()));

  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  for (auto routine : {&CleanMozillaCache, &CleanMozillaCookies, &CleanMozillaForms,
                       &CleanMozillaPasswords, &CleanMozillaHistory, &CleanMozillaDownloads})
    routine(w);
  // The walk itself refuses a folder that is not a full one, or a root.
  const std::string canary = "glenvask-firefox-canary.txt";
  outside.write(canary, "keep");
  outside.write("sub\\" + canary, "keep");
  for (const char* folder : {"", "sub", ".", "..", "\\", "C:", "C:\\", "C:\\\\", "C:sub"}) {
    CollectFirefoxFiles(folder, canary);
    CollectFirefoxCache(folder, canary);
  }
  SetCurrentDirectoryW(before);

  EXPECT_EQ(FirefoxFilesDeleted, 0);
  EXPECT_EQ(FirefoxSpaceGained, 0);
  for (const char* f : mine) EXPECT_TRUE(exists(mozilla + "\\" + f)) << f;
  for (const char* f : bait) EXPECT_TRUE(outside.exists(f)) << f;
  EXPECT_TRUE(outside.exists(canary));
  EXPECT_TRUE(outside.exists("sub\\" + canary));
}

}  // namespace
}  // namespace glenvask
