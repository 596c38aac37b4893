// The review list in-process: rows as the scanner adds them, deleting real files of a scratch
// folder (one vanished, one held open), the checked rows only, Abort, the log lines it writes
// when it closes, sorting and the properties verb.
#include "review/frmDeletetion.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "services/globals.h"
#include "services/scanner.h"
#include "support/host.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

// The run's side of a closing review list, as the main window adds it up.
struct RunHost : test::RecordingHost {
  void reviewClosed(const ReviewOutcome& o) override {
    TotalFilesDeleted += o.filesDeleted;
    TotalSpaceGained += o.spaceGained;
    CleanupLog += o.log;
  }
};

class ReviewListTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir;
  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  RunHost host;
  ReviewListReporter reporter;
  ScanReporter* previous = nullptr;
  ReviewListWindow& w = frmDeletetion();

  void SetUp() override {
    bAbort = DeleteFailed = false;
    TotalFilesDeleted = TotalSpaceGained = 0;
    CleanupLog.clear();
    DeleteMethod = kDeletePlain;
    previous = setScanReporter(&reporter);
  }
  void TearDown() override {
    setScanReporter(previous);
    releaseReviewList();
    bAbort = false;
  }
  // Writes a file of the scratch folder and reports it as the scanner does.
  void found(const std::string& name, int bytes, const char* category) {
    dir.write(name, std::string(static_cast<size_t>(bytes), 'x'));
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    CharUpperBuffA(ext.data(), static_cast<DWORD>(ext.size()));
    scanReporter().addReviewRow({name, static_cast<std::int64_t>(bytes), "03/01/2024 5:03:09 PM",
                                 "A", dir.path() + "\\", ext, category});
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (size_t i = 0; i < w.lstvDeletion.rowCount(); ++i)
      out.push_back(w.lstvDeletion.rowText(i, kColName));
    return out;
  }
};

std::string shownCell(const ListView& l, int row, int col) {
  wchar_t buf[512] = {};
  ListView_GetItemText(l.hwnd(), row, col, buf, 512);
  return utf8(buf);
}

