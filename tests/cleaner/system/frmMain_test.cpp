// The main window's start sequence and exit, on real files beside a scratch "executable
// folder" and the real per-user settings store of the prefix.
#include "cleaner/frmMain.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <regex>

#include "base/datetime.h"
#include "base/text.h"
#include "cleaner/files_support.h"
#include "services/clock.h"
#include "support/regional.h"
#include "win/regional.h"

namespace glenvask {
namespace {

class MainWindowTest : public test::CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    forgetUserSettings();
  }
  void TearDown() override {
    CategoryTest::TearDown();
    forgetUserSettings();
  }
  void forgetUserSettings() {
    SHDeleteKeyW(HKEY_CURRENT_USER, wide(userSettingsKey("QUENMARK", "Settings")).c_str());
  }
  void settings(const std::string& text) { app.write("settings.ini", text); }
  bool enabled(const char* box) { return w.categoryByName(box)->enabled(); }
  bool menusEnabled() {
    for (const char* m : {"mnuFile", "mnuPlugins", "mnuTools", "mnuHelp"})
      if (!w.menuEnabled(m)) return false;
    return true;
  }
  // Visible in itself (the window is not shown in these tests).
  bool shown(const char* name) {
    return (GetWindowLongPtrW(w.child(name), GWL_STYLE) & WS_VISIBLE) != 0;
  }
};

// Idle at the start: Clean on, Stop off, the menus on, no progress bar, no section marks.
TEST_F(MainWindowTest, OpensIdle) {
  load();
  EXPECT_TRUE(w.cmdClean.enabled());
  EXPECT_FALSE(w.cmdStop.enabled());
  EXPECT_TRUE(menusEnabled());
  for (const char* hidden : {"Check1", "pgClean", "FoFiValue"}) EXPECT_FALSE(shown(hidden));
  EXPECT_EQ(w.Label5.text(), "6.0.0");
}

TEST_F(MainWindowTest, MissingSettingsGiveEveryDefault) {
  DeleteMethod = 0, ShredRandom = true, RenameBeforeDelete = true;
  load();
  EXPECT_EQ(DeleteMethod, kDeletePlain);
  EXPECT_FALSE(ShredRandom);
  EXPECT_FALSE(RenameBeforeDelete);
  EXPECT_EQ(BackupFolder, app.path() + "\\Backup\\");
  EXPECT_TRUE(folderExists(app.path() + "\\Backup"));
  EXPECT_FALSE(enabled("chkEmptyFiles"));
  EXPECT_FALSE(enabled("chkDeadShortcut"));
  EXPECT_TRUE(enabled("chkTemp"));
  EXPECT_TRUE(shown("Label26"));
  EXPECT_TRUE(shown("Shape3"));
  EXPECT_EQ(w.checkStates(), (std::array<int, kCategoryCount>{}));
  // No LastCleaned: the present moment is shown.
  auto shownDate = parseDateTime(w.lblCleanDate.text(), userRegionalFormat());
  ASSERT_TRUE(shownDate) << w.lblCleanDate.text();
  EXPECT_EQ(shownDate->year, localNow().year);
  EXPECT_EQ(w.Label26.text(),
            "A file needed is missing. Re-installing this application may fix this problem.");
}

TEST_F(MainWindowTest, DeleteMethodIsReadExactly) {
  struct Case {
    const char* value;
    int method;
  } cases[] = {{"R", kDeleteRecycle}, {"D", kDeletePlain},  {"W", kDeleteOverwrite},
               {"B", kDeleteBackup},  {"r", kDeleteBackup}, {"d", kDeleteBackup},
               {"", kDeleteBackup},   {"RD", kDeleteBackup}};
  for (const auto& c : cases) {
    settings(std::string("[General]\r\nDelMethod=") + c.value + "\r\n");
    w.LoadDeleteSettings();
    EXPECT_EQ(DeleteMethod, c.method) << '"' << c.value << '"';
  }
}

