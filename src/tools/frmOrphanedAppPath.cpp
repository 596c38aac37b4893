#include "tools/frmOrphanedAppPath.h"

#include "services/registry.h"
#include "tools/frmEditAppPath.h"
#include "tools/regvalue.h"

namespace glenvask {

namespace {
enum Column : size_t { kColFile = 0, kColFolder };
}  // namespace

std::optional<size_t> rowToEdit(const ToolListView& list) {
  if (auto row = list.selectedRow()) return row;
  if (list.rowCount() > 0) return 0;
  return std::nullopt;
}

InvalidAppPathWindow::InvalidAppPathWindow()
    : ReferenceScanner({"Orphaned application path references",
                        "Orphaned application path references",
                        ids::kInvalidAppPathClass,
                        "lstvInvalid",
                        {{"File", 160}, {"Folder", 400}},
                        ids::kAppPathList,
                        ids::kAppPathStatus,
                        ids::kAppPathStop,
                        ids::kAppPathDelete,
                        ids::kAppPathClose,
                        ids::kAppPathHeading,
                        ids::kAppPathDeleteFiles,
                        ids::kAppPathEdit}) {}

void InvalidAppPathWindow::scan() {
  for (const std::string& name : regSubkeyNames(kHkeyLocalMachine, kAppPathsKey)) {
    if (!keepGoing()) return;
    auto path = readRegText(kHkeyLocalMachine, std::string(kAppPathsKey) + "\\" + name, "");
    // An environment reference is never listed, whatever it names.
    if (!path || path->text.empty() || path->text.find('%') != std::string::npos) continue;
    std::string shown;
    for (char c : path->text)
      if (c != '"') shown.push_back(c);
    ListRow row{{name, shown}};
    row.key = name;
    addJudged(std::move(row), path->text);
  }
}

void InvalidAppPathWindow::cmdDelete_Click() {
  ToolListView& l = list();
  bool files = chkDelete.checked();
  for (size_t i = 0; i < l.rowCount(); ++i) {
    if (!l.rowChecked(i) || l.rowKey(i).empty()) continue;
    DeleteRegKey(kHkeyLocalMachine, std::string(kAppPathsKey) + "\\" + l.rowKey(i));
    if (files && l.rowText(i, kColFolder).size() > 1)
      recycleReferencedFile(l.rowText(i, kColFolder));
  }
  rescan();
}

void InvalidAppPathWindow::cmdEdit_Click() {
  auto row = rowToEdit(list());
  if (!row) return;
  EditAppPathDialog& d = frmEditAppPath();
  d.name = list().rowKey(*row);
  d.text = list().rowText(*row, kColFolder);
  asker().showModal(d, hwnd());
  rescan();
}

}  // namespace glenvask
