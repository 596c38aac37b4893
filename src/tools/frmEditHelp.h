// The edit of one help file's folder: the help file's name and the folder that holds it,
// with Browse... to pick the file (its folder is kept).
#pragma once

#include <string>

#include "tools/valuedialog.h"

namespace glenvask {

class EditHelpDialog : public ValueDialog {
 public:
  EditHelpDialog();
  void cmdOk_Click() override;
  void cmdBrowse_Click() override;
  // name: the help file (lblHelpFile); text: its folder (txtPath); the key the value lives in:
  std::string key;
};

EditHelpDialog& frmEditHelp();

}  // namespace glenvask
