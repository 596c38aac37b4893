// The cookie viewer on cookie files of a scratch folder: the records as rows, the last one on
// top, in their columns; a missing file and any bytes show what could be read.
#include "tools/frmCookieView.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/scripted.h"

namespace glenvask {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class CookieViewTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir;
  test::ScriptedAsker asker;

  // The rows the viewer shows for the file, read while it is shown; then OK closes it.
  Rows shown(const std::string& path) {
    Rows rows;
    asker.answerModal([&](Dialog& d) {
      auto& v = static_cast<CookieViewWindow&>(d);
      EXPECT_EQ(v.text(), "Cookie Information");
      EXPECT_EQ(ListView_GetColumnWidth(v.Lst_Cook.hwnd(), kCookieColSource), 0);
      for (size_t i = 0; i < v.Lst_Cook.rowCount(); ++i) rows.push_back(v.Lst_Cook.row(i).cells);
      v.cmdOK.click();
      EXPECT_TRUE(v.modalEnded());
    });
    frmCookies().showFile(path, nullptr);
    return rows;
  }
};

TEST_F(CookieViewTest, ShowsTheRecordsLastOnTop) {
  std::string text = "a\n1\nx.test/\n0\n1\n2\n3\n4\n*\nb\n2\ny.test/\n1\n1\n2\n3\n4\n*\n";
  std::string path = dir.write("user@x.txt", text);
  EXPECT_EQ(shown(path), (Rows{{"y.test/", "b", "2", "True",
                                "b\r\n2\r\ny.test/\r\n1\r\n1\r\n2\r\n3\r\n4\r\n", "user@x.txt"},
                               {"x.test/", "a", "1", "False",
                                "a\r\n1\r\nx.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n", "user@x.txt"}}));
  EXPECT_EQ(frmCookies().fileText(), text);
}

TEST_F(CookieViewTest, BadFilesShowWhatCouldBeRead) {
  struct Case {
    std::string file;
    Rows rows;
  } cases[] = {
      {dir.file("missing.txt"), {}},
      {dir.write("empty.txt", ""), {}},
      {dir.write("binary.txt", std::string("\0\xff*\n\x01\n*\n", 8)), {}},
      {dir.write("cut.txt", "a\n1\nx.test/\nno\n1\n2\n3\n4\n*\nb\n2\ny.te"),
       {{"x.test/", "a", "1"}}},
      {std::string(300, 'x'), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(shown(c.file), c.rows) << c.file;
}

}  // namespace
}  // namespace glenvask
