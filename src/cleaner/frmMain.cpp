#include "cleaner/frmMain.h"

#include <commctrl.h>

#include <algorithm>

#include "base/text.h"
#include "plugins/frmPluginManager.h"
#include "help/frmHelp.h"
#include "options/frmOptions.h"
#include "help/frmAbout.h"
#include "services/clock.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/shutdown.h"
#include "services/system.h"
#include "tools/frmCookieView.h"
#include "tools/frmFavorites.h"
#include "tools/frmIECache.h"
#include "tools/frmFileAssoc.h"
#include "tools/frmOrphanedActivex.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/frmOrphanedDll.h"
#include "tools/frmOrphanedFile.h"
#include "tools/frmOrphanedHelp.h"
#include "tools/frmStartup.h"
#include "tools/frmUninstall.h"
#include "version.h"
#include "win/ids.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;  // a control nobody reaches by id

// The top-level menus, by position.
constexpr const char* kTopMenus[] = {"mnuFile", "mnuPlugins", "mnuTools", "mnuHelp"};

constexpr const char* kMarks[] = {"FoFiValue", "MiscValue", "IEValue", "FFValue", "PLGValue"};

constexpr const char* kMissingTips =
    "A file needed is missing. Re-installing this application may fix this problem.";
constexpr const char* kTipsProblem =
    "Tip: There is a problem with the Tips file. Re-installing this application may fix this "
    "problem.";

// Layout, in 96-dpi pixels.
// The header band of the tab and shortcut pictures sits above everything else.
constexpr int kWidth = kClientWidth, kHeight = 560 + kHeaderHeight;
constexpr int kColX[] = {20, 228, 436}, kColW = 190, kRowH = 24;

struct GroupLayout {
  Group group;
  const char* name;
  const char* caption;
  int id;
  int top;   // of the caption; the frame follows below it
  int rows;
};
constexpr GroupLayout kGroups[] = {
    {Group::FoldersAndFiles, "lblFolderFiles", "Folders and Files", ids::kMainCaptionFoldersFiles,
     kHeaderHeight + 6, 4},
    {Group::Miscellaneous, "lblMiscellaneous", "Miscellaneous", ids::kMainCaptionMisc,
     kHeaderHeight + 146, 2},
    {Group::InternetExplorer, "lblInternet", "Internet Explorer", ids::kMainCaptionInternet,
     kHeaderHeight + 238, 2},
    {Group::Firefox, "lblFirefox", "Firefox", ids::kMainCaptionFirefox, kHeaderHeight + 330, 2},
};

const GroupLayout& layoutOf(Group g) {
  for (const auto& l : kGroups)
    if (l.group == g) return l;
  return kGroups[0];
}

// A stored switch: on when its number is 1 ("1", " 1", "1.0"). A value that is not a number
// counts as its default.
bool readSwitch(const char* key, const char* def) {
  std::string v = readIni(settingsFile(), "General", key, def);
  auto n = parseNumber(v);
  if (!n) n = parseNumber(def);
  return n && *n == 1;
}

// The menu bar, depth first: each row's depth (0 a top menu), command id and caption. A row
// followed by deeper rows opens a submenu; a row without a caption is a separator.
struct MenuRow {
  int depth, id;
  const wchar_t* text;
};
constexpr MenuRow kMenuBar[] = {
    {0, 0, L"&File"}, {1, ids::kCmdClean, L"&Clean"}, {1, ids::kCmdOptions, L"&Options"},
    {1, 0, L"&Turn off computer"}, {2, ids::kCmdPowerOff, L"&Power Off"},
    {2, ids::kCmdRestart, L"&Restart"}, {2, ids::kCmdLogOff, L"&Log Off"},
    {2, ids::kCmdShutdown, L"&Shutdown"}, {2, ids::kCmdForceShutdown, L"&Force Shutdown"},
    {1, 0, nullptr}, {1, ids::kCmdExit, L"&Exit"},
    {0, 0, L"&Plugins"}, {1, ids::kCmdProcessPlugins, L"&Process"},
    {1, ids::kCmdManagePlugins, L"&Manage"},
    {0, 0, L"&Tools"}, {1, ids::kCmdStartupPrograms, L"&Startup programs"},
    {1, ids::kCmdUninstall, L"&Uninstall programs"},
    {1, ids::kCmdFileAssociations, L"&File associations"}, {1, 0, nullptr},
    {1, 0, L"&Registry Cleanup"}, {2, ids::kCmdOrphanedDlls, L"&Orphaned shared DLLs"},
    {2, ids::kCmdOrphanedFilePaths, L"O&rphaned file/path references"},
    {2, ids::kCmdOrphanedHelpFiles, L"Orp&haned help file references"},
    {2, ids::kCmdOrphanedAppPaths, L"Orph&aned application path references"},
    {2, ids::kCmdOrphanedActiveX, L"Orpha&ned ActiveX control references"}, {1, 0, nullptr},
    {1, 0, L"Internet Explorer"}, {2, ids::kCmdIeFavorites, L"&Favorites"},
    {2, ids::kCmdIeCache, L"&Temporary Internet Files (cache)"},
    {2, ids::kCmdInternetOptions, L"&Internet Options"},
    {0, 0, L"&Help"}, {1, ids::kCmdHelpContents, L"Help C&ontents"}, {1, 0, nullptr},
    {1, ids::kCmdAbout, L"&About Glenvask"},
};

