// The favorites window on a Favorites folder of its own (the prefix's shell folder values moved
// to a scratch folder for the test): the listing with names, folders and addresses, a folder
// link not entered, opening addresses, and deleting exactly the favorite's own file to the
// Recycle Bin, with the failures in red.
#include "tools/frmFavorites.h"

#include <gtest/gtest.h>

#include "support/prefix.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\";

class FavoritesTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir{"fav"};
  test::ScratchFolder elsewhere{"linked"};
  test::SavedValue shell{HKEY_CURRENT_USER, kFavoritesShellFolders, "Favorites", dir.path()};
  test::SavedValue user{HKEY_CURRENT_USER, kUserShellFolders, "Favorites", dir.path()};
  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  FavoritesWindow& w = frmFavorites();

  void SetUp() override {
    dir.write("a.url", "[InternetShortcut]\r\nURL=http://a.test/\r\n");
    dir.write("a.url.url", "[DEFAULT]\r\nBASEURL=http://aa.test/\r\n");
    dir.write("Links\\News.url", "[InternetShortcut]\nURL=http://news.test/\n");
    dir.write("Links\\Tool.URL", "[InternetShortcut]\r\nURL=file:///C:/windows/notepad.exe\r\n");
    dir.write("Links\\bin.url", std::string("\0\x01garbage\0", 10));
    dir.write("empty.url", "");
    dir.write("notes.txt", "URL=http://not.test/");
    elsewhere.write("inside.url", "[InternetShortcut]\r\nURL=http://inside.test/\r\n");
    test::makeFolderLink(dir.file("linked"), elsewhere.path());
  }
  void TearDown() override { w.destroy(); }
  std::vector<std::vector<std::string>> rows() {
    std::vector<std::vector<std::string>> out;
    for (size_t i = 0; i < w.lstvFavorites.rowCount(); ++i)
      out.push_back(w.lstvFavorites.row(i).cells);
    std::sort(out.begin(), out.end());
    return out;
  }
  size_t rowOf(const std::string& file) {
    for (size_t i = 0; i < w.lstvFavorites.rowCount(); ++i)
      if (w.rowFile(i) == dir.file(file)) return i;
    ADD_FAILURE() << file << " not listed";
    return 0;
  }
};

TEST_F(FavoritesTest, ListsEveryFavoriteBelowTheFolderButNotBehindALink) {
  ASSERT_TRUE(w.open());
  EXPECT_EQ(w.favoritesRoot(), dir.path() + "\\");
  EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{
                        {"News", "Links", "http://news.test/"},
                        {"Tool", "Links", "file:///C:/windows/notepad.exe"},
                        {"a", "", "http://a.test/"},
                        {"a", "", "http://aa.test/"},
                        {"bin", "Links", "garbage"},
                        {"empty", "", ""}}));
  EXPECT_EQ(w.lblTotalFiles.text(), "Total number of Favorites: 6");

  // A web address goes to the shell; a file address is only shown.
  w.lstvFavorites.select(rowOf("a.url"));
  w.lstvFavorites_DblClick();
  w.lstvFavorites.select(rowOf("a.url"), false);
  w.lstvFavorites.select(rowOf("Links\\Tool.URL"));
  asker.answerMessage(IDOK);
  w.lstvFavorites_DblClick();
  EXPECT_EQ(outside.shellCalls, std::vector<std::string>{"Open|http://a.test/|"});
  ASSERT_EQ(asker.asked().size(), 1u);
  EXPECT_EQ(asker.asked()[0].text, "file:///C:/windows/notepad.exe");
  EXPECT_TRUE(outside.processes.empty());
}

TEST_F(FavoritesTest, DeletesExactlyTheRowsFileToTheRecycleBin) {
  ASSERT_TRUE(w.open());
  std::int64_t before = test::binItems();
  w.lstvFavorites.setRowChecked(rowOf("a.url.url"), true);
  w.cmdDeleteSelected_Click();
  EXPECT_FALSE(dir.exists("a.url.url"));
  EXPECT_TRUE(dir.exists("a.url"));
  EXPECT_EQ(test::binItems(), before + 1);
  EXPECT_EQ(w.lstvFavorites.rowCount(), 5u);
  EXPECT_EQ(w.lblTotalFiles.text(), "Deleted 1 favorites");

  // One held open cannot go: it stays, red and unchecked, and the user is told.
  HANDLE held = CreateFileW(wide(dir.file("Links\\News.url")).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  w.lstvFavorites.setRowChecked(rowOf("Links\\News.url"), true);
  w.lstvFavorites.setRowChecked(rowOf("empty.url"), true);
  asker.answerMessage(IDOK);
  w.mnuDeleteSelected_Click();
  CloseHandle(held);
  EXPECT_TRUE(dir.exists("Links\\News.url"));
  EXPECT_FALSE(dir.exists("empty.url"));
  size_t news = rowOf("Links\\News.url");
  EXPECT_EQ(w.lstvFavorites.rowColor(news), ListView::kRed);
  EXPECT_FALSE(w.lstvFavorites.rowChecked(news));
  EXPECT_EQ(w.lblTotalFiles.text(), "Deleted 1 favorites");
  ASSERT_EQ(asker.asked().size(), 1u);
  EXPECT_EQ(asker.asked()[0].text, kFavoritesRedText);

  w.mnuDeleteAll_Click();
  EXPECT_EQ(w.lstvFavorites.rowCount(), 0u);
  EXPECT_TRUE(elsewhere.exists("inside.url"));
}

TEST_F(FavoritesTest, NoFavoritesFolderListsNothing) {
  test::SavedValue none{HKEY_CURRENT_USER, kFavoritesShellFolders, "Favorites", ""};
  ASSERT_TRUE(w.open());
  EXPECT_EQ(w.lstvFavorites.rowCount(), 0u);
  EXPECT_EQ(w.lblTotalFiles.text(), "Total number of Favorites: 0");
}

}  // namespace
}  // namespace glenvask
