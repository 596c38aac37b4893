#include "tools/frmEditHelp.h"

#include "tools/frmEditAppPath.h"
#include "tools/regvalue.h"
#include "win/ids.h"

namespace glenvask {

EditHelpDialog::EditHelpDialog()
    : ValueDialog({"Edit help file path", ids::kEditHelpClass, "lblHelp",
                   "Help File:", "lblHelpFile", ids::kEditHelpName, nullptr, nullptr, nullptr, 0,
                   "lblHelpPath", "Help file path:", "txtPath", ids::kEditHelpText,
                   ids::kEditHelpBrowse, "cmdOk", ids::kEditHelpSave, ids::kEditHelpClose}) {}

EditHelpDialog& frmEditHelp() {
  static EditHelpDialog dialog;
  return dialog;
}

void EditHelpDialog::cmdBrowse_Click() {
  FileDialogSpec spec;
  spec.filter = browseFilterFor(name);
  spec.fileName = name;
  auto chosen = asker().openFile(hwnd(), spec);
  if (!chosen) return;
  size_t slash = chosen->find_last_of('\\');
  txt.setText(slash == std::string::npos ? *chosen : chosen->substr(0, slash + 1));
}

void EditHelpDialog::cmdOk_Click() {
  if (changed() && !name.empty() && !key.empty())
    writeRegTextKeepType(kHkeyLocalMachine, key, name, typed());
  saved();
}

}  // namespace glenvask