std::string firstLine(const std::string& text) {
  size_t end = text.find_first_of("\r\n");
  return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

HMENU MainWindow::buildMenu() {
  HMENU open[3] = {CreateMenu()};  // the menu of each depth being filled
  for (size_t i = 0; i < std::size(kMenuBar); ++i) {
    const MenuRow& r = kMenuBar[i];
    if (i + 1 < std::size(kMenuBar) && kMenuBar[i + 1].depth > r.depth) {
      open[r.depth + 1] = CreatePopupMenu();
      AppendMenuW(open[r.depth], MF_POPUP, reinterpret_cast<UINT_PTR>(open[r.depth + 1]), r.text);
    } else {
      AppendMenuW(open[r.depth], r.text ? MF_STRING : MF_SEPARATOR, r.id, r.text);
    }
  }
  return open[0];
}

bool MainWindow::load(const std::string& args) {
  commandLine = args;
  savedAtExit_ = false;
  if (!isOpen()) {
    WindowSpec spec;
    spec.title = "Glenvask";
    spec.width = kWidth;
    spec.height = kHeight;
    spec.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    spec.menu = buildMenu();
    spec.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!create(spec)) return false;
  }
  setScanReporter(&reviewSink_);
  setCleaningHost(this);
  Form_Load();
  return true;
}

