#include "tools/frmEditFileAssoc.h"

#include "base/text.h"
#include "tools/regvalue.h"
#include "win/ids.h"

namespace glenvask {

namespace {

constexpr const char* kOpenCommand = "\\shell\\open\\command";

bool isPlainTypeName(const std::string& type) {
  static const char* const kShared[] = {"CLSID",     "Interface", "TypeLib",
                                        "AppID",     "*",         "Folder",
                                        "Directory", "Drive",     "AllFilesystemObjects"};
  if (type.size() < 2 || type.find('\\') != std::string::npos || type.front() == '.') return false;
  for (const char* s : kShared)
    if (iequals(type, s)) return false;
  return true;
}

}  // namespace

EditFileAssociationDialog::EditFileAssociationDialog()
    : ValueDialog({"Edit Association", ids::kEditFileAssocClass, "lblExtension",
                   "File extension:", "lblFileExtension", ids::kEditFileAssocExtension,
                   "lblDescription", "File description:", "lblFileDesc",
                   ids::kEditFileAssocDescription, "lblFileAssociation",
                   "File Association:", "txtFileAssociation", ids::kEditFileAssocText, 0, "cmdOK",
                   ids::kEditFileAssocSave, ids::kEditFileAssocClose}) {}

EditFileAssociationDialog& frmEditFileAssociation() {
  static EditFileAssociationDialog dialog;
  return dialog;
}

void EditFileAssociationDialog::getFileAssociation(const std::string& extension,
                                                   const std::string& description) {
  auto type = readRegText(kHkeyClassesRoot, extension, "");
  type_ = type ? type->text : "";
  text.clear();
  if (type_.find_first_not_of(' ') != std::string::npos && type_.front() != '\\')
    if (auto command = readRegText(kHkeyClassesRoot, type_ + kOpenCommand, ""))
      text = command->text;
  name = extension;
  this->description = description;
}

void EditFileAssociationDialog::cmdOk_Click() {
  if (changed() && !type_.empty() && type_.front() != '\\')
    writeRegTextKeepType(kHkeyClassesRoot, type_ + kOpenCommand, "", typed());
  saved();
}

bool isOwnFileType(const std::string& type, const std::string& extension) {
  if (!isPlainTypeName(type)) return false;
  for (const std::string& other : regSubkeyNames(kHkeyClassesRoot, "")) {
    if (other.size() < 2 || other.front() != '.' || iequals(other, extension)) continue;
    auto named = readRegText(kHkeyClassesRoot, other, "");
    if (named && iequals(named->text, type)) return false;
    for (const RegValueEntry& v : readRegValues(kHkeyClassesRoot, other + "\\OpenWithProgids"))
      if (iequals(v.name, type)) return false;
  }
  return true;
}

}  // namespace glenvask
