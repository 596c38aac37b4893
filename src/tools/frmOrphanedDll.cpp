#include "tools/frmOrphanedDll.h"

#include "services/registry.h"
#include "tools/regvalue.h"

namespace glenvask {

namespace {
enum Column : size_t { kColUseCount = 0, kColSharedDll };
constexpr std::uint64_t kProgressEveryMs = 50;
}  // namespace

OrphanedDllWindow::OrphanedDllWindow()
    : ReferenceScanner({"Orphaned shared DLLs",
                        "Orphaned Shared DLLs",
                        ids::kOrphanedDllClass,
                        "lstvOrphanedDLL",
                        {{"Use Count", 80, SortKind::Number, true}, {"Shared DLL", 480}},
                        ids::kDllList,
                        ids::kDllStatus,
                        ids::kDllStop,
                        ids::kDllDelete,
                        ids::kDllClose,
                        ids::kDllHeading,
                        ids::kDllDeleteFiles,
                        0,
                        ids::kDllProgress}) {}

void OrphanedDllWindow::scan() {
  names_ = zero_ = 0;
  lblStatus.setText("Scanning registry...");
  std::vector<RegValueEntry> values = readRegValues(kHkeyLocalMachine, kSharedDllsKey);
  names_ = values.size();
  pgKeys.setRange(0, static_cast<int>(std::min<size_t>(values.size(), 0x7FFFFFFF)));
  // Each move of the bar repaints it at once, which costs more than a value's whole check:
  // it moves when some time has passed, and at the end.
  std::uint64_t shown = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    if (!keepGoing()) return;
    std::uint64_t now = GetTickCount64();
    if (now - shown >= kProgressEveryMs || i + 1 == values.size()) {
      pgKeys.setValue(static_cast<int>(i + 1));
      shown = now;
    }
    const RegValueEntry& v = values[i];
    // The use count is a number; a value holding anything else is no entry of the key.
    if (!v.number) continue;
    if (*v.number == 0) ++zero_;
    ListRow row{{std::to_string(*v.number), v.name}};
    row.key = v.name;
    addJudged(std::move(row), v.name);
  }
}

void OrphanedDllWindow::endScan(bool stopped) {
  if (stopped) {
    lblStatus.setText("");
    pgKeys.setValue(0);
    return;
  }
  showCounts(names_, missingCount());
}

void OrphanedDllWindow::showCounts(size_t entries, size_t missing) {
  lblStatus.setText(std::to_string(entries) + " entries, " + std::to_string(missing) +
                    " with missing files, " + std::to_string(zero_) + " with zero usage count");
}

void OrphanedDllWindow::cmdDelete_Click() {
  ToolListView& l = list();
  bool files = chkDelete.checked();
  for (size_t i = l.rowCount(); i-- > 0;) {
    if (!l.rowChecked(i)) continue;
    std::string name = l.rowKey(i);
    DeleteRegValues(kHkeyLocalMachine, name, kSharedDllsKey);
    if (files) recycleReferencedFile(name);
    l.removeRow(i);
  }
  size_t missing = 0;
  zero_ = 0;
  for (size_t i = 0; i < l.rowCount(); ++i) {
    if (l.row(i).image == kIconMissing) ++missing;
    if (l.rowText(i, kColUseCount) == "0") ++zero_;
  }
  showCounts(l.rowCount(), missing);
}

}  // namespace glenvask
