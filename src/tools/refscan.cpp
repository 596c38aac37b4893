#include "tools/refscan.h"

#include <shellapi.h>

#include <algorithm>

#include "base/pathtext.h"
#include "base/text.h"
#include "services/guard.h"
#include "services/system.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kCheckH = 22, kProgressH = 16;

HICON smallSystemIcon(int resource) {
  return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       LR_SHARED));
}

}  // namespace

bool ReferenceScanner::onCreate() {
  if (!createFrame()) return false;
  const ControlSpec specs[] = {
      button("cmdStop", spec_.stopId, "&Stop", 0, 0, kButtonW, kButtonH),
      button("cmdDelete", spec_.deleteId, "&Delete", 0, 0, kButtonW, kButtonH),
      button("cmdClose", spec_.closeId, "&Close", 0, 0, kButtonW, kButtonH),
  };
  addControls(specs);
  cmdStop.bind(*this, "cmdStop");
  cmdDelete.bind(*this, "cmdDelete");
  cmdClose.bind(*this, "cmdClose");
  if (spec_.editId) {
    addControl(button("cmdEdit", spec_.editId, "&Edit", 0, 0, kButtonW, kButtonH));
    cmdEdit.bind(*this, "cmdEdit");
  }
  if (spec_.deleteFilesId) {
    addControl(
        checkBox("chkDelete", spec_.deleteFilesId, kDeleteFilesText, kMargin, 0, 460, kCheckH));
    chkDelete.bind(*this, "chkDelete");
  }
  if (spec_.progressId) {
    addControl({"pgKeys", PROGRESS_CLASSW, spec_.progressId, "", kMargin, 0, 300, 16, 0, 0});
    pgKeys.bind(*this, "pgKeys");
    pgKeys.setVisible(false);
  }
  HWND lv = list().hwnd();
  SetWindowLongPtrW(lv, GWL_STYLE, GetWindowLongPtrW(lv, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  imglOrphaned_.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 2, 0));
  ImageList_AddIcon(imglOrphaned_.get(), smallSystemIcon(32513));  // missing: the error mark
  ImageList_AddIcon(imglOrphaned_.get(), smallSystemIcon(32516));  // present: the information mark
  list().setImageList(imglOrphaned_.get());
  addExtraControls();

  cmdStop.setEnabled(false);
  layoutNow();
  rescan();
  return true;
}

void ReferenceScanner::onSize(int width, int height, bool) {
  int gap = scale(kGap), inner = std::max(0, width - 2 * scale(kMargin));
  std::vector<Control*> buttons;
  if (cmdEdit.hwnd()) buttons.push_back(&cmdEdit);
  buttons.insert(buttons.end(), {&cmdStop, &cmdDelete, &cmdClose});
  int below = spec_.extraHeight + (chkDelete.hwnd() ? kCheckH + kGap : 0) +
              (pgKeys.hwnd() ? kProgressH + kGap : 0);
  int y = layoutFrame(width, height, buttons, below), x = scale(kMargin);
  if (spec_.extraHeight) {
    layoutExtra(x, y, inner);
    y += scale(spec_.extraHeight);
  }
  if (pgKeys.hwnd()) {
    MoveWindow(pgKeys.hwnd(), x, y, inner, scale(kProgressH), TRUE);
    y += scale(kProgressH) + gap;
  }
  if (chkDelete.hwnd()) MoveWindow(chkDelete.hwnd(), x, y, inner, scale(kCheckH), TRUE);
}

void ReferenceScanner::rescan() {
  if (!hwnd()) return;
  if (scanning_) {
    rescanPending_ = true;
    return;
  }
  SetTimer(hwnd(), kTimer1, 1, nullptr);
  timerOn_ = true;
}

void ReferenceScanner::onTimer(UINT_PTR id) {
  if (id == kTimer1) Timer1_Timer();
}

void ReferenceScanner::Timer1_Timer() {
  if (hwnd()) KillTimer(hwnd(), kTimer1);
  timerOn_ = false;
  if (scanning_ || !hwnd()) return;
  scanning_ = true;
  list().clear();
  cmdEdit.setEnabled(false);
  cmdStop.setEnabled(true);
  cmdDelete.setEnabled(false);
  if (pgKeys) {
    pgKeys.setValue(0);
    pgKeys.setVisible(true);
  }
  bool stopped = false;
  {
    Loop loop(*this);
    list().beginUpdate();
    judge_.emplace();
    missing_ = 0;
    scan();
    judge_.reset();
    list().endUpdate();
    stopped = loop.stopped();
  }
  scanning_ = false;
  cmdEdit.setEnabled(true);
  cmdStop.setEnabled(false);
  cmdDelete.setEnabled(true);
  if (pgKeys) pgKeys.setVisible(false);
  endScan(stopped);
  if (rescanPending_) {
    rescanPending_ = false;
    rescan();
  }
}

bool ReferenceScanner::keepGoing() {
  doEvents();
  doEvents();
  return !stopRequested();
}

void ReferenceScanner::addMissing(ListRow row) {
  ++missing_;
  row.image = kIconMissing;
  row.checked = true;
  list().insertRow(0, std::move(row));
}

void ReferenceScanner::addPresent(ListRow row) {
  row.image = kIconPresent;
  row.checked = false;
  list().addRow(std::move(row));
}

void ReferenceScanner::addJudged(ListRow row, std::string_view reference) {
  if (judge_->judge(reference) == FileReference::Missing)
    addMissing(std::move(row));
  else
    addPresent(std::move(row));
}

void ReferenceScanner::endScan(bool) {
  lblStatus.setText(std::to_string(list().rowCount()) + " entries, " + std::to_string(missing_) +
                    " orphaned");
}

void ReferenceScanner::cmdStop_Click() { requestStop(); }

void ReferenceScanner::cmdClose_Click() {
  requestStop();
  close();
}

void ReferenceScanner::onCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return;
  if (id == spec_.stopId) {
    cmdStop_Click();
  } else if (id == spec_.closeId || id == IDCANCEL) {
    cmdClose_Click();
  } else if (id == spec_.deleteId) {
    if (!scanning_) cmdDelete_Click();
  } else if (spec_.editId && id == spec_.editId) {
    if (!scanning_) cmdEdit_Click();
  }
}

void ReferenceScanner::onDestroy() {
  timerOn_ = false;
  rescanPending_ = false;
  for (Control* c : std::initializer_list<Control*>{&cmdStop, &cmdDelete, &cmdClose, &cmdEdit,
                                                    &chkDelete, &pgKeys})
    c->attach(nullptr);
  ListFrameWindow::onDestroy();
  imglOrphaned_.reset();
}

bool recycleReferencedFile(std::string_view path) {
  if (path.size() < 4 || !isUsablePathLength(path) || path[1] != ':' ||
      (path[2] != '\\' && path[2] != '/'))
    return false;
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES ||
      (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  std::string full = cleaningRootPath(path);
  std::string windows = cleaningRootPath(GetWindowsDir());
  if (full.empty() || windows.empty() || istartsWith(full, windows + "\\") ||
      iequals(full, windows))
    return false;
  std::wstring from = wide(full);
  from.append(2, L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  if (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted) return false;
  return GetFileAttributesW(w.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace glenvask