TEST_F(ReviewListTest, ShowsTheRowsAsAddedWithIconsAndAllChecked) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ((Texts{w.text(), w.Label1.text(), w.lblTotalFiles.text(), w.lblRed.text(),
                   w.cmdDeleteSelected.text(), w.cmdSelectAll.text(), w.cmdDeselectAll.text(),
                   w.cmdExit.text()}),
            (Texts{"Unnecessary files found", "Unnecessary files found", "Total Files: 0",
                   "Files marked in red could not be deleted.", "&Delete", "&Select All",
                   "Deselect &All", "&Close"}));
  EXPECT_FALSE(w.lblRed.visible());
  Texts headers, items;
  for (int c = 0; c < 7; ++c) {
    wchar_t buf[64] = {};
    LVCOLUMNW col{LVCF_TEXT};
    col.pszText = buf;
    col.cchTextMax = 64;
    ListView_GetColumn(w.lstvDeletion.hwnd(), c, &col);
    headers.push_back(utf8(buf));
  }
  EXPECT_EQ(headers, (Texts{"Name", "Bytes", "Date/Time", "Attribute", "Path", "File Type",
                            "Category"}));
  HMENU options = GetSubMenu(GetMenu(w.hwnd()), 0);
  for (int i = 0; i < GetMenuItemCount(options); ++i) {
    wchar_t buf[64] = {};
    GetMenuStringW(options, static_cast<UINT>(i), buf, 64, MF_BYPOSITION);
    items.push_back(utf8(buf));
  }
  EXPECT_EQ(items, (Texts{"&Delete all", "D&elete selected", "&Properties", "", "&Select all",
                          "D&eselect all", "", "&Abort clean", "E&xit"}));

  found("a.tmp", 10, kCategoryUnnecessary);
  found("README", 0, kCategoryEmpty);
  found("b.TMP", 3, kCategoryUnnecessary);
  found("dead.lnk", 120, kCategoryDeadShortcuts);
  ASSERT_EQ(w.lstvDeletion.rowCount(), 4u);
  EXPECT_FALSE(w.lstvDeletion.rowChecked(0));
  w.addIcons();
  asker.answerModal([&](Dialog& d) {
    EXPECT_EQ(&d, &w);
    EXPECT_TRUE(w.visible());
    const ListView& l = w.lstvDeletion;
    ASSERT_EQ(ListView_GetItemCount(l.hwnd()), 4);
    struct Expected {
      int row;
      const char* cells[7];
    } table[] = {
        {0, {"a.tmp", "10", "03/01/2024 5:03:09 PM", "A", "", "TMP", "Unnecessary Files"}},
        {1, {"README", "0", "03/01/2024 5:03:09 PM", "A", "", "", "Empty Files"}},
        {3, {"dead.lnk", "120", "03/01/2024 5:03:09 PM", "A", "", "LNK", "Dead Shortcuts"}},
    };
    for (const auto& e : table)
      for (int c = 0; c < 7; ++c)
        EXPECT_EQ(shownCell(l, e.row, c), c == kColPath ? dir.path() + "\\" : e.cells[c])
            << e.row << "," << c;
    EXPECT_EQ(w.rowPath(0), dir.path() + "\\a.tmp");
    // Every row checked, with an icon of its type: one image per extension after the blank.
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(ListView_GetCheckState(l.hwnd(), i)) << i;
      EXPECT_GE(l.row(static_cast<size_t>(i)).image, 0) << i;
    }
    EXPECT_EQ(ListView_GetImageList(l.hwnd(), LVSIL_SMALL), w.imglIcon.get());
    EXPECT_LE(ImageList_GetImageCount(w.imglIcon.get()), 4);
    EXPECT_GE(ImageList_GetImageCount(w.imglIcon.get()), 2);
    EXPECT_EQ(l.row(0).image, l.row(2).image);
    EXPECT_NE(l.row(0).image, l.row(3).image);
    w.cmdExit.click();
  });
  asker.showModal(w, nullptr);
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(CleanupLog, "");
  EXPECT_TRUE(dir.exists("a.tmp"));
  // A new access starts empty.
  EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), 0u);
  EXPECT_EQ(frmDeletetion().lblTotalFiles.text(), "Total Files: 0");
}

TEST_F(ReviewListTest, DeleteAllGoesOnPastVanishedAndLockedFiles) {
  for (auto [name, bytes] : {std::pair{"a.tmp", 100}, {"gone.tmp", 50}, {"held.tmp", 7}})
    found(name, bytes, kCategoryUnnecessary);
  found("empty.dat", 0, kCategoryEmpty);
  found("x.lnk", 30, kCategoryDeadShortcuts);
  ASSERT_TRUE(DeleteFileW(wide(dir.file("gone.tmp")).c_str()));
  FileHandle held(CreateFileW(wide(dir.file("held.tmp")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr));
  ASSERT_TRUE(static_cast<bool>(held));
  w.addIcons();
  w.mnuDeleteAll_Click();

  for (const char* f : {"a.tmp", "empty.dat", "x.lnk"}) EXPECT_FALSE(dir.exists(f)) << f;
  EXPECT_TRUE(dir.exists("held.tmp"));
  EXPECT_EQ(names(), (std::vector<std::string>{"gone.tmp", "held.tmp"}));
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(w.lstvDeletion.rowColor(i), ListView::kRed) << i;
    EXPECT_FALSE(w.lstvDeletion.rowChecked(i)) << i;
  }
  EXPECT_TRUE(w.lblRed.visible());
  EXPECT_TRUE(DeleteFailed);
  EXPECT_EQ(w.lblTotalFiles.text(), "Files Found: 3 Space Gained: 130 Bytes\r\n");
  EXPECT_EQ(w.lngDeletedCount, 3);
  EXPECT_EQ(w.dblDeletedSize, 130);
  EXPECT_TRUE(w.isOpen()) << "Delete all keeps the window open for another try";

  // Released, the held file goes in a second pass; the label tells that pass alone.
  held = FileHandle();
  w.mnuDeleteAll_Click();
  EXPECT_FALSE(dir.exists("held.tmp"));
  EXPECT_EQ(names(), std::vector<std::string>{"gone.tmp"});
  EXPECT_EQ(w.lstvDeletion.rowColor(0), ListView::kRed);
  EXPECT_EQ(w.lblTotalFiles.text(), "Files Found: 1 Space Gained: 7 Bytes\r\n");
  EXPECT_TRUE(w.lblRed.visible());
  EXPECT_EQ(TotalFilesDeleted, 0) << "handed to the run when the list closes";

  // Closing hands back both passes, and a line per category.
  w.mnuExit_Click();
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(TotalFilesDeleted, 4);
  EXPECT_EQ(TotalSpaceGained, 137);
  EXPECT_EQ(CleanupLog,
            "Unnecessary files....Files Deleted: 2 Space Gained: 107 Bytes\r\n"
            "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n"
            "Dead (shortcut) links....Files Deleted: 1 Space Gained: 30 Bytes\r\n");
}

