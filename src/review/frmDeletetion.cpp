#include "review/frmDeletetion.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "base/sizes.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/system.h"
#include "win/ids.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 760, kHeight = 440;
constexpr int kButtonW = 96, kButtonH = 26, kMargin = 10;

constexpr const char* kRedText = "Files marked in red could not be deleted.";

HMENU buildMenu() {
  return oneMenuBar(L"&Options", {{ids::kCmdReviewDeleteAll, L"&Delete all"},
                                  {ids::kCmdReviewDeleteSelected, L"D&elete selected"},
                                  {ids::kCmdReviewProperties, L"&Properties"},
                                  {0, nullptr},
                                  {ids::kCmdReviewSelectAll, L"&Select all"},
                                  {ids::kCmdReviewDeselectAll, L"D&eselect all"},
                                  {0, nullptr},
                                  {ids::kCmdReviewAbort, L"&Abort clean"},
                                  {ids::kCmdReviewExit, L"E&xit"}});
}

// A fully transparent small icon: the image of a row whose type icon cannot be had.
HICON blankIcon(int cx, int cy) {
  size_t stride = static_cast<size_t>((cx + 15) / 16 * 2);
  std::vector<BYTE> andMask(stride * static_cast<size_t>(cy), 0xFF);
  std::vector<BYTE> xorMask(stride * static_cast<size_t>(cy), 0x00);
  return CreateIcon(GetModuleHandleW(nullptr), cx, cy, 1, 1, andMask.data(), xorMask.data());
}

std::string logLine(const char* text, std::int64_t count, double size) {
  return std::string(text) + "Files Deleted" + ": " + std::to_string(count) +
         " Space Gained: " + FormatFileSize(size, 2, true) + "\r\n";
}

}  // namespace

ReviewListWindow& frmDeletetion() {
  auto& window = soleInstance<ReviewListWindow>();
  // A window that is closing (its modal show not yet finished) is not loaded again.
  if (!window.loaded() && !window.isModal()) window.load();
  return window;
}

void releaseReviewList() { soleInstance<ReviewListWindow>().release(); }

void ReviewListWindow::load(HWND owner) {
  if (loaded_) return;
  loaded_ = true;
  if (!isOpen()) {
    WindowSpec spec;
    spec.title = "Unnecessary files found";
    spec.width = kWidth;
    spec.height = kHeight;
    spec.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    spec.owner = owner ? owner : cleaningHost().ownerWindow();
    spec.menu = buildMenu();
    spec.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    create(spec);
  }
  Form_Load();
}

bool ReviewListWindow::build(HWND owner) {
  if (!isOpen()) {
    if (loaded_ && !lstvDeletion.hwnd()) {
      // Loaded without a window (it could not be made then): make it now, keeping the rows.
      loaded_ = false;
    }
    if (!loaded_) load(owner);
  }
  return isOpen();
}

