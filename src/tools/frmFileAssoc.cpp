#include "tools/frmFileAssoc.h"

#include "services/globals.h"
#include "services/registry.h"
#include "tools/frmEditFileAssoc.h"
#include "tools/regvalue.h"
#include "win/pump.h"
#include "win/seams.h"

namespace glenvask {

namespace {
enum Column : size_t { kColExtension = 0, kColDescription };
}  // namespace

FileAssociationWindow::FileAssociationWindow()
    : ListToolWindow({ids::kFileAssocClass,
                      {"File Associations",
                       "File Associations",
                       "lstvFileAssociation",
                       {{"Extension", 120}, {"File Type Description", 420}},
                       ids::kFileAssocList,
                       ids::kFileAssocStatus,
                       ids::kFileAssocHeading,
                       "Please Wait...Loading",
                       false,
                       true,
                       640,
                       420},
                      {{"cmdEdit", ids::kFileAssocEdit, "&Edit"},
                       {"cmdDelete", ids::kFileAssocDelete, "&Delete"},
                       {"cmdOK", ids::kFileAssocClose, "&Close"}}}) {}

void FileAssociationWindow::Form_Load() {
  SetTimer(hwnd(), kTimer1, 1, nullptr);
  timerOn_ = true;
}

void FileAssociationWindow::onTimer(UINT_PTR id) {
  if (id == kTimer1) Timer1_Timer();
}

void FileAssociationWindow::onDestroy() {
  timerOn_ = false;
  ListToolWindow::onDestroy();
}

void FileAssociationWindow::Timer1_Timer() {
  if (hwnd()) KillTimer(hwnd(), kTimer1);
  timerOn_ = false;
  if (loading_ || !hwnd()) return;
  HCURSOR old = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // the hourglass
  LoadFileExtensions();
  showCount();
  SetCursor(old ? old : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
}

void FileAssociationWindow::showCount() {
  lblStatus.setText(std::to_string(list().rowCount()) + " registered file extensions");
}

void FileAssociationWindow::LoadFileExtensions() {
  loading_ = true;
  {
    Loop loop(*this);  // a close meanwhile ends the load first
    list().clear();
    list().beginUpdate();
    for (const std::string& name : regSubkeyNames(kHkeyClassesRoot, "")) {
      doEvents();
      if (loop.stopped()) break;
      if (name.size() > 1 && name.front() == '.') AddFileExtension(name);
    }
    list().endUpdate();
  }
  loading_ = false;
  list().sortBy(kColExtension, true);
}

void FileAssociationWindow::AddFileExtension(const std::string& extension) {
  auto type = readRegText(kHkeyClassesRoot, extension, "");
  std::string typeName = type ? type->text : "", shown;
  if (!typeName.empty() && typeName.front() != '\\') {
    auto description = readRegText(kHkeyClassesRoot, typeName, "");
    if (description && description->text.size() > 1) shown = description->text;
  }
  if (shown.empty()) shown = typeName;
  ListRow row{{extension, shown}};
  row.key = extension;
  list().addRow(std::move(row));
}

void FileAssociationWindow::cmdDelete_Click() {
  auto row = list().selectedRow();
  if (!row || loading_) return;
  int answer =
      asker().messageBox(hwnd(), kDeleteAssociationQuestion, kAppTitle, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) {
    std::string extension = list().rowKey(*row);
    if (extension.size() > 1 && extension.front() == '.' &&
        extension.find('\\') == std::string::npos) {
      auto type = readRegText(kHkeyClassesRoot, extension, "");
      bool withType = type && isOwnFileType(type->text, extension);
      DeleteRegKeyTree(kHkeyClassesRoot, extension);
      DeleteRegKey(kHkeyClassesRoot, extension);
      if (withType) {
        DeleteRegKeyTree(kHkeyClassesRoot, type->text);
        DeleteRegKey(kHkeyClassesRoot, type->text);
      }
    }
    list().removeRow(*row);
  }
  showCount();
}

void FileAssociationWindow::cmdEdit_Click() {
  if (list().rowCount() == 0 || loading_) return;
  size_t row = list().selectedRow().value_or(0);
  EditFileAssociationDialog& d = frmEditFileAssociation();
  d.getFileAssociation(list().rowKey(row), list().rowText(row, kColDescription));
  asker().showModal(d, hwnd());
}

void FileAssociationWindow::onButton(int id) {
  switch (id) {
    case ids::kFileAssocEdit: cmdEdit_Click(); break;
    case ids::kFileAssocDelete: cmdDelete_Click(); break;
    case ids::kFileAssocClose: cmdOk_Click(); break;
    default: break;
  }
}

}  // namespace glenvask
