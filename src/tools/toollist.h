// The list view of the system and registry tool windows: the kit's list, with the clicked
// column and the highlighted row told to the window, and the sort of these windows, where
// each header click toggles the order whatever column was sorted before. Also the frame those
// windows share: a heading over the list, a status line beside the row of buttons at the foot.
#pragma once

#include <functional>
#include <vector>

#include "win/controls.h"
#include "win/listview.h"
#include "win/toolwindow.h"

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

// What the frame is made of: captions, the list's columns and the fixed ids.
struct ListFrameSpec {
  const char* caption;
  const char* heading;
  const char* listName;  // "lstvInvalid"
  std::vector<ListColumn> columns;
  int listId, statusId, headingId;
  const char* statusText;  // the status line before the list is filled
  bool checkBoxes, sortable;
  int width, height;
};

class ListFrameWindow : public ToolWindow {
 public:
  ToolListView& list() { return list_; }
  Label Label1, lblStatus;

 protected:
  explicit ListFrameWindow(ListFrameSpec frame) : frame_(std::move(frame)) {}
  bool build(HWND owner) override;
  // Makes the heading, the status line and the list.
  bool createFrame();
  // Places the heading, the list, the buttons (right-aligned at the foot) and the status line
  // beside them, leaving `below` pixels (at 96 dpi) under the list; returns where that room
  // begins.
  int layoutFrame(int width, int height, const std::vector<Control*>& buttons, int below = 0);
  void onDestroy() override;
  // Lays the window out for its present size.
  void layoutNow();

  static constexpr int kMargin = 10, kButtonW = 84, kButtonH = 26, kGap = 6;

 private:
  ListFrameSpec frame_;
  ToolListView list_;
};

}  // namespace glenvask
