// The options window: its layout and pages, loading and Accept, the General page and the
// backup settings. The other pages' routines are in frmOptions_pages.cpp.
#include "options/frmOptions.h"

#include "help/frmHelp.h"

#include <commctrl.h>

#include <cstring>
#include <exception>

#include "base/text.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;  // a control nobody reaches by id
constexpr int kWidth = 776, kHeight = 470;
constexpr int kRight = 640, kBtnW = 110, kBtnH = 26;  // the buttons beside a page's list

constexpr const char* kMinutes = "Minute(s)";
constexpr const char* kHours = "Hour(s)";
constexpr const char* kBackupRules[] = {"Always", "Newer", "Prompt", "Never"};

// A list box of which one item is chosen at a time.
ControlSpec singleList(const char* name, int id, int x, int y, int w, int h) {
  ControlSpec s = listBox(name, id, x, y, w, h);
  s.style &= ~static_cast<DWORD>(LBS_EXTENDEDSEL);
  return s;
}

// A combo box whose edit takes a typed number besides its list.
ControlSpec typedCombo(const char* name, int id, int x, int y, int w, int h) {
  ControlSpec s = comboBox(name, id, x, y, w, h);
  s.style = (s.style & ~static_cast<DWORD>(CBS_DROPDOWNLIST)) | CBS_DROPDOWN;
  return s;
}

// A frame around some of a page's controls: the page shows through it.
ControlSpec frame(const char* name, const char* text, int x, int y, int w, int h) {
  ControlSpec s = groupBox(name, IDC_STATIC, text, x, y, w, h);
  s.exStyle |= WS_EX_TRANSPARENT;
  return s;
}

ControlSpec numberBox(const char* name, int id, const char* text, int x, int y, int w, int h) {
  return editBox(name, id, text, x, y, w, h, ES_NUMBER);
}

// A switch of settings.ini: on when its number is 1; a text that is no number counts as its
// default (as the main window reads it at start).
bool switchOn(const std::string& value, const char* def) {
  auto n = parseInteger(value);
  if (!n) n = parseInteger(def);
  return n && *n == 1;
}

// The auto-clean interval in minutes as the main window derives it at start: a duration that
// is no number from 1 up counts as 1; nothing when the interval is too long for its field.
std::optional<std::int16_t> autoCleanMinutes(const std::string& duration, const std::string& hm) {
  auto d = parseInteger(duration);
  if (!d || *d < 1 || *d > INT16_MAX) d = 1;
  auto unit = parseInteger(hm);
  if (!unit || *unit < INT16_MIN || *unit > INT16_MAX) unit = 1;
  std::int64_t minutes = *unit == 1 ? *d * 60 : *d;
  if (minutes > INT16_MAX) return std::nullopt;
  return static_cast<std::int16_t>(minutes);
}

int deleteMethodOf(const std::string& letter) {
  return letter == "R"   ? kDeleteRecycle
         : letter == "D" ? kDeletePlain
         : letter == "W" ? kDeleteOverwrite
                         : kDeleteBackup;
}

}  // namespace

OptionsWindow& frmOptions() { return soleInstance<OptionsWindow>(); }

void OpenOptions(HWND owner) {
  OptionsWindow& w = frmOptions();
  if (w.isOpen()) {
    if (IsIconic(w.hwnd())) ShowWindow(w.hwnd(), SW_RESTORE);
    SetForegroundWindow(w.hwnd());
    return;
  }
  if (cleaningHost().isRunning()) return;
  asker().showModal(w, owner);
  try {
    LoadScanLists();
  } catch (const std::exception&) {
  }
}

bool OptionsWindow::build(HWND owner) {
  if (isOpen()) return true;
  return create(dialogFrame("Options", kWidth, kHeight, owner));
}

bool OptionsWindow::onCreate() {
  SSTab1 = TabControl();
  made_.fill(false);
  for (auto& controls : pageControls_) controls.clear();
  makeCommon();
  for (const char* caption : kOptionsPages)
    if (!SSTab1.addPage(caption, {})) return false;
  SSTab1.onChange = [this] { showPage(static_cast<size_t>(SSTab1.selected())); };
  makePage(kPageGeneral);
  Form_Load();
  return true;
}

void OptionsWindow::makeCommon() {
  const ControlSpec common[] = {
      tabControl("SSTab1", ids::kOptionsTabs, 8, 8, kWidth - 16, 420),
      button("cmdHelp", ids::kOptionsHelp, "&Help", 8, 436, 90, kBtnH),
      button("cmdAccept", ids::kOptionsAccept, "&Accept", kWidth - 196, 436, 90, kBtnH,
             BS_DEFPUSHBUTTON),
      button("cmdCancel", ids::kOptionsCancel, "&Cancel", kWidth - 98, 436, 90, kBtnH),
  };
  addControls(common);
  SSTab1.bind(*this, "SSTab1");
  bindAll({{&cmdAccept, "cmdAccept"}, {&cmdCancel, "cmdCancel"}, {&cmdHelp, "cmdHelp"}});
}