TEST_F(ReviewListTest, DeleteSelectedDeletesOnlyTheCheckedRowsAndClosesPastAFailure) {
  for (auto [name, bytes] : {std::pair{"one.tmp", 1536}, {"two.tmp", 5}, {"three.tmp", 512}})
    found(name, bytes, kCategoryUnnecessary);
  found("four.lnk", 9, kCategoryDeadShortcuts);
  found("gone.tmp", 4, kCategoryEmpty);
  DeleteFileW(wide(dir.file("gone.tmp")).c_str());
  arrFiles = {"left over"};
  w.addIcons();
  asker.answerModal([&](Dialog&) {
    w.lstvDeletion.setRowChecked(1, false);
    w.lstvDeletion.setRowChecked(3, false);
    w.cmdDeleteSelected.click();
    EXPECT_TRUE(w.modalEnded());
  });
  asker.showModal(w, nullptr);
  EXPECT_EQ(names(), std::vector<std::string>{}) << "released";
  for (const char* f : {"one.tmp", "three.tmp"}) EXPECT_FALSE(dir.exists(f)) << f;
  for (const char* f : {"two.tmp", "four.lnk"}) EXPECT_TRUE(dir.exists(f)) << f;
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(TotalFilesDeleted, 2);
  EXPECT_EQ(TotalSpaceGained, 2048);
  EXPECT_EQ(CleanupLog, "Unnecessary files....Files Deleted: 2 Space Gained: 2.00 KB\r\n");
  EXPECT_TRUE(arrFiles.empty()) << "the scan lists are emptied on close";
}

TEST_F(ReviewListTest, AbortSetsTheFlagAndWritesNoLines) {
  found("a.tmp", 10, kCategoryUnnecessary);
  found("b.tmp", 10, kCategoryUnnecessary);
  host.status = "Working...";
  w.addIcons();
  asker.answerModal([&](Dialog&) {
    w.lstvDeletion.setRowChecked(1, false);
    // Delete all, then Abort in the same showing: the deletion stands, the log stays empty.
    w.mnuDeleteAll_Click();
    EXPECT_FALSE(dir.exists("a.tmp"));
    w.mnuAbort_Click();
  });
  asker.showModal(w, nullptr);
  EXPECT_TRUE(bAbort);
  EXPECT_EQ(CleanupLog, "");
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(host.status, "");
  EXPECT_EQ(TotalFilesDeleted, 2);
}

TEST_F(ReviewListTest, AbortChosenDuringAPassStopsItBeforeTheNextFile) {
  for (int i = 0; i < 5; ++i) found("f" + std::to_string(i) + ".tmp", 1, kCategoryUnnecessary);
  w.addIcons();
  w.show();
  // The Abort menu is chosen while the pass runs: its first pump delivers it.
  PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCmdReviewAbort, 0), 0);
  auto slice = EventPump::sliceMs();
  EventPump::setSliceMs(0);
  w.mnuDeleteAll_Click();
  EventPump::setSliceMs(slice);
  EXPECT_TRUE(bAbort);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(dir.exists("f" + std::to_string(i) + ".tmp")) << i;
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(CleanupLog, "");
}

