// The list view of the system and registry tool windows: the kit's list, with the clicked
// column and the highlighted row told to the window, and the sort of these windows, where
// each header click toggles the order whatever column was sorted before.
#pragma once

#include <functional>

#include "win/listview.h"

namespace glenvask {

class ToolListView : public ListView {
 public:
  // A row became the highlighted one (a click, the arrow keys).
  std::function<void(size_t row)> onItemClick;

  // Sorts by the column in the order opposite to the list's present one: the first click
  // after a list was sorted ascending (or never sorted) sorts descending.
  void toggleSort(size_t column) { sortBy(column, !sortAscending()); }
  // The highlighted row, when one is selected.
  std::optional<size_t> selectedRow() const;

  bool onNotify(NMHDR* hdr, LRESULT& result) override;
};

}  // namespace glenvask
