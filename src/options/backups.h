// The backup archives of the Backups page: the list of the archives in the backup folder (date,
// name, size), and View, Delete and Restore of the selected one. A restore puts the archive's
// files back below the root of the drive its name starts with ("C_..." restores to "C:\"), by
// the page's rule for files that exist already: Always, Newer, Prompt (the overwrite question)
// or Never. A file that is missing is restored under every rule.
//
// The page holds one BackupList: create() makes its controls in the page's window, the page
// passes its commands to onCommand() with its rule, and LoadBackupList() fills the list.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "win/controls.h"
#include "win/listview.h"
#include "win/window.h"

namespace glenvask {

class cUnZip;

// The rule for files that exist already, in the order of the page's option buttons.
enum class OverwriteRule { Always, Newer, Prompt, Never };
// The rule of the page's chosen option (0 to 3 in the order above). With none chosen (a
// stored rule of another name) no option is set: existing files are kept, as under Never.
OverwriteRule overwriteRuleOf(int chosenOption);
// Sets the unzip wrapper's options for the rule.
void applyOverwriteRule(cUnZip& unzip, OverwriteRule rule);

// The list's columns, in order.
enum BackupColumn : size_t { kBackupColDate = 0, kBackupColName, kBackupColBytes };

inline constexpr const char* kRestoreDoneText = "Files restored successfully.";
inline constexpr const char* kRestoreErrorText = "There was an error in restoring the files.";
inline constexpr const char* kDeleteErrorText = "File cannot be deleted";

class BackupList {
 public:
  // Makes the list and, in a column on its right, the View, Delete and Restore buttons, in the
  // area given (96-dpi pixels of the window's client area). The window passes its commands to
  // onCommand; the list's own notices reach it by themselves.
  bool create(Window& parent, const RECT& area);
  // The controls' names in the window, for a tab page.
  static constexpr std::array<std::string_view, 4> kControlNames{
      "lstvZip", "cmdBackupView", "cmdBackupDelete", "cmdBackupRestore"};
  // The window's controls are gone (its WM_DESTROY): the wrappers let go of them.
  void detach();

  // Lists the archives (*.zip files) of the folder; nothing when it does not exist. The
  // actions work on the archives as listed.
  void LoadBackupList(std::string_view folder);

  // View, Delete or Restore for the button of that id (the rule for Restore); false for an id
  // that is not one of them.
  bool onCommand(int id, OverwriteRule rule);
  // The viewer for the selected archive (a double click on a row too).
  void cmdBackupView_Click();
  // Deletes the selected archive and its row; "File cannot be deleted" when it stays.
  void cmdBackupDelete_Click();
  // Restores the selected archive by the rule and says how it went; with no row selected
  // nothing happens. Buttons are disabled while it runs; closing the window stops it after
  // the file being restored.
  void cmdBackupRestore_Click(OverwriteRule rule);
  bool restoring() const { return restoring_; }

  // The selected archive's path; "" when no row is selected.
  std::string selectedArchive() const;

  ListView lstvZip;
  Button cmdBackupView, cmdBackupDelete, cmdBackupRestore;

 private:
  bool restore(const std::string& archive, OverwriteRule rule);
  void setEnabled(bool on);

  Window* parent_ = nullptr;
  bool restoring_ = false;
};

}  // namespace glenvask
