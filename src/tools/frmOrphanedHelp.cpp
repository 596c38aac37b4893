#include "tools/frmOrphanedHelp.h"

#include "services/registry.h"
#include "tools/frmEditHelp.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/regvalue.h"

namespace glenvask {

namespace {
enum Column : size_t { kColFile = 0, kColFolder, kColKey };

// The Key column shows the key with a backslash behind it; the registry is given it without.
std::string keyOfRow(const ToolListView& l, size_t i) {
  std::string key = l.rowText(i, kColKey);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}
}  // namespace

InvalidHelpWindow::InvalidHelpWindow()
    : ReferenceScanner({"Orphaned help file references",
                        "Orphaned help file references",
                        ids::kInvalidHelpClass,
                        "lstvInvalid",
                        {{"File", 150}, {"Folder", 260}, {"Key", 200}},
                        ids::kHelpFilesList,
                        ids::kHelpFilesStatus,
                        ids::kHelpFilesStop,
                        ids::kHelpFilesDelete,
                        ids::kHelpFilesClose,
                        ids::kHelpFilesHeading,
                        ids::kHelpFilesDeleteFiles,
                        ids::kHelpFilesEdit}) {}

void InvalidHelpWindow::scan() {
  ScanHelpKey(kHelpKey);
  if (!stopRequested()) ScanHelpKey(kHtmlHelpKey);
}

void InvalidHelpWindow::ScanHelpKey(const std::string& key) {
  for (const RegValueEntry& v : readRegValues(kHkeyLocalMachine, key)) {
    if (!keepGoing()) return;
    if (v.text.empty()) continue;
    std::string folder = v.text;
    if (folder.back() != '\\') folder += '\\';
    ListRow row{{v.name, folder, key + "\\"}};
    row.key = v.name;
    addJudged(std::move(row), folder + v.name);
  }
}

void InvalidHelpWindow::cmdDelete_Click() {
  ToolListView& l = list();
  bool files = chkDelete.checked();
  for (size_t i = l.rowCount(); i-- > 0;) {
    if (!l.rowChecked(i)) continue;
    std::string name = l.rowKey(i), folder = l.rowText(i, kColFolder);
    DeleteRegValues(kHkeyLocalMachine, name, keyOfRow(l, i));
    if (files && folder.size() >= 2)
      recycleReferencedFile(folder.back() == '\\' ? folder + name : folder + "\\" + name);
    l.removeRow(i);
  }
  rescan();
}

void InvalidHelpWindow::cmdEdit_Click() {
  auto row = list().selectedRow();
  if (!row) return;
  EditHelpDialog& d = frmEditHelp();
  d.key = keyOfRow(list(), *row);
  d.name = list().rowKey(*row);
  d.text = list().rowText(*row, kColFolder);
  asker().showModal(d, hwnd());
  rescan();
}

}  // namespace glenvask
