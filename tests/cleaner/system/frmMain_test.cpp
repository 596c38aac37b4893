// The main window's start sequence and exit, on real files beside a scratch "executable
// folder" and the real per-user settings store of the prefix.
#include "cleaner/frmMain.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "base/datetime.h"
#include "services/clock.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/settings.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  MainWindow& w = frmMain();

  void SetUp() override {
    setAppPath(app.path());
    SHDeleteKeyW(HKEY_CURRENT_USER, wide(userSettingsKey("QUENMARK", "Settings")).c_str());
  }
  void TearDown() override {
    if (w.isOpen()) w.destroy();
    setAppPath("");
    SHDeleteKeyW(HKEY_CURRENT_USER, wide(userSettingsKey("QUENMARK", "Settings")).c_str());
  }
  void settings(const std::string& text) { app.write("settings.ini", text); }
  bool enabled(const char* box) { return w.categoryByName(box)->enabled(); }
  // Visible in itself (the window is not shown in these tests).
  bool shown(const char* name) {
    return (GetWindowLongPtrW(w.child(name), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void load() { ASSERT_TRUE(w.load("")); }
};

TEST_F(MainWindowTest, OpensWithEveryNamedControl) {
  load();
  std::vector<std::string> names = {
      "lblFolderFiles", "lblMiscellaneous", "lblInternet", "lblFirefox", "Check1", "Check2",
      "lblStatus", "pgClean", "lblCleanDate", "Label5", "Label4", "Label26", "Shape3", "Line11",
      "Image13", "cmdClean", "cmdStop", "cmdExit", "FoFiValue", "MiscValue", "IEValue",
      "FFValue", "PLGValue"};
  for (const auto& c : kCategories) names.push_back(c.box);
  for (const auto& n : names) EXPECT_NE(w.child(n), nullptr) << n;
  for (const auto& c : kCategories)
    EXPECT_EQ(w.categoryByName(c.box)->text(), c.caption) << c.box;
  EXPECT_TRUE(w.cmdClean.enabled());
  EXPECT_FALSE(w.cmdStop.enabled());
  for (const char* m : {"mnuFile", "mnuPlugins", "mnuTools", "mnuHelp"}) EXPECT_TRUE(w.menuEnabled(m));
  EXPECT_FALSE(shown("Check1"));
  EXPECT_FALSE(shown("pgClean")) << "idle: no progress bar";
  EXPECT_FALSE(shown("FoFiValue"));
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
  for (size_t i = 0; i < kCategoryCount; ++i) EXPECT_EQ(w.category(i).value(), 0);
  // No LastCleaned: the present moment is shown.
  auto shownDate = parseDateTime(w.lblCleanDate.text());
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
      {"[General]\r\nExtraS=yes\r\nRename=2\r\nProtect1=on\r\nProtect2=1\r\nTipBox=x\r\n",
       false, false, false, true, true, nullptr},
      {"[General]\r\nExtraS= 1 \r\nRename=-1\r\nProtect1=01\r\nProtect2=1.0\r\nTipBox=\r\n"
       "[Backup]\r\nPath=E:\\B\\\r\n",
       true, false, true, false, true, "E:\\B\\"},
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
  EXPECT_FALSE(app.exists("chkItems.txt.tmp"));
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
      {"1,x,1\r\n", ones({0, 2})},  // a field that is no number
      {"0,1", ones({1})},           // fewer fields, no line end
      {"1", ones({})},              // no comma
      {"", ones({})},               // empty
      {"2,1,-1,1 \r\n1,1,1", ones({1, 3})},  // only 0 and 1 count; only the first line
      {std::string(10, ',') + "1", ones({10})},
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
    if (c.stored) saveUserSetting("QUENMARK", "Settings", "Last Tip", c.stored);
    else SHDeleteKeyW(HKEY_CURRENT_USER, wide(userSettingsKey("QUENMARK", "Settings")).c_str());
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

TEST_F(MainWindowTest, LastCleanedDate) {
  settings("[CleanUp]\r\nLastCleaned=3/4/2025 1:02:03 PM\r\n");
  load();
  EXPECT_EQ(w.lblCleanDate.text(), "3/4/2025 1:02:03 PM");
  w.destroy();

  settings("[CleanUp]\r\nLastCleaned=not a date\r\n");
  load();
  EXPECT_EQ(w.lblCleanDate.text(), "");
  w.SaveLastCleaned();
  std::string stored = readIni(settingsFile(), "CleanUp", "LastCleaned", "");
  EXPECT_TRUE(parseDateTime(stored)) << stored;
  EXPECT_EQ(w.lblCleanDate.text(), stored);
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
  for (const char* m : {"mnuFile", "mnuPlugins", "mnuTools", "mnuHelp"}) EXPECT_TRUE(w.menuEnabled(m));
  EXPECT_EQ(w.lblStatus.text(), "");
  bAbort = false;
}

TEST_F(MainWindowTest, ExitSavesAndCloses) {
  load();
  bool ended = false;
  w.onProgramEnd = [&] { ended = true; };
  w.category(0).setValue(1);
  bAbort = false;
  w.cmdExit.click();
  w.onProgramEnd = nullptr;
  EXPECT_TRUE(bAbort);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(app.read("chkItems.txt").substr(0, 4), "1,0,");
  bAbort = false;
}

TEST_F(MainWindowTest, GroupCaptionTogglesItsGroup) {
  settings("[General]\r\nProtect1=1\r\nProtect2=1\r\n");
  load();
  auto value = [&](const char* box) { return w.categoryByName(box)->value(); };
  auto clickCaption = [&](const char* name) {
    HWND h = w.child(name);
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), STN_CLICKED),
                 reinterpret_cast<LPARAM>(h));
  };
  w.categoryByName("chkEmptyFiles")->setValue(1);
  clickCaption("lblFolderFiles");  // not all ten checked: all ten become checked
  for (const auto& c : kCategories)
    if (c.group == Group::FoldersAndFiles && c.inGroupToggle) EXPECT_EQ(value(c.box), 1) << c.box;
  EXPECT_EQ(value("chkDeadShortcut"), 0);
  clickCaption("lblFolderFiles");  // all ten checked: all ten cleared
  for (const auto& c : kCategories)
    if (c.group == Group::FoldersAndFiles && c.inGroupToggle) EXPECT_EQ(value(c.box), 0) << c.box;
  EXPECT_EQ(value("chkEmptyFiles"), 1) << "not part of the group toggle";
  clickCaption("lblMiscellaneous");
  EXPECT_EQ(value("chkPlugins"), 1);
  EXPECT_EQ(value("chkTemp"), 0);
}

