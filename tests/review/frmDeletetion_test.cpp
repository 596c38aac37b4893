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

using Texts = std::vector<std::string>;

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
  ScanReporter* previous = setScanReporter(&reporter);
  ReviewListWindow& w = frmDeletetion();

  void SetUp() override {
    bAbort = DeleteFailed = false, TotalFilesDeleted = TotalSpaceGained = 0;
    CleanupLog.clear(), DeleteMethod = kDeletePlain;
  }
  void TearDown() override { setScanReporter(previous), releaseReviewList(), bAbort = false; }
  void found(const std::string& name, int bytes, const char* category = kCategoryUnnecessary) {
    dir.write(name, std::string(static_cast<size_t>(bytes), 'x'));
    std::string ext = name.substr(name.rfind('.') + 1);  // every name here has one
    CharUpperBuffA(ext.data(), static_cast<DWORD>(ext.size()));
    scanReporter().addReviewRow({name, static_cast<std::int64_t>(bytes), "03/01/2024 5:03:09 PM",
                                 "A", dir.path() + "\\", ext, category});
  }
  Texts names() {
    Texts out;
    for (size_t i = 0; i < w.lstvDeletion.rowCount(); ++i)
      out.push_back(w.lstvDeletion.rowText(i, kColName));
    return out;
  }
};

TEST_F(ReviewListTest, ShowsTheRowsWithTheIconOfTheirTypeAllChecked) {
  EXPECT_EQ(w.lblRed.text(), "Files marked in red could not be deleted.");
  EXPECT_FALSE(w.lblRed.visible());
  HMENU options = GetSubMenu(GetMenu(w.hwnd()), 0);
  std::string menu;  // the items, a separator as ""
  for (int i = 0; i < GetMenuItemCount(options); ++i) {
    wchar_t buf[64] = {};
    GetMenuStringW(options, static_cast<UINT>(i), buf, 64, MF_BYPOSITION);
    menu += utf8(buf) + "|";
  }
  EXPECT_EQ(menu, "&Delete all|D&elete selected|&Properties||&Select all|D&eselect all||"
                  "&Abort clean|E&xit|");
  found("a.tmp", 10);
  found("dead.lnk", 120, kCategoryDeadShortcuts);
  found("b.TMP", 3);
  EXPECT_FALSE(w.lstvDeletion.rowChecked(0));
  w.addIcons();
  asker.answerModal([&](Dialog& d) {
    const ListView& l = w.lstvDeletion;
    EXPECT_TRUE(&d == &w && w.visible());
    EXPECT_EQ(w.rowPath(1), dir.path() + "\\dead.lnk");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ListView_GetCheckState(l.hwnd(), i)) << i;
    // One image per extension.
    EXPECT_EQ(ListView_GetImageList(l.hwnd(), LVSIL_SMALL), w.imglIcon.get());
    EXPECT_EQ(l.row(0).image, l.row(2).image);
    EXPECT_NE(l.row(0).image, l.row(1).image);
    w.cmdExit.click();
  });
  asker.showModal(w, nullptr);
  EXPECT_EQ(std::tuple(w.isOpen(), CleanupLog, dir.exists("a.tmp")), std::tuple(false, "", true));
  // A new access starts empty.
  EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), 0u);
  EXPECT_EQ(frmDeletetion().lblTotalFiles.text(), "Total Files: 0");
}

TEST_F(ReviewListTest, DeleteAllGoesOnPastVanishedAndLockedFiles) {
  for (auto [name, bytes] : {std::pair{"a.tmp", 100}, {"gone.tmp", 50}, {"held.tmp", 7}})
    found(name, bytes);
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
  EXPECT_EQ(names(), (Texts{"gone.tmp", "held.tmp"}));
  const ListView& l = w.lstvDeletion;
  EXPECT_EQ(std::tuple(l.rowColor(0), l.rowColor(1), l.rowChecked(0), l.rowChecked(1)),
            std::tuple(ListView::kRed, ListView::kRed, false, false));
  EXPECT_TRUE(w.lblRed.visible() && DeleteFailed);
  EXPECT_EQ(w.lblTotalFiles.text(), "Files Found: 3 Space Gained: 130 Bytes\r\n");
  EXPECT_TRUE(w.isOpen()) << "Delete all keeps the window open for another try";

  // Released, the held file goes in a second pass; the label tells that pass alone.
  held = FileHandle();
  w.mnuDeleteAll_Click();
  EXPECT_EQ(names(), Texts{"gone.tmp"});
  EXPECT_EQ(w.lblTotalFiles.text(), "Files Found: 1 Space Gained: 7 Bytes\r\n");
  EXPECT_EQ(TotalFilesDeleted, 0) << "handed to the run when the list closes";

  // Closing hands back both passes, and a line per category.
  w.mnuExit_Click();
  EXPECT_EQ(std::tuple(w.isOpen(), TotalFilesDeleted, TotalSpaceGained), std::tuple(false, 4, 137));
  EXPECT_EQ(CleanupLog,
            "Unnecessary files....Files Deleted: 2 Space Gained: 107 Bytes\r\n"
            "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n"
            "Dead (shortcut) links....Files Deleted: 1 Space Gained: 30 Bytes\r\n");
}

