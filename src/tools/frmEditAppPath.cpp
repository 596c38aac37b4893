#include "tools/frmEditAppPath.h"

#include "tools/frmOrphanedAppPath.h"
#include "tools/regvalue.h"
#include "win/ids.h"

namespace glenvask {

EditAppPathDialog::EditAppPathDialog()
    : ValueDialog({"Edit application path", ids::kEditAppPathClass, "lblApplication",
                   "Application:", "lblAppPath", ids::kEditAppPathName, nullptr, nullptr, nullptr,
                   0, "lblPath", "Path:", "txtPath", ids::kEditAppPathText, ids::kEditAppPathBrowse,
                   "cmdOk", ids::kEditAppPathSave, ids::kEditAppPathClose}) {}

EditAppPathDialog& frmEditAppPath() {
  static EditAppPathDialog dialog;
  return dialog;
}

std::string browseFilterFor(const std::string& name) {
  size_t dot = name.find('.');
  if (dot == std::string::npos) return "";
  std::string pattern = "*" + name.substr(dot);
  return pattern + "|" + pattern;
}

void EditAppPathDialog::cmdBrowse_Click() {
  FileDialogSpec spec;
  spec.filter = browseFilterFor(name);
  spec.fileName = name;
  if (auto chosen = asker().openFile(hwnd(), spec)) txt.setText(*chosen);
}

void EditAppPathDialog::cmdOk_Click() {
  if (changed() && !name.empty())
    writeRegTextKeepType(kHkeyLocalMachine, std::string(kAppPathsKey) + "\\" + name, "", typed());
  saved();
}

}  // namespace glenvask
