#include "review/frmLogDetails.h"

#include "base/sizes.h"
#include "review/frmLog.h"
#include "services/settings.h"
#include "win/ids.h"

namespace glenvask {

namespace {

constexpr int kWidth = 560, kHeight = 400;

}  // namespace

LogDetailsWindow& frmLogDetails() { return loadedInstance<LogDetailsWindow>(); }

void LogDetailsWindow::load(HWND owner) { build(owner); }

bool LogDetailsWindow::build(HWND owner) {
  return isOpen() ||
         create(dialogFrame("Detailed Log", kWidth, kHeight, owner ? owner : frmLog().hwnd()));
}

bool LogDetailsWindow::onCreate() {
  const ControlSpec specs[] = {
      label("lblHeading", ids::kLogHeading, "Detailed Log", 12, 10, 300, 18),
      {"txtLog", L"EDIT", ids::kLogText, "", 12, 32, kWidth - 24, 300,
       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
           WS_TABSTOP,
       WS_EX_CLIENTEDGE},
      label("lblStatus", ids::kLogStatus, "", 12, 338, kWidth - 24, 18),
      button("cmdSave", ids::kLogSave, "&Save As...", 12, 364, 100, 26),
      button("cmdClose", ids::kLogClose, "&Close", kWidth - 112, 364, 100, 26, BS_DEFPUSHBUTTON),
  };
  addControls(specs);
  txtLog.bind(*this, "txtLog");
  lblStatus.bind(*this, "lblStatus");
  cmdSave.bind(*this, "cmdSave");
  cmdClose.bind(*this, "cmdClose");
  SendMessageW(txtLog.hwnd(), EM_SETLIMITTEXT, 0, 0);

  const RunSummary& run = frmLog().run();
  txtLog.setText(run.log);
  lblStatus.setText("Files Deleted: " + std::to_string(run.filesDeleted) + ", Space Gained: " +
                    FormatFileSize(static_cast<double>(run.spaceGained), 2, true));
  return true;
}

void LogDetailsWindow::cmdSave_Click() {
  FileDialogSpec spec;
  spec.fileName = kLogFileName;
  spec.filter = kLogFilter;
  auto chosen = asker().saveFile(hwnd(), spec);
  if (!chosen || chosen->empty()) return;
  // The log as the window holds it and one line end; a failure leaves any old file whole.
  writeFileAtomic(*chosen, txtLog.text() + "\r\n");
}

void LogDetailsWindow::cmdClose_Click() {
  dismiss();
}

void LogDetailsWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kLogSave: cmdSave_Click(); break;
    case ids::kLogClose: cmdClose_Click(); break;
    case IDCANCEL: close(); break;  // Esc
    default: break;
  }
}

void LogDetailsWindow::onDestroy() {
  detachAll({&txtLog, &lblStatus, &cmdSave, &cmdClose});
}

}  // namespace glenvask
