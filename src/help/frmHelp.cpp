#include "help/frmHelp.h"

#include <algorithm>

#include "services/paths.h"

namespace glenvask {

namespace {
constexpr int kWidth = 640, kHeight = 480, kMargin = 8, kButtonW = 88, kButtonH = 26;
}  // namespace

HelpWindow& frmHelp() { return HelpWindow::instance(); }

bool HelpWindow::build(HWND owner) {
  WindowSpec spec;
  spec.title = "Help";
  spec.width = kWidth;
  spec.height = kHeight;
  spec.style = WS_OVERLAPPEDWINDOW;
  spec.owner = owner;
  return create(spec);
}

bool HelpWindow::onCreate() {
  const ControlSpec buttons[] = {
      button("cmdGoBack", ids::kHelpBack, "< &Back", 0, 0, kButtonW, kButtonH),
      button("cmdGoForward", ids::kHelpForward, "&Forward >", 0, 0, kButtonW, kButtonH),
      button("cmdClose", ids::kHelpClose, "&Close", 0, 0, kButtonW, kButtonH),
  };
  addControls(buttons);
  cmdGoBack.bind(*this, "cmdGoBack");
  cmdGoForward.bind(*this, "cmdGoForward");
  cmdClose.bind(*this, "cmdClose");
  if (!WebBrowser1.create(*this, "WebBrowser1", ids::kHelpPage, kMargin, kMargin,
                          kWidth - 2 * kMargin, kHeight - kButtonH - 3 * kMargin))
    return false;
  WebBrowser1.onNavigated = [this] { updateButtons(); };
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  Form_Load();
  return true;
}

void HelpWindow::Form_Load() { WebBrowser1.navigate(appFile(kHelpFile)); }

void HelpWindow::updateButtons() {
  cmdGoBack.setEnabled(WebBrowser1.canGoBack());
  cmdGoForward.setEnabled(WebBrowser1.canGoForward());
}

// At either end of the history the button does nothing.
void HelpWindow::cmdGoBack_Click() { WebBrowser1.goBack(); }
void HelpWindow::cmdGoForward_Click() { WebBrowser1.goForward(); }
void HelpWindow::cmdClose_Click() { dismiss(); }

void HelpWindow::onSize(int width, int height, bool) {
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH);
  int top = std::max(m, height - m - bh);
  MoveWindow(WebBrowser1.hwnd(), m, m, std::max(0, width - 2 * m), std::max(0, top - 2 * m),
             TRUE);
  MoveWindow(cmdGoBack.hwnd(), m, top, bw, bh, TRUE);
  MoveWindow(cmdGoForward.hwnd(), m + bw + scale(6), top, bw, bh, TRUE);
  MoveWindow(cmdClose.hwnd(), width - m - bw, top, bw, bh, TRUE);
}

void HelpWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kHelpBack: cmdGoBack_Click(); break;
    case ids::kHelpForward: cmdGoForward_Click(); break;
    case ids::kHelpClose:
    case IDCANCEL: cmdClose_Click(); break;
    default: break;
  }
}

void HelpWindow::onDestroy() {
  for (Control* c : std::initializer_list<Control*>{&WebBrowser1, &cmdGoBack, &cmdGoForward,
                                                     &cmdClose})
    c->attach(nullptr);
}

}  // namespace glenvask