bool ReviewListWindow::onCreate() {
  const ControlSpec specs[] = {
      label("Label1", ids::kReviewTitle, "Unnecessary files found", kMargin, 8, 400, 18),
      label("lblTotalFiles", ids::kReviewTotal, "", kMargin, 360, 420, 34),
      label("lblRed", ids::kReviewRedNote, kRedText, kMargin, 396, 420, 18),
      button("cmdDeleteSelected", ids::kReviewDelete, "&Delete", 0, 0, kButtonW, kButtonH,
             BS_DEFPUSHBUTTON),
      button("cmdSelectAll", ids::kReviewSelectAll, "&Select All", 0, 0, kButtonW, kButtonH),
      button("cmdDeselectAll", ids::kReviewDeselectAll, "Deselect &All", 0, 0, kButtonW, kButtonH),
      button("cmdExit", ids::kReviewClose, "&Close", 0, 0, kButtonW, kButtonH),
  };
  addControls(specs);
  Label1.bind(*this, "Label1");
  lblTotalFiles.bind(*this, "lblTotalFiles");
  lblRed.bind(*this, "lblRed");
  cmdDeleteSelected.bind(*this, "cmdDeleteSelected");
  cmdSelectAll.bind(*this, "cmdSelectAll");
  cmdDeselectAll.bind(*this, "cmdDeselectAll");
  cmdExit.bind(*this, "cmdExit");
  lblRed.setVisible(false);

  lstvDeletion.setColumns({
      {"Name", 170},
      {"Bytes", 80, SortKind::Number, true},
      {"Date/Time", 140, SortKind::Date},
      {"Attribute", 60},
      {"Path", 260},
      {"File Type", 64},
      {"Category", 110},
  });
  if (!lstvDeletion.create(*this, "lstvDeletion", ids::kReviewList, kMargin, 30,
                           kWidth - 2 * kMargin, 320, true))
    return false;
  // The image list is this window's: the control must not destroy it.
  HWND lv = lstvDeletion.hwnd();
  SetWindowLongPtrW(lv, GWL_STYLE, GetWindowLongPtrW(lv, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  if (imglIcon) lstvDeletion.setImageList(imglIcon.get());
  lstvDeletion.onActivate = [this](size_t i) {
    if (i < lstvDeletion.rowCount()) ShowFileProperties(rowPath(i), hwnd());
  };
  // Rows added before the window was made are told to the control when it shows.
  if (lstvDeletion.rowCount() > 0 && !deferred_) {
    lstvDeletion.beginUpdate();
    deferred_ = true;
  }
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  return true;
}

void ReviewListWindow::onSize(int width, int height, bool) {
  if (!lstvDeletion.hwnd()) return;
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH);
  int bottom = height - m;
  int listTop = scale(30);
  int listBottom = std::max(listTop + scale(40), bottom - bh - scale(46));
  MoveWindow(lstvDeletion.hwnd(), m, listTop, std::max(0, width - 2 * m), listBottom - listTop,
             TRUE);
  MoveWindow(lblTotalFiles.hwnd(), m, listBottom + scale(6), scale(420), scale(34), TRUE);
  MoveWindow(lblRed.hwnd(), m, bottom - scale(20), scale(420), scale(18), TRUE);
  placeRow({&cmdDeleteSelected, &cmdSelectAll, &cmdDeselectAll, &cmdExit}, width - m, bottom - bh,
           bw, bh, scale(6));
}

std::optional<LRESULT> ReviewListWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) flushRows();
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == lblRed.hwnd()) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ListView::kRed);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

void ReviewListWindow::flushRows() {
  if (!deferred_) return;
  deferred_ = false;
  lstvDeletion.endUpdate();
}

void ReviewListWindow::Form_Load() {
  lngDeletedCount = 0;
  dblDeletedSize = 0;
  lblTotalFiles.setText("Total Files: " + std::to_string(lstvDeletion.rowCount()));
}

void ReviewListWindow::addReviewRow(const ReviewRow& found) {
  if (!loaded_) load();
  // While hidden, the control is told of the rows once, when it shows.
  if (!deferred_ && !visible()) {
    lstvDeletion.beginUpdate();
    deferred_ = true;
  }
  auto columns = found.columns();
  ListRow row;
  row.cells.reserve(kReviewColumnCount);
  for (auto& c : columns) row.cells.push_back(std::move(c));
  row.image = iconFor(found.extension);
  lstvDeletion.addRow(std::move(row));
}

std::string ReviewListWindow::rowPath(size_t i) const {
  return lstvDeletion.rowText(i, kColPath) + lstvDeletion.rowText(i, kColName);
}

// The small icon of a file type, asked of the shell once per extension: the shell answers
// by type (no disk access), so a hundred thousand rows cost a few dozen questions.
int ReviewListWindow::iconFor(const std::string& extension) {
  auto it = iconCache_.find(extension);
  if (it != iconCache_.end()) return it->second;
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  if (!imglIcon) {
    imglIcon.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16));
    if (!imglIcon) return -1;
    HICON blank = blankIcon(cx, cy);
    ImageList_AddIcon(imglIcon.get(), blank);  // image 0: no icon to be had
    if (blank) DestroyIcon(blank);
    if (lstvDeletion.hwnd()) lstvDeletion.setImageList(imglIcon.get());
  }
  int index = 0;
  std::wstring probe = L"file";
  if (!extension.empty()) probe += L"." + wide(extension);
  SHFILEINFOW info{};
  if (SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon) {
    int added = ImageList_AddIcon(imglIcon.get(), info.hIcon);
    DestroyIcon(info.hIcon);
    if (added >= 0) index = added;
  }
  iconCache_.emplace(extension, index);
  return index;
}

void ReviewListWindow::addIcons() {
  if (lstvDeletion.rowCount() == 0) return;
  // Every row got the icon of its type as it was added; the list shows them from now on.
  if (imglIcon && lstvDeletion.hwnd()) {
    lstvDeletion.setImageList(nullptr);
    lstvDeletion.setImageList(imglIcon.get());
  }
  mnuSelectAll_Click();
}

void ReviewListWindow::setAllChecked(bool on) {
  lstvDeletion.beginUpdate();
  for (size_t i = 0; i < lstvDeletion.rowCount(); ++i) lstvDeletion.setRowChecked(i, on);
  lstvDeletion.endUpdate();
}

