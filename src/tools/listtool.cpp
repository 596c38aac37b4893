#include "tools/listtool.h"

#include <cstring>

namespace glenvask {

Button& ListToolWindow::button(const char* name) {
  for (size_t i = 0; i < spec_.size(); ++i)
    if (std::strcmp(spec_[i].name, name) == 0) return buttons_.at(i);
  static Button none;
  return none;
}

bool ListToolWindow::onCreate() {
  if (!createFrame()) return false;
  buttons_.assign(spec_.size(), Button());
  for (size_t i = 0; i < spec_.size(); ++i) {
    const ListToolButton& b = spec_[i];
    addControl(glenvask::button(b.name, b.id, b.caption, 0, 0, kButtonW, kButtonH));
    buttons_[i].bind(*this, b.name);
  }
  list().onColumnClick = [this](size_t column) { list().toggleSort(column); };
  layoutNow();
  Form_Load();
  return true;
}

void ListToolWindow::onSize(int width, int height, bool) {
  std::vector<Control*> row;
  for (Button& b : buttons_) row.push_back(&b);
  layoutFrame(width, height, row);
}

void ListToolWindow::onCommand(int id, int code, HWND) {
  if (id == IDCANCEL) {
    close();
    return;
  }
  if (code != BN_CLICKED) return;
  for (const ListToolButton& b : spec_)
    if (b.id == id) onButton(id);
}

void ListToolWindow::onDestroy() {
  for (Button& b : buttons_) b.attach(nullptr);
  ListFrameWindow::onDestroy();
}

}  // namespace glenvask
