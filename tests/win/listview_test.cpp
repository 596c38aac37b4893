// The scalable list view in a real window: rows as the control sees them, check boxes, sorting.
#include "win/listview.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "win/pump.h"
#include "win/regional.h"
#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {
namespace {

class ListWindow : public Window {
 public:
  ListView list;
  bool create() {
    if (!Window::create({"list", 500, 300, WS_OVERLAPPEDWINDOW})) return false;
    list.setColumns(
        {{"Name", 150}, {"Size", 80, SortKind::Number, true}, {"Date", 160, SortKind::Date}});
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

bool shownChecked(const ListView& l, int row) { return ListView_GetCheckState(l.hwnd(), row); }

TEST(ListView, ShowsRowsChecksAndColours) {
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.show();
  w.list.addRow({{"a.tmp", "10", "01/02/2025 3:04:05 PM"}});
  w.list.addRow({{"b.log", "2000", "12/31/2024 11:00:00 AM"}, true});
  EXPECT_EQ(shown(w.list, 0, 0) + "|" + shown(w.list, 1, 2), "a.tmp|12/31/2024 11:00:00 AM");
  EXPECT_TRUE(!shownChecked(w.list, 0) && shownChecked(w.list, 1));

  // A check changed by code tells the owner as a user's does, once per change.
  std::vector<size_t> toggled;
  w.list.onCheckChanged = [&](size_t i) { toggled.push_back(i); };
  w.list.setRowChecked(0, true);
  w.list.setRowChecked(0, true);
  EXPECT_TRUE(shownChecked(w.list, 0));

  // A click on a row's check box toggles it and tells the owner.
  LVHITTESTINFO hit{};
  RECT r{};
  ListView_GetItemRect(w.list.hwnd(), 1, &r, LVIR_BOUNDS);
  for (hit.pt = {r.left, (r.top + r.bottom) / 2}; hit.pt.x < r.left + 40; ++hit.pt.x)
    if (ListView_HitTest(w.list.hwnd(), &hit), hit.flags & LVHT_ONITEMSTATEICON) break;
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "no check box found on the row";
  SendMessageW(w.list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
  SendMessageW(w.list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
  EventPump::dispatchPending();
  EXPECT_FALSE(w.list.rowChecked(1) || shownChecked(w.list, 1));
  EXPECT_EQ(toggled, (std::vector<size_t>{0, 1}));

  // Space gives every selected row the opposite of the focused row's check (row 1, clear).
  w.list.select(0), w.list.select(1);
  SendMessageW(w.list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(w.list.rowChecked(0) && w.list.rowChecked(1) && shownChecked(w.list, 1));
  EXPECT_EQ(toggled, (std::vector<size_t>{0, 1, 1}));
}

TEST(ListView, SortsByColumnKindAndFlipsTheOrderOnEveryClick) {
  auto date = [f = userRegionalFormat()](DateTime t) { return formatGeneralDate(t, f); };
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.list.addRow({{"beta", "900", date({2025, 1, 2, 15, 4, 5})}, false, CLR_DEFAULT, -1, "1"});
  w.list.addRow(
      {{"Alpha", "10000", date({2024, 12, 31, 11, 0, 0})}, true, ListView::kRed, -1, "2"});
  w.list.addRow({{"gamma", "20", date({2025, 1, 2, 9, 0, 0})}, false, CLR_DEFAULT, -1, "3"});
  // Per click on a column (through the header), the rows' keys top to bottom: one order for the
  // list, starting ascending; names ignore case, sizes are numbers, dates in time order.
  for (auto [column, order] :
       {std::pair{0, "312"}, {0, "213"}, {1, "213"}, {1, "312"}, {2, "132"}}) {
    NMLISTVIEW nm{{w.list.hwnd(), 100, LVN_COLUMNCLICK}, -1, column};
    SendMessageW(w.hwnd(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&nm));
    std::string keys;
    for (size_t i = 0; i < 3; ++i) {
      keys += w.list.rowKey(i);
      // Checks and colours travel with their rows.
      EXPECT_EQ(w.list.rowChecked(i), w.list.rowKey(i) == "2");
      EXPECT_EQ(w.list.rowColor(i) == ListView::kRed, w.list.rowKey(i) == "2");
    }
    EXPECT_EQ(keys, order) << "column " << column;
  }
}

TEST(ListView, InsertedRowsKeepTheirKeysApartFromTheirText) {
  ListWindow w;
  ASSERT_TRUE(w.create());
  w.list.addRow({{"first"}, false, CLR_DEFAULT, -1, "C:\\a"});
  w.list.select(0);
  // Where it is asked for, the text and key, and where it lands.
  std::tuple<size_t, const char*, const char*, size_t> inserts[] = {
      {1, "Run", "HKCU\\Run|Tool", 1}, {0, "top", "C:\\0", 0}, {99, "end", "C:\\z", 3}};
  for (auto [at, text, key, landsAt] : inserts)
    EXPECT_EQ(w.list.insertRow(at, {{text}, false, CLR_DEFAULT, -1, key}), landsAt);
  EXPECT_TRUE(w.list.selectedRows().empty()) << "a selection by index no longer holds";
  std::string rows;
  for (int i = 0; i < ListView_GetItemCount(w.list.hwnd()); ++i)
    rows += shown(w.list, i, 0) + "=" + w.list.rowKey(i) + " ";
  EXPECT_EQ(rows, "top=C:\\0 first=C:\\a Run=HKCU\\Run|Tool end=C:\\z ");
  EXPECT_TRUE(w.list.findRow("HKCU\\Run|Tool") == 2u && !w.list.findRow("Run")) << "by key";
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
  w.list.removeRow(0);
  EXPECT_EQ(ListView_GetItemCount(w.list.hwnd()), 99999);
  EXPECT_EQ(shown(w.list, 0, 0), "file1.tmp");
}

}  // namespace
}  // namespace glenvask
