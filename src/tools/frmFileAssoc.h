// File associations: every file extension registered in the classes root with the
// description of its file type. Delete removes the highlighted extension (and its file type
// when no other extension uses it), after a question; Edit changes the type's open command.
#pragma once

#include <string>

#include "tools/listtool.h"
#include "win/ids.h"

namespace glenvask {

class FileAssociationWindow : public ListToolWindow {
 public:
  static constexpr UINT_PTR kTimer1 = 1;

  void Timer1_Timer();
  void LoadFileExtensions();
  void AddFileExtension(const std::string& extension);
  void cmdDelete_Click();
  void cmdEdit_Click();
  void cmdOk_Click() { close(); }
  bool timerOn() const { return timerOn_; }

  ToolListView& lstvFileAssociation = list();

 protected:
  friend FileAssociationWindow& soleInstance<FileAssociationWindow>();
  FileAssociationWindow();
  void Form_Load() override;
  void onButton(int id) override;
  void onTimer(UINT_PTR id) override;
  void onDestroy() override;

 private:
  void showCount();
  bool timerOn_ = false;
  bool loading_ = false;
};

inline FileAssociationWindow& frmFileAssociation() { return soleInstance<FileAssociationWindow>(); }

inline constexpr const char* kDeleteAssociationQuestion =
    "Are you sure you want to delete the file Association?";

}  // namespace glenvask
