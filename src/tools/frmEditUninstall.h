// The edit of one program's uninstall command.
#pragma once

#include <string>

#include "tools/valuedialog.h"

namespace glenvask {

class EditUninstallDialog : public ValueDialog {
 public:
  EditUninstallDialog();
  // Fills the dialog: the program's name, its command, the subkey of its entry.
  void setUnInstall(const std::string& application, const std::string& command,
                    const std::string& subkey);
  void cmdOk_Click() override;
  const std::string& subkey() const { return subkey_; }

 private:
  std::string subkey_;
};

EditUninstallDialog& frmEditUnInstall();

}  // namespace glenvask
