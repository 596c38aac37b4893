#include "win/toolwindow.h"

namespace glenvask {

bool ToolWindow::open(HWND owner) {
  if (!isOpen()) {
    if (!build(owner) || !isOpen()) return false;
    show(SW_SHOW);
  } else {
    show(IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  }
  SetForegroundWindow(hwnd());
  return true;
}

ToolWindow::Loop::Loop(ToolWindow& w) : w_(w), busy_(w) {
  if (w_.loops_++ == 0 && !w_.closePending()) w_.stop_ = false;
}

ToolWindow::Loop::~Loop() { --w_.loops_; }

}  // namespace glenvask
