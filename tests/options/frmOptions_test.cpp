// The options window opened and cancelled: the list pages' and the unnecessary-types page's
// messages through the seam, damaged files shown as far as they read and left as they were,
// and when the window does not open.
#include "options/frmOptions.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "options/options_fixture.h"

namespace glenvask {
namespace {

using Strings = std::vector<std::string>;

class OptionsPagesTest : public test::OptionsTest {};

TEST_F(OptionsPagesTest, ListPagesAnswerThroughTheSeam) {
  std::string dir = app.file("data"), file = app.write("data\\a.txt", "a");
  std::string cjk = app.file("\xe4\xb8\xad");  // a folder the ANSI code page has no name for
  app.write("\xe4\xb8\xad\\x", "x");
  std::string inList = dir + "\\";
  struct Case {
    int page;  // 0 ignored folders, 1 user-defined files, 2 extensions
    std::string typed;
    std::string message;  // "" for none
    Strings list;         // afterwards
    std::string entry;    // afterwards
  } cases[] = {
      {0, "", "Please enter a folder path.", {}, ""},
      {0, "   ", "The path entered is not correct.", {}, ""},
      {0, dir, "", {inList}, ""},
      {0, cjk, "\"" + cjk + "\\\" holds characters that this system's code page cannot "
       "store.", {inList}, cjk + "\\"},
      {0, toUpper(dir), "The folder path is already in the list.", {inList}, toUpper(inList)},
      {0, app.file("gone"), "The path entered is not correct.", {inList}, ""},
      {0, std::string(300, 'x'), "The path entered is not correct.", {inList}, ""},
      {1, "  ", "Please enter a file path.", {}, "  "},
      {1, file, "", {file}, ""},
      {1, file, "The file is already in the list.", {file}, file},
      {2, " *.LOG ", "", {"LOG"}, ""},
      {2, "log", "The file extension is already in the list.", {"LOG"}, ""},
      {2, "*..", "", {"LOG", ""}, ""},
  };
  options([&](OptionsWindow& w) {
    struct Page {
      EditBox& entry;
      ListBox& list;
      Button& add;
    } pages[] = {{w.txtUDIFO, w.lstUDIFO, w.cmdUDIFOAdd},
                 {w.txtUDFI, w.lstUDFI, w.cmdUDFIAdd},
                 {w.txtIE, w.lstIE, w.cmdIEAdd}};
    for (size_t page : {kPageIgnoreFolders, kPageIgnoreFiles, kPageUserFiles})
      w.SSTab1.select(page);
    w.cmdIEDefaults.click();  // no DefIE.txt: an empty list
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed);
      Page& p = pages[c.page];
      size_t asked = messages().size();
      if (!c.message.empty()) asker.answerMessage(IDOK);
      p.entry.setText(c.typed);
      p.add.click();
      Strings shown = messages();
      EXPECT_EQ(Strings(shown.begin() + asked, shown.end()),
                c.message.empty() ? Strings{} : Strings{c.message});
      EXPECT_EQ(items(p.list), c.list);
      EXPECT_EQ(p.entry.text(), c.entry);
    }
    // Ignored names come from the file dialog; Remove selects by the list's rule.
    asker.answerFile(app.file("data\\Thumbs.db"));
    asker.answerFile(app.file("other\\THUMBS.DB"));
    asker.answerMessage(IDOK);
    asker.answerFile(std::nullopt);
    for (int i = 0; i < 3; ++i) w.cmdAdd.click();
    EXPECT_EQ(items(w.lstIFI), Strings{"Thumbs.db"});
    EXPECT_EQ(messages().back(), "The file is already in the list.");
    w.lstIE.select(0);
    w.cmdIERemove.click();
    EXPECT_EQ(items(w.lstIE), Strings{""});
    EXPECT_TRUE(w.lstIE.selectedIndexes().empty());
  });
  for (const auto& q : asker.asked())
    if (q.kind == "message") {
      EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONINFORMATION)) << q.text;
    }
}