void OptionsWindow::addPageControls(size_t page, std::initializer_list<Placed> controls) {
  for (const auto& [spec, wrapper] : controls) {
    HWND h = addControl(spec);
    if (!h) continue;
    pageControls_[page].push_back(h);
    if (wrapper) bindAll({{wrapper, spec.name}});
  }
}

void OptionsWindow::addButtonColumn(size_t page, int x, int width,
                                    std::initializer_list<ColumnButton> buttons) {
  int y = 64;
  for (const auto& b : buttons) {
    addPageControls(page, {{button(b.name, b.id, b.text, x, y, width, kBtnH), b.wrapper}});
    y += 32;
  }
}

void OptionsWindow::addListPage(size_t page, const char* caption, Placed list,
                                const char* entryCaption, Placed entry) {
  if (!list.spec.x) list.spec.x = 24;
  list.spec.y = 64;
  entry.spec.y = 352;
  if (!list.spec.w) list.spec.w = 604, list.spec.h = 278;
  if (!entry.spec.w) entry.spec.x = 86, entry.spec.w = 542, entry.spec.h = 22;
  // The captions are named for the list: "lblUDIFO" and "lblUDIFOFolder" for "lstUDIFO".
  std::string name = std::string("lbl") + (list.spec.name + 3);
  std::string entryName = name + std::string(entryCaption, std::strlen(entryCaption) - 1);
  addPageControls(page, {{label(name.c_str(), IDC_STATIC, caption, list.spec.x, 44, 300, 18)},
                         list,
                         {label(entryName.c_str(), IDC_STATIC, entryCaption, list.spec.x, 356,
                                entry.spec.x - list.spec.x - 2, 18)},
                         entry});
}

void OptionsWindow::bindAll(std::initializer_list<Binding> bindings) {
  for (const auto& [control, name] : bindings) {
    control->bind(*this, name);
    bound_.push_back({control, name});
  }
}

void OptionsWindow::unbindAll() {
  for (auto& [control, name] : bound_) control->attach(nullptr);
  bound_.clear();
  for (OptionGroup* g : {&deleteMethod, &sizeOption, &backupRule}) g->bind(*this, {});
}

void OptionsWindow::showPage(size_t page) {
  if (page >= kOptionsPageCount) return;
  step([&] { makePage(page); });
  HWND focus = GetFocus();
  for (size_t p = 0; p < kOptionsPageCount; ++p)
    for (HWND c : pageControls_[p]) {
      if (p != page && (c == focus || IsChild(c, focus))) SetFocus(SSTab1.hwnd());
      ShowWindow(c, p == page ? SW_SHOWNA : SW_HIDE);
    }
}

