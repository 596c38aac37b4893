// The cookie viewer on cookie files of a scratch folder: the records as rows, the last one on
// top, each with the one small icon; a missing, empty or unusable file shows none.
#include "tools/frmCookieView.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/scripted.h"

namespace glenvask {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The rows the viewer shows for the file, read while it is shown; then OK closes it.
Rows shown(const std::string& path) {
  test::ScriptedAsker asker;
  Rows rows;
  asker.answerModal([&](Dialog& d) {
    auto& v = static_cast<CookieViewWindow&>(d);
    EXPECT_EQ(v.text(), "Cookie Information");
    EXPECT_EQ(ListView_GetColumnWidth(v.Lst_Cook.hwnd(), kCookieColSource), 0);
    EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(v.Lst_Cook.hwnd(), LVSIL_SMALL)), 1);
    for (size_t i = 0; i < v.Lst_Cook.rowCount(); ++i) {
      rows.push_back(v.Lst_Cook.row(i).cells);
      EXPECT_EQ(v.Lst_Cook.row(i).image, 0);
    }
    v.cmdOK.click();
  });
  frmCookies().showFile(path, nullptr);
  return rows;
}

TEST(CookieView, ShowsTheRecordsLastOnTop) {
  test::ScratchFolder dir;
  std::string text = "a\n1\nx.test/\n0\n1\n2\n3\n4\n*\nb\n2\ny.test/\n1\n1\n2\n3\n4\n*\n";
  std::string b = "b\r\n2\r\ny.test/\r\n1\r\n1\r\n2\r\n3\r\n4\r\n";
  EXPECT_EQ(shown(dir.write("user@x.txt", text)),
            (Rows{{"y.test/", "b", "2", "True", b, "user@x.txt"},
                  {"x.test/", "a", "1", "False", "a\r\n1\r\nx.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n",
                   "user@x.txt"}}));
  EXPECT_EQ(frmCookies().fileText(), text);
  for (const std::string& bad :
       {dir.file("missing.txt"), dir.write("empty.txt", ""), std::string(300, 'x')})
    EXPECT_EQ(shown(bad), Rows{}) << bad;
}

}  // namespace
}  // namespace glenvask
