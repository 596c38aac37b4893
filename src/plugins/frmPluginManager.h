// The plug-in manager: the plug-ins of plg.txt that exist in the Plugins folder, each with
// the check mark that makes the "Plugins" category run it. New plug-ins are written and
// listed ones edited in the plug-in editor; existing files of the Plugins folder are added;
// highlighted ones are deleted, or applied at once (Process). Closing it writes plg.txt back
// as the rows stand.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/plugin_format.h"
#include "plugins/frmPlugin.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

inline constexpr const char* kManagerTitle = "Plugins Manager";
inline constexpr const char* kPluginsFilter = "Tarvella plugins ( *.qvp )|*.qvp";
inline constexpr const char* kMsgPluginFolder = "The plugin should be in Plugin Folder";
inline constexpr const char* kMsgPluginLoadError = "There was an error in loading the Plugin.";
inline constexpr const char* kMsgDeletePlugins =
    "Are you sure you want to delete selected Plugin(s)?";
inline constexpr const char* kMsgPluginListUnreadable =
    "The plugin list (plg.txt) could not be read. It is left as it is, and changes made to "
    "the list now are not saved.";
inline constexpr const char* kMsgPluginListNotInCodePage =
    "The plugin list (plg.txt) was not saved: a description holds characters that the "
    "system's code page cannot store.";

class PluginManagerWindow : public Dialog, public PluginListHost {
 public:
  // Makes the window (hidden) and loads the list, when it is not made.
  void load(HWND owner = nullptr);
  bool build(HWND owner) override;

  void Form_Load();
  // Writes plg.txt from the rows as they stand; runs once however the window closes.
  void Form_Unload();
  void LoadPluginList();
  void SavePluginList();

  // The menus as they open: their items follow the highlight.
  void mnuFile_Click();
  void mnuView_Click();
  void mnuCreate_Click();
  void mnuAdd_Click();
  void mnuEdit_Click();
  void mnuDelete_Click();
  void mnuProcess_Click();
  void mnuExit_Click() { close(); }
  void mnuSelectAll_Click();
  void mnuDeselectAll_Click();
  void mnuCheckAll_Click();
  void mnuUncheckAll_Click();
  void cmdClose_Click() { close(); }
  void lstvPlugin_ColumnClick(size_t column);
  void lstvPlugin_DblClick();

  // What the editor tells the list after a save (PluginListHost).
  std::string addPluginRow(const std::string& name, const std::string& description) override;
  void setPluginDescription(const std::string& rowKey, const std::string& description) override;

  // Whether a Process is running.
  bool processing() const { return processing_; }
  // Whether a menu item is enabled now.
  bool menuItemEnabled(int id) const;
  // The rows as plg.txt entries, in list order.
  std::vector<PluginListEntry> entries() const;

  ListView lstvPlugin;
  Label lblStatus;
  Button cmdClose;

 protected:
  const wchar_t* className() const override { return ids::kPluginManagerClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  bool onClose() override;
  void onCloseWhileBusy() override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  size_t addRow(const std::string& name, const std::string& description, bool checked);
  void showCount(const char* words);
  void info(const char* text);
  void setMenuEnabled(int id, bool on);
  void setBusy(bool busy);
  // Applies one plug-in of the Plugins folder and deletes what it collected.
  void processPlugin(const std::string& name);

  bool loaded_ = false;
  bool listUnreadable_ = false;  // plg.txt exists but could not be read: never written
  bool processing_ = false;
  bool ascending_ = true;  // the order the next header click reverses
  std::uint64_t nextKey_ = 0;
};

// The one plug-in manager; made and loaded when it does not exist.
PluginManagerWindow& frmPluginManager();

}  // namespace glenvask