void OptionsWindow::makePage(size_t page) {
  if (page >= kOptionsPageCount || made_[page]) return;
  made_[page] = true;
  switch (page) {
    case kPageGeneral:
      addPageControls(
          page,
          {{checkBox("chkStartWWindows", ids::kOptStartWithWindows, "Start with Windows", 24, 44,
                     240, 20),
            &chkStartWWindows},
           {checkBox("chkCleanStartup", ids::kOptCleanStartup, "Clean on start up", 24, 68, 240,
                     20),
            &chkCleanStartup},
           {checkBox("chkAutoClean", ids::kOptAutoClean, "Automatically clean every", 24, 94, 180,
                     20),
            &chkAutoClean},
           {typedCombo("cmbAutoClean1", ids::kOptAutoCleanDuration, 208, 92, 64, 300),
            &cmbAutoClean1},
           {comboBox("cmbAutoClean", ids::kOptAutoCleanUnit, 280, 92, 110, 120), &cmbAutoClean},
           {frame("fraDeletionMethod", "Deletion Method", 20, 126, 460, 150)},
           {optionButton("optRecyclebin", ids::kOptRecycleBin, "Recycle bin", 36, 146, 200, 20,
                         true)},
           {optionButton("optDelete", ids::kOptDelete, "Delete", 36, 170, 200, 20)},
           {optionButton("optWipe", ids::kOptWipe, "Wipe", 36, 194, 90, 20)},
           {optionButton("optZip", ids::kOptZip, "Backup to zip file in folder:", 36, 218, 240,
                         20)},
           {checkBox("chkExtraSecurity", ids::kOptExtraSecurity, "Extra Security", 140, 194, 130,
                     20),
            &chkExtraSecurity},
           {checkBox("chkRename", ids::kOptRename, "Rename", 280, 194, 120, 20), &chkRename},
           {editBox("txtGenerealBackup", ids::kOptGeneralBackup, "", 36, 242, 390, 22),
            &txtGenerealBackup},
           {button("cmdBrowseBackup", ids::kOptBrowseBackup, "...", 432, 242, 32, 22),
            &cmdBrowseBackup},
           {frame("fraEnableOptions", "Enable Options", 20, 288, 460, 128)},
           {label("lblEnableOptions", IDC_STATIC,
                  "This feature allows the user to enable options disabled by default in the "
                  "\"Folders and Files\" section of the main screen",
                  36, 306, 430, 32)},
           {checkBox("Check1", ids::kOptProtectEmpty, "Empty (zero-byte) files", 36, 342, 300, 20),
            &Check1},
           {checkBox("Check2", ids::kOptProtectDead, "Dead (shortcut) links", 36, 364, 300, 20),
            &Check2},
           {checkBox("Check3", ids::kOptTipBox, "Tip Box", 36, 386, 300, 20), &Check3}});
      deleteMethod.bind(*this, {"optRecyclebin", "optDelete", "optWipe", "optZip"});
      break;  // filled by the loading, which follows at once
    case kPageSearch:
      addPageControls(
          page,
          {{frame("fraDrives", "Drives to search", 20, 40, 236, 210)},
           {listBox("lstSearch", ids::kOptSearchDrives, 32, 60, 212, 178), &lstSearch},
           {frame("fraDeadLinks", "Ignore dead (shortcut) links", 20, 260, 236, 80)},
           {checkBox("chkSearchFileReference", ids::kOptSearchFileReference, "File reference", 32,
                     280, 200, 20),
            &chkSearchFileReference},
           {checkBox("chkSearchPathReference", ids::kOptSearchPathReference, "Path reference", 32,
                     306, 200, 20),
            &chkSearchPathReference},
           {frame("fraSearchOptions", "Search options", 268, 40, 488, 160)},
           {checkBox("chkSearchDateReference", ids::kOptSearchDateReference, "From", 280, 64, 60,
                     20),
            &chkSearchDateReference},
           {datePicker("dtpSearchFirst", ids::kOptSearchFirstDate, 346, 62, 120, 22),
            &dtpSearchFirst},
           {label("lblSearchAnd", IDC_STATIC, "to", 474, 66, 20, 18)},
           {datePicker("dtpSearchSecond", ids::kOptSearchSecondDate, 498, 62, 120, 22),
            &dtpSearchSecond},
           {checkBox("chkSearchSize", ids::kOptSearchSize, "Size", 280, 100, 60, 20),
            &chkSearchSize},
           {optionButton("optSearcSizeIs", ids::kOptSearchSizeEquals, "Equals", 346, 100, 80, 20,
                         true)},
           {optionButton("optSearchSizeAtleast", ids::kOptSearchSizeAtLeast, "A minimum", 430, 100,
                         96, 20)},
           {optionButton("optSearchSizeAtMost", ids::kOptSearchSizeAtMost, "A maximum", 530, 100,
                         96, 20)},
           {numberBox("txtSearchSize", ids::kOptSearchSizeText, "1000", 630, 98, 70, 22),
            &txtSearchSize},
           {label("lblSEarchKB", IDC_STATIC, "KB", 706, 102, 30, 18)},
           {label("lblSearchIgnore", IDC_STATIC, "Ignore files with attributes", 280, 136, 300,
                  18)},
           {checkBox("chkSearchReadOnly", ids::kOptSearchReadOnly, "Read only", 280, 160, 110, 20),
            &chkSearchReadOnly},
           {checkBox("chkSearchHidden", ids::kOptSearchHidden, "Hidden", 396, 160, 110, 20),
            &chkSearchHidden},
           {checkBox("chkSearchSystem", ids::kOptSearchSystem, "System", 512, 160, 110, 20),
            &chkSearchSystem}});
      sizeOption.bind(*this, {"optSearcSizeIs", "optSearchSizeAtleast", "optSearchSizeAtMost"});
      showSearch();
      break;
    case kPageIgnoreFolders:
      addListPage(
          page, "Folders to ignore",
          {singleList("lstUDIFO", ids::kOptIgnoreFolders, 0, 0, 0, 0), &lstUDIFO},
          "Folder:", {editBox("txtUDIFO", ids::kOptIgnoreFolderText, "", 0, 0, 0, 0), &txtUDIFO});
      addButtonColumn(
          page, kRight, kBtnW,
          {{"cmdUDIFOAdd", ids::kOptIgnoreFolderAdd, "Add", &cmdUDIFOAdd},
           {"cmdUDIFORemove", ids::kOptIgnoreFolderRemove, "Remove", &cmdUDIFORemove},
           {"cmdUDIFOBrowse", ids::kOptIgnoreFolderBrowse, "Browse", &cmdUDIFOBrowse},
           {"cmdUDIFOExplore", ids::kOptIgnoreFolderExplore, "Explore", &cmdUDIFOExplore}});
      fillList(lstUDIFO, udifo_);
      break;
    case kPageIgnoreFiles:
      addPageControls(page,
                      {{label("lblIFI", IDC_STATIC, "Filenames to ignore", 24, 44, 240, 18)},
                       {singleList("lstIFI", ids::kOptIgnoreNames, 24, 64, 240, 340), &lstIFI}});
      addButtonColumn(
          page, 272, 96,
          {{"cmdAdd", ids::kOptIgnoreNameAdd, "Add...", &cmdAdd},
           {"cmdIFIRemove", ids::kOptIgnoreNameRemove, "Remove", &cmdIFIRemove},
           {"cmdIFIDefaults", ids::kOptIgnoreNameDefaults, "Defaults", &cmdIFIDefaults}});
      addListPage(page, "Extensions to ignore",
                  {singleList("lstIE", ids::kOptIgnoreExtensions, 392, 0, 236, 278), &lstIE},
                  "Extension:",
                  {editBox("txtIE", ids::kOptIgnoreExtensionText, "", 464, 0, 164, 22), &txtIE});
      addButtonColumn(
          page, kRight, kBtnW,
          {{"cmdIEAdd", ids::kOptIgnoreExtensionAdd, "Add", &cmdIEAdd},
           {"cmdIERemove", ids::kOptIgnoreExtensionRemove, "Remove", &cmdIERemove},
           {"cmdIEDefaults", ids::kOptIgnoreExtensionDefaults, "Defaults", &cmdIEDefaults}});
      fillList(lstIFI, ifi_);
      fillList(lstIE, ie_);
      break;
    case kPageUnnecessary:
      addPageControls(
          page,
          {{label("lblUnnecessaryFiles", IDC_STATIC,
                  "File types to look for when searching for unnecessary files", 24, 44, 600, 18)},
           {label("lblUNFILAdd", IDC_STATIC, "File Type:", 24, 356, 70, 18)},
           {editBox("txtUnnecessaryFilesFileType", ids::kOptUnnecessaryType, "", 96, 352, 120, 22),
            &txtUnnecessaryFilesFileType},
           {label("lblUnnecessaryFilesDescription", IDC_STATIC, "Description:", 228, 356, 80, 18)},
           {editBox("txtUnnecessaryFilesDescription", ids::kOptUnnecessaryDescription, "", 310, 352,
                    318, 22),
            &txtUnnecessaryFilesDescription}});
      addButtonColumn(
          page, kRight, kBtnW,
          {{"cmdUnnecessaryFilesAdd", ids::kOptUnnecessaryAdd, "Add", &cmdUnnecessaryFilesAdd},
           {"cmdUnnecessaryFilesRemove", ids::kOptUnnecessaryRemove, "Remove",
            &cmdUnnecessaryFilesRemove},
           {"cmdUnnecessaryFilesBrowse", ids::kOptUnnecessaryBrowse, "Browse",
            &cmdUnnecessaryFilesBrowse},
           {"cmdUnnecessaryFilesDefaults", ids::kOptUnnecessaryDefaults, "Defaults",
            &cmdUnnecessaryFilesDefaults}});
      lstvUnnecessaryFiles.create(*this, "lstvUnnecessaryFiles", ids::kOptUnnecessaryList, 24, 64,
                                  604, 278, true);
      pageControls_[page].push_back(lstvUnnecessaryFiles.hwnd());
      lstvUnnecessaryFiles.setColumns({{"File type", 150}, {"Description", 420}});
      bound_.push_back({&lstvUnnecessaryFiles, "lstvUnnecessaryFiles"});
      showUnnecessary(unfiLoaded_);
      break;
    case kPageUserFolders:
      addListPage(
          page, "Folders to empty",
          {singleList("lstUDFO", ids::kOptUserFolders, 0, 0, 0, 0), &lstUDFO}, "Folder:",
          {editBox("txtUDFOFolder", ids::kOptUserFolderText, "", 0, 0, 0, 0), &txtUDFOFolder});
      addButtonColumn(
          page, kRight, kBtnW,
          {{"cmdUDFOAdd", ids::kOptUserFolderAdd, "Add", &cmdUDFOAdd},
           {"cmdUDFORemove", ids::kOptUserFolderRemove, "Remove", &cmdUDFORemove},
           {"cmdUDFOBrowse", ids::kOptUserFolderBrowse, "Browse", &cmdUDFOBrowse},
           {"cmdExploreUDFO", ids::kOptUserFolderExplore, "Explore", &cmdExploreUDFO},
           {"cmdUDFODefaults", ids::kOptUserFolderDefaults, "Defaults", &cmdUDFODefaults}});
      fillList(lstUDFO, udfo_);
      break;
    case kPageUserFiles:
      addListPage(page, "Fully pathed filenames",
                  {singleList("lstUDFI", ids::kOptUserFiles, 0, 0, 0, 0), &lstUDFI},
                  "File:", {editBox("txtUDFI", ids::kOptUserFileText, "", 0, 0, 0, 0), &txtUDFI});
      addButtonColumn(page, kRight, kBtnW,
                      {{"cmdUDFIAdd", ids::kOptUserFileAdd, "Add", &cmdUDFIAdd},
                       {"cmdUDFIRemove", ids::kOptUserFileRemove, "Remove", &cmdUDFIRemove},
                       {"cmdUFIBrowse", ids::kOptUserFileBrowse, "Browse", &cmdUFIBrowse}});
      fillList(lstUDFI, udfi_);
      break;
    case kPageCookies:
      addPageControls(
          page,
          {{label("lblCookiePath", IDC_STATIC, "Folder", 24, 46, 50, 18)},
           {editBox("txtCookies", ids::kOptCookieFolder, "", 80, 42, 676, 22, ES_READONLY),
            &txtCookies},
           {label("lblCurrentIECookies", IDC_STATIC, "Current IE cookies", 24, 72, 300, 18)},
           {label("lblCookiesKeep", IDC_STATIC, "IE cookies to keep", 494, 72, 260, 18)},
           {button("cmdAddCookie", ids::kOptCookieAdd, ">>", 436, 160, 50, kBtnH), &cmdAddCookie},
           {button("cmdRemoveCookie", ids::kOptCookieRemove, "<<", 436, 192, 50, kBtnH),
            &cmdRemoveCookie},
           {button("cmdRefreshCookie", ids::kOptCookieRefresh, "Refresh", 24, 394, 90, kBtnH),
            &cmdRefreshCookie},
           {button("cmdViewCookie", ids::kOptCookieView, "View", 120, 394, 90, kBtnH),
            &cmdViewCookie},
           {button("cmdDeleteCookie", ids::kOptCookieDelete, "Delete", 216, 394, 90, kBtnH),
            &cmdDeleteCookie},
           {button("cmdResetCookies", ids::kOptCookieClear, "Clear", 494, 394, 90, kBtnH),
            &cmdResetCookies}});
      lstvCurrentCookies.create(*this, "lstvCurrentCookies", ids::kOptCurrentCookies, 24, 92, 404,
                                294, false);
      lstvCurrentCookies.setColumns({{"Name", 140}, {"Bytes", 60}, {"Date", 130}, {"Path", 220}});
      lstvKeepCookies.create(*this, "lstvKeepCookies", ids::kOptKeepCookies, 494, 92, 262, 294,
                             false, false);
      lstvKeepCookies.setColumns({{"Name", 120}, {"Path", 200}});
      for (ListView* l : {&lstvCurrentCookies, &lstvKeepCookies})
        pageControls_[page].push_back(l->hwnd());
      bound_.push_back({&lstvCurrentCookies, "lstvCurrentCookies"});
      bound_.push_back({&lstvKeepCookies, "lstvKeepCookies"});
      lstvCurrentCookies.onActivate = [this](size_t) { cmdViewCookie_Click(); };
      showKeepList();
      step([&] { LoadCookieFiles(); });
      break;
    case kPageBackups:
      addPageControls(
          page,
          {{label("lblBackup", IDC_STATIC, "Folder", 24, 46, 50, 18)},
           {editBox("txtBackup", ids::kOptBackupFolder, "", 80, 42, 600, 22), &txtBackup},
           {button("cmdBackupBrowse", ids::kOptBackupBrowse, "....", 686, 42, 40, 22),
            &cmdBackupBrowse},
           {frame("fraOverwrite", "Overwrite Method", 20, 76, 736, 54)},
           {optionButton("optBackupAlways", ids::kOptBackupAlways, "Always", 36, 98, 110, 20,
                         true)},
           {optionButton("optBackupNewer", ids::kOptBackupNewer, "Newer", 156, 98, 110, 20)},
           {optionButton("optBackupPrompt", ids::kOptBackupPrompt, "Prompt", 276, 98, 110, 20)},
           {optionButton("optBackupNever", ids::kOptBackupNever, "Never", 396, 98, 110, 20)}});
      backupList.create(*this, kBackupListArea);
      for (auto name : BackupList::kControlNames) pageControls_[page].push_back(child(name));
      backupRule.bind(*this,
                      {"optBackupAlways", "optBackupNewer", "optBackupPrompt", "optBackupNever"});
      syncingBackup_ = true;
      txtBackup.setText(backupFolder_);
      syncingBackup_ = false;
      backupRule.choose(backupRuleLoaded_);
      step([&] { LoadBackupList(); });
      break;
    default: break;
  }
  // A page made while another shows stays hidden until its tab is chosen.
  if (SSTab1.selected() != static_cast<int>(page))
    for (HWND c : pageControls_[page]) ShowWindow(c, SW_HIDE);
}

