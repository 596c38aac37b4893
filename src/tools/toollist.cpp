#include "tools/toollist.h"

namespace glenvask {

void ToolListView::sortBy(size_t column, bool ascending) {
  if (sortColumn() != static_cast<int>(column)) sortByColumn(column);
  if (sortAscending() != ascending) sortByColumn(column);
}

std::optional<size_t> ToolListView::selectedRow() const {
  auto rows = selectedRows();
  if (rows.empty() || rows.front() >= rowCount()) return std::nullopt;
  return rows.front();
}

bool ToolListView::onNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code == LVN_COLUMNCLICK && onColumnClick) {
    onColumnClick(static_cast<size_t>(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem));
    result = 0;
    return true;
  }
  if (hdr->code == LVN_ITEMCHANGED && onItemClick) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (nm->iItem >= 0 && static_cast<size_t>(nm->iItem) < rowCount() &&
        (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED))
      onItemClick(static_cast<size_t>(nm->iItem));
  }
  return ListView::onNotify(hdr, result);
}

}  // namespace glenvask