bool MainWindow::onCreate() {
  menuBar_ = GetMenu(hwnd());
  for (const auto& g : kGroups) {
    ControlSpec caption = label(g.name, g.id, g.caption, 12, g.top, 200, 16, SS_NOTIFY);
    addControl(caption);
    addControl(groupBox((std::string("fra") + (g.name + 3)).c_str(), IDC_STATIC, "", 8,
                        g.top + 14, kWidth - 16, g.rows * kRowH + 16));
  }
  // The group captions' tool tip.
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const auto& g : kGroups) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(child(g.name));
    ti.lpszText = const_cast<wchar_t*>(L"Select All/None");
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  for (size_t i = 0; i < kCategoryCount; ++i) {
    const Category& c = kCategories[i];
    const GroupLayout& g = layoutOf(c.group);
    int y = g.top + 14 + 12 + (c.row - 1) * kRowH;
    addControl(checkBox(c.box, ids::kCategoryBase + static_cast<int>(i), c.caption,
                        kColX[c.column - 1], y, kColW, 20));
    categoryBoxes_[i].bind(*this, c.box);
  }
  // The two boxes the options must enable start disabled.
  categoryBoxes_[categoryIndex("chkEmptyFiles")].setEnabled(false);
  categoryBoxes_[categoryIndex("chkDeadShortcut")].setEnabled(false);

  const ControlSpec rest[] = {
      checkBox("Check2", ids::kMainConfirmBox, "Don't ask me for file deletion confirmation", 12,
               kHeaderHeight + 418, 330, 20),
      {"Check1", WC_BUTTONW, ids::kMainHiddenCheck1, "", 0, 0, 0, 0, BS_AUTOCHECKBOX},
      label("lblCleanDateCaption", IDC_STATIC, "Last cleaned:", 356, kHeaderHeight + 420, 80, 18),
      label("lblCleanDate", ids::kMainCleanDate, "", 436, kHeaderHeight + 420, 196, 18),
      {"Shape3", WC_STATICW, IDC_STATIC, "", 8, kHeaderHeight + 444, kWidth - 16, 56,
       SS_ETCHEDFRAME},
      {"Image13", WC_STATICW, IDC_STATIC, "", 18, kHeaderHeight + 456, 32, 32, SS_ICON},
      label("Label4", ids::kMainTipTitle, "Did you know...", 60, kHeaderHeight + 450, 300, 16),
      {"Line11", WC_STATICW, IDC_STATIC, "", 60, kHeaderHeight + 467, kWidth - 80, 2,
       SS_ETCHEDHORZ},
      label("Label26", ids::kMainTip, "", 60, kHeaderHeight + 472, kWidth - 80, 26, SS_NOTIFY),
      {"pgClean", PROGRESS_CLASSW, ids::kMainProgress, "", 8, kHeaderHeight + 508, kWidth - 16, 14,
       0},
      label("lblStatus", ids::kMainStatus, "", 8, kHeaderHeight + 532, 250, 18, SS_ENDELLIPSIS),
      label("lblVersionCaption", IDC_STATIC, "Version", 262, kHeaderHeight + 532, 48, 18),
      label("Label5", ids::kMainVersion, "", 310, kHeaderHeight + 532, 60, 18),
      button("cmdClean", ids::kMainClean, "&Clean", 390, kHeaderHeight + 528, 76, 26,
             BS_DEFPUSHBUTTON),
      button("cmdStop", ids::kMainStop, "&Stop", 472, kHeaderHeight + 528, 76, 26),
      button("cmdExit", ids::kMainExit, "E&xit", 554, kHeaderHeight + 528, 78, 26),
      {"imgCurrent", WC_STATICW, IDC_STATIC, "\xE2\x96\xBA", 0, 0, 12, 18, SS_CENTER},
  };
  addControls(rest);
  for (int i = 0; i < 5; ++i)
    addControl({kMarks[i], WC_BUTTONW, ids::kMainMarkBase + i, "", 0, 0, 0, 0, BS_AUTOCHECKBOX});
  ShowWindow(child("Check1"), SW_HIDE);
  ShowWindow(child("imgCurrent"), SW_HIDE);
  ShowWindow(child("pgClean"), SW_HIDE);  // shown while a run goes on
  for (const char* m : kMarks) ShowWindow(child(m), SW_HIDE);
  SendMessageW(child("Image13"), STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32516))), 0);

  lblStatus.bind(*this, "lblStatus");
  lblCleanDate.bind(*this, "lblCleanDate");
  Label5.bind(*this, "Label5");
  Label26.bind(*this, "Label26");
  Label4.bind(*this, "Label4");
  pgClean.bind(*this, "pgClean");
  cmdClean.bind(*this, "cmdClean");
  cmdStop.bind(*this, "cmdStop");
  cmdExit.bind(*this, "cmdExit");
  Check1.bind(*this, "Check1");
  Check2.bind(*this, "Check2");
  FoFiValue.bind(*this, "FoFiValue");
  MiscValue.bind(*this, "MiscValue");
  IEValue.bind(*this, "IEValue");
  FFValue.bind(*this, "FFValue");
  PLGValue.bind(*this, "PLGValue");
  imgCurrent.bind(*this, "imgCurrent");
  cmdStop.setEnabled(false);
  createPages();
  return true;
}

