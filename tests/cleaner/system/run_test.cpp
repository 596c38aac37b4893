// The cleaning run's frame, switches, auto-clean, header pictures, the Updates page's check and
// the plug-in-only run, on a main window made in-process with its files in a scratch folder.
#include "base/plugin_format.h"
#include "cleaner/files_support.h"
#include "help/update.h"
#include "support/httpserver.h"

namespace glenvask {
namespace {

class RunTest : public test::CategoryTest {};
class NavigationTest : public test::CategoryTest {};

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
  arrFiles = {work.write("c.tmp", "c")}, bAbort = true;
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
  EXPECT_TRUE(!work.exists("t") && work.exists("keep\\file.txt"));
}

// The switches, matched exactly, with StartupClean; beside them, the auto-clean interval.
TEST_F(RunTest, SwitchesAndAutoCleanAreReadAtStart) {
  const std::tuple<const char*, const char*, bool, bool> cases[] = {  // runs, shown
      {"-c", "0", true, true},    {"-C", "0", true, true},   {"-s", "1", true, true},
      {"-S", "1", true, true},    {"-s", "0", false, true},  {"", "1", false, false},
      {"-c ", "1", false, false}, {"/c", "1", false, false}, {"-c -h", "1", false, false},
      {"-x", "1", false, false},
  };
  std::pair<const char*, int> intervals[] = {  // the minutes; 0: not armed
      {"AutoClean=1\r\nDuration=5\r\nHM=0", 5},    {"AutoClean=1\r\nDuration=5\r\nHM=1", 300},
      {"AutoClean=1", 60},                           {"AutoClean=1\r\nDuration=x\r\nHM=0", 1},
      {"AutoClean=1\r\nDuration=600\r\nHM=1", 0},  // 36000 minutes do not fit
      {"AutoClean=0\r\nDuration=5\r\nHM=0", 0},    {"AutoClean=yes\r\nDuration=5\r\nHM=0", 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    auto [args, startupClean, runs, shown] = cases[i];
    auto [ini, minutes] = intervals[i % std::size(intervals)];
    app.write("settings.ini",
              std::string("[General]\r\nStartupClean=") + startupClean + "\r\n" + ini + "\r\n");
    summary.shown = 0, w.AutoCleanMinutes = 0;
    if (runs) expectSummary();
    load(args);
    EXPECT_EQ(std::pair(summary.shown, w.visible()), std::pair(runs ? 1 : 0, shown)) << args;
    EXPECT_EQ(std::pair(w.autoCleanArmed(), int{w.AutoCleanMinutes}),
              std::pair(minutes != 0, minutes))
        << ini;
    w.destroy();
  }
}

TEST_F(RunTest, AutoCleanTickRunsOnlyPastTheIntervalAndWhenIdle) {
  load();
  w.AutoCleanMinutes = 60;
  auto tickAfter = [&](int minutes) {  // the interval counts minutes from fields of any range
    w.AutoCleanStart = localNow(), w.AutoCleanStart.minute -= minutes;
    w.tmrClean_Timer();
  };
  tickAfter(60);
  EXPECT_EQ(summary.shown, 0) << "60 boundaries are not more than 60";
  w.cmdClean.setEnabled(false);
  tickAfter(61);
  EXPECT_EQ(summary.shown, 0) << "no run while Clean is disabled";
  w.cmdClean.setEnabled(true);
  // With the summary open (Clean enabled again under it), a tick starts no second run.
  expectSummary([&] { tickAfter(61); });
  w.tmrClean_Timer();
  EXPECT_EQ(summary.shown, 1) << "the tick inside the summary started nothing";
  expectSummary();
  tickAfter(61);
  EXPECT_EQ(summary.shown, 2) << "after the summary closed, the next tick runs";
  EXPECT_LE(minutesBetween(w.AutoCleanStart, localNow()), 1) << "the interval starts again";
}

// The sections a summary reports; the right-click menu runs its one category, which reports
// only its own section (set boxes of other sections do not count); the marks are cleared when
// the summary closes.
TEST_F(RunTest, SummarySectionsAndTheRightClickMenuRunWhenIdle) {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    clearBoxes(), w.clearMarks();
    for (const char* b : c.boxes) check(b);
    for (CheckBox* m : c.marks) m->setValue(1);
    EXPECT_EQ(w.sectionsCleaned(), c.cleaned);
  }
  w.clearMarks();
  w.show();
  clearBoxes(), check("chkTemp"), check("chkCleanMozillaCache");
  const size_t cookies = categoryIndex("chkCookies");
  expectSummary();
  // Choose the menu's one item from the keyboard as soon as the menu is up.
  for (WPARAM key : {VK_DOWN, VK_RETURN}) PostMessageW(w.hwnd(), WM_KEYDOWN, key, 0);
  w.showCategoryMenu(cookies, POINT{100, 100});
  EXPECT_EQ(w.mnuPopupCaption, "Clean Cookies");
  EXPECT_EQ(summary.sections, (std::vector<std::string>{"Not Cleaned", "Not Cleaned", "Cleaned",
                                                        "Not Cleaned", "Not Cleaned"}));
  EXPECT_EQ(summary.marks, 1);
  EXPECT_EQ(w.sectionsCleaned(), (std::array{true, false, false, true, false}));
  EXPECT_TRUE(w.cmdClean.enabled() && !w.cmdStop.enabled() && w.menuEnabled("mnuFile"));
  EXPECT_FALSE(w.pgClean.visible());
  // During a run there is no menu (a menu would wait here for a choice).
  w.mnuPopupCaption.clear(), w.cmdClean.setEnabled(false);
  w.showCategoryMenu(cookies, POINT{100, 100});
  EXPECT_EQ(w.mnuPopupCaption, "");
  MSG m;
  while (PeekMessageW(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) continue;
}


// The Updates page's check, through its timer and its thread's message: what each reply shows;
// the window is free while the server is silent, and its end does not wait for the server.
TEST_F(NavigationTest, UpdateCheckLeavesTheWindowFree) {
  test::LocalHttpServer server;
  ASSERT_TRUE(server.running());
  setHttpTimeoutMs(1500);
  const std::string update = kUpdatePagePath, none = kNoUpdatePagePath, beta = kBetaPagePath;
  for (const std::string& page : {update, none, beta}) server.route(page, {200, page});
  const std::string message =
      "Tarvella was unable to connect to the update server (Orlenta).\nPlease try again later.";
  // The reply, and the latest version, the page and Download shown, or the message.
  std::pair<test::LocalHttpServer::Reply, std::string> cases[] = {
      {{200, "6.0.10\r\n", -1, -1, 1.0}, "6.0.10 " + update + " D"},
      {{200, "6.0.0"}, "6.0.0 " + none},
      {{200, "0.9"}, "0.9 " + beta},
      {{404, "6.0.10"}, message},
      {{200, "6.0.10", 40}, message},                       // cut short
      {{200, "6.0.10" + std::string(4000, ' ')}, message},  // too long
      {{200, "6.0.10", -1, -1, 5.0}, message},              // silent past the timeout
  };
  load();
  w.show();
  for (const auto& [reply, shown] : cases) {
    SCOPED_TRACE(shown);
    server.route(kLatestVersionPath, reply);
    size_t requests = server.requests().size(), asked = script.asked().size();
    if (shown == message) script.answerMessage(IDOK);
    w.lblLatest.setText(""), w.pictureClicked(ids::kMainTabUpdates);
    ASSERT_TRUE(test::pumpUntil([&] { return server.requests().size() > requests; }));
    if (reply.stallBefore > 0) {
      EXPECT_EQ(w.lblLatest.text(), "") << "the window is free";
    }
    ASSERT_TRUE(test::pumpUntil(
        [&] { return !w.lblLatest.text().empty() || script.asked().size() > asked; }, 10000));
    bool download = IsWindowVisible(w.child("cmdDownload"));
    EXPECT_EQ(script.asked().size() > asked
                  ? script.asked().back().text
                  : w.lblLatest.text() + " " + w.WebBrowser1.shownText() + (download ? " D" : ""),
              shown);
  }
  EXPECT_EQ(w.lblInstalled.text(), "6.0.0");
  EXPECT_EQ(script.asked().back().flags, UINT(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(server.requests().size(), std::size(cases) + 3) << "a page only for a version";
  EXPECT_EQ(test::urlCacheEntriesWith("orlenta"), std::vector<std::string>{}) << "no cookie";

  setHttpTimeoutMs(15000), server.route(kLatestVersionPath, {200, "6.0.10", -1, -1, 20.0});
  w.pictureClicked(ids::kMainTabUpdates);
  ASSERT_TRUE(test::pumpUntil([&] { return server.requests().size() == std::size(cases) + 4; }));
  ULONGLONG start = GetTickCount64();
  w.destroy();
  EXPECT_LT(GetTickCount64() - start, 10000u) << "the close did not wait for the server";
}

// The header pictures' pages; the Plugins menu's run: its own summary form, the Plugins section
// alone, and no window of the menus opens while it goes (a command posted past a gray item too).
TEST_F(NavigationTest, PicturesSwitchPagesAndThePluginOnlyRunHasASummaryOfItsOwn) {
  work.write("data\\a.tmp", std::string(1000, 'a')), work.write("data\\c.tmp", "");
  work.write("data\\b.tmp", std::string(536, 'b'));
  app.write("Plugins\\one.qvp",
            writePluginFile({.files = {{"No", "No", work.file("data\\*.tmp")}}}));
  app.write("plg.txt", writePluginList({{true, "one.qvp", "one"}}));
  load();
  // The header pictures switch the pages; then the run.
  auto shown = [&](const char* name) { return IsWindowVisible(w.child(name)) != 0; };
  struct Case {
    int picture;
    bool categories, tools, updates, clean, tip;
  } cases[] = {
      {ids::kMainTabTools, false, true, false, false, false},
      {ids::kMainTabUpdates, false, false, true, false, false},
      {ids::kMainTabMain, true, false, false, true, true},
  };
  w.onUpdateCheck = nullptr;  // the check has a test of its own
  w.show();
  for (const auto& c : cases) {  // a click on the picture, as the control reports it
    SCOPED_TRACE(c.picture);
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(c.picture, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(w.hwnd(), c.picture)));
    EXPECT_EQ(std::tuple(shown("chkRecycleBin"), shown("Image33"), shown("lblLatest"),
                         shown("cmdClean") && shown("cmdStop"), shown("Label26")),
              std::tuple(c.categories, c.tools, c.updates, c.clean, c.tip));
    EXPECT_FALSE(shown("cmdDownload"));
  }
  check("chkTemp");
  test::RecordingOutside outside;
  expectSummary([&] { SendMessageW(w.hwnd(), WM_COMMAND, ids::kCmdInternetOptions, 0); });
  PostMessageW(w.hwnd(), WM_COMMAND, ids::kCmdProcessPlugins, 0);
  MSG m;
  while (PeekMessageW(&m, w.hwnd(), 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  EXPECT_EQ(test::treeOf(work.file("data")), std::vector<std::string>{});
  EXPECT_EQ(summary.count, "3");
  EXPECT_TRUE(summary.log.ends_with("\r\n\r\nFiles Deleted:  3  Files Space Gained 1.5  KB"))
      << summary.log;
  EXPECT_EQ(summary.sections, (std::vector<std::string>{"Not Cleaned", "Not Cleaned", "Not Cleaned",
                                                        "Not Cleaned", "Cleaned"}));
  EXPECT_EQ(summary.marks, 1);
  EXPECT_TRUE(outside.processes.empty()) << "no window opens during the run";
  EXPECT_EQ(w.PLGValue.value(), 0) << "the marks are cleared after the summary";
  EXPECT_TRUE(w.lblStatus.text().empty() && w.cmdClean.enabled());
}

}  // namespace
}  // namespace glenvask
