// The main window: thirty cleaning categories in four groups, the status line, progress,
// last-cleaned date, tips, Clean, Stop and Exit, and the menus.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "cleaner/categories.h"
#include "review/frmDeletetion.h"
#include "review/frmLog.h"
#include "help/pageview.h"
#include "help/update.h"
#include "services/clock.h"
#include "services/host.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/window.h"

namespace glenvask {

// The main window's client width and the height of its header band, in 96-dpi pixels.
inline constexpr int kClientWidth = 640;
inline constexpr int kHeaderHeight = 96;

class MainWindow : public Window, public CleaningHost {
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

  // The cleaning run's frame, which every category step opens and closes.
  void CountCheckedItems();
  void startOperation(int left, int top);
  void startOperation(const char* box);  // the arrow beside the category's check box
  // The arrow beside the box again, 10 twips lower than its first mark, the bar one step on.
  void markAgainLower(const char* box);
  // Opens a category step: startOperation, its counters at 0, the shared lists emptied.
  void beginStep(const char* box);
  // What the main window offers other windows (services/host.h).
  void stopOperation(const std::string& text) override;
  void deleteFiles() override;
  void deleteFolders() override;
  void setStatus(const std::string& text) override { lblStatus.setText(text); }
  void setProgress(int value) override { pgClean.setValue(value); }
  HWND ownerWindow() const override { return hwnd(); }
  void reviewClosed(const ReviewOutcome& outcome) override;
  std::int64_t categoryFileCount() const override { return CategoryFileCount; }
  std::int64_t categorySpace() const override { return CategorySpace; }
  void clearCategoryCounters() override { CategoryFileCount = CategorySpace = 0; }
  void showCookieFile(const std::string& path, HWND owner) override;
  bool isRunning() const override { return running(); }
  void applyAutoClean(bool on, std::int16_t minutes) override {
    if (on) AutoCleanMinutes = minutes, AutoCleanStart = localNow();
    setAutoClean(on);
  }
  void enableOptionalCategories(bool emptyFiles, bool deadShortcuts) override {
    categoryBoxes_[categoryIndex("chkEmptyFiles")].setEnabled(emptyFiles);
    categoryBoxes_[categoryIndex("chkDeadShortcut")].setEnabled(deadShortcuts);
  }
  void showTipBox(bool on) override { setTipBoxVisible(on); }
  void endProgram() override { unload(); }
  // Appends "<text>Files Deleted: <n> Space Gained: <size>" and CR LF to the run log.
  void logCategory(const std::string& text);
  bool hiddenMode() const;  // started with "-h"
  // The drive scans delete their finds at once, without the review list: the hidden mode, or
  // "Don't ask me for file deletion confirmation" checked.
  bool unattendedDeletes() const { return hiddenMode() || Check2.checked(); }
  bool categoryChecked(std::string_view box) const;
  // The progress bar for a loop over this many items (one step more, as the run gives it).
  void setProgressItems(size_t count);
  void tmrClean_Timer();

  // The right-click menu of a category box and the run of that one category.
  void showCategoryMenu(size_t index, POINT screen);
  void mnuPopup_Click();
  std::string mnuPopupCaption, mnuPopupTag;
  void clearMarks();
  CheckBox& mark(Mark m);
  // Which of the summary's sections the run cleaned, from the marks or the check boxes.
  std::array<bool, kSummarySectionCount> sectionsCleaned();
  bool autoCleanArmed() const { return autoCleanArmed_; }
  // Whether a run (a whole run or a single category) is going.
  bool running() const { return running_; }
  void setAutoClean(bool on);

  // Runs a routine's body in its error trap: a failure shows the message followed by the
  // failure's description (critical icon, the application's title) and ends the routine; the
  // run goes on. Without a message the failure ends the routine silently.
  void trapped(const char* message, const std::function<void()>& body,
               bool lineBreakBeforeDescription = false);

  std::int64_t CategoryFileCount = 0;
  std::int64_t CategorySpace = 0;  // bytes
  int CheckedCount = 0;

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
  Label imgCurrent;  // the arrow beside the category being cleaned

  // The header pictures choose the page: 0 Main, 1 Tools, 2 Updates (Image24 to Image26).
  void showPage(int page);
  int page() const { return tabPage_; }
  // A picture's click, as a user gives it; false when the id is no picture.
  bool pictureClicked(int id);
  void Timer1_Timer();  // the update check, once per opening of the Updates page
  // What the check timer's tick does: the update check (checkUpdates) unless a test puts
  // something else in its place.
  std::function<void()> onUpdateCheck;
  // Starts reading the latest version on a thread of its own (unless a check is under way);
  // the server's page for it, or the connection message, shows when the answer comes.
  void checkUpdates();
  void cmdDownload_Click();  // the update download window, modal
  // The plug-in-only run of the Plugins menu, with a summary of its own form.
  void mnuProcessPlugin_Click();
  TabControl SSTab1;
  Label lblInstalled, lblLatest;
  PageView WebBrowser1;  // the update server's page
  Button cmdDownload;

  // The menus that a run disables, and the pictures with them.
  void setMenusEnabled(bool on);
  bool menuEnabled(const char* name) const;

 protected:
  const wchar_t* className() const override { return ids::kMainWindowClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  bool onClose() override;
  void onCloseWhileBusy() override;
  void onDestroy() override;
  void onTimer(UINT_PTR id) override;
  void onContextMenu(HWND from, POINT screen) override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void setTipBoxVisible(bool on);
  // The tip index and the check states, saved once whichever way the program ends.
  void saveAtExit();
  bool savedAtExit_ = false;
  HMENU buildMenu();
  // The header, the pages and the pictures (navigation.cpp).
  void createPages();
  void setPicturesEnabled(bool on);
  void popupMenuAt(HWND picture, int menuPosition, int subPosition);
  std::optional<LRESULT> navigationMessage(UINT msg, WPARAM wp, LPARAM lp);
  std::optional<LRESULT> updateCheckMessage(UINT msg);  // the check's end, the window's end
  static constexpr UINT_PTR kUpdateCheckTimer = 2;
  static constexpr UINT kUpdateCheckDone = WM_APP + 20;  // posted by updateCheck_
  std::unique_ptr<UpdateCheckRun> updateCheck_;
  int tabPage_ = 0;
  int hovered_ = -1;  // the picture whose hover frame shows
  bool tipBoxOn_ = true;
  GdiHandle bandBrush_, lightBrush_;

  // A category routine inside the run's error trap: a failure shows the routine's message and
  // the run goes on with the next category.
  void runStep(size_t step, bool single);
  // What every run does first (controls, totals, log, backup state) and last (controls).
  void beginRun();
  void endRunControls();
  // The run's closing lines in the log, then the summary, modal (the Plugins menu's run has
  // closing lines of its own form).
  void showSummary(bool pluginsOnly = false);

  ReviewListReporter reviewSink_;  // the scanner's finds go to the review list
  std::array<CheckBox, kCategoryCount> categoryBoxes_;
  HMENU menuBar_ = nullptr;
  bool autoCleanArmed_ = false;
  bool running_ = false;
  class RunScope;
};

// The program's one main window.
inline MainWindow& frmMain() { return soleInstance<MainWindow>(); }

}  // namespace glenvask