void MainWindow::Form_Load() {
  LoadDeleteSettings();
  LoadLastCleaned();
  pgClean.setRange(0, pgClean.max() > 0 ? pgClean.max() : 100);
  pgClean.setValue(0);
  LoadScanLists();  // the scanner's lists and search options
  Label5.setText(GLENVASK_VERSION_TEXT);

  // The tip index: a stored text that is not a 32-bit number starts at the first tip.
  auto tip = parseWholeNumber(getUserSetting("QUENMARK", "Settings", "Last Tip", "1"));
  CurrentTip = tip && *tip >= INT32_MIN && *tip <= INT32_MAX ? static_cast<std::int32_t>(*tip) : 1;
  if (!LoadTips(appFile("tips.txt"))) Label26.setText(kMissingTips);

  // The check states: each field that is 0 or 1 sets its box; a missing or damaged field
  // leaves that box as designed (cleared).
  if (auto bytes = readFileBytes(appFile("chkItems.txt")); bytes && !bytes->empty()) {
    std::string line = firstLine(*bytes);
    if (line.find(',') != std::string::npos) {
      auto fields = split(line, ',');
      for (size_t i = 0; i < kCategoryCount && i < fields.size(); ++i) {
        auto v = parseWholeNumber(fields[i]);
        if (v && (*v == 0 || *v == 1)) categoryBoxes_[i].setValue(static_cast<int>(*v));
      }
    }
  }

  // The folder Backup beside the executable, whatever the settings name.
  std::string backup = appFile("Backup");
  if (!folderExists(backup)) CreateDirectoryW(wide(backup).c_str(), nullptr);

  LoadStartupSettings();
}

void MainWindow::LoadDeleteSettings() {
  std::string file = settingsFile();
  std::string method = readIni(file, "General", "DelMethod", "D");
  DeleteMethod = method == "R" ? kDeleteRecycle
               : method == "D" ? kDeletePlain
               : method == "W" ? kDeleteOverwrite
                               : kDeleteBackup;
  // Stored as 0 or 1; only 1 turns an option on, and anything else reads as off.
  auto byteSetting = [&](const char* key) {
    auto v = parseWholeNumber(readIni(file, "General", key, "0"));
    return v && *v == 1;
  };
  ShredRandom = byteSetting("ExtraS");
  RenameBeforeDelete = byteSetting("Rename");
  std::string path = readIni(file, "Backup", "Path", appFile("Backup\\"));
  if (path.empty() || path.back() != '\\') path += '\\';
  BackupFolder = path;
}

void MainWindow::LoadStartupSettings() {
  // Timed auto-clean. An interval that is no number, or too large for its field, arms nothing:
  // a timer with no sound interval would clean every minute.
  setAutoClean(false);
  if (readSwitch("AutoClean", "0")) {
    std::string file = settingsFile();
    auto duration = parseWholeNumber(readIni(file, "General", "Duration", "1"));
    if (!duration || *duration < 1 || *duration > INT16_MAX) duration = 1;
    auto hm = parseWholeNumber(readIni(file, "General", "HM", "1"));
    if (!hm || *hm < INT16_MIN || *hm > INT16_MAX) hm = 1;
    std::int64_t minutes = *hm == 1 ? *duration * 60 : *duration;
    if (minutes <= INT16_MAX) {
      AutoCleanMinutes = static_cast<std::int16_t>(minutes);
      AutoCleanStart = localNow();
      setAutoClean(true);
    }
  }

  // The switches: the whole argument text, in lower case, matched exactly.
  std::string sw = toLower(commandLine);
  if (sw == "-s") {
    show(SW_SHOW);
    lblStatus.setText("");
    if (readSwitch("StartupClean", "0")) cmdClean_Click();
  } else if (sw == "-c") {
    show(SW_SHOW);
    lblStatus.setText("");
    cmdClean_Click();
  } else if (sw == "-h") {
    show(SW_HIDE);
    cmdClean_Click();
  }
  if (!isOpen()) return;  // the hidden run has ended the program

  categoryBoxes_[categoryIndex("chkEmptyFiles")].setEnabled(readSwitch("Protect1", "0"));
  categoryBoxes_[categoryIndex("chkDeadShortcut")].setEnabled(readSwitch("Protect2", "0"));
  setTipBoxVisible(readSwitch("TipBox", "1"));
}

void MainWindow::setTipBoxVisible(bool on) {
  tipBoxOn_ = on;  // shown on the Main page only
  for (const char* part : {"Shape3", "Image13", "Line11", "Label4", "Label26"})
    ShowWindow(child(part), on && tabPage_ == 0 ? SW_SHOWNA : SW_HIDE);
}

// LastCleaned is written and read in the regional general date format.
void MainWindow::LoadLastCleaned() {
  RegionalFormat format = userRegionalFormat();
  std::string text =
      readIni(settingsFile(), "CleanUp", "LastCleaned", formatGeneralDate(localNow(), format));
  if (parseDateTime(text, format)) lblCleanDate.setText(text);
}

