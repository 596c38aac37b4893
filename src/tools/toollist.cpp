#include "tools/toollist.h"

namespace glenvask {

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

}  // namespace glenvask