TEST_F(MainWindowTest, EachOddSettingFallsBackToItsOwnDefault) {
  struct Case {
    const char* ini;
    bool shred, rename, emptyFiles, deadShortcut, tipBox;
    const char* backupTail;  // BackupFolder after the scratch folder, or a whole path
  } cases[] = {
      {"[General]\r\nExtraS=1\r\nRename=1\r\nProtect1=1\r\nProtect2=1\r\nTipBox=0\r\n"
       "[Backup]\r\nPath=D:\\Saved\r\n",
       true, true, true, true, false, "D:\\Saved\\"},
      {"[General]\r\nExtraS=yes\r\nRename=2\r\nProtect1=on\r\nProtect2=1\r\nTipBox=x\r\n", false,
       false, false, true, true, nullptr},
      {"[General]\r\nExtraS= 1 \r\nRename=-1\r\nProtect1=01\r\nProtect2=1.0\r\nTipBox=\r\n"
       "[Backup]\r\nPath=E:\\B\\\r\n",
       true, false, true, true, true, "E:\\B\\"},  // numbers: " 1", "01" and "1.0" are 1
      {"[General]\r\nExtraS=1.0\r\nRename=0.4\r\nProtect1= 1\r\nProtect2=1.5\r\nTipBox=0.0\r\n",
       true, false, true, false, false, nullptr},
      {"[General]\r\nExtraS=300\r\nTipBox=1\r\n", false, false, false, false, true, nullptr},
  };
  for (const auto& c : cases) {
    settings(c.ini);
    load();
    SCOPED_TRACE(c.ini);
    EXPECT_EQ(ShredRandom, c.shred);
    EXPECT_EQ(RenameBeforeDelete, c.rename);
    EXPECT_EQ(enabled("chkEmptyFiles"), c.emptyFiles);
    EXPECT_EQ(enabled("chkDeadShortcut"), c.deadShortcut);
    EXPECT_EQ(shown("Label26"), c.tipBox);
    EXPECT_EQ(shown("Label4"), c.tipBox);
    EXPECT_EQ(BackupFolder, c.backupTail ? c.backupTail : app.path() + "\\Backup\\");
    // The Backup folder beside the executable is made whatever Path names.
    EXPECT_TRUE(folderExists(app.path() + "\\Backup"));
    w.destroy();
  }
}

TEST_F(MainWindowTest, CheckStatesRoundTripThroughChkItems) {
  load();
  std::array<int, kCategoryCount> states{};
  for (size_t i = 0; i < kCategoryCount; ++i) states[i] = (i % 3 == 0) ? 1 : 0;
  w.setCheckStates(states);
  w.unload();
  EXPECT_FALSE(w.isOpen());
  std::string expected;
  for (size_t i = 0; i < kCategoryCount; ++i) expected += (i ? "," : "") + std::to_string(states[i]);
  EXPECT_EQ(app.read("chkItems.txt"), expected + "\r\n");
  for (const std::string& name : test::listFolder(app.path()))
    EXPECT_EQ(toLower(name).find(".tmp"), std::string::npos) << "a temporary file is left";
  load();
  EXPECT_EQ(w.checkStates(), states);
}

TEST_F(MainWindowTest, DamagedChkItemsRestoresWhatItCan) {
  auto ones = [](std::initializer_list<size_t> idx) {
    std::array<int, kCategoryCount> s{};
    for (size_t i : idx) s[i] = 1;
    return s;
  };
  struct Case {
    std::string file;
    std::array<int, kCategoryCount> states;
  } cases[] = {
      {"1,x,1\r\n", ones({0, 2})},           // a field that is no number
      {"0,1", ones({1})},                    // fewer fields, no line end
      {"1", ones({})},                       // no comma
      {"", ones({})},                        // empty
      {"2,1,-1,1 \r\n1,1,1", ones({1, 3})},  // only 0 and 1 count; only the first line
      {std::string(10, ',') + "1", ones({10})},
      {"1.0, 1,0.0,1e0,2.5\r\n", ones({0, 1, 3})},  // numbers: 2.5 is 2
  };
  for (const auto& c : cases) {
    app.write("chkItems.txt", c.file);
    load();
    EXPECT_EQ(w.checkStates(), c.states) << c.file;
    w.destroy();
  }
}