void OptionsWindow::Form_Load() {
  udfo_ = udifo_ = udfi_ = ifi_ = ie_ = {};
  unfiFile_ = ckFile_ = srchFile_ = {};
  unfiLoaded_.clear();
  ckLoaded_.clear();
  srchLoaded_.reset();
  settings_.clear();

  step([&] {
    std::vector<std::string> numbers;
    for (int i = 1; i <= 60; ++i) numbers.push_back(std::to_string(i));
    cmbAutoClean1.setItems(numbers);
    cmbAutoClean.setItems({kMinutes, kHours});
  });
  step([&] {
    cmbAutoClean1.select(0);
    cmbAutoClean.select(0);
  });
  step([&] { LoadCookies(); });
  step([&] { LoadFolderList(kUserFoldersFile, true); });
  step([&] { LoadFolderList(kIgnoreFoldersFile, false); });
  step([&] { LoadUDFIList(); });
  step([&] { loadIgnoreList(kIgnoreFilesFile, kDefIgnoreFilesFile, ifi_); });
  step([&] { loadIgnoreList(kIgnoreExtFile, kDefIgnoreExtFile, ie_); });
  step([&] { LoadSearchSettings(); });
  step([&] { LoadUnnecessaryTypes(); });
  step([&] { LoadBackupSettings(); });
  step([&] { LoadGeneralSettings(); });
}