void ReviewListWindow::mnuSelectAll_Click() {
  if (passRunning_) return;
  setAllChecked(true);
}

void ReviewListWindow::mnuDeselectAll_Click() {
  if (passRunning_) return;
  setAllChecked(false);
}

void ReviewListWindow::AddCategoryTotals(std::int64_t size, std::string_view category) {
  if (category == kCategoryUnnecessary) {
    ++lngUnnecessaryCount;
    dblUnnecessarySize += static_cast<double>(size);
  } else if (category == kCategoryEmpty) {
    ++lngEmptyCount;
    dblEmptySize += static_cast<double>(size);
  } else if (category == kCategoryDeadShortcuts) {
    ++lngDeadCount;
    dblDeadSize += static_cast<double>(size);
  }
}

void ReviewListWindow::setControlsEnabled(bool on) {
  lstvDeletion.setEnabled(on);
  cmdDeleteSelected.setEnabled(on);
  cmdSelectAll.setEnabled(on);
  cmdDeselectAll.setEnabled(on);
  cmdExit.setEnabled(on);
  if (HMENU menu = isOpen() ? GetMenu(hwnd()) : nullptr) {
    for (int id :
         {ids::kCmdReviewDeleteAll, ids::kCmdReviewDeleteSelected, ids::kCmdReviewProperties,
          ids::kCmdReviewSelectAll, ids::kCmdReviewDeselectAll, ids::kCmdReviewExit})
      EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  }
}

ReviewListWindow::PassResult ReviewListWindow::deletePass(bool checkedOnly) {
  PassResult pass;
  size_t n = lstvDeletion.rowCount();
  if (n == 0) return pass;
  passRunning_ = true;
  stopPass_ = false;
  std::vector<char> deleted(n, 0);
  {
    // A close asked for while deleting waits for the pass to end (and ends it early).
    BusyScope busy(*this);
    setControlsEnabled(false);
    lstvDeletion.beginUpdate();
    for (size_t i = 0; i < n; ++i) {
      doEvents();
      if (bAbort || stopPass_) break;
      if (checkedOnly && !lstvDeletion.rowChecked(i)) continue;
      std::string path = rowPath(i);
      std::int64_t length = 0;
      // A file that vanished or cannot be deleted marks its row and the pass goes on.
      if (DeleteJunkFile(path, &length) != 0) {
        lstvDeletion.setRowChecked(i, true);
        lstvDeletion.setRowColor(i, CLR_DEFAULT);
        deleted[i] = 1;
        ++pass.count;
        pass.size += static_cast<double>(length);
        AddCategoryTotals(length, lstvDeletion.rowText(i, kColCategory));
      } else {
        lstvDeletion.setRowChecked(i, false);
        lstvDeletion.setRowColor(i, ListView::kRed);
        pass.failed = true;
      }
    }

    // The deleted rows go; the others (failed, or not reached) stay in their order.
    size_t removed = static_cast<size_t>(std::count(deleted.begin(), deleted.end(), 1));
    if (removed == n) {
      lstvDeletion.clear();
    } else if (removed > 0 && static_cast<double>(removed) * static_cast<double>(n) <= 2e7) {
      for (size_t i = n; i-- > 0;)
        if (deleted[i]) lstvDeletion.removeRow(i);
    } else if (removed > 0) {
      std::vector<ListRow> keep;
      keep.reserve(n - removed);
      for (size_t i = 0; i < n; ++i)
        if (!deleted[i]) keep.push_back(lstvDeletion.row(i));
      lstvDeletion.clear();
      for (auto& r : keep) lstvDeletion.addRow(std::move(r));
    }
    lstvDeletion.endUpdate();
    setControlsEnabled(true);
    passRunning_ = false;
  }

  lngDeletedCount += pass.count;
  dblDeletedSize += pass.size;
  return pass;
}

void ReviewListWindow::mnuDeleteAll_Click() {
  if (passRunning_ || lstvDeletion.rowCount() == 0) return;
  PassResult pass = deletePass(false);
  lblTotalFiles.setText("Files Found: " + std::to_string(pass.count) +
                        " Space Gained: " + FormatFileSize(pass.size, 2, true) + "\r\n");
  lblRed.setVisible(pass.failed);
  if (abortPending_) {
    abortPending_ = false;
    mnuAbort_Click();
  }
}

void ReviewListWindow::mnuDeleteSelected_Click() {
  if (passRunning_) return;
  deletePass(true);
  if (abortPending_) {
    abortPending_ = false;
    mnuAbort_Click();
    return;
  }
  lstvDeletion.clear();
  unload();
}

