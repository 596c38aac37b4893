// The help window: the program's help pages (Help\help.htm beside the executable) in the page
// view, with Back, Forward and Close. The main window opens it modeless; the options window
// opens it modal.
#pragma once

#include <windows.h>

#include "help/pageview.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/toolwindow.h"

namespace glenvask {

inline constexpr const char* kHelpFile = "Help\\help.htm";

class HelpWindow : public ToolWindowOf<HelpWindow> {
 public:
  bool build(HWND owner) override;

  void Form_Load();  // shows the first help page
  void cmdGoBack_Click();
  void cmdGoForward_Click();
  void cmdClose_Click();

  PageView WebBrowser1;
  Button cmdGoBack, cmdGoForward, cmdClose;

 protected:
  const wchar_t* className() const override { return ids::kHelpClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool maximized) override;

 private:
  void updateButtons();
};

// The one help window.
HelpWindow& frmHelp();

}  // namespace glenvask
