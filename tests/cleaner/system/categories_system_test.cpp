// The browser, history and system categories on the prefix's own registry lists, URL cache,
// Cookies folder, Recycle Bin and clipboard, through a main window made in-process.
#include <shlwapi.h>

#include <list>

#include "base/plugin_format.h"
#include "cleaner/categories_system.h"
#include "cleaner/files_support.h"
#include "services/registry.h"
#include "services/system.h"

namespace glenvask {
namespace {

constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

// A cookie that outlives the session (a file and a cache entry): its file and the entry's URL.
std::pair<std::string, std::wstring> persistentCookie(const std::wstring& site) {
  EXPECT_TRUE(
      InternetSetCookieW(site.c_str(), L"c", L"v=1; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
  std::pair<std::string, std::wstring> found;
  ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
    if (e.isCookie() && e.url.find(site.substr(7)) != std::wstring::npos)
      found = {utf8(e.localFile), e.url};
  });
  EXPECT_FALSE(found.first.empty()) << utf8(site);
  return found;
}

class SystemCategoriesTest : public test::CategoryTest {
 protected:
  std::list<test::SavedValue> values;  // what they made goes at the end of the test

  void SetUp() override { CategoryTest::SetUp(), load(); }
  void setValue(const std::string& subkey, const std::string& name, const std::string& data) {
    values.emplace_back(HKEY_CURRENT_USER, subkey, name, data);
  }
  // Ended normally: the arrow hidden, the last-cleaned date stamped, nothing asked.
  void expectNormalEnd(const std::string& what) {
    EXPECT_FALSE(w.imgCurrent.visible()) << what;
    EXPECT_NE(w.lblCleanDate.text(), "") << what;
    EXPECT_TRUE(script.asked().empty()) << what;
  }
};

// The history lists of the registry: each category empties its own lists (and the find lists
// lose their subkeys), twice in a row; the keys, what is beside them and the run's totals stay.
TEST_F(SystemCategoriesTest, HistoryListsLoseTheirValuesOnly) {
  const std::string e = kExplorer, o = "Software\\Microsoft\\Office\\";
  const std::string bar =
      "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
      "{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
  struct List {
    std::string key;
    bool subkeysGo = false, keyStays = true;
  };
  struct Case {
    void (*routine)(MainWindow&);
    const char *log, *logAgain;
    std::vector<List> lists;
  } cases[] = {
      {&CleanRunMRU, "Windows run history... Files Deleted: 2\r\n",
       "Windows run history... Files Deleted: 0\r\n", {{e + "RunMRU"}}},
      {&CleanTypedURL, "Typed URLs... Files Deleted: 2\r\n", "Typed URLs... Files Deleted: 0\r\n",
       {{"Software\\Microsoft\\Internet Explorer\\TypedURLs"}}},
      {&CleanFindHistory, "", "",
       {{e + "Doc Find Spec MRU"}, {e + "PrnPortsMRU"},
        {e + "MenuOrder\\Start Menu\\Find\\Menu", true, false},  // a subkey of Find
        {e + "MenuOrder\\Start Menu\\Find", true}, {bar + "FilesNamedMRU", true},
        {"Software\\Microsoft\\Search Assistant\\ACMru", true}}},
      {&CleanInstallMRU, "Install from history...\r\n", "Install from history...\r\n",
       {{"InstallLocationsMRU"}}},
      {&CleanOfficeHistory, "MS Office history...\r\n", "MS Office history...\r\n",
       {{o + "10.0\\Word\\Recent Files"},
        {o + "9.0\\Common\\Open Find\\Microsoft FrontPage\\Settings\\Select Background "
             "Picture\\File Name MRU"},
        {o + "8.0\\PowerPoint\\Recent Files"}}},
  };
  std::pair<std::string, std::string> kept[] = {
      {e, "GlenvaskNeighbour"}, {e + "MenuOrder\\Start Menu", "GlenvaskOther"},
      {o + "10.0\\Word", "GlenvaskSetting"},      // beside a list
      {o + "11.0\\Word\\Recent Files", "File1"},  // a version not cleaned
      {o + "10.0\\Common\\Open Find\\Microsoft Word\\Settings\\Print\\File Name MRU", "a"},
  };
  for (const auto& c : cases)
    for (const auto& l : c.lists) SHDeleteKeyW(HKEY_CURRENT_USER, wide(l.key).c_str());
  for (const auto& c : cases)
    for (const auto& l : c.lists)
      for (auto [sub, n, d] : {std::tuple{"", "a", "C:\\a.doc"}, {"", "MRUList", "a"},
                               {"\\5603", "000", "stays unless the subkeys go"}})
        setValue(l.key + sub, n, d);
  for (const auto& [k, v] : kept) setValue(k, v, "stays");

  for (const auto& c : cases) {
    const std::string& first = c.lists[0].key;
    w.lblCleanDate.setText(""), CleanupLog.clear();
    c.routine(w), c.routine(w);
    EXPECT_EQ(CleanupLog, std::string(c.log) + c.logAgain) << first;
    for (const auto& l : c.lists) {
      EXPECT_EQ(test::keyExists(l.key), l.keyStays) << l.key;
      if (!l.keyStays) continue;
      EXPECT_EQ(GetRegValueNames(kHkeyCurrentUser, l.key), "") << l.key;
      EXPECT_EQ(test::keyExists(l.key + "\\5603"), !l.subkeysGo) << l.key;
    }
    EXPECT_EQ(TotalFilesDeleted, 0) << first << ": the run's totals are not changed";
    expectNormalEnd(first);
    // One category at a time: the next one's lists still hold their values (the first's, none).
    const Case& next = &c == std::end(cases) - 1 ? cases[0] : *(&c + 1);
    EXPECT_EQ(GetRegValueNames(kHkeyCurrentUser, next.lists[0].key) == "", &next == cases) << first;
  }
  for (const auto& [k, v] : kept) EXPECT_TRUE(test::hasValue(HKEY_CURRENT_USER, k, v)) << k;
}

TEST_F(SystemCategoriesTest, RecycleBinCountsOnlyWhatLeavesIt) {
  EmptyRecycleBin("", true, true, true);
  ASSERT_TRUE(test::recycle({work.write("bin-a.txt", std::string(1000, 'a')),
                             work.write("bin-b.txt", std::string(24, 'b'))}));
  TotalFilesDeleted = 5, TotalSpaceGained = 10;
  CleanRecycleBin(w);
  EXPECT_EQ(test::binItems(), 0);
  EXPECT_EQ(test::totals(), (test::Counts{7, 1034}));
  CleanRecycleBin(w);
  expectNormalEnd("bin");

  // An item held open stays in the bin although the platform reports success: not counted.
  ASSERT_TRUE(
      test::recycle({work.write("bin-held.txt", "held!"), work.write("bin-free.txt", "abc")}));
  std::string trash = "\\\\?\\unix" + test::env("XDG_DATA_HOME") + "/Trash/files/bin-held.txt";
  std::replace(trash.begin(), trash.end(), '/', '\\');
  HANDLE held = CreateFileW(wide(trash).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE) << trash;
  CleanRecycleBin(w);
  CloseHandle(held);
  EXPECT_EQ(test::binItems(), 1);
  EXPECT_EQ(test::totals(), (test::Counts{8, 1037}));
  EXPECT_EQ(CleanupLog,
            "Recycle Bin... Files Deleted: 2 Space Gained: 1.00 KB\r\n"
            "Recycle Bin... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
            "Recycle Bin... Files Deleted: 1 Space Gained: 3 Bytes\r\n");
  EmptyRecycleBin("", true, true, true);
}

TEST_F(SystemCategoriesTest, CacheKeepsOnlyCookies) {
  const wchar_t* pages[] = {L"http://cache.example/page.html", L"http://cache.example/o.html"};
  for (auto p : pages) test::cacheEntry(p, NORMAL_CACHE_ENTRY, "1234567");
  auto [cookie, cookieEntry] = persistentCookie(L"http://cachecookie.example/");
  ASSERT_TRUE(test::cached(pages[0]));
  // The second time a cache with cookies alone: nothing goes, the line is still written.
  for (int pass = 0; pass < 2; ++pass) {
    CleanupLog.clear();
    CleanCache(w);
    for (auto p : pages) EXPECT_FALSE(test::cached(p));
    EXPECT_TRUE(test::cached(cookieEntry) && test::exists(cookie)) << "another category's";
    EXPECT_EQ(CleanupLog, "Temporary Internet Files (Cache)...\r\n");
  }
  expectNormalEnd("cache");
}

TEST_F(SystemCategoriesTest, CookiesSpareWhatTheKeptListNames) {
  std::string folder = GetRegString(kHkeyCurrentUser, std::string(kExplorer) + "Shell Folders",
                                    "Cookies");
  ASSERT_FALSE(folder.empty());
  CleanCookies(w);  // whatever earlier tests left goes first, without a kept list

  auto [keep, keepEntry] = persistentCookie(L"http://keep.example/");
  auto [gone, goneEntry] = persistentCookie(L"http://gone.example/");
  auto put = [&](const std::string& name, std::int64_t bytes) {
    return test::writeFile(folder + "\\" + name, bytes);
  };
  std::string keptPlain = put("user@kept.txt", 10), keptInSub = put("sub\\user@deep.txt", 20);
  std::string other = put("user@other.txt", 100), otherInSub = put("sub\\user@other2.txt", 200);
  std::string notCookie = put("user@site.dat", 5);
  WIN32_FILE_ATTRIBUTE_DATA d{};
  GetFileAttributesExW(wide(gone).c_str(), GetFileExInfoStandard, &d);
  std::int64_t space = 300 + d.nFileSizeLow;
  // The kept paths in another case, each followed by the character 1, the line ended.
  std::string upper = keptPlain;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  app.write("ck.txt", upper + "\x01" + keptInSub + "\x01" + keep + "\x01\r\n");

  CleanupLog.clear(), TotalSpaceGained = 0;
  CleanCookies(w);
  for (const auto& p : {keptPlain, keptInSub, keep, notCookie}) EXPECT_TRUE(test::exists(p)) << p;
  for (const auto& p : {other, otherInSub, gone}) EXPECT_FALSE(test::exists(p)) << p;
  EXPECT_TRUE(test::cached(keepEntry) && !test::cached(goneEntry)) << "a record goes with its file";
  EXPECT_EQ(TotalSpaceGained, space);
  EXPECT_EQ(CleanupLog,
            "Cookies... Files Deleted: 3 Space Gained: " + std::to_string(space) + " Bytes\r\n");
  expectNormalEnd("cookies");

  // Without ck.txt every cookie file is a candidate.
  DeleteFileW(wide(app.file("ck.txt")).c_str());
  CleanCookies(w);
  for (const auto& p : {keptPlain, keptInSub, keep}) EXPECT_FALSE(test::exists(p)) << p;
  EXPECT_EQ(w.CategoryFileCount, 3);
  EXPECT_TRUE(DeleteFileW(wide(notCookie).c_str())) << "no cookie file: it stays";
  EXPECT_TRUE(RemoveDirectoryW(wide(folder + "\\sub").c_str())) << "the folders stay";

  // The kept test is a case-blind substring search.
  const std::string kept = "C:\\Cookies\\user@a.txt\x01" "C:\\Cookies\\Sub\\ÄBC@b.txt\x01\r\n";
  const std::pair<const char*, bool> cases[] = {
      {"C:\\Cookies\\user@a.txt", true},     {"c:\\cookies\\USER@A.TXT", true},
      {"C:\\Cookies\\Sub\\äbc@b.txt", true},  // case folding beyond ASCII
      {"C:\\Cookies\\user@a", true},         {"C:\\Cookies\\user@b.txt", false},
      {"C:\\Cookies\\Sub\\user@a.txt", false}, {"", false}};
  for (const auto& [path, keptIt] : cases) EXPECT_EQ(IsKeptCookie(kept, path), keptIt) << path;
  EXPECT_FALSE(IsKeptCookie("", "C:\\Cookies\\user@a.txt"));
}

TEST_F(SystemCategoriesTest, ClipboardIsEmptiedAndErrorsAreShownNotLogged) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, GlobalAlloc(GHND, 16));
  CloseClipboard();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  CleanClipboard(w);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(CleanupLog, "Windows Clipboard...\r\n");
  expectNormalEnd("clipboard");