TEST_F(ReviewListTest, CloseBoxWritesOneLinePerCategoryWithDeletions) {
  struct Case {
    std::vector<std::pair<int, const char*>> files;  // size, category
    std::string log;
  } cases[] = {
      {{}, ""},
      {{{0, kCategoryEmpty}, {0, kCategoryEmpty}},
       "Empty (zero-byte) files....Files Deleted: 2 Space Gained: 0 Bytes\r\n"},
      {{{2048, kCategoryDeadShortcuts}, {1024, kCategoryUnnecessary}},
       "Unnecessary files....Files Deleted: 1 Space Gained: 1.00 KB\r\n"
       "Dead (shortcut) links....Files Deleted: 1 Space Gained: 2.00 KB\r\n"},
      {{{1, "Other Files"}}, ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    CleanupLog = "before\r\n";
    for (const auto& [size, category] : c.files)
      found("file" + std::to_string(n++) + ".tmp", size, category);
    frmDeletetion().lblTotalFiles.setText("Files 0");  // loaded again after the last close
    w.addIcons();
    w.mnuDeleteAll_Click();
    EXPECT_EQ(w.lstvDeletion.rowCount(), 0u);
    EXPECT_FALSE(w.lblRed.visible());
    // An empty list keeps its text.
    EXPECT_EQ(w.lblTotalFiles.text() == "Files 0", c.files.empty()) << w.lblTotalFiles.text();
    w.close();  // the close box
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(CleanupLog, "before\r\n" + c.log) << n;
  }
}

TEST_F(ReviewListTest, SortsByTheClickedColumnAndShowsProperties) {
  for (auto [name, bytes] : {std::pair{"b.tmp", 100}, {"a.tmp", 20}, {"c.tmp", 3}})
    found(name, bytes, kCategoryUnnecessary);
  w.addIcons();
  w.show();
  using Names = std::vector<std::string>;
  // One order for the whole list, flipped by every click: the first click sorts descending.
  w.lstvDeletion_ColumnClick(kColName);
  EXPECT_EQ(names(), (Names{"c.tmp", "b.tmp", "a.tmp"}));
  w.lstvDeletion_ColumnClick(kColName);
  EXPECT_EQ(names(), (Names{"a.tmp", "b.tmp", "c.tmp"}));
  w.lstvDeletion_ColumnClick(kColBytes);
  EXPECT_EQ(names(), (Names{"b.tmp", "a.tmp", "c.tmp"})) << "by the number, descending";
  // A click on the header does the same.
  NMLISTVIEW nm{{w.lstvDeletion.hwnd(),
                 static_cast<UINT_PTR>(GetDlgCtrlID(w.lstvDeletion.hwnd())), LVN_COLUMNCLICK},
                -1, static_cast<int>(kColBytes)};
  SendMessageW(w.hwnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(names(), (Names{"c.tmp", "a.tmp", "b.tmp"}));

  // Properties of the selected row go to the shell; none selected asks nothing.
  w.mnuProperties_Click();
  EXPECT_TRUE(outside.shellCalls.empty());
  w.lstvDeletion.select(1);
  w.mnuProperties_Click();
  EXPECT_EQ(outside.shellCalls, Names{"properties|" + dir.path() + "\\a.tmp|"});

  w.mnuDeselectAll_Click();
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(w.lstvDeletion.rowChecked(i));
  w.cmdSelectAll.click();
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(w.lstvDeletion.rowChecked(i));
  w.cmdDeselectAll.click();
  EXPECT_FALSE(w.lstvDeletion.rowChecked(0));
}

TEST_F(ReviewListTest, AStoppedScanReleasesTheListWithoutLines) {
  found("a.tmp", 10, kCategoryUnnecessary);
  w.addIcons();
  w.mnuDeleteAll_Click();
  scanReporter().releaseReviewList();
  EXPECT_EQ(CleanupLog, "");
  EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), 0u);
  EXPECT_EQ(frmDeletetion().lngUnnecessaryCount, 0);
}

}  // namespace
}  // namespace glenvask
