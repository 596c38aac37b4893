// The main window's start sequence and exit, on real files beside a scratch "executable
// folder" and the real per-user settings store of the prefix.
#include "cleaner/files_support.h"

#include <shlwapi.h>

#include <regex>

#include "support/regional.h"
#include "win/regional.h"

namespace glenvask {
namespace {

using States = std::array<int, kCategoryCount>;

States ones(std::initializer_list<size_t> idx) {
  States s{};
  for (size_t i : idx) s[i] = 1;
  return s;
}

class MainWindowTest : public test::CategoryTest {
 protected:
  void SetUp() override { CategoryTest::SetUp(), forgetUserSettings(); }
  void TearDown() override { CategoryTest::TearDown(), forgetUserSettings(); }
  void forgetUserSettings() {
    SHDeleteKeyW(HKEY_CURRENT_USER, wide(userSettingsKey("QUENMARK", "Settings")).c_str());
  }
  std::string lastTip() { return getUserSetting("QUENMARK", "Settings", "Last Tip", ""); }
  void settings(const std::string& text) { app.write("settings.ini", text); }
  bool enabled(const char* box) { return w.categoryByName(box)->enabled(); }
  bool idle() {
    for (const char* m : {"mnuFile", "mnuPlugins", "mnuTools", "mnuHelp"})
      if (!w.menuEnabled(m)) return false;
    return w.cmdClean.enabled() && !w.cmdStop.enabled();
  }
  // Visible in itself (the window is not shown in these tests).
  bool shown(const char* name) {
    return (GetWindowLongPtrW(w.child(name), GWL_STYLE) & WS_VISIBLE) != 0;
  }
};

TEST_F(MainWindowTest, OpensIdleAndStopMakesItIdleAgain) {
  DeleteMethod = 0;
  load();
  EXPECT_EQ(DeleteMethod, kDeletePlain);
  EXPECT_TRUE(idle() && enabled("chkTemp"));
  for (const char* hidden : {"Check1", "pgClean", "FoFiValue"}) EXPECT_FALSE(shown(hidden));
  EXPECT_EQ(w.checkStates(), States{});
  // No LastCleaned: the present moment is shown.
  auto shownDate = parseDateTime(w.lblCleanDate.text(), userRegionalFormat());
  EXPECT_EQ(shownDate.value_or(DateTime{}).year, localNow().year) << w.lblCleanDate.text();
  EXPECT_EQ(w.Label26.text(),
            "A file needed is missing. Re-installing this application may fix this problem.");

  w.cmdClean.setEnabled(false), w.cmdStop.setEnabled(true), w.setMenusEnabled(false);
  w.lblStatus.setText("Working...");
  w.cmdStop.click();
  EXPECT_TRUE(bAbort && idle() && w.lblStatus.text().empty());
  // The delete method's letter is read exactly; anything else is the backup method.
  for (auto [value, method] : {std::pair{"R", kDeleteRecycle}, {"D", kDeletePlain},
                               {"W", kDeleteOverwrite}, {"B", kDeleteBackup}, {"r", kDeleteBackup},
                               {"", kDeleteBackup}}) {
    settings(std::string("[General]\r\nDelMethod=") + value + "\r\n");
    w.LoadDeleteSettings();
    EXPECT_EQ(DeleteMethod, method) << '"' << value << '"';
  }
}

// Missing settings give every default; odd ones fall back to their own.
TEST_F(MainWindowTest, EachOddSettingFallsBackToItsOwnDefault) {
  struct Case {
    const char* ini;
    bool shred, rename, emptyFiles, deadShortcut, tipBox;
    const char* backup;  // BackupFolder; nullptr: the one beside the executable
  } cases[] = {
      {"", false, false, false, false, true, nullptr},
      {"[General]\r\nExtraS=1\r\nRename=1\r\nProtect1=1\r\nProtect2=1\r\nTipBox=0\r\n"
       "[Backup]\r\nPath=D:\\Saved\r\n",
       true, true, true, true, false, "D:\\Saved\\"},
      {"[General]\r\nExtraS=yes\r\nRename=2\r\nProtect1=on\r\nProtect2=1\r\nTipBox=x\r\n", false,
       false, false, true, true, nullptr},
      // Numbers: " 1", "01" and "1.0" are 1.
      {"[General]\r\nExtraS= 1 \r\nRename=-1\r\nProtect1=01\r\nProtect2=1.5\r\nTipBox=0.0\r\n",
       true, false, true, false, false, nullptr},
  };
  for (const auto& c : cases) {
    settings(c.ini);
    ShredRandom = RenameBeforeDelete = true;
    load();
    SCOPED_TRACE(c.ini);
    EXPECT_EQ(std::tuple(ShredRandom, RenameBeforeDelete, enabled("chkEmptyFiles"),
                         enabled("chkDeadShortcut"), shown("Label26") && shown("Label4")),
              std::tuple(c.shred, c.rename, c.emptyFiles, c.deadShortcut, c.tipBox));
    EXPECT_EQ(BackupFolder, c.backup ? c.backup : app.path() + "\\Backup\\");
    EXPECT_TRUE(folderExists(app.path() + "\\Backup")) << "made whatever Path names";
    w.destroy();
  }
}

TEST_F(MainWindowTest, ChkItemsRestoresWhatItCan) {
  const std::pair<std::string, States> cases[] = {
      {"1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0\r\n",
       ones({0, 3, 6, 9, 12, 15, 18, 21, 24, 27})},
      {"1,x,1\r\n", ones({0, 2})},           // a field that is no number
      {"0,1", ones({1})},                    // fewer fields, no line end
      {"1", ones({})},                       // no comma
      {"2,1,-1,1 \r\n1,1,1", ones({1, 3})},  // only 0 and 1 count; only the first line
      {"1.0, 1,0.0,1e0,2.5\r\n", ones({0, 1, 3})},  // numbers: 2.5 is 2
  };
  for (const auto& [file, states] : cases) {
    app.write("chkItems.txt", file);
    load();
    EXPECT_EQ(w.checkStates(), states) << file;
    w.destroy();
  }
}

// Every way out saves the tip index and the check states, once: Exit, the close box, the hidden
// run's end, and the session's end, which the platform tells before it ends the process.
TEST_F(MainWindowTest, EveryEndSavesTipAndCheckStatesOnce) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    load();
    bool ended = false;
    w.onProgramEnd = [&] { ended = true; };
    w.setCheckStates(ones({1, 29})), w.CurrentTip = 4, bAbort = false;
    if (way == 0) w.cmdExit.click();
    if (way == 1) w.unload();
    if (way == 2) {
      EXPECT_NE(SendMessageW(w.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
      SendMessageW(w.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
      EXPECT_EQ(lastTip(), "4");
      w.setCheckStates(States{});  // what changes after the session end is not saved again
      w.CurrentTip = 2;
    }
    EXPECT_TRUE(test::pumpUntil([&] { return ended; }) && !w.isOpen());
    EXPECT_EQ(bAbort, way != 1);
    EXPECT_EQ(app.read("chkItems.txt"),
              "0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1\r\n");
    EXPECT_EQ(lastTip(), "4");
    EXPECT_EQ(test::listFolder(app.path()), (std::vector<std::string>{"Backup", "chkItems.txt"}))
        << "no temporary file is left";
    DeleteFileW(wide(app.file("chkItems.txt")).c_str()), forgetUserSettings();
  }
  // A session end called off ends nothing.
  load();
  SendMessageW(w.hwnd(), WM_ENDSESSION, FALSE, 0);
  test::pumpUntil([] { return false; }, 50);
  EXPECT_TRUE(w.isOpen() && !app.exists("chkItems.txt"));
}

TEST_F(MainWindowTest, TipIndexIsStoredAndAdvances) {
  const std::tuple<const char*, int, int> cases[] = {  // stored ("": none), tips, shown
      {"5", 5, 1}, {"5", 7, 6}, {"", 3, 2}, {"abc", 3, 2}, {"-4", 3, 1}, {"99999999999", 3, 2}};
  for (const auto& [stored, tipCount, shown] : cases) {
    std::string tips;
    for (int i = 1; i <= tipCount; ++i) tips += "Tip " + std::to_string(i) + "\r\n";
    app.write("tips.txt", tips);
    forgetUserSettings();
    if (*stored) saveUserSetting("QUENMARK", "Settings", "Last Tip", stored);
    load();
    EXPECT_EQ(w.Label26.text(), "Tip " + std::to_string(shown)) << stored;
    w.unload();
    EXPECT_EQ(lastTip(), std::to_string(shown));
  }
  // Blank lines are no tips; a file of none says so.
  app.write("tips.txt", "A\r\n   \r\n  B  \r\n\r\n");
  saveUserSetting("QUENMARK", "Settings", "Last Tip", "1");
  load();
  EXPECT_EQ(w.Label26.text(), "  B  ");
  w.NextTip();
  EXPECT_EQ(w.Label26.text(), "A");
  w.destroy();
  app.write("tips.txt", "  \r\n\r\n");
  load();
  EXPECT_EQ(w.Label26.text(),
            "Tip: There is a problem with the Tips file. Re-installing this application may fix "
            "this problem.");
}

// A group caption toggles its group; each turn-off item leaves through the seam at once.
TEST_F(MainWindowTest, GroupCaptionsAndTurnOffItems) {
  settings("[General]\r\nProtect1=1\r\nProtect2=1\r\n");
  test::RecordingOutside outside;
  load();
  auto clickCaption = [&](const char* name) {
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w.child(name)), STN_CLICKED),
                 reinterpret_cast<LPARAM>(w.child(name)));
  };
  check("chkEmptyFiles");  // not one of the group's ten: its caption leaves it alone
  clickCaption("lblFolderFiles");  // not all ten checked: all ten become checked
  EXPECT_EQ(w.checkStates(), ones({0, 1, 2, 3, 5, 6, 7, 9, 10, 11, 21}));
  clickCaption("lblFolderFiles");  // all ten checked: all ten cleared
  EXPECT_EQ(w.checkStates(), ones({7}));
  clickCaption("lblMiscellaneous");
  EXPECT_EQ(w.categoryByName("chkPlugins")->value(), 1);
  for (int id : {ids::kCmdPowerOff, ids::kCmdRestart, ids::kCmdLogOff, ids::kCmdShutdown,
                 ids::kCmdForceShutdown})
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(outside.exits, (std::vector<UINT>{EWX_POWEROFF, EWX_REBOOT, EWX_LOGOFF, EWX_SHUTDOWN,
                                              EWX_SHUTDOWN | EWX_FORCE}));
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCmdInternetOptions, 0), 0);
  EXPECT_EQ(outside.processes,
            std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl "});
}

