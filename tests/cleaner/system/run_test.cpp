// The cleaning run's frame, the command-line switches and auto-clean, on a main window made
// in-process with its files in a scratch folder.
#include <gtest/gtest.h>

#include "cleaner/files_support.h"
#include "services/clock.h"

namespace glenvask {
namespace {

class RunTest : public test::CategoryTest {};

TEST_F(RunTest, NoBoxSetGivesTheFrameAndAnEmptySummary) {
  load();
  expectSummary();
  w.cmdClean.click();
  EXPECT_EQ(summary.shown, 1);
  EXPECT_EQ(summary.count, "0");
  EXPECT_EQ(summary.size, "0 Bytes");
  EXPECT_EQ(summary.log,
            "\r\n-------------------------------------------------------------------\r\n"
            "Files Deleted:  0   Space Gained:  0 Bytes");
  EXPECT_TRUE(w.cmdClean.enabled());
  EXPECT_FALSE(w.cmdStop.enabled());
  EXPECT_TRUE(w.menuEnabled("mnuFile"));
  EXPECT_EQ(w.lblStatus.text(), "");
  EXPECT_FALSE(w.pgClean.visible());
}

TEST_F(RunTest, DeleteFilesCountsWhatItDeletesAndStopsWhenAborted) {
  load();
  arrFiles = {work.write("a.tmp", std::string(1000, 'a')), work.write("b.tmp", "bb"),
              work.file("missing.tmp")};
  w.CategoryFileCount = 0, w.CategorySpace = 0;
  w.deleteFiles();
  EXPECT_FALSE(work.exists("a.tmp"));
  EXPECT_FALSE(work.exists("b.tmp"));
  EXPECT_EQ(TotalFilesDeleted, 2);
  EXPECT_EQ(w.CategoryFileCount, 2);
  EXPECT_EQ(TotalSpaceGained, 1002);
  EXPECT_EQ(w.CategorySpace, 1002);
  EXPECT_EQ(arrFiles.size(), 3u) << "the list itself is not emptied";
  EXPECT_EQ(w.lblStatus.text(), "");
  w.logCategory("Temporary files... ");
  EXPECT_EQ(CleanupLog, "Temporary files... Files Deleted: 2 Space Gained: 1,002 Bytes\r\n");

  // Stopped: nothing goes.
  arrFiles = {work.write("c.tmp", "c")};
  bAbort = true;
  w.deleteFiles();
  EXPECT_TRUE(work.exists("c.tmp"));
  EXPECT_EQ(w.lblStatus.text(), "Aborted by user");
}

TEST_F(RunTest, DeleteFoldersRemovesATreeOfEmptyFoldersInOneGo) {
  load();
  work.write("keep\\file.txt", "x");
  for (const char* f : {"t\\a\\b\\c", "t\\z"}) test::makeFolders(work.file(f));
  SetFileAttributesW(wide(work.file("t\\a\\b")).c_str(), FILE_ATTRIBUTE_READONLY);
  // Parents before children, as a scan lists them.
  for (const char* f : {"t", "t\\a", "t\\a\\b", "t\\a\\b\\c", "t\\z", "keep"})
    arrFolders.push_back(work.file(f) + "\\");
  w.deleteFolders();
  EXPECT_FALSE(work.exists("t"));
  EXPECT_TRUE(work.exists("keep\\file.txt"));
}

TEST_F(RunTest, SwitchesAreMatchedExactly) {
  struct Case {
    const char* args;
    const char* startupClean;
    bool runs, shown;
  } cases[] = {
      {"-c", "0", true, true},    {"-C", "0", true, true},   {"-s", "1", true, true},
      {"-S", "1", true, true},    {"-s", "0", false, true},  {"", "1", false, false},
      {"-c ", "1", false, false}, {"/c", "1", false, false}, {"-c -h", "1", false, false},
      {"-x", "1", false, false},
  };
  for (const auto& c : cases) {
    app.write("settings.ini", std::string("[General]\r\nStartupClean=") + c.startupClean + "\r\n");
    summary.shown = 0;
    if (c.runs) expectSummary();
    load(c.args);
    EXPECT_EQ(summary.shown, c.runs ? 1 : 0) << '"' << c.args << '"';
    EXPECT_EQ(w.visible(), c.shown) << '"' << c.args << '"';
    w.destroy();
  }
}

TEST_F(RunTest, HiddenModeEndsTheProgramAfterItsRun) {
  bool ended = false;
  w.onProgramEnd = [&] { ended = true; };
  load("-h");
  EXPECT_TRUE(test::pumpUntil([&] { return ended; }));
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(app.read("chkItems.txt"),
            "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
}

TEST_F(RunTest, AutoCleanInterval) {
  struct Case {
    const char* ini;
    bool armed;
    int minutes;
  } cases[] = {
      {"AutoClean=1\r\nDuration=5\r\nHM=0", true, 5},
      {"AutoClean=1\r\nDuration=5\r\nHM=1", true, 300},
      {"AutoClean=1", true, 60},
      {"AutoClean=1\r\nDuration=x\r\nHM=0", true, 1},
      {"AutoClean=1\r\nDuration=600\r\nHM=1", false, 0},  // 36000 minutes do not fit
      {"AutoClean=0\r\nDuration=5\r\nHM=0", false, 0},
      {"AutoClean=yes\r\nDuration=5\r\nHM=0", false, 0},
  };
  for (const auto& c : cases) {
    app.write("settings.ini", std::string("[General]\r\n") + c.ini + "\r\n");
    w.AutoCleanMinutes = 0;
    load();
    EXPECT_EQ(w.autoCleanArmed(), c.armed) << c.ini;
    EXPECT_TRUE(!c.armed || w.AutoCleanMinutes == c.minutes) << c.ini;
    w.destroy();
  }
}

TEST_F(RunTest, AutoCleanTickRunsOnlyPastTheIntervalAndWhenIdle) {
  load();
  auto minutesAgo = [](int m) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER u{{ft.dwLowDateTime, ft.dwHighDateTime}};
    u.QuadPart -= static_cast<ULONGLONG>(m) * 60 * 10000000ULL;
    ft = {u.LowPart, u.HighPart};
    FileTimeToSystemTime(&ft, &st);
    return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  };
  w.AutoCleanMinutes = 60;
  w.AutoCleanStart = minutesAgo(60);
  w.tmrClean_Timer();
  EXPECT_EQ(summary.shown, 0) << "60 boundaries are not more than 60";
  w.AutoCleanStart = minutesAgo(61);
  w.cmdClean.setEnabled(false);
  w.tmrClean_Timer();
  EXPECT_EQ(summary.shown, 0) << "no run while Clean is disabled";
  w.cmdClean.setEnabled(true);
  // With the summary open (Clean enabled again under it), a tick starts no second run.
  expectSummary([&] {
    w.AutoCleanStart = minutesAgo(61);
    w.tmrClean_Timer();
  });
  w.tmrClean_Timer();
  EXPECT_EQ(summary.shown, 1) << "the tick inside the summary started nothing";
  expectSummary();
  w.AutoCleanStart = minutesAgo(61);
  w.tmrClean_Timer();
  EXPECT_EQ(summary.shown, 2) << "after the summary closed, the next tick runs";
  EXPECT_LE(minutesBetween(w.AutoCleanStart, localNow()), 1) << "the interval starts again";
}

TEST_F(RunTest, SingleCategoryRunReportsOnlyItsSection) {
  load();
  check("chkTemp");  // set boxes of other sections do not count
  check("chkCleanMozillaCache");
  struct Case {
    const char* tag;
    size_t cleanedSection;  // in the summary's order
  } cases[] = {{"CleanCookies", 2}, {"CleanPlugins", 4}, {"CleanMozillaHistory", 3},
               {"CleanClipboard", 1}};
  for (const auto& c : cases) {
    expectSummary();
    w.mnuPopupTag = c.tag;
    w.mnuPopup_Click();
    ASSERT_EQ(summary.sections.size(), 5u) << c.tag;
    for (size_t i = 0; i < 5; ++i)
      EXPECT_EQ(summary.sections[i], i == c.cleanedSection ? "Cleaned" : "Not Cleaned")
          << c.tag << " " << i;
    EXPECT_EQ(summary.marks, 1) << c.tag;
    EXPECT_EQ(w.sectionsCleaned(), (std::array{true, false, false, true, false}))
        << "marks are cleared when the summary closes";
    EXPECT_EQ(w.lblStatus.text(), "");
    EXPECT_TRUE(w.cmdClean.enabled());
  }
  // The whole run afterwards reports from the boxes again.
  expectSummary();
  w.cmdClean.click();
  EXPECT_EQ(summary.sections, (std::vector<std::string>{"Cleaned", "Not Cleaned", "Not Cleaned",
                                                        "Cleaned", "Not Cleaned"}));
}

TEST_F(RunTest, SummarySectionsFromMarksOrCheckBoxes) {
  load();
  struct Case {
    std::vector<const char*> boxes;
    std::vector<CheckBox*> marks;
    std::array<bool, 5> cleaned;  // Folders and Files, Misc, IE, Firefox, Plugins
  } cases[] = {
      {{}, {}, {}},
      // A single-category run of the Recycle Bin: only its own section, whatever is checked.
      {{"chkRecycleBin", "chkCache", "chkOffice"}, {&w.FoFiValue}, {true}},
      {{"chkEmptyFiles"}, {}, {true}},
      {{"chkDeadShortcut"}, {}, {true}},
      {{"chkPlugins"}, {}, {false, false, false, false, true}},
      {{"chkFindHistory", "chkActiveX", "chkCleanMozillaDownloads"}, {}, {false, true, true, true}},
      {{"chkTemp"}, {&w.PLGValue}, {false, false, false, false, true}},
      {{}, {&w.MiscValue, &w.FFValue}, {false, true, false, true, false}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n++);
    clearBoxes();
    w.clearMarks();
    for (const char* b : c.boxes) check(b);
    for (CheckBox* m : c.marks) m->setValue(1);
    EXPECT_EQ(w.sectionsCleaned(), c.cleaned);
  }
}

TEST_F(RunTest, RightClickMenuOffersTheCategoryOnlyWhenIdle) {
  load();
  w.show();
  size_t cookies = categoryIndex("chkCookies");
  expectSummary();
  // Choose the menu's one item from the keyboard as soon as the menu is up.
  PostMessageW(w.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(w.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  POINT at{100, 100};
  w.showCategoryMenu(cookies, at);
  EXPECT_EQ(w.mnuPopupCaption, "Clean Cookies");
  EXPECT_EQ(w.mnuPopupTag, "CleanCookies");
  EXPECT_EQ(summary.shown, 1) << "the chosen item ran the category";

  // During a run there is no menu (a menu would wait here for a choice).
  w.mnuPopupCaption.clear();
  w.cmdClean.setEnabled(false);
  w.showCategoryMenu(cookies, at);
  EXPECT_EQ(w.mnuPopupCaption, "");
  MSG m;
  while (PeekMessageW(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace glenvask
