#include "tools/frmOrphanedActivex.h"

#include "services/registry.h"
#include "tools/regvalue.h"

namespace glenvask {

namespace {
enum Column : size_t { kColControl = 0, kColInstalled, kColStubPath, kColSubKey };
}  // namespace

InvalidActiveXWindow::InvalidActiveXWindow()
    : ReferenceScanner(
          {"Orphaned ActiveX control references",
           "Orphaned ActiveX control references",
           ids::kInvalidActiveXClass,
           "lstvInvalid",
           {{"ActiveX control", 180}, {"IsInstalled", 70}, {"StubPath", 220}, {"SubKey", 200}},
           ids::kActiveXList,
           ids::kActiveXStatus,
           ids::kActiveXStop,
           ids::kActiveXDelete,
           ids::kActiveXClose,
           ids::kActiveXHeading}) {}

void InvalidActiveXWindow::scan() {
  orphaned_ = 0;
  for (const std::string& name : regSubkeyNames(kHkeyLocalMachine, kInstalledComponentsKey)) {
    if (!keepGoing()) return;
    std::string key = std::string(kInstalledComponentsKey) + "\\" + name;
    auto description = readRegText(kHkeyLocalMachine, key, "");
    if (!description || description->text.empty()) continue;
    // IsInstalled is a number, whether stored as one or as its text.
    auto installed = readRegNumber(kHkeyLocalMachine, key, "IsInstalled");
    bool isInstalled = installed && *installed != 0;
    auto stub = readRegText(kHkeyLocalMachine, key, "StubPath");
    ListRow row{{description->text, isInstalled ? "True" : "False", stub ? stub->text : "", name}};
    row.key = name;
    if (isInstalled) {
      addPresent(std::move(row));
    } else {
      ++orphaned_;
      addMissing(std::move(row));
    }
  }
}

void InvalidActiveXWindow::endScan(bool) {
  lblStatus.setText(std::to_string(list().rowCount()) + " entries, " + std::to_string(orphaned_) +
                    " orphaned");
}

void InvalidActiveXWindow::cmdDelete_Click() {
  ToolListView& l = list();
  for (size_t i = 0; i < l.rowCount(); ++i) {
    if (!l.rowChecked(i) || l.rowKey(i).empty()) continue;
    std::string key = std::string(kInstalledComponentsKey) + "\\" + l.rowKey(i);
    DeleteRegKeyTree(kHkeyLocalMachine, key);
    DeleteRegKey(kHkeyLocalMachine, key);
  }
  rescan();
}

}  // namespace glenvask
