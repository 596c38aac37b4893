// The cache viewer on entries of the prefix's URL cache seeded through the platform: listed by
// each filter, viewed, and deleted, checked ones and all.
#include "tools/frmIECache.h"

#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/prefix.h"
#include "support/scripted.h"
#include "tools/tools_support.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Set = std::set<std::wstring>;
const std::wstring kPage = L"http://viewer.test/page.htm", kUrl = L"http://viewer.test/url",
                   kHistory = L"Visited: user@http://viewer.test/page.htm",
                   kProgram = L"file:///C:/windows/notepad.exe",
                   kLong = L"http://viewer.test/" + std::wstring(1500, L'x'),
                   kWide = L"http://viewer.test/\x00e9t\x00e9/\x65e5\x672c";

class CacheViewerTest : public ::testing::Test {
 protected:
  test::RecordingOutside outside;
  IECacheWindow& w = frmIECache();
  std::wstring cookie;  // as the platform names it
  Set all;

  void SetUp() override {
    test::cacheEntry(kPage, NORMAL_CACHE_ENTRY, "<h1>Cached</h1><p>page text</p>");
    test::cacheEntry(kHistory, URLHISTORY_CACHE_ENTRY | NORMAL_CACHE_ENTRY);
    test::cacheEntry(kUrl, 0x41, "u");
    for (const auto& url : {kProgram, kLong, kWide}) test::cacheEntry(url, NORMAL_CACHE_ENTRY);
    ASSERT_TRUE(InternetSetCookieW(L"http://viewer.test/", L"c",
                                   L"v=1; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
    ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
      if (e.isCookie() && e.url.find(L"viewer.test") != std::wstring::npos) cookie = e.url;
    });
    all = {kPage, kHistory, kUrl, kProgram, kLong, kWide, cookie};
    ASSERT_TRUE(w.open());
  }
  void TearDown() override {
    w.destroy();
    for (const auto& url : all) DeleteUrlCacheEntryW(url.c_str());
  }
  template <class Has>
  Set seeded(Has has) {  // the seeded entries that pass
    Set out;
    for (const auto& url : all)
      if (has(url)) out.insert(url);
    return out;
  }
  Set listed() {
    return seeded([&](const std::wstring& u) { return rowOf(u) != size_t(-1); });
  }
  Set stillCached() { return seeded(test::cached); }
  size_t rowOf(const std::wstring& source) { return test::rowOf(w.lstvCache, utf8(source)); }
};

TEST_F(CacheViewerTest, EachFilterListsItsEntriesAndViewShowsThemOffline) {
  EXPECT_EQ(w.lblDisplaying.text(), "Displaying: None");
  EXPECT_EQ(listed(), all);
  std::pair<void (IECacheWindow::*)(), Set> filters[] = {
      {&IECacheWindow::optCookies_Click, {cookie}},
      {&IECacheWindow::optHistory_Click, {kHistory}},
      {&IECacheWindow::optURL_Click, {kUrl}},
      {&IECacheWindow::optAll_Click, all}};
  for (const auto& [pick, entries] : filters) {
    (w.*pick)();
    EXPECT_EQ(listed(), entries);
  }
  const ListRow& page = w.lstvCache.row(rowOf(kPage));
  EXPECT_EQ(page.cells[kCacheColSize], "31");
  EXPECT_EQ(page.cells[kCacheColLocalName].substr(0, 4), "page");
  EXPECT_EQ(w.lstvCache.row(rowOf(kWide)).cells[kCacheColSource], utf8(kWide));

  struct View {
    std::wstring source;
    std::string shown, text;
  } views[] = {{kPage, utf8(kPage), "Cached\n\npage text"},
               {kHistory, utf8(kPage), "Cached\n\npage text"},
               {cookie, utf8(kPage), "Cached\n\npage text"},  // never shown
               {kProgram, utf8(kProgram), utf8(kProgram)},
               {kUrl, utf8(kUrl), "u"}};
  for (const auto& c : views) {
    test::selectOnly(w.lstvCache, rowOf(c.source));
    w.lstvCache_DblClick();
    EXPECT_EQ(w.lblDisplaying.text(), "Displaying: " + c.shown) << utf8(c.source);
    EXPECT_EQ(w.wbCache.shownText(), c.text) << utf8(c.source);
  }
  EXPECT_TRUE(outside.shellCalls.empty() && outside.processes.empty());
}

LRESULT CALLBACK countLengths(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR n) {
  if (msg == LVM_SETITEMCOUNT) ++*reinterpret_cast<int*>(n);
  return DefSubclassProc(h, msg, wp, lp);
}

TEST_F(CacheViewerTest, DeleteTakesTheCheckedEntriesAndDeleteAllTheListedInBatches) {
  w.lstvCache.setRowChecked(rowOf(kLong), true);
  w.lstvCache.setRowChecked(rowOf(kWide), true);
  w.cmdDelete_Click();
  Set left{kPage, kHistory, kUrl, kProgram, cookie};
  EXPECT_EQ(stillCached(), left);
  EXPECT_EQ(listed(), left);
  for (int i = 0; i < 300; ++i)
    test::cacheEntry(*all.insert(L"http://viewer.test/n" + std::to_wstring(i)).first, 0x41);
  w.optURL_Click();
  // A command that comes while Delete all runs is handled, with Delete all disabled meanwhile.
  std::vector<bool> enabledDuring;
  w.lstvCache.onCheckChanged = [&](size_t) { enabledDuring.push_back(w.cmdClear.enabled()); };
  PostMessageW(w.hwnd(), WM_COMMAND, ids::kCacheSelectAll, 0);
  int lengths = 0;  // how often the list is told its length: it is redrawn in batches
  SetWindowSubclass(w.lstvCache.hwnd(), countLengths, 1, reinterpret_cast<DWORD_PTR>(&lengths));
  w.cmdClear_Click();
  RemoveWindowSubclass(w.lstvCache.hwnd(), countLengths, 1);
  EXPECT_LT(lengths, 60);
  EXPECT_FALSE(enabledDuring.empty());
  EXPECT_EQ(std::count(enabledDuring.begin(), enabledDuring.end(), true), 0);
  EXPECT_TRUE(w.cmdClear.enabled());
  EXPECT_EQ(w.lblStatus.text(), "0 entries");
  left.erase(kUrl);
  EXPECT_EQ(stillCached(), left);
}

TEST_F(CacheViewerTest, AFilterChosenDuringDeleteAllEndsIt) {
  // The rows change under the loop: it deletes nothing that is not listed as it was.
  PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCacheCookies, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(w.hwnd(), ids::kCacheCookies)));
  w.cmdClear_Click();
  EXPECT_EQ(listed(), Set{cookie});
  EXPECT_EQ(stillCached(), all);
}

}  // namespace
}  // namespace glenvask
