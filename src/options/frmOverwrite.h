// The overwrite question of a restore under the "Prompt" rule: whether a file that exists
// already is to be replaced by the archive's copy, for this file or for all the files left.
// A new window for each question, shown modal.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

class OverwriteWindow : public Dialog {
 public:
  // Set before showing: the question.
  std::string TheCaption;
  // After it closed: IDYES, IDNO, or 2 when neither was pressed; and whether the answer is
  // for all the files left.
  std::int32_t Response = 2;
  bool ApplyToAll = false;

  bool build(HWND owner) override;

  void Form_Load();
  void cmdYes_Click();
  void cmdNo_Click();
  void cmdCancel_Click();

  Label lblCaption;
  CheckBox chkAllFiles;
  Button cmdYes, cmdNo, cmdCancel;

 protected:
  const wchar_t* className() const override { return ids::kOverwriteClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;

 private:
  void answer(std::int32_t response);
  // The controls and their names.
  std::array<std::pair<Control*, const char*>, 5> named();
};

// Asks about the file in a new question window owned by the window given; the reply of the
// unzip wrapper: yes (102) or yes to all (103), no (100) or no to all (104). Cancel, and a
// window closed without an answer, is no to all.
std::int32_t askOverwrite(HWND owner, const std::string& path);

}  // namespace glenvask
