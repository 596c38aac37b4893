#include "win/listview.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "base/datetime.h"
#include "base/text.h"
#include "win/regional.h"
#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {

namespace {

double numberKey(const std::string& s) {
  std::string digits;
  for (char c : s)
    if (c != ',' && c != ' ') digits.push_back(c);
  char* end = nullptr;
  double v = std::strtod(digits.c_str(), &end);
  return end == digits.c_str() ? -1.0 : v;
}

// Date texts in the regional format; others sort first.
DateTime dateKey(const std::string& s, const RegionalFormat& format) {
  return parseDateTime(s, format).value_or(DateTime{});
}

}  // namespace

bool ListView::create(Window& parent, const char* name, int id, int x, int y, int w, int h,
                      bool checkBoxes, bool sortable) {
  DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_BORDER;
  if (!sortable) style |= LVS_NOSORTHEADER;
  h_ = parent.addControl({name, WC_LISTVIEWW, id, "", x, y, w, h, style, 0});
  if (!h_) return false;
  checkBoxes_ = checkBoxes;
  sortable_ = sortable;
  DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER;
  if (checkBoxes) ex |= LVS_EX_CHECKBOXES;
  ListView_SetExtendedListViewStyle(h_, ex);
  if (checkBoxes) ListView_SetCallbackMask(h_, LVIS_STATEIMAGEMASK);
  parent.route(h_, this);
  if (!columns_.empty()) setColumns(columns_);
  return true;
}

void ListView::setColumns(std::vector<ListColumn> columns) {
  columns_ = std::move(columns);
  if (!h_) return;
  while (ListView_DeleteColumn(h_, 0)) {
  }
  HWND parent = GetParent(h_);
  int dpi = 96;
  if (HDC dc = GetDC(parent)) {
    dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(parent, dc);
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::wstring title = wide(columns_[i].title);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = columns_[i].rightAlign && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.cx = MulDiv(columns_[i].width, dpi, 96);
    col.pszText = title.data();
    col.iSubItem = static_cast<int>(i);
    ListView_InsertColumn(h_, static_cast<int>(i), &col);
  }
}

void ListView::setImageList(HIMAGELIST images) {
  if (h_) ListView_SetImageList(h_, images, LVSIL_SMALL);
}

void ListView::beginUpdate() { ++updating_; }

void ListView::endUpdate() {
  if (updating_ > 0 && --updating_ == 0) syncCount();
}

void ListView::syncCount() {
  if (h_ && updating_ == 0)
    ListView_SetItemCountEx(h_, static_cast<int>(rows_.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  if (h_ && updating_ == 0) InvalidateRect(h_, nullptr, FALSE);
}

size_t ListView::addRow(ListRow row) {
  rows_.push_back(std::move(row));
  syncCount();
  return rows_.size() - 1;
}

size_t ListView::insertRow(size_t index, ListRow row) {
  index = std::min(index, rows_.size());
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
  if (h_) ListView_SetItemState(h_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  syncCount();
  return index;
}

std::optional<size_t> ListView::findRow(std::string_view key) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].key == key) return i;
  return std::nullopt;
}

void ListView::clear() {
  rows_.clear();
  sortColumn_ = -1;
  ascending_ = true;
  if (h_) ListView_DeleteAllItems(h_);
  syncCount();
}

