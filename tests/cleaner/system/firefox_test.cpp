// The Firefox categories on profile folders made in the prefix's real application data folder
// (prefix-wide state: these tests run one at a time and remove what they made).
#include "cleaner/firefox.h"

#include "cleaner/files_support.h"

namespace glenvask {
namespace {

using test::exists;

const std::string kP1 = "Firefox\\Profiles\\a1b2.default\\";
const std::string kP2 = "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\";

// Two profiles and their neighbours below %APPDATA%\Mozilla, each with the categories that
// delete it: Cache, cooKies, Forms, Passwords, History, Downloads. Each is 100 bytes and its
// place in the list, so a sum tells which files went.
const std::pair<std::string, const char*> kLayout[] = {
    {kP1 + "cookies.txt", "K"}, {kP1 + "cookperm.txt", "K"}, {kP1 + "history.dat", "H"},
    {kP1 + "downloads.rdf", "D"}, {kP1 + "key3.s", "P"}, {kP1 + "signons.txt", "P"},
    {kP1 + "ac-weights.txt", "P"}, {kP1 + "forms.w", "F"}, {kP1 + "formhistory.dat", "F"},
    {kP1 + "cookies.txt.bak", ""}, {kP1 + "Cache\\_CACHE_MAP_", "C"},
    {kP1 + "Cache\\cookies.txt", "CK"}, {kP1 + "Cache\\deeper\\entry", ""},
    {kP1 + "Cache\\deeper\\Cache\\entry", "C"}, {kP1 + "Cache2\\entry", ""},
    {kP1 + "chrome\\sub\\other.s", "P"}, {kP2 + "cookies.txt", "K"}, {kP2 + "history.dat", "H"},
    {kP2 + "cache\\lower", ""}, {kP2 + "x\\Cache\\y.bin", "C"},
    {"Firefox\\Profiles\\cookies.txt", "K"},
    // Outside the profiles folder: never touched.
    {"Firefox\\cookies.txt", ""}, {"Firefox\\Cache\\entry", ""}, {"cookies.txt", ""}};
const char* const kBehindLinks[] = {"target\\cookies.txt", "target\\key3.s",
                                    "target\\Cache\\entry", "cachetarget\\entry"};

class FirefoxTest : public test::CategoryTest {
 protected:
  test::ScratchFolder& outside = work;
  std::string mozilla = test::env("APPDATA") + "\\Mozilla";
  std::string profiles = mozilla + "\\Firefox\\Profiles\\";
  bool ownMozilla = false;

