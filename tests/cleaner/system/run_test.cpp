// The cleaning run's frame, the command-line switches and auto-clean, on a main window made
// in-process with its files in a scratch folder.
#include "cleaner/files_support.h"

namespace glenvask {
namespace {

class RunTest : public test::CategoryTest {};

TEST_F(RunTest, DeleteRoutinesCountWhatTheyDeleteAndStopWhenAborted) {
  load();
  arrFiles = {work.write("a.tmp", std::string(1000, 'a')), work.write("b.tmp", "bb"),
              work.file("missing.tmp")};
  w.deleteFiles();
  EXPECT_FALSE(work.exists("a.tmp") || work.exists("b.tmp"));
  EXPECT_EQ(test::totals(), (test::Counts{2, 1002}));
  w.logCategory("Temporary files... ");
  EXPECT_EQ(CleanupLog, "Temporary files... Files Deleted: 2 Space Gained: 1,002 Bytes\r\n");

  // Stopped: nothing goes.
  arrFiles = {work.write("c.tmp", "c")};
  bAbort = true;
  w.deleteFiles();
  EXPECT_TRUE(work.exists("c.tmp"));
  EXPECT_EQ(w.lblStatus.text(), "Aborted by user");

  // A tree of empty folders goes in one go; a folder with a file stays.
  bAbort = false;
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
  const std::tuple<const char*, const char*, bool, bool> cases[] = {  // runs, shown
      {"-c", "0", true, true},    {"-C", "0", true, true},   {"-s", "1", true, true},
      {"-S", "1", true, true},    {"-s", "0", false, true},  {"", "1", false, false},
      {"-c ", "1", false, false}, {"/c", "1", false, false}, {"-c -h", "1", false, false},
      {"-x", "1", false, false},
  };
  for (const auto& [args, startupClean, runs, shown] : cases) {
    app.write("settings.ini", std::string("[General]\r\nStartupClean=") + startupClean + "\r\n");
    summary.shown = 0;
    if (runs) expectSummary();
    load(args);
    EXPECT_EQ(std::pair(summary.shown, w.visible()), std::pair(runs ? 1 : 0, shown)) << args;
    w.destroy();
  }
}

TEST_F(RunTest, AutoCleanInterval) {
  std::pair<const char*, int> cases[] = {  // the minutes; 0: not armed
      {"AutoClean=1\r\nDuration=5\r\nHM=0", 5},    {"AutoClean=1\r\nDuration=5\r\nHM=1", 300},
      {"AutoClean=1", 60},                           {"AutoClean=1\r\nDuration=x\r\nHM=0", 1},
      {"AutoClean=1\r\nDuration=600\r\nHM=1", 0},  // 36000 minutes do not fit
      {"AutoClean=0\r\nDuration=5\r\nHM=0", 0},    {"AutoClean=yes\r\nDuration=5\r\nHM=0", 0},
  };
  for (const auto& [ini, minutes] : cases) {
    app.write("settings.ini", std::string("[General]\r\n") + ini + "\r\n");
    w.AutoCleanMinutes = 0;
    load();
    EXPECT_EQ(std::pair(w.autoCleanArmed(), int{w.AutoCleanMinutes}),
              std::pair(minutes != 0, minutes))
        << ini;
    w.destroy();
  }
}

TEST_F(RunTest, AutoCleanTickRunsOnlyPastTheIntervalAndWhenIdle) {
  load();
  auto minutesAgo = [](int m) {
    DateTime t = localNow();
    t.minute -= m;  // the interval counts minutes from fields of any range
    return t;
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

// The right-click menu runs its one category, which reports only its own section (set boxes of
// other sections do not count); the marks are cleared when the summary closes.
TEST_F(RunTest, RightClickMenuRunsTheCategoryOnlyWhenIdle) {
  load();
  w.show();
  check("chkTemp"), check("chkCleanMozillaCache");
  const size_t cookies = categoryIndex("chkCookies");
  expectSummary();
  // Choose the menu's one item from the keyboard as soon as the menu is up.
  PostMessageW(w.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(w.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  w.showCategoryMenu(cookies, POINT{100, 100});
  EXPECT_EQ(w.mnuPopupCaption, "Clean Cookies");
  EXPECT_EQ(summary.sections, (std::vector<std::string>{"Not Cleaned", "Not Cleaned", "Cleaned",
                                                        "Not Cleaned", "Not Cleaned"}));
  EXPECT_EQ(summary.marks, 1);
  EXPECT_EQ(w.sectionsCleaned(), (std::array{true, false, false, true, false}));
  EXPECT_TRUE(w.cmdClean.enabled() && !w.cmdStop.enabled() && w.menuEnabled("mnuFile"));
  EXPECT_FALSE(w.pgClean.visible());
  // During a run there is no menu (a menu would wait here for a choice).
  w.mnuPopupCaption.clear();
  w.cmdClean.setEnabled(false);
  w.showCategoryMenu(cookies, POINT{100, 100});
  EXPECT_EQ(w.mnuPopupCaption, "");
  MSG m;
  while (PeekMessageW(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace glenvask