void ReviewListWindow::mnuProperties_Click() {
  auto selected = lstvDeletion.selectedRows();
  int i = selected.empty() ? lstvDeletion.focusedRow() : static_cast<int>(selected.front());
  if (i < 0 || static_cast<size_t>(i) >= lstvDeletion.rowCount()) return;
  ShowFileProperties(rowPath(static_cast<size_t>(i)), hwnd());
}

void ReviewListWindow::lstvDeletion_DblClick() { mnuProperties_Click(); }

void ReviewListWindow::mnuAbort_Click() {
  bAbort = true;
  if (passRunning_) {  // the pass stops at its next file, then the abort goes on
    abortPending_ = true;
    return;
  }
  DeleteBackupZip();
  lstvDeletion.clear();
  cleaningHost().setStatus("");
  unload();
}

void ReviewListWindow::mnuExit_Click() {
  if (passRunning_) return;
  lstvDeletion.clear();
  unload();
}

void ReviewListWindow::handBack(bool withLog) {
  ReviewOutcome outcome{lngDeletedCount, static_cast<std::int64_t>(dblDeletedSize), ""};
  if (withLog) {
    if (lngUnnecessaryCount != 0)
      outcome.log += logLine("Unnecessary files....", lngUnnecessaryCount, dblUnnecessarySize);
    if (lngEmptyCount != 0)
      outcome.log += logLine("Empty (zero-byte) files....", lngEmptyCount, dblEmptySize);
    if (lngDeadCount != 0)
      outcome.log += logLine("Dead (shortcut) links....", lngDeadCount, dblDeadSize);
  }
  cleaningHost().reviewClosed(outcome);
}

void ReviewListWindow::resetState() {
  flushRows();
  lstvDeletion.clear();
  lngDeletedCount = lngUnnecessaryCount = lngEmptyCount = lngDeadCount = 0;
  dblDeletedSize = dblUnnecessarySize = dblEmptySize = dblDeadSize = 0;
  abortPending_ = stopPass_ = false;
  if (imglIcon && lstvDeletion.hwnd()) lstvDeletion.setImageList(nullptr);
  imglIcon.reset();
  iconCache_.clear();
}

void ReviewListWindow::unload() {
  if (!loaded_) return;
  if (passRunning_) {  // ends the pass first; the close follows it
    stopPass_ = true;
    if (isOpen()) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  loaded_ = false;
  handBack(!bAbort);
  resetState();
  dismiss();
  ResetScanLists();
}

void ReviewListWindow::release() {
  if (!loaded_) return;
  if (passRunning_) {
    stopPass_ = true;
    return;
  }
  loaded_ = false;
  handBack(false);  // no log lines, but what its passes deleted stays counted
  resetState();
  dismiss();
}

void ReviewListWindow::onCommand(int id, int code, HWND ctl) {
  switch (id) {
    case ids::kReviewDelete: cmdDeleteSelected_Click(); break;
    case ids::kReviewSelectAll: cmdSelectAll_Click(); break;
    case ids::kReviewDeselectAll: cmdDeselectAll_Click(); break;
    case ids::kReviewClose: cmdExit_Click(); break;
    case ids::kCmdReviewDeleteAll: mnuDeleteAll_Click(); break;
    case ids::kCmdReviewDeleteSelected: mnuDeleteSelected_Click(); break;
    case ids::kCmdReviewProperties: mnuProperties_Click(); break;
    case ids::kCmdReviewSelectAll: mnuSelectAll_Click(); break;
    case ids::kCmdReviewDeselectAll: mnuDeselectAll_Click(); break;
    case ids::kCmdReviewAbort: mnuAbort_Click(); break;
    case ids::kCmdReviewExit: mnuExit_Click(); break;
    case IDCANCEL: close(); break;  // Esc
    default: break;
  }
}

bool ReviewListWindow::onClose() {
  unload();
  return false;  // unload has ended the show or destroyed the window
}

void ReviewListWindow::onCloseWhileBusy() { stopPass_ = true; }

void ReviewListWindow::onDestroy() {
  // Destroyed from outside (its owner went): it unloads as any close does.
  if (loaded_ && !passRunning_) {
    loaded_ = false;
    handBack(!bAbort);
    resetState();
    ResetScanLists();
  }
  if (imglIcon && lstvDeletion.hwnd()) lstvDeletion.setImageList(nullptr);
  flushRows();
  detachAll({&lstvDeletion, &lblTotalFiles, &lblRed, &Label1, &cmdDeleteSelected, &cmdSelectAll,
             &cmdDeselectAll, &cmdExit});
}

}  // namespace glenvask
