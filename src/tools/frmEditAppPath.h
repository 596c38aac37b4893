// The edit of one application path: the application's name and the full path of its file,
// with Browse... to pick the file.
#pragma once

#include "tools/valuedialog.h"

namespace glenvask {

class EditAppPathDialog : public ValueDialog {
 public:
  EditAppPathDialog();
  void cmdOk_Click() override;
  void cmdBrowse_Click() override;
  // name: the App Paths entry (lblAppPath); text: its path (txtPath).
};

EditAppPathDialog& frmEditAppPath();

// The filter of the Open dialog for a file name: "*.exe|*.exe" from its text after the first
// dot; "" when it has no dot.
std::string browseFilterFor(const std::string& name);

}  // namespace glenvask
