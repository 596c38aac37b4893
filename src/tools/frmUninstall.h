// Uninstall programs: the programs registered for removal under the local machine's
// Uninstall key. For the highlighted row the user deletes the registry entry, edits its
// uninstall command, or starts the uninstaller.
#pragma once

#include <string>

#include "tools/listtool.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall";

class UninstallWindow : public ListToolWindow {
 public:
  void GetUnInstallFiles();
  void cmdDelete_Click();
  void cmdEdit_Click();
  void cmdUnInstall_Click();
  void cmdOk_Click() { close(); }

  ToolListView& lstvUninstall = list();

 protected:
  friend UninstallWindow& soleInstance<UninstallWindow>();
  UninstallWindow();
  void Form_Load() override { GetUnInstallFiles(); }
  void onButton(int id) override;

 private:
  void showCount();
};

inline UninstallWindow& frmUninstall() { return soleInstance<UninstallWindow>(); }

// A command line split into the program and its parameters. A quoted program ends at its
// closing quote; an unquoted one is the shortest part before a blank that names an existing
// file, else the text before the first blank.
struct SplitCommand {
  std::string program;
  std::string parameters;
};
SplitCommand splitCommandLine(const std::string& command);

}  // namespace glenvask
