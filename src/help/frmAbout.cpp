#include "help/frmAbout.h"

#include "help/update.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;  // a control nobody reaches by id
constexpr int kWidth = 320, kHeight = 150;

}  // namespace

AboutWindow& frmAbout() { return loadedInstance<AboutWindow>(); }

AboutWindow::AboutWindow() : FramedDialog("About Glenvask", kWidth, kHeight) {}

bool AboutWindow::onCreate() {
  const ControlSpec specs[] = {
      {"imgIcon", WC_STATICW, IDC_STATIC, "", 16, 16, 32, 32, SS_ICON},
      label("lblTitle", IDC_STATIC, "Glenvask", 64, 16, 240, 20),
      label("lblVersion", ids::kAboutVersion, "", 64, 38, 240, 18),
      label("lblPurpose", IDC_STATIC, "Disk cleanup and privacy", 64, 60, 240, 18),
      button("OK", ids::kAboutOK, "OK", kWidth - 100, kHeight - 40, 88, 26, BS_DEFPUSHBUTTON),
  };
  addControls(specs);
  lblVersion.bind(*this, "lblVersion");
  OK.bind(*this, "OK");
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (!icon) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  SendMessageW(child("imgIcon"), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  Form_Load();
  return true;
}

void AboutWindow::Form_Load() { lblVersion.setText("Version: " + installedVersion()); }

void AboutWindow::OK_Click() { dismiss(); }

void AboutWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kAboutOK:
    case IDOK:  // Enter
      OK_Click();
      break;
    case IDCANCEL: close(); break;  // Esc
    default: break;
  }
}

void AboutWindow::onDestroy() {
  lblVersion.attach(nullptr);
  OK.attach(nullptr);
}

}  // namespace glenvask
