// Startup programs: the values of the Run keys of the local machine and of the current user,
// and the shortcuts in the user's and the common Startup folders and their subfolders. The
// user checks rows and deletes them after a question: a Run value leaves the registry, a
// shortcut file its folder.
//
// The folders are listed by a walk of this window's own, never through the run's shared
// lists or its abort flag: a reload during a cleaning run must not hand these shortcuts to
// the run's delete step, nor lose them to a stopped run.
#pragma once

#include <string>
#include <vector>

#include "services/registry.h"
#include "tools/listtool.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kDeleteStartupQuestion =
    "Are you sure you want to delete the checked startup program(s)";

class StartupProgramsWindow : public ListToolWindow {
 public:
  void LoadStartupPrograms();
  void cmdDelete_Click();
  void cmdOk_Click() { close(); }
  void lstvStartup_ColumnClick(size_t column);

  ToolListView& lstvStartup = list();

  // "HKLM" for the local machine, "HKCU" for the current user, "" for any other root.
  static std::string GetHiveName(std::uint32_t root);

 protected:
  friend StartupProgramsWindow& soleInstance<StartupProgramsWindow>();
  StartupProgramsWindow();
  void Form_Load() override;
  void onButton(int id) override;

 private:
  void LoadRunKey(std::uint32_t root);
  void LoadStartupFolder(std::uint32_t root, const char* value);
  void addShortcuts(const std::wstring& folder, int depth);
};

inline StartupProgramsWindow& frmStartupPrograms() { return soleInstance<StartupProgramsWindow>(); }

}  // namespace glenvask
