// The edit of a file type's open command: the extension, its description, and the command
// of the type's shell\open\command key.
#pragma once

#include <string>

#include "tools/valuedialog.h"

namespace glenvask {

class EditFileAssociationDialog : public ValueDialog {
 public:
  EditFileAssociationDialog();
  // Fills the dialog for the extension: its file type, the type's open command.
  void getFileAssociation(const std::string& extension, const std::string& description);
  void cmdOk_Click() override;
  const std::string& fileType() const { return type_; }

 private:
  std::string type_;
};

EditFileAssociationDialog& frmEditFileAssociation();

// Whether a file type's key names only this type, so that it may go with its extension: a
// plain name (no "\", no leading "."), not one of the classes that every file, folder or
// component shares, and named by no other extension.
bool isOwnFileType(const std::string& type, const std::string& extension);

}  // namespace glenvask
