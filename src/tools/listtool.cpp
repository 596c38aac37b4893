#include "tools/listtool.h"

#include <algorithm>
#include <cstring>

namespace glenvask {

namespace {
constexpr int kMargin = 10, kButtonW = 84, kButtonH = 26, kGap = 6, kHeadingH = 20;
constexpr int kStatusH = 18;
}  // namespace

Button& ListToolWindow::button(const char* name) {
  for (size_t i = 0; i < spec_.buttons.size(); ++i)
    if (std::strcmp(spec_.buttons[i].name, name) == 0) return buttons_.at(i);
  static Button none;
  return none;
}

bool ListToolWindow::build(HWND owner) {
  WindowSpec w;
  w.title = spec_.caption;
  w.width = spec_.width;
  w.height = spec_.height;
  w.owner = owner;
  w.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  return create(w);
}

bool ListToolWindow::onCreate() {
  addControl(label("Label1", spec_.headingId, spec_.heading, kMargin, 8, 400, kHeadingH));
  addControl(label("lblStatus", spec_.statusId, spec_.statusText, kMargin, 0, 300, kStatusH,
                   SS_ENDELLIPSIS));
  Label1.bind(*this, "Label1");
  lblStatus.bind(*this, "lblStatus");
  buttons_.assign(spec_.buttons.size(), Button());
  for (size_t i = 0; i < spec_.buttons.size(); ++i) {
    const ListToolButton& b = spec_.buttons[i];
    addControl(glenvask::button(b.name, b.id, b.caption, 0, 0, kButtonW, kButtonH));
    buttons_[i].bind(*this, b.name);
  }
  list_.setColumns(spec_.columns);
  if (!list_.create(*this, spec_.listName, spec_.listId, kMargin, 32, spec_.width - 2 * kMargin,
                    200, spec_.checkBoxes))
    return false;
  list_.onColumnClick = [this](size_t column) { list_.toggleSort(column); };
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  Form_Load();
  return true;
}

void ListToolWindow::onSize(int width, int height, bool) {
  if (!list_.hwnd()) return;
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH), gap = scale(kGap);
  int buttonsTop = height - m - bh;
  int listTop = scale(32);
  int listBottom = std::max(listTop + scale(40), buttonsTop - gap);
  MoveWindow(Label1.hwnd(), m, scale(8), std::max(0, width - 2 * m), scale(kHeadingH), TRUE);
  MoveWindow(list_.hwnd(), m, listTop, std::max(0, width - 2 * m), listBottom - listTop, TRUE);
  std::vector<Control*> row;
  for (Button& b : buttons_) row.push_back(&b);
  int x = placeRow(row, width - m, buttonsTop, bw, bh, gap);
  MoveWindow(lblStatus.hwnd(), m, buttonsTop + (bh - scale(kStatusH)) / 2, std::max(0, x - gap - m),
             scale(kStatusH), TRUE);
}

void ListToolWindow::onCommand(int id, int code, HWND) {
  if (id == IDCANCEL) {
    close();
    return;
  }
  if (code != BN_CLICKED) return;
  for (const ListToolButton& b : spec_.buttons)
    if (b.id == id) onButton(id);
}

void ListToolWindow::onDestroy() {
  Label1.attach(nullptr);
  lblStatus.attach(nullptr);
  for (Button& b : buttons_) b.attach(nullptr);
  list_.attach(nullptr);
  list_.clear();
}

}  // namespace glenvask