  void SetUp() override {
    ASSERT_NE(mozilla, "\\Mozilla");
    if (exists(mozilla)) GTEST_SKIP() << mozilla << " is there already; it is not ours to touch";
    ownMozilla = true;
    CategoryTest::SetUp();
    load();
  }
  void TearDown() override {
    CategoryTest::TearDown();
    if (ownMozilla) removeMozilla();
    EXPECT_FALSE(ownMozilla && exists(mozilla)) << "left behind";
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

  void makeProfiles() {
    removeMozilla();
    for (const auto& e : kLayout) test::writeFile(mozilla + "\\" + e.first, 100 + (&e - kLayout));
    for (const char* f : kBehindLinks) outside.write(f, "keep");
    test::makeFolderLink(profiles + "a1b2.default\\linked", outside.file("target"));
    test::makeFolders(profiles + "pr\xC3\xB3" "fil.work\\y");
    test::makeFolderLink(profiles + "pr\xC3\xB3" "fil.work\\y\\Cache",
                         outside.file("cachetarget"));
  }

  // Every file of the layout is there unless one of these categories deletes it, and nothing
  // behind a link went; returns how many went and their size.
  test::Counts expectOnlyGone(const std::string& categories) {
    std::int64_t count = 0, sum = 0;
    for (const auto& e : kLayout) {
      bool gone = std::string(e.second).find_first_of(categories) != std::string::npos;
      EXPECT_EQ(exists(mozilla + "\\" + e.first), !gone) << categories << ": " << e.first;
      count += gone, sum += gone ? 100 + (&e - kLayout) : 0;
    }
    for (const char* f : kBehindLinks) EXPECT_TRUE(outside.exists(f)) << categories << ": " << f;
    return {count, sum};
  }
};

TEST_F(FirefoxTest, EachCategoryDeletesItsFilesOfEveryProfile) {
  EXPECT_EQ(GetFirefoxProfilesPath(), profiles);
  const std::pair<void (*)(MainWindow&), const char*> cases[] = {
      {&CleanMozillaCache, "C"},     {&CleanMozillaCookies, "K"}, {&CleanMozillaForms, "F"},
      {&CleanMozillaPasswords, "P"}, {&CleanMozillaHistory, "H"}, {&CleanMozillaDownloads, "D"}};
  for (const auto& [routine, category] : cases) {
    makeProfiles();
    FirefoxFilesDeleted = 3, FirefoxSpaceGained = 7, w.lblStatus.setText("Working...");
    routine(w);
    auto [count, bytes] = expectOnlyGone(category);
    EXPECT_EQ(test::firefoxTotals(), (test::Counts{3 + count, 7 + bytes})) << category;
    EXPECT_EQ(w.lblStatus.text(), "") << category << ": the step ended normally";
  }
  // Two Firefox boxes in a whole run: the run's totals count each file once.
  makeProfiles();
  check("chkCleanMozillaCache"), check("chkCleanMozillaCookies");
  expectSummary();
  w.cmdClean.click();
  test::Counts gone = expectOnlyGone("CK");
  EXPECT_EQ(gone.first, 8);
  EXPECT_EQ(test::totals(), gone);
  EXPECT_EQ(summary.log,
            "\r\n-------------------------------------------------------------------\r\n"
            "Files Deleted:  8   Space Gained:  " + std::to_string(gone.second) + " Bytes")
      << "the Firefox steps write no log line";

  // A file past 4 GB, and a held one.
  makeProfiles();
  const std::int64_t big = 5000000000LL;
  test::writeFile(profiles + "a1b2.default\\Cache\\big", big);
  HANDLE lock = CreateFileW(wide(profiles + "a1b2.default\\cookies.txt").c_str(), GENERIC_READ,
                            0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  CleanMozillaCache(w);
  EXPECT_FALSE(exists(profiles + "a1b2.default\\Cache\\big"));
  EXPECT_EQ(test::firefoxTotals(), (test::Counts{5, big + 110 + 111 + 113 + 119}));

  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  CleanMozillaCookies(w);
  CloseHandle(lock);
  EXPECT_TRUE(exists(profiles + "a1b2.default\\cookies.txt")) << "a held file stays";
  EXPECT_EQ(test::firefoxTotals(), (test::Counts{3, 101 + 116 + 120})) << "and is not counted";
}

TEST_F(FirefoxTest, WithoutAProfilesFolderNothingIsTouched) {
  // Firefox's folder without profiles; the current folder full of names the walk looks for.
  const char* mine[] = {"Firefox\\cookies.txt", "Firefox\\history.dat", "Firefox\\Cache\\entry"};
  for (const char* f : mine) test::writeFile(mozilla + "\\" + f, 10);
  const char* bait[] = {"cookies.txt", "history.dat", "downloads.rdf", "key3.s", "f.w",
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
  for (const auto& f : {canary, "sub\\" + canary}) outside.write(f, "keep");
  for (const char* folder : {"", "sub", ".", "..", "\\", "C:", "C:\\", "C:\\\\", "C:sub"})
    CollectFirefoxFiles(folder, canary), CollectFirefoxCache(folder, canary);
  SetCurrentDirectoryW(before);

  EXPECT_EQ(FirefoxFilesDeleted + FirefoxSpaceGained, 0);
  for (const char* f : mine) EXPECT_TRUE(exists(mozilla + "\\" + f)) << f;
  for (const char* f : bait) EXPECT_TRUE(outside.exists(f)) << f;
  EXPECT_TRUE(outside.exists(canary) && outside.exists("sub\\" + canary));
}

}  // namespace
}  // namespace glenvask
