// A list view that scales: the rows live here and the control asks for what it draws
// (LVS_OWNERDATA), so a hundred thousand rows fill, sort and scroll without freezing.
// Check boxes, a text colour per row (red for files that could not be deleted), and
// sorting by a clicked column header, each click toggling the order (see SortToggle). Each row
// may carry a key of its own (a file's path, a registry key and value name) apart from what it
// shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/controls.h"

namespace glenvask {

enum class SortKind { Text, Number, Date };  // Date: texts in the regional format

// How a click on a column header chooses the order.
enum class SortToggle {
  EveryClick,  // one order for the whole list, flipped by every click whatever the column;
               // the list starts ascending, so the first click sorts descending
  PerColumn,   // another column sorts ascending; the same column again flips the order
};

struct ListColumn {
  std::string title;
  int width = 100;  // 96-dpi pixels
  SortKind sort = SortKind::Text;
  bool rightAlign = false;
};

struct ListRow {
  std::vector<std::string> cells;
  bool checked = false;
  COLORREF color = CLR_DEFAULT;  // text colour; CLR_DEFAULT for the system's
  int image = -1;                // index in the small image list, -1 none
  std::string key;               // the caller's locator of what the row stands for
};

class ListView : public Control {
 public:
  static constexpr COLORREF kRed = RGB(255, 0, 0);

  // Makes the control as a child of the window, under the name given.
  bool create(Window& parent, const char* name, int id, int x, int y, int w, int h,
              bool checkBoxes, bool sortable = true);

  void setColumns(std::vector<ListColumn> columns);
  void setImageList(HIMAGELIST images);  // the control does not own it

  // Adding many rows: between beginUpdate and endUpdate the control is not told.
  void beginUpdate();
  void endUpdate();
  size_t addRow(ListRow row);
  // Inserts the row before the one at `index` (at the end when past it); returns where it
  // went. Like removeRow, it clears the selection, whose indexes would no longer hold.
  size_t insertRow(size_t index, ListRow row);
  void clear();
  void removeRow(size_t index);
  // Removes every row that `pick` takes (asked once for each row's index, before any goes),
  // telling the control once; clears the selection as removeRow does. Returns how many went.
  size_t removeRows(const std::function<bool(size_t)>& pick);

  size_t rowCount() const { return rows_.size(); }
  const ListRow& row(size_t i) const { return rows_.at(i); }
  std::string rowText(size_t i, size_t col) const;
  void setRowText(size_t i, size_t col, std::string text);
  bool rowChecked(size_t i) const { return rows_.at(i).checked; }
  // A change of a check by code goes the way of a user's: the row is redrawn and
  // onCheckChanged told, once per change, and only when the check changed.
  void setRowChecked(size_t i, bool on);
  COLORREF rowColor(size_t i) const { return rows_.at(i).color; }
  void setRowColor(size_t i, COLORREF color);
  const std::string& rowKey(size_t i) const { return rows_.at(i).key; }
  std::optional<size_t> findRow(std::string_view key) const;  // the first row of that key

  std::vector<size_t> selectedRows() const;
  void select(size_t i, bool on = true);
  int focusedRow() const;

  // Sorts by the column as a click on its header does, the order chosen by the toggle.
  void sortByColumn(size_t col);
  // Sorts by the column in the order given, as a window's own rule or a first sort does.
  void sortBy(size_t col, bool ascending);
  void setSortToggle(SortToggle toggle) { toggle_ = toggle; }
  int sortColumn() const { return sortColumn_; }
  bool sortAscending() const { return ascending_; }

  // Called when a row's check changes, by a user's click or Space, or by setRowChecked.
  std::function<void(size_t)> onCheckChanged;
  // Called on a double click on a row.
  std::function<void(size_t)> onActivate;
  // Called on a click on a column header in place of the list's own sort (the window sorts by
  // its own rule, or not at all).
  std::function<void(size_t)> onColumnClick;

  bool onNotify(NMHDR* hdr, LRESULT& result) override;

 private:
  void syncCount();
  void redrawRow(size_t i);

  std::vector<ListColumn> columns_;
  std::vector<ListRow> rows_;
  std::wstring textBuf_;
  bool checkBoxes_ = false;
  bool sortable_ = true;
  int updating_ = 0;
  int sortColumn_ = -1;
  bool ascending_ = true;
  SortToggle toggle_ = SortToggle::EveryClick;
};

}  // namespace glenvask
