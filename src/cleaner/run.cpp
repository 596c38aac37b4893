// The cleaning run: every checked category in the fixed order, each step inside the frame of
// startOperation / stopOperation, the shared delete routines, the summary, and auto-clean.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "base/sizes.h"
#include "base/sorting.h"
#include "base/text.h"
#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "services/clock.h"
#include "services/delete.h"
#include "services/globals.h"
#include "review/frmLog.h"
#include "services/scanner.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr UINT_PTR kAutoCleanTimer = 1;
constexpr UINT kAutoCleanTickMs = 10000;
constexpr const char* kHyphens =
    "-------------------------------------------------------------------";
constexpr const char* kLockedLine =
    "Some files were not deleted because they were locked or in use.";

struct Step {
  const char* box;
  void (*routine)(MainWindow&);
  void (*scan)(MainWindow&, bool single);
};

// The cleaning order.
constexpr Step kOrder[] = {
    {"chkRecycleBin", &CleanRecycleBin, nullptr},
    {"chkActiveSetup", &CleanActiveSetupTemp, nullptr},
    {"chkIndexer", &CleanIndexer, nullptr},
    {"chkUserDefinedFolders", &CleanUserFolders, nullptr},
    {"chkUserDefinedFiles", &CleanUserFiles, nullptr},
    {"chkUnNecessaryFiles", nullptr, &CleanUnnecessaryFiles},
    {"chkRecentDocument", &CleanRecentDocs, nullptr},
    {"chkPrinter", &CleanPrinter, nullptr},
    {"chkDump", &CleanMemDump, nullptr},
    {"chkTemp", &CleanTempFiles, nullptr},
    {"chkEmptyFiles", nullptr, &CleanEmptyFiles},
    {"chkDeadShortcut", nullptr, &CleanShortcuts},
    {"chkPlugins", &CleanPlugins, nullptr},
    {"chkOffice", &CleanOfficeHistory, nullptr},
    {"chkClipBoard", &CleanClipboard, nullptr},
    {"chkRunMRU", &CleanRunMRU, nullptr},
    {"chkInstallFrom", &CleanInstallMRU, nullptr},
    {"chkFindHistory", &CleanFindHistory, nullptr},
    {"chkCache", &CleanCache, nullptr},
    {"chkCookies", &CleanCookies, nullptr},
    {"chkURLHistory", &CleanTypedURL, nullptr},
    {"chkOffline", &CleanOffline, nullptr},
    {"chkHistory", &CleanHistory, nullptr},
    {"chkActiveX", &CleanActiveX, nullptr},
    {"chkCleanMozillaCache", &CleanMozillaCache, nullptr},
    {"chkCleanMozillaCookies", &CleanMozillaCookies, nullptr},
    {"chkCleanMozillaForms", &CleanMozillaForms, nullptr},
    {"chkCleanMozillaPasswords", &CleanMozillaPasswords, nullptr},
    {"chkCleanMozillaHistory", &CleanMozillaHistory, nullptr},
    {"chkCleanMozillaDownloads", &CleanMozillaDownloads, nullptr},
};
static_assert(std::size(kOrder) == kCategoryCount);

constexpr size_t kFirstFirefoxStep = 24;  // index of step 25
constexpr size_t kOfflineStep = 21;       // index of step 22, whose stop text differs

std::string sizeText(std::int64_t bytes) {
  return FormatFileSize(static_cast<double>(bytes), 2, true);
}

}  // namespace

void MainWindow::runStep(size_t i, bool single) {
  const Step& step = kOrder[i];
  std::int64_t ffFiles = FirefoxFilesDeleted, ffSpace = FirefoxSpaceGained;
  if (step.routine)
    step.routine(*this);
  else
    step.scan(*this, single);
  // What a Firefox step deleted itself counts once in the run's totals.
  if (i >= kFirstFirefoxStep) {
    TotalFilesDeleted += FirefoxFilesDeleted - ffFiles;
    TotalSpaceGained += FirefoxSpaceGained - ffSpace;
  }
}

bool MainWindow::hiddenMode() const { return toLower(commandLine) == "-h"; }

