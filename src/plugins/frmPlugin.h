// The plug-in editor: a one-line description and three lists, on the tabs "Files",
// "Registry" and "INI files", whose rows become the F, R and I records of a plug-in file
// (base/plugin_format.h). Save writes the file into the Plugins folder and tells the list
// that opened the editor (the plug-in manager) about it; Close discards.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/plugin_format.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

inline constexpr const char* kEditorTitle = "Plugins";
inline constexpr const char* kNewPluginName = "NoName";

inline constexpr const char* kMsgProvidePath = "You must provide a path";
inline constexpr const char* kMsgProvideSpec = "You must provide a filename or specification";
inline constexpr const char* kMsgNoFilesToAdd = "No files to add";
inline constexpr const char* kMsgSelectFile = "Please select a file to add.";
inline constexpr const char* kMsgEnterSubkey = "Please enter a subkey";
inline constexpr const char* kMsgEnterValue = "Please enter a value";
inline constexpr const char* kMsgIniPathInvalid = "File Path is not valid";
inline constexpr const char* kMsgSelectSection = "Please select a section";
inline constexpr const char* kMsgPluginFileName = "Please enter filename for the plugin";
inline constexpr const char* kMsgOverwritePlugin = "This plugin already exists. Overwrite?";
inline constexpr const char* kMsgBadPluginName =
    "The plugin name must be a file name without a folder, drive or device name.";
inline constexpr const char* kMsgPluginNotSaved = "The plugin could not be saved.";
inline constexpr const char* kMsgPathTooLong = "The path is too long.";
inline constexpr const char* kMsgNotInCodePage =
    "The text holds characters that the system's code page cannot store. Nothing was saved.";
inline constexpr const char* kMsgPluginUnreadable =
    "The plugin file could not be read. It is left as it is.";

// The list that opened the editor, told of what a save did to the Plugins folder.
class PluginListHost {
 public:
  virtual ~PluginListHost() = default;
  // A new plug-in was saved under the name: a checked row is added. Returns the row's key.
  virtual std::string addPluginRow(const std::string& name, const std::string& description) = 0;
  // A plug-in of the row with that key was saved again with this description.
  virtual void setPluginDescription(const std::string& rowKey, const std::string& description) = 0;
};

// The sections of an INI file's text: the text between the first and the last character of
// each line longer than 2 characters that starts with "[", in file order.
std::vector<std::string> iniSections(std::string_view text);
// The key names of a section: the text before the first "=" of each line after the first
// header line holding "[" and the section name (not a comment), up to the next line holding
// "[".
std::vector<std::string> iniSectionKeys(std::string_view text, std::string_view section);

class PluginEditorWindow : public Dialog {
 public:
  // Makes the window (hidden), empty, when it is not made.
  void load(HWND owner);
  bool build(HWND owner) override;

  // Set before the window is shown: the plug-in file's full path ("NoName" for a new one),
  // whether it was never saved, and the list to tell of a save with the key of the row the
  // plug-in has there (empty for a new plug-in, until its first save adds one).
  std::string PluginFile = kNewPluginName;
  bool NewPlugin = true;
  PluginListHost* listHost = nullptr;
  std::string listRow;

  // The chosen root option's caption and a backslash; "" when none is chosen.
  std::string getRoot() const;
  // Loads the plug-in file named by PluginFile into the description and the lists; false,
  // and nothing loaded, when the file exists but cannot be read.
  bool getPlugin();
  // Writes the plug-in file whole in the system's code page (to a temporary file, then
  // renamed): false when it could not be written, or the code page cannot hold its text.
  bool SavePlugin(const std::string& path);
  // The plug-in as the description and the lists stand.
  glenvask::PluginFile contents() const;

  // Files tab.
  void chkFileRecurse_Click();
  void cmdFileBrowse_Click();
  void cmdFilesAdd_Click();
  void cmdFileAddAlternate_Click();
  void drvFileAlternate_Change();
  void dirFileAlternate_DblClick();
  void cmdFileRemove_Click();
  // The picker's folder (a drive root keeps its backslash); the folder and file lists follow.
  void setPickerFolder(const std::string& folder);
  const std::string& pickerFolder() const { return pickerFolder_; }

  // Registry tab.
  void optDeleteValue_Click();
  void optEntireSubkey_Click();
  void cmdRegistryAdd_Click();
  void cmdGeneratesubkeys_Click() { generate(true); }
  void cmdGenerateValues_Click() { generate(false); }
  void cmdRegistryRemove_Click();

  // INI files tab.
  void cmdINIBrowse_Click();
  void cmbINISections_Click();
  void chkINIEraseSection_Click();
  void cmdINIAdd_Click();
  void cmdINIRemove_Click();

  void cmdSave_Click();
  void cmdClose_Click();

  EditBox txtDescription;
  Button cmdSave, cmdClose;
  TabControl sstPlugin;
  // Files tab.
  EditBox txtFilePath, txtFileExt;
  Button cmdFileBrowse, cmdFilesAdd, cmdFileAddAlternate, cmdFileRemove;
  CheckBox chkFileRecurse, chkFileDeletesubFolders;
  ComboBox drvFileAlternate;
  ListBox dirFileAlternate, flFileAlternate;
  Label lblPickerFolder;
  ListView lstvFiles;
  // Registry tab.
  OptionGroup optRoot;    // LocalMachine, ClassesRoot, Users, PerformanceData, CurrentUser,
                          // CurrentConfig, DynData
  OptionGroup optMethod;  // optDeleteValue, optEntireSubkey
  EditBox txtRegistrySubkey, txtRegistryValue;
  CheckBox chkDeleteAllSubkeys;
  Button cmdRegistryAdd, cmdGeneratesubkeys, cmdGenerateValues, cmdRegistryRemove;
  ListView lstvRegistry;
  // INI files tab.
  EditBox txtINIFileName;
  Button cmdINIBrowse, cmdINIAdd, cmdINIRemove;
  ComboBox cmbINISections, cmbINIValues;
  CheckBox chkINIEraseSection;
  ListView lstvINI;

 protected:
  const wchar_t* className() const override { return ids::kPluginEditorClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void info(const char* text);
  void generate(bool subkeys);
  void addRows(ListView& list, const std::vector<std::vector<std::string>>& rows);
  void removeSelected(ListView& list);
  bool entireSubkey() const { return optMethod.chosen() == 1; }

  // The colour the tab strip paints its pages with, for the controls that stand on them.
  COLORREF pageColor();
  GdiHandle pageBrush_;
  COLORREF pageColor_ = CLR_INVALID;

  std::string pickerFolder_;
  std::vector<std::string> pickerFiles_;    // the file list's names, in its order
  std::vector<std::string> pickerFolders_;  // the folder list's entries ("" for the parent)
};

// The one plug-in editor; made, owned by the window given, when it does not exist.
PluginEditorWindow& frmPlugin(HWND owner = nullptr);

}  // namespace glenvask
