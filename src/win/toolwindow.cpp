#include "win/toolwindow.h"

namespace glenvask {

WindowSpec toolFrame(std::string title, int width, int height, HMENU menu, HWND owner) {
  WindowSpec spec;
  spec.title = std::move(title);
  spec.width = width;
  spec.height = height;
  spec.owner = owner;
  spec.menu = menu;
  spec.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  return spec;
}

int currentRow(const ListView& list) {
  auto selected = list.selectedRows();
  int i = selected.empty() ? list.focusedRow() : static_cast<int>(selected.front());
  return i >= 0 && static_cast<size_t>(i) < list.rowCount() ? i : -1;
}

void setAllChecked(ListView& list, bool on) {
  list.beginUpdate();
  for (size_t i = 0; i < list.rowCount(); ++i) list.setRowChecked(i, on);
  list.endUpdate();
}

void releaseControls(std::initializer_list<Control*> controls) {
  detachAll(controls);
  for (Control* c : controls)
    if (auto* list = dynamic_cast<ListView*>(c)) list->clear();
}

bool ToolWindow::open() {
  if (!isOpen()) {
    // Modeless, the window has no owner; only a modal show (build through showModal) has one.
    if (!build(nullptr) || !isOpen()) return false;
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