// The menu item with this caption, searched through every submenu: its id and state.
bool findMenuItem(HMENU menu, const std::wstring& caption, UINT& id, UINT& state) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (findMenuItem(sub, caption, id, state)) return true;
    } else if (caption == text) {
      id = GetMenuItemID(menu, i);
      state = GetMenuState(menu, i, MF_BYPOSITION);
      return true;
    }
  }
  return false;
}

TEST_F(MainWindowTest, TurnOffItemsLeaveThroughTheSeamAtOnce) {
  test::RecordingOutside outside;
  load();
  struct Case {
    const wchar_t* caption;
    UINT flags;
  } cases[] = {{L"&Power Off", EWX_POWEROFF},
               {L"&Restart", EWX_REBOOT},
               {L"&Log Off", EWX_LOGOFF},
               {L"&Shutdown", EWX_SHUTDOWN},
               {L"&Force Shutdown", EWX_SHUTDOWN | EWX_FORCE}};
  for (const auto& c : cases) {
    UINT id = 0, state = 0;
    ASSERT_TRUE(findMenuItem(GetMenu(w.hwnd()), c.caption, id, state));
    outside.exits.clear();
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(outside.exits, std::vector<UINT>{c.flags});
  }
  UINT id = 0, state = 0;
  ASSERT_TRUE(findMenuItem(GetMenu(w.hwnd()), L"&Internet Options", id, state));
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  ASSERT_EQ(outside.processes.size(), 1u);
  EXPECT_NE(outside.processes[0].find("inetcpl.cpl"), std::string::npos);
  // A window this version does not have is not offered.
  ASSERT_TRUE(findMenuItem(GetMenu(w.hwnd()), L"&About Glenvask", id, state));
  EXPECT_TRUE(state & MF_GRAYED);
  for (const wchar_t* built : {L"&Clean", L"&Options"}) {
    ASSERT_TRUE(findMenuItem(GetMenu(w.hwnd()), built, id, state));
    EXPECT_FALSE(state & MF_GRAYED);
  }
}

}  // namespace
}  // namespace glenvask
