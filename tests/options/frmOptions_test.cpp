// The options window opened and cancelled: the list pages' messages, what damaged files show;
// when it does not open.
#include <tuple>

#include "base/text.h"
#include "options/options_fixture.h"

namespace glenvask {
namespace {

using OptionsPagesTest = test::OptionsTest;

TEST_F(OptionsPagesTest, ListPagesAnswerThroughTheSeam) {
  std::string dir = app.file("data"), file = app.write("data\\a.txt", "a");
  std::string cjk = app.file("\xe4\xb8\xad");  // a folder the ANSI code page has no name for
  app.write("\xe4\xb8\xad\\x", "x");
  std::string inList = dir + "\\";
  // The page (0 ignored folders, 1 user-defined files, 2 extensions, 3 names by the file dialog),
  // what is typed, the message ("" for none), then the list and the entry box afterwards.
  std::tuple<int, std::string, std::string, Strings, std::string> cases[] = {
      {0, "", "Please enter a folder path.", {}, ""},
      {0, "   ", "The path entered is not correct.", {}, ""}, {0, dir, "", {inList}, ""},
      {0, cjk, "\"" + cjk + "\\\" holds characters that this system's code page cannot "
       "store.", {inList}, cjk + "\\"},
      {0, toUpper(dir), "The folder path is already in the list.", {inList}, toUpper(inList)},
      {0, app.file("gone"), "The path entered is not correct.", {inList}, ""},
      {0, std::string(300, 'x'), "The path entered is not correct.", {inList}, ""},
      {1, "  ", "Please enter a file path.", {}, "  "}, {1, file, "", {file}, ""},
      {1, file, "The file is already in the list.", {file}, file}, {2, " *.LOG ", "", {"LOG"}, ""},
      {2, "log", "The file extension is already in the list.", {"LOG"}, ""},
      {2, "*..", "", {"LOG", ""}, ""}, {3, app.file("data\\Thumbs.db"), "", {"Thumbs.db"}, ""},
      {3, "C:\\x\\THUMBS.DB", "The file is already in the list.", {"Thumbs.db"}, ""}};
  options([&](OptionsWindow& w) {
    EditBox none;  // the file dialog gives the names
    std::tuple<EditBox*, ListBox*, Button*> pages[] = {{&w.txtUDIFO, &w.lstUDIFO, &w.cmdUDIFOAdd},
        {&w.txtUDFI, &w.lstUDFI, &w.cmdUDFIAdd}, {&w.txtIE, &w.lstIE, &w.cmdIEAdd},
        {&none, &w.lstIFI, &w.cmdAdd}};
    everyPage(w);
    w.cmdIEDefaults.click();  // no DefIE.txt: an empty list
    for (const auto& [page, typed, message, listAfter, entryAfter] : cases) {
      SCOPED_TRACE(typed);
      auto [entry, list, add] = pages[page];
      size_t asked = messages().size();
      if (!message.empty()) asker.answerMessage(IDOK);
      entry == &none ? asker.answerFile(typed) : entry->setText(typed);
      add->click();
      Strings shown = messages();
      EXPECT_EQ(Strings(shown.begin() + asked, shown.end()),
                message.empty() ? Strings{} : Strings{message});
      EXPECT_EQ(std::pair(items(*list), entry->text()), std::pair(listAfter, entryAfter));
    }
    w.lstIE.select(0);  // Remove selects none there
    w.cmdIERemove.click();
    EXPECT_TRUE(items(w.lstIE) == Strings{""} && w.lstIE.selectedIndexes().empty());
  });
  for (const auto& q : asker.asked())
    EXPECT_TRUE(q.kind != "message" || q.flags == UINT(MB_OK | MB_ICONINFORMATION)) << q.text;
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
    EXPECT_EQ(w.txtUnnecessaryFilesFileType.text() + " " + rows().back(), "*.LOG +*.log|Logs");
    asker.answerFile("C:\\x\\notes.TXT");
    w.cmdUnnecessaryFilesBrowse.click();
    EXPECT_EQ(w.txtUnnecessaryFilesFileType.text(), "*.TXT");
    l.select(0);
    w.cmdUnnecessaryFilesRemove.click();
    EXPECT_EQ(rows().front(), "-*.bak|Backup");
    w.cmdUnnecessaryFilesDefaults.click();
    EXPECT_EQ(rows(), Strings{"+*.chk|Check"});
    OpenOptions(nullptr);  // open already: a second modal window would fail the test
  });
  EXPECT_EQ(files(), before) << "Defaults and Cancel leave UNFI.txt as it was";
  EXPECT_TRUE(host.applied.empty()) << "Cancel applies nothing";
}

// Damaged or odd files show what reads of them, and Cancel leaves every file as it was.
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
    everyPage(w);
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

}  // namespace
}  // namespace glenvask