// LastCleaned in the regional general date format of each region: a stored text of the region
// is shown, the present moment is written in it and read back at the next start; srch.txt's
// date window is read in the region's order too.
TEST_F(MainWindowTest, LastCleanedFollowsTheRegionalSettings) {
  struct Case {
    const char* stored;  // 6 December 2025, 01:05:07
    const char* written;
  } cases[] = {
      // in the order of regionalSettings()
      {"06.12.2025 01:05:07", R"(\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?)"},
      {"06/12/2025 01:05:07", R"(\d\d/\d\d/\d{4}( \d\d:\d\d:\d\d)?)"},
      {"2025/12/06 1:05:07", R"(\d{4}/\d\d/\d\d( \d{1,2}:\d\d:\d\d)?)"},
      {"6-12-2025 1:05:07", R"(\d{1,2}-\d{1,2}-\d{4}( \d{1,2}:\d\d:\d\d)?)"},
      {"12/6/2025 1:05:07 AM", R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?)"},
  };
  ASSERT_EQ(std::size(cases), test::regionalSettings().size());
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(test::regionalSettings()[i].name);
    test::RegionalSettings regional(test::regionalSettings()[i]);
    ASSERT_TRUE(regional.ok());
    settings(std::string("[CleanUp]\r\nLastCleaned=") + cases[i].stored + "\r\n");
    load();
    EXPECT_EQ(w.lblCleanDate.text(), cases[i].stored);
    w.SaveLastCleaned();
    std::string written = lastCleaned();
    EXPECT_TRUE(std::regex_match(written, std::regex(cases[i].written))) << written;
    EXPECT_EQ(parseDateTime(written, userRegionalFormat()).value_or(DateTime{}).year,
              localNow().year);
    w.destroy();
    load();
    EXPECT_EQ(w.lblCleanDate.text(), written);
    w.destroy();
    std::string stored = cases[i].stored, day = stored.substr(0, stored.find(' '));
    app.write("srch.txt", "x\r\n0 0\r\n1 " + day + " " + day + "\r\n");
    LoadSearchOptions();
    EXPECT_EQ(searchOptions.dateFrom, (DateTime{2025, 12, 6})) << day;
  }
  settings("[CleanUp]\r\nLastCleaned=not a date\r\n");
  load();
  EXPECT_EQ(w.lblCleanDate.text(), "") << "a stored text that is no date shows nothing";
}

}  // namespace
}  // namespace glenvask
