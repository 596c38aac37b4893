#include "tools/frmEditUninstall.h"

#include "tools/frmUninstall.h"
#include "tools/regvalue.h"
#include "win/ids.h"

namespace glenvask {

EditUninstallDialog::EditUninstallDialog()
    : ValueDialog({"Edit UnInstall Command", ids::kEditUninstallClass, "lblApp",
                   "Program:", "lblAppName", ids::kEditUninstallName, nullptr, nullptr, nullptr, 0,
                   "lblUninstall", "Uninstall command:", "txtUnInstall", ids::kEditUninstallText, 0,
                   "cmdOK", ids::kEditUninstallSave, ids::kEditUninstallClose}) {}

EditUninstallDialog& frmEditUnInstall() {
  static EditUninstallDialog dialog;
  return dialog;
}

void EditUninstallDialog::setUnInstall(const std::string& application, const std::string& command,
                                       const std::string& subkey) {
  name = application;
  text = command;
  subkey_ = subkey;
}

void EditUninstallDialog::cmdOk_Click() {
  if (changed() && !subkey_.empty())
    writeRegTextKeepType(kHkeyLocalMachine, std::string(kUninstallKey) + "\\" + subkey_,
                         "UnInstallString", typed());
  frmUninstall().GetUnInstallFiles();
  saved();
}

}  // namespace glenvask