TEST_F(MainWindowTest, TipIndexIsStoredAndAdvances) {
  auto tips = [&](int n) {
    std::string t;
    for (int i = 1; i <= n; ++i) t += "Tip " + std::to_string(i) + "\r\n";
    app.write("tips.txt", t);
  };
  struct Case {
    const char* stored;  // nullptr: none
    int tipCount;
    int shown;
  } cases[] = {
      {"5", 5, 1}, {"5", 7, 6}, {nullptr, 3, 2}, {"abc", 3, 2}, {"-4", 3, 1}, {"99999999999", 3, 2},
  };
  for (const auto& c : cases) {
    tips(c.tipCount);
    forgetUserSettings();
    if (c.stored) saveUserSetting("QUENMARK", "Settings", "Last Tip", c.stored);
    load();
    EXPECT_EQ(w.CurrentTip, c.shown) << (c.stored ? c.stored : "none");
    EXPECT_EQ(w.Label26.text(), "Tip " + std::to_string(c.shown));
    w.unload();
    EXPECT_EQ(getUserSetting("QUENMARK", "Settings", "Last Tip", ""), std::to_string(c.shown));
  }
}

TEST_F(MainWindowTest, TipsFileRules) {
  app.write("tips.txt", "A\r\n   \r\n  B  \r\n\r\n");
  saveUserSetting("QUENMARK", "Settings", "Last Tip", "1");
  load();
  EXPECT_EQ(w.TipList, (std::vector<std::string>{"A", "  B  "}));
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

TEST_F(MainWindowTest, StopReenablesCleanAndTheMenus) {
  load();
  w.cmdClean.setEnabled(false);
  w.cmdStop.setEnabled(true);
  w.setMenusEnabled(false);
  w.lblStatus.setText("Working...");
  bAbort = false;
  w.cmdStop.click();
  EXPECT_TRUE(bAbort);
  EXPECT_FALSE(w.cmdStop.enabled());
  EXPECT_TRUE(w.cmdClean.enabled());
  EXPECT_TRUE(menusEnabled());
  EXPECT_EQ(w.lblStatus.text(), "");
}

TEST_F(MainWindowTest, ExitSavesAndCloses) {
  load();
  bool ended = false;
  w.onProgramEnd = [&] { ended = true; };
  w.category(0).setValue(1);
  bAbort = false;
  w.cmdExit.click();
  EXPECT_TRUE(bAbort);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(app.read("chkItems.txt").substr(0, 4), "1,0,");
}

TEST_F(MainWindowTest, GroupCaptionTogglesItsGroup) {
  settings("[General]\r\nProtect1=1\r\nProtect2=1\r\n");
  load();
  auto clickCaption = [&](const char* name) {
    HWND h = w.child(name);
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), STN_CLICKED),
                 reinterpret_cast<LPARAM>(h));
  };
  // The group's ten, and the empty-files box that its caption leaves alone.
  std::array<int, kCategoryCount> all{}, emptyFiles{};
  for (const char* box : {"chkRecycleBin", "chkUserDefinedFolders", "chkActiveSetup", "chkIndexer",
                          "chkUserDefinedFiles", "chkUnNecessaryFiles", "chkRecentDocument",
                          "chkPrinter", "chkDump", "chkTemp", "chkEmptyFiles"})
    all[categoryIndex(box)] = 1;
  emptyFiles[categoryIndex("chkEmptyFiles")] = 1;
  check("chkEmptyFiles");
  clickCaption("lblFolderFiles");  // not all ten checked: all ten become checked
  EXPECT_EQ(w.checkStates(), all);
  clickCaption("lblFolderFiles");  // all ten checked: all ten cleared
  EXPECT_EQ(w.checkStates(), emptyFiles);
  clickCaption("lblMiscellaneous");
  EXPECT_EQ(w.categoryByName("chkPlugins")->value(), 1);
  EXPECT_EQ(w.categoryByName("chkTemp")->value(), 0);
}

