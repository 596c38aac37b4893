// The about window: the program's name and its version, closed by OK.
#pragma once

#include <windows.h>

#include "review/framed.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

class AboutWindow : public FramedDialog {
 public:
  AboutWindow();

  void Form_Load();
  void OK_Click();

  Label lblVersion;
  Button OK;

 protected:
  const wchar_t* className() const override { return ids::kAboutClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
};

// The one about window; makes it when it does not exist.
AboutWindow& frmAbout();

}  // namespace glenvask