void ListView::removeRow(size_t index) {
  if (index >= rows_.size()) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  if (h_) ListView_SetItemState(h_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  syncCount();
}

size_t ListView::removeRows(const std::function<bool(size_t)>& pick) {
  std::vector<bool> gone(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) gone[i] = pick(i);
  size_t kept = 0;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (!gone[i]) {
      if (kept != i) rows_[kept] = std::move(rows_[i]);
      ++kept;
    }
  size_t removed = rows_.size() - kept;
  if (removed == 0) return 0;
  rows_.resize(kept);
  if (h_) {
    // Each only when there is one to clear: the control's clearing of all rows visits every
    // row, which in a long list costs more than the removal itself.
    if (ListView_GetSelectedCount(h_) > 0) ListView_SetItemState(h_, -1, 0, LVIS_SELECTED);
    if (int focused = ListView_GetNextItem(h_, -1, LVNI_FOCUSED); focused >= 0)
      ListView_SetItemState(h_, focused, 0, LVIS_FOCUSED);
  }
  syncCount();
  return removed;
}

std::string ListView::rowText(size_t i, size_t col) const {
  const auto& cells = rows_.at(i).cells;
  return col < cells.size() ? cells[col] : std::string();
}

void ListView::setRowText(size_t i, size_t col, std::string text) {
  auto& cells = rows_.at(i).cells;
  if (cells.size() <= col) cells.resize(col + 1);
  cells[col] = std::move(text);
  redrawRow(i);
}

void ListView::setRowChecked(size_t i, bool on) {
  if (rows_.at(i).checked == on) return;
  rows_[i].checked = on;
  redrawRow(i);
  if (onCheckChanged) onCheckChanged(i);
}

void ListView::setRowColor(size_t i, COLORREF color) {
  rows_.at(i).color = color;
  redrawRow(i);
}

void ListView::redrawRow(size_t i) {
  if (h_ && updating_ == 0) ListView_RedrawItems(h_, static_cast<int>(i), static_cast<int>(i));
}

std::vector<size_t> ListView::selectedRows() const {
  std::vector<size_t> out;
  if (!h_) return out;
  int i = -1;
  while ((i = ListView_GetNextItem(h_, i, LVNI_SELECTED)) >= 0) out.push_back(static_cast<size_t>(i));
  return out;
}

void ListView::select(size_t i, bool on) {
  if (h_)
    ListView_SetItemState(h_, static_cast<int>(i), on ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                          LVIS_SELECTED | LVIS_FOCUSED);
}

int ListView::focusedRow() const { return h_ ? ListView_GetNextItem(h_, -1, LVNI_FOCUSED) : -1; }

void ListView::sortByColumn(size_t col) {
  if (col >= columns_.size() && !columns_.empty()) return;
  bool ascending = toggle_ == SortToggle::EveryClick      ? !ascending_
                   : sortColumn_ == static_cast<int>(col) ? !ascending_
                                                          : true;
  sortBy(col, ascending);
}

void ListView::sortBy(size_t col, bool ascending) {
  if (col >= columns_.size() && !columns_.empty()) return;
  ascending_ = ascending;
  sortColumn_ = static_cast<int>(col);
  SortKind kind = col < columns_.size() ? columns_[col].sort : SortKind::Text;

  // Keys once per row, then one sort of the row order.
  std::vector<size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), 0);
  auto apply = [&](auto keyOf) {
    using Key = decltype(keyOf(rows_[0]));
    std::vector<Key> keys;
    keys.reserve(rows_.size());
    for (const auto& r : rows_) keys.push_back(keyOf(r));
    bool asc = ascending_;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return asc ? keys[a] < keys[b] : keys[b] < keys[a];
    });
  };
  if (!rows_.empty()) {
    auto cell = [col](const ListRow& r) -> const std::string& {
      static const std::string empty;
      return col < r.cells.size() ? r.cells[col] : empty;
    };
    switch (kind) {
      case SortKind::Text: apply([&](const ListRow& r) { return toLower(cell(r)); }); break;
      case SortKind::Number: apply([&](const ListRow& r) { return numberKey(cell(r)); }); break;
      case SortKind::Date: {
        RegionalFormat format = userRegionalFormat();
        apply([&](const ListRow& r) { return dateKey(cell(r), format); });
        break;
      }
    }
  }
  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  for (size_t i : order) sorted.push_back(std::move(rows_[i]));
  rows_ = std::move(sorted);
  if (h_) {
    ListView_SetItemState(h_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(h_, nullptr, FALSE);
  }
}

bool ListView::onNotify(NMHDR* hdr, LRESULT& result) {
  switch (hdr->code) {
    case LVN_GETDISPINFOW: {
      auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
      LVITEMW& item = di->item;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size()) return true;
      const ListRow& r = rows_[static_cast<size_t>(item.iItem)];
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        size_t col = static_cast<size_t>(item.iSubItem);
        textBuf_ = col < r.cells.size() ? wide(r.cells[col]) : std::wstring();
        size_t n = std::min(textBuf_.size(), static_cast<size_t>(item.cchTextMax - 1));
        std::copy_n(textBuf_.data(), n, item.pszText);
        item.pszText[n] = L'\0';
      }
      if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = r.image;
      if ((item.mask & LVIF_STATE) && checkBoxes_) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(r.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      result = 0;
      return true;
    }
    case LVN_ODFINDITEMW:
      result = -1;
      return true;
    case NM_CLICK: {
      auto* ia = reinterpret_cast<NMITEMACTIVATE*>(hdr);
      LVHITTESTINFO hit{};
      hit.pt = ia->ptAction;
      int i = ListView_SubItemHitTest(h_, &hit);
      if (checkBoxes_ && i >= 0 && static_cast<size_t>(i) < rows_.size() &&
          (hit.flags & LVHT_ONITEMSTATEICON))
        setRowChecked(static_cast<size_t>(i), !rows_[static_cast<size_t>(i)].checked);
      result = 0;
      return true;
    }
    case NM_DBLCLK: {
      auto* ia = reinterpret_cast<NMITEMACTIVATE*>(hdr);
      if (ia->iItem >= 0 && onActivate) onActivate(static_cast<size_t>(ia->iItem));
      result = 0;
      return true;
    }
    case LVN_KEYDOWN: {
      auto* kd = reinterpret_cast<NMLVKEYDOWN*>(hdr);
      // Space gives every selected row the opposite of the focused row's check.
      std::vector<size_t> selected;
      if (kd->wVKey == VK_SPACE && checkBoxes_) selected = selectedRows();
      if (!selected.empty()) {
        int focus = focusedRow();
        size_t lead = selected.front();
        for (size_t i : selected)
          if (static_cast<int>(i) == focus) lead = i;
        bool on = lead < rows_.size() && !rows_[lead].checked;
        for (size_t i : selected)
          if (i < rows_.size()) setRowChecked(i, on);
      }
      result = 0;
      return true;
    }
    case LVN_COLUMNCLICK: {
      auto col = static_cast<size_t>(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
      if (onColumnClick)
        onColumnClick(col);
      else if (sortable_)
        sortByColumn(col);
      result = 0;
      return true;
    }
    case NM_CUSTOMDRAW: {
      auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
      if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        size_t i = static_cast<size_t>(cd->nmcd.dwItemSpec);
        if (i < rows_.size() && rows_[i].color != CLR_DEFAULT) cd->clrText = rows_[i].color;
        result = CDRF_NEWFONT;
      } else {
        result = CDRF_DODEFAULT;
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace glenvask
