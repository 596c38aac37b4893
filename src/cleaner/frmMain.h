// The main window: thirty cleaning categories in four groups, the status line, progress,
// last-cleaned date, tips, Clean, Stop and Exit, and the menus.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "cleaner/categories.h"
#include "win/controls.h"
#include "win/window.h"

namespace glenvask {

inline constexpr const wchar_t* kMainWindowClass = L"GlenvaskMainWindow";

class MainWindow : public Window {
 public:
  // Creates the window (hidden) and runs the start sequence with the program's argument text.
  bool load(const std::string& commandLine);
  // Closes as the close box does: saves the tip index and the check states, then ends.
  void unload();
  // What ends the program once the window is gone (the start-up sets it).
  std::function<void()> onProgramEnd;

  // The start sequence and its steps.
  void Form_Load();
  void LoadDeleteSettings();
  void LoadStartupSettings();
  void LoadLastCleaned();
  void SaveLastCleaned();
  bool LoadTips(const std::string& fileName);
  void DisplayCurrentTip();
  void NextTip();
  void Form_QueryUnload();
  void Form_Unload();

  void cmdClean_Click();
  void cmdStop_Click();
  void cmdExit_Click();

  // The check states in the order of chkItems.txt.
  std::array<int, kCategoryCount> checkStates() const;
  void setCheckStates(const std::array<int, kCategoryCount>& states);
  CheckBox& category(size_t index) { return categoryBoxes_[index]; }
  CheckBox* categoryByName(std::string_view box);
  void toggleGroup(Group group);

  std::int32_t CurrentTip = 1;
  std::int16_t AutoCleanMinutes = 0;
  DateTime AutoCleanStart{};
  std::vector<std::string> TipList;
  std::string commandLine;

  // Controls other windows use.
  Label lblStatus, lblCleanDate, Label5, Label26, Label4;
  ProgressBar pgClean;
  Button cmdClean, cmdStop, cmdExit;
  CheckBox Check1, Check2;
  CheckBox FoFiValue, MiscValue, IEValue, FFValue, PLGValue;

  // The menus that a run disables.
  void setMenusEnabled(bool on);
  bool menuEnabled(const char* name) const;

 protected:
  const wchar_t* className() const override { return kMainWindowClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  bool onClose() override;
  void onCloseWhileBusy() override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void setTipBoxVisible(bool on);
  HMENU buildMenu();

  std::array<CheckBox, kCategoryCount> categoryBoxes_;
  HMENU menuBar_ = nullptr;
};

// The program's one main window.
MainWindow& frmMain();

}  // namespace glenvask