void MainWindow::trapped(const char* message, const std::function<void()>& body,
                         bool lineBreakBeforeDescription) {
  std::string description;
  try {
    body();
    return;
  } catch (const std::exception& e) {
    description = e.what();
  } catch (...) {
    description = "Unexpected error";
  }
  if (!message) return;  // a routine without a trap ends silently
  std::string text = message;
  if (lineBreakBeforeDescription) text += "\r\n";
  text += description;
  asker().messageBox(hwnd(), text, kAppTitle, MB_OK | MB_ICONSTOP);
}

void MainWindow::beginRun() {
  pgClean.setVisible(true);
  DeleteFailed = false;
  setMenusEnabled(false);
  cmdStop.setEnabled(true);
  cmdClean.setEnabled(false);

  bAbort = false;
  TotalSpaceGained = 0;
  BackedUpCount = 0;
  TotalFilesDeleted = 0;
  CategoryFileCount = 0;
  CategorySpace = 0;
  LastBackupDrive.clear();
  BackupZipFile.clear();
  CleanupLog.clear();
  lblStatus.setText("Working...");
  CountCheckedItems();
  FirefoxSpaceGained = 0;
  FirefoxFilesDeleted = 0;
}

void MainWindow::endRunControls() {
  cmdStop.setEnabled(false);
  cmdClean.setEnabled(true);
  setMenusEnabled(true);
}

// Marks a run as going for as long as it lives.
class MainWindow::RunScope {
 public:
  explicit RunScope(MainWindow& w) : w_(w), busy_(w) { w_.running_ = true; }
  ~RunScope() { w_.running_ = false; }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  MainWindow& w_;
  BusyScope busy_;
};

void MainWindow::cmdClean_Click() {
  if (running_) return;  // never a run inside another
  RunScope run(*this);
  beginRun();

  for (size_t i = 0; i < std::size(kOrder); ++i) {
    if (categoryChecked(kOrder[i].box)) runStep(i, false);
    if (bAbort) {
      DeleteBackupZip();
      stopOperation(i == kOfflineStep ? "Aborted by User" : "Aborted by user");
      // However the run was stopped (Stop, the review list's Abort, Exit), the window is
      // usable again.
      endRunControls();
      return;
    }
  }
  FinishBackupZip();  // the run's archive gets its directory now

  endRunControls();
  if (!bAbort) {
    if (!hiddenMode() || Check2.checked()) {
      showSummary();
    } else {
      unload();  // the hidden mode ends the program after its run
      return;
    }
  }
  lblStatus.setText("");
  pgClean.setValue(0);
  pgClean.setVisible(false);
}

void MainWindow::showSummary(bool pluginsOnly) {
  if (pluginsOnly) {
    // The Plugins menu's run has its own form: two blanks after the colon, "Files" after the
    // count, the size as a plain number of kilobytes.
    CleanupLog += "\r\n\r\nFiles Deleted:  " + std::to_string(TotalFilesDeleted) +
                  "  Files Space Gained " +
                  kilobytesText(TotalSpaceGained, numberStyle().decimalSeparator) + "  KB";
  } else {
    CleanupLog += "\r\n";
    CleanupLog += kHyphens;
    CleanupLog += "\r\nFiles Deleted:  " + std::to_string(TotalFilesDeleted) +
                  "   Space Gained:  " + sizeText(TotalSpaceGained);
  }
  if (BackedUpCount > 0) CleanupLog += "\r\nBacked Up " + std::to_string(BackedUpCount) + " file(s)";
  if (DeleteFailed) CleanupLog += std::string("\r\n\r\n") + kLockedLine;
  SummaryWindow& summary = frmLog();
  summary.setRun({TotalFilesDeleted, TotalSpaceGained, sectionsCleaned(), CleanupLog});
  asker().showModal(summary, hwnd());
}

// After a run that set a section mark only the marked sections were cleaned; otherwise each
// section with a checked box was.
std::array<bool, kSummarySectionCount> MainWindow::sectionsCleaned() {
  std::array<bool, kSummarySectionCount> cleaned{};
  constexpr Mark kSections[] = {Mark::FoFi, Mark::Misc, Mark::IE, Mark::FF, Mark::PLG};
  static_assert(std::size(kSections) == kSummarySectionCount);
  bool markMode = false;
  for (Mark m : kSections) markMode = markMode || mark(m).value() == 1;
  for (size_t s = 0; s < kSummarySectionCount; ++s) {
    if (markMode) {
      cleaned[s] = mark(kSections[s]).value() == 1;
      continue;
    }
    for (size_t i = 0; i < kCategoryCount; ++i)
      if (kCategories[i].mark == kSections[s] && category(i).value() == 1) cleaned[s] = true;
  }
  return cleaned;
}

