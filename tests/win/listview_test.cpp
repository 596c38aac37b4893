// The scalable list view in a real window: rows as the control sees them, check boxes, red
// rows, and sorting by column.
#include "win/listview.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/pump.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

class ListWindow : public Window {
 public:
  ListView list;
  bool create() {
    if (!Window::create({"list", 500, 300, WS_OVERLAPPEDWINDOW})) return false;
    list.setColumns({{"Name", 150}, {"Size", 80, SortKind::Number, true}, {"Date", 160, SortKind::Date}});
    return list.create(*this, "lstv", 100, 0, 0, 500, 300, true);
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestList"; }
};

// What the control itself shows in a cell: asks through LVN_GETDISPINFO.
std::string shown(const ListView& l, int row, int col) {
  wchar_t buf[256] = {};
  ListView_GetItemText(l.hwnd(), row, col, buf, 256);
  return utf8(buf);
}

bool shownChecked(const ListView& l, int row) {
  return ListView_GetCheckState(l.hwnd(), row) != 0;
}

TEST(ListView, ShowsRowsChecksAndColours) {
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.show();
  w.list.addRow({{"a.tmp", "10", "01/02/2025 3:04:05 PM"}});
  w.list.addRow({{"b.log", "2000", "12/31/2024 11:00:00 AM"}, true});
  EXPECT_EQ(ListView_GetItemCount(w.list.hwnd()), 2);
  EXPECT_EQ(shown(w.list, 0, 0), "a.tmp");
  EXPECT_EQ(shown(w.list, 1, 2), "12/31/2024 11:00:00 AM");
  EXPECT_FALSE(shownChecked(w.list, 0));
  EXPECT_TRUE(shownChecked(w.list, 1));

  w.list.setRowChecked(0, true);
  EXPECT_TRUE(shownChecked(w.list, 0));
  w.list.setRowColor(1, ListView::kRed);
  EXPECT_EQ(w.list.rowColor(1), ListView::kRed);
  EXPECT_EQ(w.list.rowColor(0), CLR_DEFAULT);

  // A click on a row's check box toggles it and tells the owner.
  std::vector<size_t> toggled;
  w.list.onCheckChanged = [&](size_t i) { toggled.push_back(i); };
  RECT r{};
  ListView_GetItemRect(w.list.hwnd(), 1, &r, LVIR_BOUNDS);
  LVHITTESTINFO hit{};
  for (int x = r.left; x < r.left + 40 && !(hit.flags & LVHT_ONITEMSTATEICON); ++x) {
    hit = {};
    hit.pt = {x, (r.top + r.bottom) / 2};
    ListView_HitTest(w.list.hwnd(), &hit);
  }
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "no check box found on the row";
  LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
  SendMessageW(w.list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(w.list.hwnd(), WM_LBUTTONUP, 0, at);
  EventPump::dispatchPending();
  EXPECT_FALSE(w.list.rowChecked(1));
  EXPECT_FALSE(shownChecked(w.list, 1));
  EXPECT_EQ(toggled, std::vector<size_t>{1});
}

TEST(ListView, SortsByColumnKindAndTogglesOrder) {
  // Dates in the machine's regional format, whatever it is.
  auto date = [f = userRegionalFormat()](DateTime t) { return formatGeneralDate(t, f); };
  struct Step {
    size_t column;
    std::vector<std::uint64_t> order;
  };
  struct Case {
    SortToggle toggle;
    std::vector<Step> steps;
  } cases[] = {
      // One order for the list, flipped by every click whatever the column; it starts
      // ascending, so the first click sorts descending.
      {SortToggle::EveryClick,
       {{0, {3, 1, 2}},  // names ignore case
        {0, {2, 1, 3}},
        {1, {2, 1, 3}},  // sizes as numbers, not as text
        {1, {3, 1, 2}},
        {2, {1, 3, 2}},  // dates in time order
        {2, {2, 3, 1}}}},
      // Each column starts ascending; the same column again flips.
      {SortToggle::PerColumn,
       {{0, {2, 1, 3}}, {0, {3, 1, 2}}, {1, {3, 1, 2}}, {2, {2, 3, 1}}, {2, {1, 3, 2}}}},
  };
  for (const auto& c : cases) {
    ListWindow w;
    ASSERT_TRUE(w.create());
    w.list.setSortToggle(c.toggle);
    w.list.addRow({{"beta", "900", date({2025, 1, 2, 15, 4, 5})}, false, CLR_DEFAULT, -1, 1});
    w.list.addRow(
        {{"Alpha", "10000", date({2024, 12, 31, 11, 0, 0})}, true, ListView::kRed, -1, 2});
    w.list.addRow({{"gamma", "20", date({2025, 1, 2, 9, 0, 0})}, false, CLR_DEFAULT, -1, 3});
    auto tags = [&] {
      std::vector<std::uint64_t> t;
      for (size_t i = 0; i < w.list.rowCount(); ++i) t.push_back(w.list.rowTag(i));
      return t;
    };
    for (const auto& s : c.steps) {
      // Through the header, as a click does.
      NMLISTVIEW nm{};
      nm.hdr.hwndFrom = w.list.hwnd();
      nm.hdr.idFrom = 100;
      nm.hdr.code = LVN_COLUMNCLICK;
      nm.iSubItem = static_cast<int>(s.column);
      SendMessageW(w.hwnd(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&nm));
      EXPECT_EQ(tags(), s.order) << "column " << s.column;
    }
    // Checks and colours travel with their rows.
    for (size_t i = 0; i < w.list.rowCount(); ++i) {
      EXPECT_EQ(w.list.rowChecked(i), w.list.rowTag(i) == 2);
      EXPECT_EQ(w.list.rowColor(i) == ListView::kRed, w.list.rowTag(i) == 2);
    }
  }
}

TEST(ListView, FillsManyRowsInOneUpdate) {
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.list.beginUpdate();
  for (int i = 0; i < 100000; ++i)
    w.list.addRow({{"file" + std::to_string(i) + ".tmp", std::to_string(i), ""}});
  EXPECT_EQ(ListView_GetItemCount(w.list.hwnd()), 0) << "the control is told once, at the end";
  w.list.endUpdate();
  EXPECT_EQ(ListView_GetItemCount(w.list.hwnd()), 100000);
  EXPECT_EQ(shown(w.list, 99999, 0), "file99999.tmp");
  w.list.removeRow(0);
  EXPECT_EQ(ListView_GetItemCount(w.list.hwnd()), 99999);
  EXPECT_EQ(shown(w.list, 0, 0), "file1.tmp");
}

}  // namespace
}  // namespace glenvask