  // Held open by someone else for good: the error path, with a line break before the reason;
  // the history, which the platform here cannot clear (E_NOTIMPL), the same path.
  ASSERT_TRUE(OpenClipboard(nullptr));
  script.answerMessage(IDOK), script.answerMessage(IDOK);
  CleanupLog.clear(), w.lblCleanDate.setText("");
  CleanClipboard(w);
  CloseClipboard();
  CleanHistory(w);
  ASSERT_EQ(script.asked().size(), 2u);
  EXPECT_EQ(script.asked()[0].text,
            "There was an error in cleaning the Clipboard\r\nCan't open Clipboard");
  const auto& q = script.asked()[1];
  EXPECT_EQ(q.text + "|" + q.title,
            "There was an error in cleaning the History. Not implemented.|Tarvella");
  EXPECT_EQ(q.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(CleanupLog + w.lblCleanDate.text(), "") << "no log line, no stopOperation";
}

// The checked plug-ins run, their files are counted and logged, and a stop ends it.
TEST_F(SystemCategoriesTest, PluginsRunTheCheckedPluginsAndCountTheirFiles) {
  work.write("data\\a.tmp", std::string(100, 'a')), work.write("data\\b.tmp", std::string(50, 'b'));
  work.write("data\\c.log", "keep");
  for (auto [name, files] : {std::pair{"one", "data\\*.tmp"}, {"two", "data\\*.*"}})
    app.write("Plugins\\" + std::string(name) + ".qvp",
              writePluginFile({.files = {{"No", "No", work.file(files)}}}));
  app.write("plg.txt", writePluginList({{true, "one.qvp", "one"}, {false, "two.qvp", "two"},
                                        {true, "missing.qvp", "missing"}}));

  CleanPlugins(w);
  EXPECT_EQ(test::treeOf(work.file("data")), std::vector<std::string>{"c.log"});
  EXPECT_EQ(CleanupLog, "Plugins... Files Deleted: 2 Space Gained: 150 Bytes\r\n");
  expectNormalEnd("plugins");

  // Stopped before the first line: the engine's stop text, nothing run, nothing logged.
  work.write("data\\d.tmp", "d");
  CleanupLog.clear(), bAbort = true;
  CleanPlugins(w);
  EXPECT_TRUE(work.exists("data\\d.tmp"));
  EXPECT_EQ(w.lblStatus.text() + CleanupLog, "Aborted by user");
}

}  // namespace
}  // namespace glenvask