CheckBox& MainWindow::mark(Mark m) {
  switch (m) {
    case Mark::FoFi: return FoFiValue;
    case Mark::Misc: return MiscValue;
    case Mark::IE: return IEValue;
    case Mark::FF: return FFValue;
    case Mark::PLG: break;
  }
  return PLGValue;
}

void MainWindow::clearMarks() {
  for (Mark m : {Mark::FoFi, Mark::Misc, Mark::IE, Mark::FF, Mark::PLG}) mark(m).setValue(0);
}

void MainWindow::showCategoryMenu(size_t index, POINT screen) {
  if (index >= kCategoryCount || !cmdClean.enabled()) return;
  const Category& c = kCategories[index];
  SetFocus(category(index).hwnd());  // the box takes the focus, as a right click gives it
  mnuPopupCaption = c.menuCaption;
  mnuPopupTag = c.tag;
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING, 1, wide(mnuPopupCaption).c_str());
  UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x,
                               screen.y, 0, hwnd(), nullptr);
  menu.reset();
  if (chosen == 1) mnuPopup_Click();
}

void MainWindow::onContextMenu(HWND from, POINT screen) {
  for (size_t i = 0; i < kCategoryCount; ++i)
    if (category(i).hwnd() == from) {
      if (screen.x == -1 && screen.y == -1) {  // from the keyboard: below the box
        RECT r{};
        GetWindowRect(from, &r);
        screen = {r.left, r.bottom};
      }
      showCategoryMenu(i, screen);
      return;
    }
}

void MainWindow::mnuPopup_Click() {
  if (running_) return;
  RunScope run(*this);
  beginRun();
  clearMarks();

  for (size_t i = 0; i < std::size(kOrder); ++i) {
    const Category& c = kCategories[categoryIndex(kOrder[i].box)];
    if (mnuPopupTag == c.tag) {
      mark(c.mark).setValue(1);
      runStep(i, true);
      break;
    }
  }
  if (bAbort)
    DeleteBackupZip();
  else
    FinishBackupZip();

  endRunControls();
  if (!bAbort) showSummary();
  clearMarks();
  lblStatus.setText("");
}

void MainWindow::mnuProcessPlugin_Click() {
  if (running_) return;
  RunScope run(*this);
  beginRun();
  lblStatus.setText("Working...Processing Plugins.");
  CleanPlugins(*this);
  clearMarks();
  PLGValue.setValue(1);
  if (bAbort)
    DeleteBackupZip();
  else
    FinishBackupZip();
  endRunControls();
  if (!bAbort) showSummary(true);
  clearMarks();
  lblStatus.setText("");
}