void OptionsWindow::LoadGeneralSettings() {
  std::string file = settingsFile();
  // Each key by itself: a value that does not fit its control gives what the main window
  // makes of it at start, and the keys after it still load.
  auto read = [&](const char* key, const char* def) {
    return settings_[key].read = readIni(file, "General", key, def);
  };
  auto box = [&](CheckBox& b, const char* key, const char* def) {
    b.setChecked(switchOn(read(key, def), def));
    settings_[key].shown = b.checked() ? "1" : "0";
  };
  step([&] {  // only the value's presence counts, not its data
    chkStartWWindows.setChecked(!GetRegString(kHkeyCurrentUser, kRunKey, kRunValueName).empty());
  });
  box(chkCleanStartup, "StartupClean", "0");
  box(chkAutoClean, "AutoClean", "0");
  std::string duration = read("Duration", "1");
  auto d = parseInteger(duration);
  if (d && *d >= 1 && *d <= 60)
    cmbAutoClean1.select(static_cast<int>(*d) - 1);
  else
    cmbAutoClean1.setText(duration);  // shown as stored, to be mended by the user
  settings_["Duration"].shown = cmbAutoClean1.text();
  auto hm = parseInteger(read("HM", "1"));
  cmbAutoClean.select(!hm || *hm == 1 ? 1 : 0);
  settings_["HM"].shown = std::to_string(cmbAutoClean.selected());
  std::string method = read("DelMethod", "D");
  deleteMethod.choose(method == "R" ? 0 : method == "D" ? 1 : method == "W" ? 2 : 3);
  int chosen = deleteMethod.chosen();
  settings_["DelMethod"].shown = std::string(1, "RDWB"[chosen >= 0 && chosen < 3 ? chosen : 3]);
  box(chkExtraSecurity, "ExtraS", "0");
  box(chkRename, "Rename", "0");
  box(Check1, "Protect1", "0");
  box(Check2, "Protect2", "0");
  box(Check3, "TipBox", "1");
}

