// The favorites window on a Favorites folder of its own: the listing, opening addresses and the
// properties, deleting to the Recycle Bin with failures in red, the owner modeless and modal.
#include "tools/frmFavorites.h"

#include <gtest/gtest.h>

#include "support/scripted.h"
#include "tools/tools_support.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class FavoritesTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir{"fav"}, elsewhere{"linked"};
  test::SavedValue shell{HKEY_CURRENT_USER, kFavoritesShellFolders, "Favorites", dir.path()};
  test::SavedValue user{
      HKEY_CURRENT_USER,
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Favorites",
      dir.path()};
  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  FavoritesWindow& w = frmFavorites();

  void SetUp() override {
    dir.write("a.url", "[InternetShortcut]\r\nURL=http://a.test/\r\n");
    dir.write("a.url.url", "[DEFAULT]\r\nBASEURL=http://aa.test/\r\n");
    dir.write("Links\\News.url", "[InternetShortcut]\nURL=http://news.test/\n");
    dir.write("Links\\Tool.URL", "[InternetShortcut]\r\nURL=file:///C:/windows/notepad.exe\r\n");
    dir.write("empty.url", "");
    dir.write("notes.txt", "URL=http://not.test/");
    // UTF-16 with its byte-order mark, as the platform's profile calls write it.
    std::wstring wideText = L"\xFEFF[InternetShortcut]\r\nURL=http://wide.test/\r\n";
    dir.write("wide.url", {reinterpret_cast<const char*>(wideText.data()), wideText.size() * 2});
    elsewhere.write("inside.url", "[InternetShortcut]\r\nURL=http://inside.test/\r\n");
    test::makeFolderLink(dir.file("linked"), elsewhere.path());
    ASSERT_TRUE(w.open());
  }
  void TearDown() override { w.destroy(); }
  size_t rowOf(const std::string& file) { return w.lstvFavorites.findRow(dir.file(file)).value(); }
};

TEST_F(FavoritesTest, ListsEveryFavoriteBelowTheFolderButNotBehindALink) {
  EXPECT_EQ(w.favoritesRoot(), dir.path() + "\\");
  Rows rows = test::rowsWith(w.lstvFavorites, kFavColName, "");
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Rows{{"News", "Links", "http://news.test/"},
                        {"Tool", "Links", "file:///C:/windows/notepad.exe"},
                        {"a", "", "http://a.test/"},
                        {"a", "", "http://aa.test/"},
                        {"empty", "", ""},
                        {"wide", "", "http://wide.test/"}}));
  EXPECT_EQ(w.lblTotalFiles.text(), "Total number of Favorites: 6");

  // A web address goes to the shell; a file address is only shown.
  test::selectOnly(w.lstvFavorites, rowOf("a.url"));
  w.lstvFavorites_DblClick();
  test::selectOnly(w.lstvFavorites, rowOf("Links\\Tool.URL"));
  asker.answerMessage(IDOK);
  w.lstvFavorites_DblClick();
  EXPECT_EQ(outside.shellCalls, std::vector<std::string>{"Open|http://a.test/|"});
  ASSERT_EQ(asker.asked().size(), 1u);
  EXPECT_EQ(asker.asked()[0].text, "file:///C:/windows/notepad.exe");
  EXPECT_TRUE(outside.processes.empty());

  test::SavedValue none{HKEY_CURRENT_USER, kFavoritesShellFolders, "Favorites", ""};
  w.Form_Load();
  EXPECT_EQ(w.lblTotalFiles.text(), "Total number of Favorites: 0");
}

TEST_F(FavoritesTest, DeletesExactlyTheRowsFileToTheRecycleBin) {
  std::int64_t before = test::binItems();
  // One held open cannot go: it stays, red and unchecked, and the user is told.
  HANDLE held = CreateFileW(wide(dir.file("Links\\News.url")).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  for (const char* file : {"a.url.url", "Links\\News.url", "empty.url"})
    w.lstvFavorites.setRowChecked(rowOf(file), true);
  asker.answerMessage(IDOK);
  w.cmdDeleteSelected_Click();
  CloseHandle(held);
  EXPECT_FALSE(dir.exists("a.url.url") || dir.exists("empty.url"));
  EXPECT_TRUE(dir.exists("a.url") && dir.exists("Links\\News.url"));
  EXPECT_EQ(test::binItems(), before + 2);
  EXPECT_EQ(w.lstvFavorites.rowCount(), 4u);
  EXPECT_EQ(w.lstvFavorites.rowColor(rowOf("Links\\News.url")), ListView::kRed);
  EXPECT_FALSE(w.lstvFavorites.rowChecked(rowOf("Links\\News.url")));
  EXPECT_EQ(w.lblTotalFiles.text(), "Deleted 2 favorites");
  ASSERT_EQ(asker.asked().size(), 1u);
  EXPECT_EQ(asker.asked()[0].text, kFavoritesRedText);

  w.mnuDeleteAll_Click();
  EXPECT_EQ(w.lstvFavorites.rowCount(), 0u);
  EXPECT_TRUE(elsewhere.exists("inside.url"));
}

int dialogs = 0;  // dialog boxes refused on this thread
LRESULT CALLBACK refuseDialogs(int code, WPARAM wp, LPARAM lp) {
  wchar_t name[16] = {};
  if (code != HCBT_CREATEWND || !GetClassNameW(reinterpret_cast<HWND>(wp), name, 16) ||
      std::wstring(name) != L"#32770")
    return CallNextHookEx(nullptr, code, wp, lp);
  ++dialogs;
  return 1;
}

TEST_F(FavoritesTest, PropertiesShowNoShellErrorAndTheWindowIsOwnedOnlyWhenModal) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, refuseDialogs, nullptr, GetCurrentThreadId());
  setOutside(nullptr);  // the real shell
  test::selectOnly(w.lstvFavorites, rowOf("a.url"));
  w.mnuProperties_Click();
  setOutside(&outside);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(dialogs, 0);

  HWND opener =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  w.destroy();
  ASSERT_TRUE(w.open());
  EXPECT_EQ(GetWindow(w.hwnd(), GW_OWNER), nullptr);
  w.destroy();
  asker.answerModal([&](Dialog& d) { EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), opener); });
  glenvask::asker().showModal(w, opener);
  DestroyWindow(opener);
}

}  // namespace
}  // namespace glenvask
