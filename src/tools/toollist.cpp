#include "tools/toollist.h"

#include <algorithm>

namespace glenvask {

namespace {
constexpr int kHeadingH = 20, kStatusH = 18, kListTop = 32;
}  // namespace

std::optional<size_t> ToolListView::selectedRow() const {
  auto rows = selectedRows();
  if (rows.empty() || rows.front() >= rowCount()) return std::nullopt;
  return rows.front();
}

bool ToolListView::onNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code == LVN_ITEMCHANGED && onItemClick) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (nm->iItem >= 0 && static_cast<size_t>(nm->iItem) < rowCount() &&
        (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED))
      onItemClick(static_cast<size_t>(nm->iItem));
  }
  return ListView::onNotify(hdr, result);
}

bool ListFrameWindow::build(HWND owner) {
  WindowSpec w;
  w.title = frame_.caption;
  w.width = frame_.width;
  w.height = frame_.height;
  w.owner = owner;
  w.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  return create(w);
}

bool ListFrameWindow::createFrame() {
  addControl(label("Label1", frame_.headingId, frame_.heading, kMargin, 8, 400, kHeadingH));
  addControl(label("lblStatus", frame_.statusId, frame_.statusText, kMargin, 0, 300, kStatusH,
                   SS_ENDELLIPSIS));
  Label1.bind(*this, "Label1");
  lblStatus.bind(*this, "lblStatus");
  list_.setColumns(frame_.columns);
  return list_.create(*this, frame_.listName, frame_.listId, kMargin, kListTop,
                      frame_.width - 2 * kMargin, 200, frame_.checkBoxes, frame_.sortable);
}

int ListFrameWindow::layoutFrame(int width, int height, const std::vector<Control*>& buttons,
                                 int below) {
  if (!list_.hwnd()) return 0;
  int m = scale(kMargin), bh = scale(kButtonH), gap = scale(kGap),
      inner = std::max(0, width - 2 * m);
  int buttonsTop = height - m - bh, listTop = scale(kListTop);
  int listBottom = std::max(listTop + scale(40), buttonsTop - gap - scale(below));
  MoveWindow(Label1.hwnd(), m, scale(8), inner, scale(kHeadingH), TRUE);
  MoveWindow(list_.hwnd(), m, listTop, inner, listBottom - listTop, TRUE);
  int x = placeRow(buttons, width - m, buttonsTop, scale(kButtonW), bh, gap);
  MoveWindow(lblStatus.hwnd(), m, buttonsTop + (bh - scale(kStatusH)) / 2, std::max(0, x - gap - m),
             scale(kStatusH), TRUE);
  return listBottom + gap;
}

void ListFrameWindow::layoutNow() {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
}

void ListFrameWindow::onDestroy() {
  Label1.attach(nullptr);
  lblStatus.attach(nullptr);
  list_.attach(nullptr);
  list_.clear();
}

}  // namespace glenvask