void OptionsWindow::LoadBackupSettings() {
  std::string file = settingsFile();
  StoredSetting& path = settings_["Path"];
  path.read = readIni(file, "Backup", "Path", appFile("Backup\\"));
  backupFolder_ = path.read;
  syncingBackup_ = true;
  txtGenerealBackup.setText(backupFolder_);
  if (made_[kPageBackups]) txtBackup.setText(backupFolder_);
  syncingBackup_ = false;
  path.shown = backupFolder_;
  StoredSetting& method = settings_["Method"];
  method.read = readIni(file, "Backup", "Method", "Always");
  backupRuleLoaded_ = -1;
  for (int i = 0; i < 4; ++i)
    if (method.read == kBackupRules[i]) backupRuleLoaded_ = i;
  if (made_[kPageBackups]) backupRule.choose(backupRuleLoaded_);
  int rule = backupRuleLoaded_;
  method.shown = rule == 0 || rule == 1 || rule == 3 ? kBackupRules[rule] : "Prompt";
}

void OptionsWindow::LoadBackupList() { backupList.LoadBackupList(txtBackup.text()); }

void OptionsWindow::cmdBrowseBackup_Click() { cmdBackupBrowse_Click(); }

void OptionsWindow::cmdBackupBrowse_Click() {
  std::string folder = BrowseForFolder();
  if (folder.empty()) return;
  // Both boxes show the one folder.
  if (made_[kPageBackups]) txtBackup.setText(folder);
  txtGenerealBackup.setText(folder);
  backupFolder_ = folder;
}

