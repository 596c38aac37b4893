// The detailed log: the whole run log of the summary, with the summary's totals, and
// "Save As..." to keep it as a text file.
#pragma once

#include <windows.h>

#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

// The save dialog of the detailed log.
inline constexpr const char* kLogFileName = "cleanup";
inline constexpr const char* kLogFilter = "Log Files ( *.log ) | *.log";

class LogDetailsWindow : public Dialog {
 public:
  // Makes the window (hidden) when it does not exist, taking the log and the totals of the
  // summary window.
  void load(HWND owner = nullptr);
  bool build(HWND owner) override;

  void cmdSave_Click();  // "Save As..."
  void cmdClose_Click();

  EditBox txtLog;
  Label lblStatus;
  Button cmdSave, cmdClose;

 protected:
  const wchar_t* className() const override { return ids::kLogDetailsClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
};

// The one detailed log window; makes it when it does not exist.
LogDetailsWindow& frmLogDetails();

}  // namespace glenvask