TEST_F(OptionsPagesTest, UnnecessaryTypesPage) {
  app.write("UNFI.txt", "1\x01*.tmp\x01Temporary\r\nno separator\r\n0\x01*.bak\x01" "Backup\r\n"
                        "1\x01*.TMP\x01" "again\r\n2\x01*.old\x01Old\r\n");
  app.write("DefUNFI.txt", "1\x01*.chk\x01" "Check\r\n");
  auto before = files();
  options([&](OptionsWindow& w) {
    w.SSTab1.select(kPageUnnecessary);
    ListView& l = w.lstvUnnecessaryFiles;
    auto rows = [&] {
      Strings out;
      for (size_t i = 0; i < l.rowCount(); ++i)
        out.push_back((l.rowChecked(i) ? "+" : "-") + l.rowText(i, 0) + "|" + l.rowText(i, 1));
      return out;
    };
    // A line that does not read and a type met again are passed over, the rest still read.
    EXPECT_EQ(rows(), (Strings{"+*.tmp|Temporary", "-*.bak|Backup", "-*.old|Old"}));
    for (const char* type : {"tmp", "*.log", "*.LOG"}) {
      asker.answerMessage(IDOK);
      w.txtUnnecessaryFilesFileType.setText(type);
      w.txtUnnecessaryFilesDescription.setText("Logs");
      w.cmdUnnecessaryFilesAdd.click();
    }
    EXPECT_EQ(messages(), (Strings{"Please enter the file type in format\t.log .bak etc",
                                   "File Type already exists in the list."}));
    EXPECT_EQ(w.txtUnnecessaryFilesFileType.text(), "*.LOG");
    EXPECT_EQ(rows().back(), "+*.log|Logs");
    asker.answerFile("C:\\x\\notes.TXT");
    asker.answerFile(std::nullopt);
    w.cmdUnnecessaryFilesBrowse.click();
    w.cmdUnnecessaryFilesBrowse.click();
    EXPECT_EQ(w.txtUnnecessaryFilesFileType.text(), "*.TXT");
    l.select(0);
    w.cmdUnnecessaryFilesRemove.click();
    EXPECT_EQ(rows().front(), "-*.bak|Backup");
    w.cmdUnnecessaryFilesDefaults.click();
    EXPECT_EQ(rows(), Strings{"+*.chk|Check"});
  });
  EXPECT_EQ(files(), before) << "Defaults and Cancel leave UNFI.txt as it was";
}

TEST_F(OptionsPagesTest, DamagedFilesShowWhatReadsAndCancelKeepsThem) {
  std::string longLine(5000, 'L');
  app.write("settings.ini",
            "[General]\r\nAutoClean=yes\r\nTipBox=0\r\nDelMethod=W\r\n"
            "Duration=\xff\xfe\r\nExtraS=1\r\n" +
                longLine + "\r\n");
  app.write("ck.txt",
            "C:\\c\\a.txt\x01"
            "C:\\d\\A.TXT\x01"
            "C:\\c\\\xe9t\xe9.txt\x01\r\n");
  app.write("IE.txt", "\xff\xfe\x80\r\n" + longLine + "\r\nlog\r\n");
  app.write("srch.txt", " Q: junk\r\n\x01\x02\r\n1 \xff 2/3/2020\r\n1 True False False 77\r\n");
  app.write("UDIFO.txt", "C:\\no such folder\\\r\n");
  auto before = files();
  options([&](OptionsWindow& w) {
    for (size_t page = 0; page < kOptionsPageCount; ++page) w.SSTab1.select(page);
    EXPECT_FALSE(w.chkAutoClean.checked());
    EXPECT_FALSE(w.Check3.checked());
    EXPECT_EQ(w.deleteMethod.chosen(), 2);
    EXPECT_TRUE(w.chkExtraSecurity.checked());
    ASSERT_EQ(w.lstvKeepCookies.rowCount(), 2u);
    EXPECT_EQ(w.lstvKeepCookies.rowText(0, 0), "a.txt");
    EXPECT_EQ(w.lstvKeepCookies.rowText(1, 0), "\xc3\xa9t\xc3\xa9.txt");  // read as ANSI
    EXPECT_EQ(w.lstIE.count(), 3u);
    EXPECT_EQ(w.lstIE.itemText(2), "log");
    EXPECT_TRUE(w.chkSearchSize.checked());
    EXPECT_EQ(w.txtSearchSize.text(), "77");
    EXPECT_EQ(items(w.lstUDIFO), Strings{"[Invalid Path] C:\\no such folder\\"});
  });
  EXPECT_EQ(files(), before);
}

TEST_F(OptionsPagesTest, OpensOnceAndNeverDuringARun) {
  host.running = true;
  OpenOptions(nullptr);  // an unexpected modal window would fail the test
  host.running = false;
  options([&](OptionsWindow& w) {
    OpenOptions(nullptr);  // open already: brought to the front, not opened again
    EXPECT_TRUE(w.isOpen());
    EXPECT_EQ(w.SSTab1.pageCount(), 9u);
  });
  size_t modals = 0;
  for (const auto& q : asker.asked()) modals += q.kind == "modal";
  EXPECT_EQ(modals, 1u);
  EXPECT_TRUE(host.applied.empty()) << "Cancel applies nothing";
}

}  // namespace
}  // namespace glenvask