void OptionsWindow::backupFolderTyped(EditBox& from, EditBox* other) {
  if (syncingBackup_) return;
  backupFolder_ = from.text();
  if (!other || other->text() == backupFolder_) return;
  syncingBackup_ = true;
  other->setText(backupFolder_);
  syncingBackup_ = false;
}

void OptionsWindow::cmdAccept_Click() {
  notSaved_.clear();
  step([&] { SaveKeepCookies(); });
  step([&] { SaveLists(); });
  step([&] { SaveSearchSettings(); });
  step([&] { SaveUNFIList(); });
  step([&] { SaveBackupSettings(); });
  step([&] { SaveGeneralSettings(); });
  step([&] { applyGeneralSettings(); });
  if (notSaved_.empty()) return endModal(IDOK);
  // The window stays open with what the user typed; Accept again once the file is free.
  std::string text = "These files were not saved:\n";
  for (const auto& line : notSaved_) text += "\n" + line;
  text += "\n\nEverything else was saved.";
  asker().messageBox(hwnd(), text, kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void OptionsWindow::cmdCancel_Click() { endModal(IDCANCEL); }

void OptionsWindow::cmdHelp_Click() { asker().showModal(frmHelp(), hwnd()); }

std::string OptionsWindow::keep(const char* key, const std::string& now) const {
  auto it = settings_.find(key);
  return it != settings_.end() && it->second.shown == now ? it->second.read : now;
}

// The backup keys, kept for the one write of settings.ini that SaveGeneralSettings makes.
void OptionsWindow::SaveBackupSettings() {
  std::string folder = backupFolder_;
  if (!isUsablePathLength(folder)) folder = settings_["Path"].shown;  // never stored
  int rule = made_[kPageBackups] ? backupRule.chosen() : backupRuleLoaded_;
  std::string method = rule == 0 || rule == 1 || rule == 3 ? kBackupRules[rule] : "Prompt";
  pendingIni_ = {{"Backup", "Path", keep("Path", folder)},
                 {"Backup", "Method", keep("Method", method)}};
}

// The start-up entry, then settings.ini in one write: the backup keys, then General.
void OptionsWindow::SaveGeneralSettings() {
  if (chkStartWWindows.checked())
    SetRegString(kHkeyCurrentUser, kRunKey, kRunValueName,
                 "\"" + appPath() + "\\glenvask.exe\" -S");
  else
    DeleteRegValues(kHkeyCurrentUser, kRunValueName, kRunKey);

  int option = deleteMethod.chosen();
  std::string letter(1, "RDWB"[option >= 0 && option < 3 ? option : 3]);
  auto box = [](const CheckBox& b) { return std::string(b.checked() ? "1" : "0"); };
  std::vector<IniValue> general = {
      {"General", "StartupClean", keep("StartupClean", box(chkCleanStartup))},
      {"General", "AutoClean", keep("AutoClean", box(chkAutoClean))},
      {"General", "HM", keep("HM", std::to_string(cmbAutoClean.selected() == 1 ? 1 : 0))},
      {"General", "Duration", keep("Duration", cmbAutoClean1.text())},
      {"General", "DelMethod", keep("DelMethod", letter)},
      {"General", "ExtraS", keep("ExtraS", box(chkExtraSecurity))},
      {"General", "Rename", keep("Rename", box(chkRename))},
      {"General", "Protect1", keep("Protect1", box(Check1))},
      {"General", "Protect2", keep("Protect2", box(Check2))},
      {"General", "TipBox", keep("TipBox", box(Check3))},
  };
  std::vector<IniValue> values = std::move(pendingIni_);
  pendingIni_.clear();
  values.insert(values.end(), general.begin(), general.end());
  if (!writeIniValues(settingsFile(), values)) notSaved("settings.ini", kNotWritten);
  for (const auto& v : values) settings_[v.key].read = v.value;  // what applies now
}

void OptionsWindow::applyGeneralSettings() {
  // What the main window would make of the stored values at its next start, at once.
  auto value = [&](const char* key) { return settings_[key].read; };
  DeleteMethod = deleteMethodOf(value("DelMethod"));
  ShredRandom = switchOn(value("ExtraS"), "0");
  RenameBeforeDelete = switchOn(value("Rename"), "0");
  std::string folder = value("Path");
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  BackupFolder = folder;
  CleaningHost& host = cleaningHost();
  auto minutes = autoCleanMinutes(value("Duration"), value("HM"));
  if (switchOn(value("AutoClean"), "0") && minutes)
    host.applyAutoClean(true, *minutes);
  else
    host.applyAutoClean(false, 0);
  host.enableOptionalCategories(switchOn(value("Protect1"), "0"), switchOn(value("Protect2"), "0"));
  host.showTipBox(switchOn(value("TipBox"), "1"));
}

void OptionsWindow::onCommand(int id, int code, HWND) {
  if (code == EN_CHANGE) {
    if (id == ids::kOptGeneralBackup)
      backupFolderTyped(txtGenerealBackup, made_[kPageBackups] ? &txtBackup : nullptr);
    if (id == ids::kOptBackupFolder) backupFolderTyped(txtBackup, &txtGenerealBackup);
    return;
  }
  if (code == LBN_DBLCLK) {
    if (id == ids::kOptIgnoreFolders) cmdUDIFOExplore_Click();
    if (id == ids::kOptUserFolders) cmdExploreUDFO_Click();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case ids::kOptionsAccept: cmdAccept_Click(); break;
    case ids::kOptionsCancel: cmdCancel_Click(); break;
    case IDCANCEL: cmdCancel_Click(); break;  // Esc
    case ids::kOptionsHelp: cmdHelp_Click(); break;
    case ids::kOptBrowseBackup: cmdBrowseBackup_Click(); break;
    case ids::kOptIgnoreFolderAdd: cmdUDIFOAdd_Click(); break;
    case ids::kOptIgnoreFolderRemove: cmdUDIFORemove_Click(); break;
    case ids::kOptIgnoreFolderBrowse: cmdUDIFOBrowse_Click(); break;
    case ids::kOptIgnoreFolderExplore: cmdUDIFOExplore_Click(); break;
    case ids::kOptIgnoreNameAdd: cmdAdd_Click(); break;
    case ids::kOptIgnoreNameRemove: cmdIFIRemove_Click(); break;
    case ids::kOptIgnoreNameDefaults: cmdIFIDefaults_Click(); break;
    case ids::kOptIgnoreExtensionAdd: cmdIEAdd_Click(); break;
    case ids::kOptIgnoreExtensionRemove: cmdIERemove_Click(); break;
    case ids::kOptIgnoreExtensionDefaults: cmdIEDefaults_Click(); break;
    case ids::kOptUnnecessaryAdd: cmdUnnecessaryFilesAdd_Click(); break;
    case ids::kOptUnnecessaryRemove: cmdUnnecessaryFilesRemove_Click(); break;
    case ids::kOptUnnecessaryBrowse: cmdUnnecessaryFilesBrowse_Click(); break;
    case ids::kOptUnnecessaryDefaults: cmdUnnecessaryFilesDefaults_Click(); break;
    case ids::kOptUserFolderAdd: cmdUDFOAdd_Click(); break;
    case ids::kOptUserFolderRemove: cmdUDFORemove_Click(); break;
    case ids::kOptUserFolderBrowse: cmdUDFOBrowse_Click(); break;
    case ids::kOptUserFolderExplore: cmdExploreUDFO_Click(); break;
    case ids::kOptUserFolderDefaults: cmdUDFODefaults_Click(); break;
    case ids::kOptUserFileAdd: cmdUDFIAdd_Click(); break;
    case ids::kOptUserFileRemove: cmdUDFIRemove_Click(); break;
    case ids::kOptUserFileBrowse: cmdUFIBrowse_Click(); break;
    case ids::kOptCookieAdd: cmdAddCookie_Click(); break;
    case ids::kOptCookieRemove: cmdRemoveCookie_Click(); break;
    case ids::kOptCookieClear: cmdResetCookies_Click(); break;
    case ids::kOptCookieRefresh: cmdRefreshCookie_Click(); break;
    case ids::kOptCookieView: cmdViewCookie_Click(); break;
    case ids::kOptCookieDelete: cmdDeleteCookie_Click(); break;
    case ids::kOptBackupBrowse: cmdBackupBrowse_Click(); break;
    default: backupList.onCommand(id, overwriteRuleOf(backupRule.chosen())); break;
  }
}

std::optional<LRESULT> OptionsWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // The pages' labels, boxes and frames take the colour of the page they lie on.
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return std::nullopt;
  HWND ctl = reinterpret_cast<HWND>(lp);
  if (ctl == cmdAccept.hwnd() || ctl == cmdCancel.hwnd() || ctl == cmdHelp.hwnd())
    return std::nullopt;
  static const int pageColor = [] {
    using IsThemed = BOOL(WINAPI*)();
    HMODULE theme = LoadLibraryW(L"uxtheme.dll");
    auto themed = theme ? reinterpret_cast<IsThemed>(
                              reinterpret_cast<void*>(GetProcAddress(theme, "IsAppThemed")))
                        : nullptr;
    return themed && themed() ? COLOR_WINDOW : COLOR_BTNFACE;
  }();
  HDC dc = reinterpret_cast<HDC>(wp);
  SetBkColor(dc, GetSysColor(pageColor));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(pageColor));
}

void OptionsWindow::onDestroy() {
  // The controls go with the window; the next opening reads every file afresh.
  lstvUnnecessaryFiles.clear();
  lstvCurrentCookies.clear();
  lstvKeepCookies.clear();
  backupList.detach();
  unbindAll();
  made_.fill(false);
  for (auto& controls : pageControls_) controls.clear();
}

}  // namespace glenvask