void MainWindow::SaveLastCleaned() {
  std::string now = formatGeneralDate(localNow(), userRegionalFormat());
  writeIni(settingsFile(), "CleanUp", "LastCleaned", now);
  lblCleanDate.setText(now);
}

bool MainWindow::LoadTips(const std::string& fileName) {
  if (fileName.empty() || !fileExists(fileName)) return false;
  auto bytes = readFileBytes(fileName);
  if (!bytes) return false;
  TipList.clear();
  for (std::string& line : split(fromFileText(*bytes), '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!trim(line).empty()) TipList.push_back(line);
  }
  NextTip();
  return true;
}

void MainWindow::NextTip() {
  if (CurrentTip == INT32_MAX || ++CurrentTip > static_cast<std::int64_t>(TipList.size()) ||
      CurrentTip < 1)
    CurrentTip = 1;
  DisplayCurrentTip();
}

void MainWindow::DisplayCurrentTip() {
  if (CurrentTip >= 1 && static_cast<size_t>(CurrentTip) <= TipList.size())
    Label26.setText(TipList[static_cast<size_t>(CurrentTip) - 1]);
  else
    Label26.setText(kTipsProblem);
}

void MainWindow::Form_QueryUnload() {
  saveUserSetting("QUENMARK", "Settings", "Last Tip", std::to_string(CurrentTip));
}

void MainWindow::Form_Unload() {
  std::string line;
  for (size_t i = 0; i < kCategoryCount; ++i) {
    if (i) line += ',';
    line += std::to_string(categoryBoxes_[i].value());
  }
  line += "\r\n";
  writeFileAtomic(appFile("chkItems.txt"), line);
}

std::array<int, kCategoryCount> MainWindow::checkStates() const {
  std::array<int, kCategoryCount> s{};
  for (size_t i = 0; i < kCategoryCount; ++i) s[i] = categoryBoxes_[i].value();
  return s;
}

void MainWindow::setCheckStates(const std::array<int, kCategoryCount>& states) {
  for (size_t i = 0; i < kCategoryCount; ++i) categoryBoxes_[i].setValue(states[i]);
}

CheckBox* MainWindow::categoryByName(std::string_view box) {
  for (size_t i = 0; i < kCategoryCount; ++i)
    if (box == kCategories[i].box) return &categoryBoxes_[i];
  return nullptr;
}

bool MainWindow::categoryChecked(std::string_view box) const {
  for (size_t i = 0; i < kCategoryCount; ++i)
    if (box == kCategories[i].box) return categoryBoxes_[i].value() == 1;
  return false;
}

void MainWindow::toggleGroup(Group group) {
  int count = 0, sum = 0;
  for (size_t i = 0; i < kCategoryCount; ++i)
    if (kCategories[i].group == group && kCategories[i].inGroupToggle) {
      ++count;
      sum += categoryBoxes_[i].value();
    }
  int value = sum == count ? 0 : 1;
  for (size_t i = 0; i < kCategoryCount; ++i)
    if (kCategories[i].group == group && kCategories[i].inGroupToggle)
      categoryBoxes_[i].setValue(value);
}

void MainWindow::setMenusEnabled(bool on) {
  setPicturesEnabled(on);
  if (!menuBar_) return;
  for (UINT i = 0; i < 4; ++i)
    EnableMenuItem(menuBar_, i, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(hwnd());
}

bool MainWindow::menuEnabled(const char* name) const {
  for (UINT i = 0; i < 4; ++i)
    if (std::string_view(kTopMenus[i]) == name)
      return menuBar_ && !(GetMenuState(menuBar_, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
  return false;
}

void MainWindow::cmdStop_Click() {
  bAbort = true;
  cmdStop.setEnabled(false);
  cmdClean.setEnabled(true);
  setMenusEnabled(true);
  lblStatus.setText("");
}

void MainWindow::cmdExit_Click() {
  bAbort = true;
  unload();
}

void MainWindow::unload() { close(); }

bool MainWindow::onClose() {
  saveAtExit();
  return true;
}

void MainWindow::saveAtExit() {
  if (savedAtExit_) return;
  savedAtExit_ = true;
  Form_QueryUnload();
  Form_Unload();
}

void MainWindow::onCloseWhileBusy() { bAbort = true; }

void MainWindow::onDestroy() {
  if (&cleaningHost() == this) setCleaningHost(nullptr);
  menuBar_ = nullptr;
  autoCleanArmed_ = false;
  if (onProgramEnd) onProgramEnd();
}

void MainWindow::onCommand(int id, int code, HWND) {
  if (code == STN_CLICKED && pictureClicked(id)) return;
  // No window opens while a run goes, nor over a modal window of the program (the plug-in
  // manager's Process, a restore): a command posted past a gray item is refused here.
  bool busy = running_ || !IsWindowEnabled(hwnd());
  if (busy && id >= ids::kCmdOptions && id <= ids::kCmdAbout && id != ids::kCmdExit) return;
  if (id >= ids::kMainCaptionFoldersFiles && id <= ids::kMainCaptionFirefox &&
      code == STN_CLICKED) {
    toggleGroup(kGroups[id - ids::kMainCaptionFoldersFiles].group);
    return;
  }
  switch (id) {
    case ids::kMainClean:
    case ids::kCmdClean:
      if (cmdClean.enabled()) cmdClean_Click();
      return;
    case ids::kMainStop: cmdStop_Click(); return;
    case ids::kMainExit: cmdExit_Click(); return;
    case ids::kCmdExit: unload(); return;
    case ids::kCmdOptions: OpenOptions(hwnd()); return;
    // The shutdown items act at once, as the menu says.
    case ids::kCmdPowerOff: PowerOffWindows(); return;
    case ids::kCmdRestart: RestartWindows(); return;
    case ids::kCmdLogOff: LogOffWindows(); return;
    case ids::kCmdShutdown: ShutDownWindows(); return;
    case ids::kCmdForceShutdown: ForceShutDownWindows(); return;
    case ids::kCmdInternetOptions: OpenInternetOptions(); return;
    case ids::kCmdProcessPlugins: mnuProcessPlugin_Click(); return;
    case ids::kCmdHelpContents: frmHelp().open(); return;  // modeless, no owner
    case ids::kCmdManagePlugins: asker().showModal(frmPluginManager(), hwnd()); return;
    case ids::kCmdIeFavorites: frmFavorites().open(); return;
    case ids::kCmdIeCache: frmIECache().open(); return;
    case ids::kCmdStartupPrograms: frmStartupPrograms().open(); return;
    case ids::kCmdUninstall: frmUninstall().open(); return;
    case ids::kCmdFileAssociations: frmFileAssociation().open(); return;
    case ids::kCmdOrphanedDlls: frmOrphanedDLL().open(); return;
    case ids::kCmdOrphanedFilePaths: frmInvalidFile().open(); return;
    case ids::kCmdOrphanedHelpFiles: frmInvalidHelp().open(); return;
    case ids::kCmdOrphanedAppPaths: frmInvalidAppPath().open(); return;
    case ids::kCmdOrphanedActiveX: frmInvalidActivex().open(); return;
    case ids::kMainDownload: cmdDownload_Click(); return;
    case ids::kCmdAbout: asker().showModal(frmAbout(), hwnd()); return;
    case ids::kMainTip:
      if (code == STN_CLICKED) NextTip();
      return;
    default: return;
  }
}

void MainWindow::showCookieFile(const std::string& path, HWND owner) {
  frmCookies().showFile(path, owner);
}

std::optional<LRESULT> MainWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // The session ends (log off, restart, shut down): the process may be ended as soon as the
  // end is told, so what an exit saves is saved then, and the program closes.
  if (msg == WM_QUERYENDSESSION) return TRUE;
  if (msg == WM_ENDSESSION) {
    if (wp) {
      bAbort = true;
      saveAtExit();
      PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    }
    return 0;
  }
  if (auto r = navigationMessage(msg, wp, lp)) return r;
  if (msg == WM_SETCURSOR) {
    int id = GetDlgCtrlID(reinterpret_cast<HWND>(wp));
    if ((id >= ids::kMainCaptionFoldersFiles && id <= ids::kMainCaptionFirefox) ||
        id == ids::kMainTip) {
      SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // the hand
      return TRUE;
    }
  }
  return std::nullopt;
}

}  // namespace glenvask
