// The Firefox categories on profile folders made in the prefix's real application data folder
// (prefix-wide state: these tests run one at a time and remove what they made).
#include "cleaner/firefox.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>
#include <set>

#include "base/sizes.h"
#include "cleaner/frmMain.h"
#include "review/frmLog.h"
#include "services/globals.h"
#include "services/paths.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::string appDataFolder() {
  wchar_t buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)))
    return "";
  return utf8(buf);
}

bool exists(const std::string& path) {
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void makeFolders(const std::string& path) {
  for (size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
    CreateDirectoryW(wide(path.substr(0, at)).c_str(), nullptr);
    if (at == std::string::npos) break;
  }
}

// A file of the given size (sparse beyond what it writes), its folders made on the way.
void writeFile(const std::string& path, std::int64_t size) {
  makeFolders(path.substr(0, path.rfind('\\')));
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  if (size <= 4096) {
    std::string bytes(static_cast<size_t>(size), 'x');
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  } else {
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(h));
  }
  CloseHandle(h);
}

// Removes a folder and all below it on the Linux side, where Wine 8 removes a link to a folder
// with neither RemoveDirectoryW nor DeleteFileW; rm removes links, never what they point to.
void removeTreeWithLinks(const std::string& folder) {
  std::wstring w = wide(folder);
  if (GetFileAttributesW(w.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  ASSERT_NE(unixName, nullptr);
  char* u = unixName(w.c_str());
  ASSERT_NE(u, nullptr);
  std::string unix = u;
  HeapFree(GetProcessHeap(), 0, u);
  ASSERT_NE(unix.find("/AppData/Roaming/Mozilla"), std::string::npos) << unix;
  std::wstring cmd = wide("rm -rf \"" + unix + "\"");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(L"\\\\?\\unix\\bin\\rm", cmd.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 500 && GetFileAttributesW(w.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(10);
}

// Two profiles and their neighbours, below %APPDATA%\Mozilla; the sizes differ, so a sum tells
// which files went.
const char* const kLayout[] = {
    "Firefox\\Profiles\\a1b2.default\\cookies.txt",
    "Firefox\\Profiles\\a1b2.default\\cookperm.txt",
    "Firefox\\Profiles\\a1b2.default\\history.dat",
    "Firefox\\Profiles\\a1b2.default\\downloads.rdf",
    "Firefox\\Profiles\\a1b2.default\\key3.s",
    "Firefox\\Profiles\\a1b2.default\\signons.txt",
    "Firefox\\Profiles\\a1b2.default\\ac-weights.txt",
    "Firefox\\Profiles\\a1b2.default\\forms.w",
    "Firefox\\Profiles\\a1b2.default\\formhistory.dat",
    "Firefox\\Profiles\\a1b2.default\\prefs.js",
    "Firefox\\Profiles\\a1b2.default\\cookies.txt.bak",
    "Firefox\\Profiles\\a1b2.default\\places.sqlite",
    "Firefox\\Profiles\\a1b2.default\\notes.sw",
    "Firefox\\Profiles\\a1b2.default\\Cache\\_CACHE_MAP_",
    "Firefox\\Profiles\\a1b2.default\\Cache\\0A1B2C3D",
    "Firefox\\Profiles\\a1b2.default\\Cache\\cookies.txt",
    "Firefox\\Profiles\\a1b2.default\\Cache\\deeper\\entry",
    "Firefox\\Profiles\\a1b2.default\\Cache\\deeper\\Cache\\entry",
    "Firefox\\Profiles\\a1b2.default\\Cache2\\entry",
    "Firefox\\Profiles\\a1b2.default\\chrome\\history.dat",
    "Firefox\\Profiles\\a1b2.default\\chrome\\sub\\other.s",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\cookies.txt",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\history.dat",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\signons.txt",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\formhistory.dat",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\downloads.rdf",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\cache\\lower",
    "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\x\\Cache\\y.bin",
    "Firefox\\Profiles\\cookies.txt",
    // Outside the profiles folder: never touched.
    "Firefox\\cookies.txt",
    "Firefox\\history.dat",
    "Firefox\\Cache\\entry",
    "cookies.txt",
};

class FirefoxTest : public ::testing::Test {
 protected:
  test::ScratchFolder app{"app"};
  test::ScratchFolder outside{"outside"};
  MainWindow& w = frmMain();
  test::ScriptedAsker script;
  std::string mozilla;  // %APPDATA%\Mozilla
  std::string profiles;
  std::vector<std::string> links;  // inside the profiles, to folders outside them
  std::map<std::string, std::int64_t> sizes;  // relative to mozilla
  bool ownMozilla = false;

  void SetUp() override {
    std::string appData = appDataFolder();
    ASSERT_FALSE(appData.empty());
    mozilla = appData + "\\Mozilla";
    profiles = mozilla + "\\Firefox\\Profiles\\";
    links = {profiles + "a1b2.default\\linked", profiles + "pr\xC3\xB3" "fil.work\\y\\Cache"};
    if (exists(mozilla)) GTEST_SKIP() << mozilla << " is there already; it is not ours to touch";
    ownMozilla = true;
    setAppPath(app.path());
    ASSERT_TRUE(w.load(""));
  }
  void TearDown() override {
    if (w.isOpen()) w.destroy();
    setAppPath("");
    if (ownMozilla) {
      removeMozilla();
      EXPECT_FALSE(exists(mozilla)) << "left behind";
    }
  }
  void removeMozilla() { removeTreeWithLinks(mozilla); }

  // The layout afresh, with links from inside the profiles to folders outside them.
  void makeProfiles() {
    removeMozilla();
    sizes.clear();
    std::int64_t size = 100;
    for (const char* f : kLayout) {
      writeFile(mozilla + "\\" + f, size);
      sizes[f] = size;
      size += 1;
    }
    for (const char* f : {"target\\cookies.txt", "target\\history.dat", "target\\key3.s",
                          "target\\Cache\\entry", "cachetarget\\entry"})
      outside.write(f, "keep");
    test::makeFolderLink(links[0], outside.file("target"));
    makeFolders(profiles + "pr\xC3\xB3" "fil.work\\y");
    test::makeFolderLink(links[1], outside.file("cachetarget"));
  }

  void expectOutsideKept() {
    for (const char* f : {"target\\cookies.txt", "target\\history.dat", "target\\key3.s",
                          "target\\Cache\\entry", "cachetarget\\entry"})
      EXPECT_TRUE(outside.exists(f)) << "behind a link: " << f;
  }

  // Every file of the layout is there unless it is one of the gone; returns their size.
  std::int64_t expectOnlyGone(const std::set<std::string>& gone, const std::string& what) {
    std::int64_t sum = 0;
    for (const auto& [f, size] : sizes) {
      bool isGone = gone.count(f) > 0;
      EXPECT_EQ(exists(mozilla + "\\" + f), !isGone) << what << ": " << f;
      if (isGone) sum += size;
    }
    return sum;
  }
};

const std::string kP1 = "Firefox\\Profiles\\a1b2.default\\";
const std::string kP2 = "Firefox\\Profiles\\pr\xC3\xB3" "fil.work\\";

TEST_F(FirefoxTest, EachCategoryDeletesItsFilesOfEveryProfile) {
  EXPECT_EQ(GetOSVersionName(), "Win7");
  EXPECT_EQ(GetFirefoxProfilesPath(), profiles);

  struct Case {
    const char* name;
    void (MainWindow::*routine)();
    std::set<std::string> gone;
  } cases[] = {
      {"cache", &MainWindow::CleanMozillaCache,
       {kP1 + "Cache\\_CACHE_MAP_", kP1 + "Cache\\0A1B2C3D", kP1 + "Cache\\cookies.txt",
        kP1 + "Cache\\deeper\\Cache\\entry", kP2 + "x\\Cache\\y.bin"}},
      {"cookies", &MainWindow::CleanMozillaCookies,
       {kP1 + "cookies.txt", kP1 + "cookperm.txt", kP1 + "Cache\\cookies.txt",
        kP2 + "cookies.txt", "Firefox\\Profiles\\cookies.txt"}},
      {"forms", &MainWindow::CleanMozillaForms,
       {kP1 + "forms.w", kP1 + "formhistory.dat", kP2 + "formhistory.dat"}},
      {"passwords", &MainWindow::CleanMozillaPasswords,
       {kP1 + "key3.s", kP1 + "signons.txt", kP1 + "ac-weights.txt", kP1 + "chrome\\sub\\other.s",
        kP2 + "signons.txt"}},
      {"history", &MainWindow::CleanMozillaHistory,
       {kP1 + "history.dat", kP1 + "chrome\\history.dat", kP2 + "history.dat"}},
      {"downloads", &MainWindow::CleanMozillaDownloads,
       {kP1 + "downloads.rdf", kP2 + "downloads.rdf"}},
  };
  for (const auto& c : cases) {
    makeProfiles();
    FirefoxFilesDeleted = 3, FirefoxSpaceGained = 7;  // the walk only adds
    w.lblStatus.setText("Working...");
    (w.*c.routine)();
    std::int64_t bytes = expectOnlyGone(c.gone, c.name);
    EXPECT_EQ(FirefoxFilesDeleted, 3 + static_cast<std::int64_t>(c.gone.size())) << c.name;
    EXPECT_EQ(FirefoxSpaceGained, 7 + bytes) << c.name;
    EXPECT_EQ(w.lblStatus.text(), "") << c.name << ": the step ended normally";
    expectOutsideKept();
  }
}

TEST_F(FirefoxTest, RunTotalsCountEachFileOnce) {
  makeProfiles();
  auto summary = [&](std::string& count, std::string& size, std::string& log) {
    script.answerModal([&](Dialog& d) {
      auto& s = static_cast<SummaryWindow&>(d);
      count = s.Label3.text(), size = s.Label4.text(), log = s.txtLog.text();
      s.cmdClose_Click();
    });
  };
  const std::string closing =
      "\r\n-------------------------------------------------------------------\r\n"
      "Files Deleted:  ";

  // Two Firefox boxes in a whole run: five cache files and four cookie files.
  w.categoryByName("chkCleanMozillaCache")->setValue(1);
  w.categoryByName("chkCleanMozillaCookies")->setValue(1);
  std::string count, size, log;
  summary(count, size, log);
  w.cmdClean.click();
  std::set<std::string> gone = {kP1 + "Cache\\_CACHE_MAP_", kP1 + "Cache\\0A1B2C3D",
                                kP1 + "Cache\\cookies.txt", kP1 + "Cache\\deeper\\Cache\\entry",
                                kP2 + "x\\Cache\\y.bin", kP1 + "cookies.txt",
                                kP1 + "cookperm.txt", kP2 + "cookies.txt",
                                "Firefox\\Profiles\\cookies.txt"};
  std::int64_t bytes = expectOnlyGone(gone, "whole run");
  EXPECT_EQ(count, "9");
  EXPECT_EQ(TotalFilesDeleted, 9);
  EXPECT_EQ(TotalSpaceGained, bytes);
  EXPECT_EQ(FirefoxFilesDeleted, 9);
  EXPECT_EQ(size, FormatFileSize(static_cast<double>(bytes), 2, true));
  EXPECT_EQ(log, closing + "9   Space Gained:  " + size)
      << "the Firefox steps write no log line";

  // One category from its menu.
  makeProfiles();
  summary(count, size, log);
  w.mnuPopupTag = "CleanMozillaHistory";
  w.mnuPopup_Click();
  bytes = expectOnlyGone({kP1 + "history.dat", kP1 + "chrome\\history.dat", kP2 + "history.dat"},
                         "single run");
  EXPECT_EQ(count, "3");
  EXPECT_EQ(TotalFilesDeleted, 3);
  EXPECT_EQ(TotalSpaceGained, bytes);
  EXPECT_EQ(size, FormatFileSize(static_cast<double>(bytes), 2, true));
}

TEST_F(FirefoxTest, LargeAndLockedFiles) {
  makeProfiles();
  const std::int64_t big = 5000000000LL;
  writeFile(profiles + "a1b2.default\\Cache\\big", big);
  HANDLE lock = CreateFileW(wide(profiles + "a1b2.default\\cookies.txt").c_str(), GENERIC_READ,
                            0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  w.CleanMozillaCache();
  EXPECT_FALSE(exists(profiles + "a1b2.default\\Cache\\big"));
  EXPECT_EQ(FirefoxFilesDeleted, 6);
  EXPECT_GT(FirefoxSpaceGained, big);
  EXPECT_LT(FirefoxSpaceGained, big + 1000);

  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  w.CleanMozillaCookies();
  CloseHandle(lock);
  EXPECT_TRUE(exists(profiles + "a1b2.default\\cookies.txt")) << "a held file stays";
  EXPECT_FALSE(exists(profiles + "a1b2.default\\cookperm.txt"));
  EXPECT_EQ(FirefoxFilesDeleted, 3) << "and is not counted";
  EXPECT_EQ(FirefoxSpaceGained, sizes[kP1 + "cookperm.txt"] + sizes[kP2 + "cookies.txt"] +
                                    sizes["Firefox\\Profiles\\cookies.txt"]);
}

TEST_F(FirefoxTest, WithoutAProfilesFolderNothingIsTouched) {
  // Firefox's folder without profiles; the current folder full of names the walk looks for.
  for (const char* f : {"Firefox\\cookies.txt", "Firefox\\history.dat", "Firefox\\Cache\\entry"})
    writeFile(mozilla + "\\" + f, 10);
  const char* bait[] = {"cookies.txt", "cookperm.txt", "history.dat", "downloads.rdf", "key3.s",
                        "signons.txt", "ac-weights.txt", "f.w", "formhistory.dat",
                        "Cache\\entry", "sub\\cookies.txt"};
  for (const char* f : bait) outside.write(f, "keep");
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(wide(outside.file("sub")).c_str()));

  FirefoxFilesDeleted = 0, FirefoxSpaceGained = 0;
  w.CleanMozillaCache();
  w.CleanMozillaCookies();
  w.CleanMozillaForms();
  w.CleanMozillaPasswords();
  w.CleanMozillaHistory();
  w.CleanMozillaDownloads();
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
  for (const char* f : {"Firefox\\cookies.txt", "Firefox\\history.dat", "Firefox\\Cache\\entry"})
    EXPECT_TRUE(exists(mozilla + "\\" + f)) << f;
  for (const char* f : bait) EXPECT_TRUE(outside.exists(f)) << f;
  EXPECT_TRUE(outside.exists(canary));
  EXPECT_TRUE(outside.exists("sub\\" + canary));
}

}  // namespace
}  // namespace glenvask
