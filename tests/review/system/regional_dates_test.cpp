#include <gtest/gtest.h>

#include "review/frmDeletetion.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/scanner.h"
#include "support/regional.h"
#include "support/scripted.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(RegionalReviewList, DatesFollowTheRegionalSettings) {
  test::ScratchFolder dir;
  ReviewListReporter reporter;
  ScanReporter* previous = setScanReporter(&reporter);
  searchOptions = SearchOptions{};
  searchOptions.skipReadOnly = searchOptions.skipHidden = searchOptions.skipSystem = false;
  arrUnnecessary = {"*.tmp"};
  test::setLocalWriteTime(dir.write("a.tmp", "a"), {2024, 3, 1, 17, 3, 9});
  test::setLocalWriteTime(dir.write("b.tmp", "b"), {2023, 12, 24, 9, 5, 0});
  test::makeShortcut(dir.file("dead.lnk"), dir.file("gone.txt"), dir.path());
  test::setLocalWriteTime(dir.file("dead.lnk"), {2024, 3, 1, 7, 3, 9});
  // a.tmp, b.tmp (general dates) and dead.lnk (file time), in the order of regionalSettings().
  const std::vector<std::array<const char*, 3>> expected = {
      {"01.03.2024 17:03:09", "24.12.2023 09:05:00", "01.03.2024 07:03:09"},
      {"01/03/2024 17:03:09", "24/12/2023 09:05:00", "01/03/2024 07:03:09"},
      {"2024/03/01 17:03:09", "2023/12/24 9:05:00", "2024/03/01 7:03:09"},
      {"1-3-2024 17:03:09", "24-12-2023 9:05:00", "01-03-2024 7:03:09"},
      {"3/1/2024 5:03:09 PM", "12/24/2023 9:05:00 AM", "03/01/2024 7:03:09 AM"},
  };
  ASSERT_EQ(expected.size(), test::regionalSettings().size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const test::Regional& r = test::regionalSettings()[i];
    SCOPED_TRACE(r.name);
    test::RegionalSettings regional(r);
    ASSERT_TRUE(regional.ok());
    ScanFolder(dir.path(), "*.*", kScanUnnecessary);
    SetShortcutShell(true);
    ScanFolder(dir.path(), "*.lnk", kScanDeadShortcuts);
    SetShortcutShell(false);
    ListView& list = frmDeletetion().lstvDeletion;
    auto column = [&](size_t c) {
      std::string out;
      for (size_t row = 0; row < list.rowCount(); ++row) out += list.rowText(row, c) + "|";
      return out;
    };
    // Time order, whatever the texts' own order: the first click descending, then ascending.
    frmDeletetion().lstvDeletion_ColumnClick(kColDate);
    EXPECT_EQ(column(kColName), "a.tmp|dead.lnk|b.tmp|");
    EXPECT_EQ(column(kColDate), std::string(expected[i][0]) + "|" + expected[i][2] + "|" +
                                    expected[i][1] + "|");
    frmDeletetion().lstvDeletion_ColumnClick(kColDate);
    EXPECT_EQ(column(kColName), "b.tmp|dead.lnk|a.tmp|");
    releaseReviewList();
  }
  setScanReporter(previous);
  arrUnnecessary.clear();
  ResetScanLists();
}

}  // namespace
}  // namespace glenvask