TEST_F(ReviewListTest, DeleteSelectedDeletesOnlyTheCheckedRowsAndClosesPastAFailure) {
  for (auto [name, bytes] : {std::pair{"one.tmp", 1536}, {"two.tmp", 5}, {"three.tmp", 512}})
    found(name, bytes);
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
  for (const char* f : {"one.tmp", "three.tmp"}) EXPECT_FALSE(dir.exists(f)) << f;
  for (const char* f : {"two.tmp", "four.lnk"}) EXPECT_TRUE(dir.exists(f)) << f;
  EXPECT_EQ(std::tuple(w.isOpen(), TotalFilesDeleted, TotalSpaceGained),
            std::tuple(false, 2, 2048));
  EXPECT_EQ(CleanupLog, "Unnecessary files....Files Deleted: 2 Space Gained: 2.00 KB\r\n");
  EXPECT_TRUE(arrFiles.empty()) << "the scan lists are emptied on close";
}

TEST_F(ReviewListTest, AbortKeepsWhatWasDeletedAndWritesNoLines) {
  found("a.tmp", 10);
  found("b.tmp", 10);
  host.status = "Working...";
  w.addIcons();
  asker.answerModal([&](Dialog&) {
    w.lstvDeletion.setRowChecked(1, false);
    w.mnuDeleteAll_Click();  // all, whatever is checked
    w.mnuAbort_Click();
  });
  asker.showModal(w, nullptr);
  EXPECT_FALSE(dir.exists("a.tmp") || dir.exists("b.tmp") || w.isOpen());
  EXPECT_EQ(std::tuple(bAbort, host.status, TotalFilesDeleted), std::tuple(true, "", 2));

  // Chosen while a pass runs (its first pump delivers it), it stops the pass at once.
  bAbort = false;
  for (int i = 0; i < 5; ++i) found("f" + std::to_string(i) + ".tmp", 1);
  frmDeletetion().addIcons();
  w.show();
  PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCmdReviewAbort, 0), 0);
  auto slice = EventPump::sliceMs();
  EventPump::setSliceMs(0);
  w.mnuDeleteAll_Click();
  EventPump::setSliceMs(slice);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(dir.exists("f" + std::to_string(i) + ".tmp")) << i;
  EXPECT_EQ(std::tuple(bAbort, w.isOpen(), CleanupLog), std::tuple(true, false, ""));
}

TEST_F(ReviewListTest, TheCloseBoxWritesNoLineForANameOfNoCategoryAndAStopNone) {
  CleanupLog = "before\r\n";
  found("other.tmp", 1, "Other Files");
  w.addIcons();
  w.mnuDeleteAll_Click();
  EXPECT_FALSE(dir.exists("other.tmp"));
  w.close();
  EXPECT_EQ(std::tuple(w.isOpen(), CleanupLog, TotalFilesDeleted),
            std::tuple(false, "before\r\n", 1));
  // A stopped scan releases the list: what it deleted counts, no lines.
  found("a.tmp", 10);
  frmDeletetion().addIcons();
  frmDeletetion().mnuDeleteAll_Click();
  scanReporter().releaseReviewList();
  EXPECT_EQ(std::tuple(CleanupLog, TotalFilesDeleted, frmDeletetion().lstvDeletion.rowCount(),
                       frmDeletetion().lngUnnecessaryCount),
            std::tuple("before\r\n", 2, 0u, 0));
}

TEST_F(ReviewListTest, ShowsPropertiesAndChecksAll) {
  for (const char* name : {"b.tmp", "a.tmp", "c.tmp"}) found(name, 1);
  w.addIcons();
  w.show();
  // Properties of the selected row go to the shell; none selected asks nothing.
  w.mnuProperties_Click();
  EXPECT_TRUE(outside.shellCalls.empty());
  w.lstvDeletion.select(1);
  w.mnuProperties_Click();
  EXPECT_EQ(outside.shellCalls, Texts{"properties|" + dir.path() + "\\a.tmp|"});
  w.cmdDeselectAll.click();
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(w.lstvDeletion.rowChecked(i));
  w.cmdSelectAll.click();
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(w.lstvDeletion.rowChecked(i));
}

}  // namespace
}  // namespace glenvask