// Each item by its fixed command id: its caption, and where it leaves the program.
TEST_F(MainWindowTest, TurnOffItemsLeaveThroughTheSeamAtOnce) {
  test::RecordingOutside outside;
  load();
  HMENU menu = GetMenu(w.hwnd());
  auto caption = [&](int id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(id), text, 128, MF_BYCOMMAND);
    return utf8(text);
  };
  struct Case {
    int id;
    const char* caption;
    UINT flags;
  } cases[] = {{ids::kCmdPowerOff, "&Power Off", EWX_POWEROFF},
               {ids::kCmdRestart, "&Restart", EWX_REBOOT},
               {ids::kCmdLogOff, "&Log Off", EWX_LOGOFF},
               {ids::kCmdShutdown, "&Shutdown", EWX_SHUTDOWN},
               {ids::kCmdForceShutdown, "&Force Shutdown", EWX_SHUTDOWN | EWX_FORCE}};
  for (const auto& c : cases) {
    EXPECT_EQ(caption(c.id), c.caption);
    outside.exits.clear();
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
    EXPECT_EQ(outside.exits, std::vector<UINT>{c.flags}) << c.caption;
  }
  EXPECT_EQ(caption(ids::kCmdInternetOptions), "&Internet Options");
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCmdInternetOptions, 0), 0);
  ASSERT_EQ(outside.processes.size(), 1u);
  EXPECT_NE(outside.processes[0].find("inetcpl.cpl"), std::string::npos);
  // Every item opens its window: none is grayed while the program is idle.
  for (int id = ids::kCmdClean; id <= ids::kCmdAbout; ++id)
    EXPECT_FALSE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
  EXPECT_EQ(caption(ids::kCmdAbout), "&About Glenvask");
}

// LastCleaned in the regional general date format: a stored text of the region is shown, the
// present moment is written in it and read back at the next start.
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
    std::string written = readIni(settingsFile(), "CleanUp", "LastCleaned", "");
    EXPECT_TRUE(std::regex_match(written, std::regex(cases[i].written))) << written;
    auto back = parseDateTime(written, userRegionalFormat());
    ASSERT_TRUE(back) << written;
    EXPECT_EQ(back->year, localNow().year);
    w.destroy();
    load();
    EXPECT_EQ(w.lblCleanDate.text(), written);
    w.destroy();
    // srch.txt's date window is read in the region's order too.
    std::string stored = cases[i].stored, day = stored.substr(0, stored.find(' '));
    app.write("srch.txt", "x\r\n0 0\r\n1 " + day + " " + day + "\r\n");
    LoadSearchOptions();
    EXPECT_EQ(searchOptions.dateFrom, (DateTime{2025, 12, 6})) << day;
  }
  // A stored text that is no date shows nothing.
  settings("[CleanUp]\r\nLastCleaned=not a date\r\n");
  load();
  EXPECT_EQ(w.lblCleanDate.text(), "");
}

TEST_F(MainWindowTest, GroupCaptionsShowTheirToolTip) {
  load();
  HWND tips = nullptr;  // the tool tip window the main one owns
  while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) &&
         GetWindow(tips, GW_OWNER) != w.hwnd()) {
  }
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 4);
  for (const char* caption : {"lblFolderFiles", "lblMiscellaneous", "lblInternet", "lblFirefox"}) {
    wchar_t text[80] = {};
    TOOLINFOW ti{sizeof ti, 0, w.hwnd(), reinterpret_cast<UINT_PTR>(w.child(caption))};
    ti.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(utf8(text), "Select All/None") << caption;
  }
}

}  // namespace
}  // namespace glenvask