void MainWindow::CountCheckedItems() {
  pgClean.setVisible(true);
  CheckedCount = 0;
  for (const auto& name : childNames()) {
    HWND h = child(name);
    LONG_PTR type = GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK;
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (lstrcmpiW(cls, L"Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) &&
        SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
      ++CheckedCount;
  }
  pgClean.setRange(0, CheckedCount);
  pgClean.setVisible(false);
}

void MainWindow::startOperation(int left, int top) {
  pgClean.setVisible(true);
  lblStatus.setText("Working...");
  cmdClean.setEnabled(false);
  cmdStop.setEnabled(true);
  SetWindowPos(imgCurrent.hwnd(), nullptr, left, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  imgCurrent.setVisible(true);
  if (pgClean.value() + 1 <= pgClean.max()) pgClean.setValue(pgClean.value() + 1);
}

void MainWindow::startOperation(const char* box) {
  CheckBox* b = categoryByName(box);
  if (!b) return;
  RECT r{}, arrow{};
  GetWindowRect(b->hwnd(), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(imgCurrent.hwnd(), &arrow);
  startOperation(r.left - arrow.right - scale(2), r.top);
}

void MainWindow::markAgainLower(const char* box) {
  startOperation(box);
  RECT r{};
  GetWindowRect(imgCurrent.hwnd(), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(imgCurrent.hwnd(), nullptr, r.left, r.top + MulDiv(10, scale(96), 1440), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::beginStep(const char* box) {
  startOperation(box);
  CategoryFileCount = 0;
  CategorySpace = 0;
  ResetScanLists();
}

void MainWindow::stopOperation(const std::string& text) {
  if (!text.empty()) {
    lblStatus.setText(text);
  } else {
    // A normal end is stamped; a step that ends because the run was stopped is not one.
    if (!bAbort) SaveLastCleaned();
    lblStatus.setText("");
  }
  if (bAbort) {
    pgClean.setValue(0);
    pgClean.setVisible(false);
  }
  cmdClean.setEnabled(true);
  cmdStop.setEnabled(false);
  imgCurrent.setVisible(false);
  pgClean.setVisible(false);
}

void MainWindow::deleteFiles() {
  if (!arrFiles.empty()) {
    setProgressItems(arrFiles.size());
    // The list may change while events are pumped: walk it by index.
    for (size_t i = 0; i < arrFiles.size(); ++i) {
      // The status line and the bar follow at the pace of the event pump: redrawing them for
      // every file would cost more than deleting it.
      bool shown = doEvents() || i == 0;
      if (bAbort) {
        DeleteBackupZip();
        stopOperation("Aborted by user");
        return;
      }
      const std::string path = arrFiles[i];
      if (shown) lblStatus.setText("Deleting file: " + path);
      std::int64_t length = 0;
      if (DeleteJunkFile(path, &length)) {
        ++TotalFilesDeleted;
        ++CategoryFileCount;
        TotalSpaceGained += length;
        CategorySpace += length;
      }
      if (shown) pgClean.setValue(static_cast<int>(std::min<size_t>(i + 1, INT32_MAX)));
    }
  }
  pgClean.setValue(0);
  lblStatus.setText("");
}

void MainWindow::setProgressItems(size_t count) {
  pgClean.setRange(0, static_cast<int>(std::min<size_t>(count + 1, INT32_MAX)));
}

void MainWindow::deleteFolders() {
  if (arrFolders.empty()) return;
  SortVariantArray(arrFolders);
  // A folder sorts before the folders inside it: going backwards removes the deepest first,
  // so a tree of empty folders goes in one run.
  for (size_t i = arrFolders.size(); i-- > 0;) {
    std::wstring w = wide(arrFolders[i]);
    DWORD attrs = GetFileAttributesW(w.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) continue;
    SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!RemoveDirectoryW(w.c_str())) SetFileAttributesW(w.c_str(), attrs);
  }
}

void MainWindow::reviewClosed(const ReviewOutcome& outcome) {
  TotalFilesDeleted += outcome.filesDeleted;
  TotalSpaceGained += outcome.spaceGained;
  CleanupLog += outcome.log;
}

void MainWindow::logCategory(const std::string& text) {
  CleanupLog += text + "Files Deleted: " + std::to_string(CategoryFileCount) +
                " Space Gained: " + sizeText(CategorySpace) + "\r\n";
}

void MainWindow::setAutoClean(bool on) {
  autoCleanArmed_ = on;
  if (!hwnd()) return;
  if (on)
    SetTimer(hwnd(), kAutoCleanTimer, kAutoCleanTickMs, nullptr);
  else
    KillTimer(hwnd(), kAutoCleanTimer);
}

void MainWindow::tmrClean_Timer() {
  // A tick during a run (its review list or summary included) or under any modal window of the
  // program waits for a later tick.
  if (running_ || !IsWindowEnabled(hwnd())) return;
  if (minutesBetween(AutoCleanStart, localNow()) > AutoCleanMinutes && cmdClean.enabled()) {
    cmdClean_Click();
    AutoCleanStart = localNow();
  }
}

void MainWindow::onTimer(UINT_PTR id) {
  if (id == kAutoCleanTimer) tmrClean_Timer();
  if (id == kUpdateCheckTimer) Timer1_Timer();
}

}  // namespace glenvask
