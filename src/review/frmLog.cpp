#include "review/frmLog.h"

#include <commctrl.h>

#include <algorithm>

#include "base/sizes.h"
#include "review/frmLogDetails.h"
#include "services/host.h"
#include "win/handle.h"
#include "win/ids.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;  // a control nobody reaches by id

constexpr int kWidth = 380, kHeight = 330;
constexpr int kRowTop = 66, kRowH = 26;

// The green tick of a cleaned section, drawn once.
HICON tickIcon() {
  static HICON icon = [] {
    int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    GdiHandle color(CreateCompatibleBitmap(screen, cx, cy));
    GdiHandle mask(CreateBitmap(cx, cy, 1, 1, nullptr));
    ReleaseDC(nullptr, screen);
    POINT pts[] = {{cx * 3 / 16, cy * 8 / 16}, {cx * 6 / 16, cy * 12 / 16},
                   {cx * 13 / 16, cy * 3 / 16}};
    int width = std::max(2, cx / 6);
    GdiHandle green(CreatePen(PS_SOLID, width, RGB(0, 160, 0)));
    GdiHandle black(CreatePen(PS_SOLID, width, RGB(0, 0, 0)));
    RECT all{0, 0, cx, cy};
    // The colour image: the tick on black (black leaves the screen as it is).
    HGDIOBJ oldBitmap = SelectObject(dc, color.get());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HGDIOBJ oldPen = SelectObject(dc, green.get());
    Polyline(dc, pts, 3);
    // The mask: transparent (white) but for the tick.
    SelectObject(dc, mask.get());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, black.get());
    Polyline(dc, pts, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(color.get())};
    HICON made = CreateIconIndirect(&info);  // copies both bitmaps
    return made;
  }();
  return icon;
}

// The yellow warning triangle of a section that was not cleaned: the system's own.
HICON warningIcon() {
  static HICON icon = static_cast<HICON>(
      LoadImageW(nullptr, MAKEINTRESOURCEW(32515), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return icon;
}

}  // namespace

std::function<void()> SummaryWindow::endProgram = [] { ExitProcess(0); };

SummaryWindow& frmLog() { return loadedInstance<SummaryWindow>(); }

SummaryWindow::SummaryWindow() : FramedDialog("Cleanup Summary", kWidth, kHeight) {}

bool SummaryWindow::onCreate() {
  const ControlSpec specs[] = {
      label("lblHeading", ids::kSummaryHeading, "Cleanup Summary", 12, 10, 300, 20),
      label("lblTasks", IDC_STATIC, "Maintenance tasks", 40, 40, 190, 18),
      label("lblStatusHeader", IDC_STATIC, "Status", 240, 40, 120, 18),
      {"Line1", WC_STATICW, IDC_STATIC, "", 12, 60, kWidth - 24, 2, SS_ETCHEDHORZ},
      label("lblFilesDeleted", IDC_STATIC, "Files Deleted:", 40, 210, 110, 18),
      label("Label3", ids::kSummaryFiles, "0", 160, 210, 200, 18),
      label("lblSpaceGained", IDC_STATIC, "Space Gained:", 40, 232, 110, 18),
      label("Label4", ids::kSummarySpace, "0 Bytes", 160, 232, 200, 18),
      button("cmdSave", ids::kSummaryViewDetails, "&View Details...", 12, 290, 120, 26),
      button("cmdClose", ids::kSummaryClose, "&Close", 176, 290, 90, 26, BS_DEFPUSHBUTTON),
      button("cmdExit", ids::kSummaryExit, "&Exit", 276, 290, 90, 26),
  };
  addControls(specs);
  Label3.bind(*this, "Label3");
  Label4.bind(*this, "Label4");
  cmdSave.bind(*this, "cmdSave");
  cmdClose.bind(*this, "cmdClose");
  cmdExit.bind(*this, "cmdExit");

  for (size_t i = 0; i < kSummarySections.size(); ++i) {
    int y = kRowTop + static_cast<int>(i) * kRowH;
    std::string n = std::to_string(i + 1);
    tick_[i] = addControl({("imgCleaned" + n).c_str(), WC_STATICW, IDC_STATIC, "", 16, y, 16,
                           16, SS_ICON});
    warning_[i] = addControl({("imgNotCleaned" + n).c_str(), WC_STATICW, IDC_STATIC, "", 16, y,
                              16, 16, SS_ICON});
    addControl(label(("lblTask" + n).c_str(), IDC_STATIC, kSummarySections[i], 40, y, 190, 18));
    addControl(label(("lblState" + n).c_str(), ids::kSummaryStateBase + static_cast<int>(i),
                     kCleanedText, 240, y, 120, 18));
    status_[i].bind(*this, "lblState" + n);
    SendMessageW(tick_[i], STM_SETICON, reinterpret_cast<WPARAM>(tickIcon()), 0);
    SendMessageW(warning_[i], STM_SETICON, reinterpret_cast<WPARAM>(warningIcon()), 0);
    ShowWindow(warning_[i], SW_HIDE);
  }
  showRun();
  return true;
}

void SummaryWindow::setRun(RunSummary run) {
  run_ = std::move(run);
  showRun();
}

void SummaryWindow::showRun() {
  if (!isOpen()) return;
  Label3.setText(std::to_string(run_.filesDeleted));
  Label4.setText(FormatFileSize(static_cast<double>(run_.spaceGained), 2, true));
  for (size_t i = 0; i < kSummarySections.size(); ++i) {
    bool cleaned = run_.cleaned[i];
    status_[i].setText(cleaned ? kCleanedText : kNotCleanedText);
    ShowWindow(tick_[i], cleaned ? SW_SHOWNA : SW_HIDE);
    ShowWindow(warning_[i], cleaned ? SW_HIDE : SW_SHOWNA);
  }
}

std::string SummaryWindow::sectionStatus(size_t section) const {
  return section < status_.size() ? status_[section].text() : std::string();
}

bool SummaryWindow::sectionCleanedIconShown(size_t section) const {
  return section < tick_.size() && tick_[section] &&
         (GetWindowLongPtrW(tick_[section], GWL_STYLE) & WS_VISIBLE);
}

bool SummaryWindow::sectionWarningIconShown(size_t section) const {
  return section < warning_.size() && warning_[section] &&
         (GetWindowLongPtrW(warning_[section], GWL_STYLE) & WS_VISIBLE);
}

void SummaryWindow::cmdSave_Click() { asker().showModal(frmLogDetails(), hwnd()); }

void SummaryWindow::cmdClose_Click() {
  cleaningHost().setProgress(0);
  dismiss();
}

void SummaryWindow::cmdExit_Click() {
  if (endProgram) endProgram();
}

void SummaryWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kSummaryViewDetails: cmdSave_Click(); break;
    case ids::kSummaryClose: cmdClose_Click(); break;
    case ids::kSummaryExit: cmdExit_Click(); break;
    case IDCANCEL: close(); break;  // Esc
    default: break;
  }
}

void SummaryWindow::onDestroy() {
  run_ = {};  // the next summary starts from its design state
  detachAll({&Label3, &Label4, &cmdSave, &cmdClose, &cmdExit});
  for (auto& s : status_) s.attach(nullptr);
  tick_.fill(nullptr);
  warning_.fill(nullptr);
}

}  // namespace glenvask
