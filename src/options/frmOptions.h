// The options window: every setting and list the cleaning reads, on nine pages (General,
// Search, Ignore folders, Ignore files, Unnecessary files, User-defined folders, User-defined
// files, Cookies, Backups). Every page is read from its file when the window opens and written
// back only on Accept, each file whole through a temporary file, the list files in the ANSI
// code page; Cancel and the close box write nothing. A file the user changed nothing of is left
// as it was, a missing one missing. Accept also applies the general settings to the running
// program at once (services/host.h). When a file cannot be saved (held open by another
// program, or an entry the code page cannot hold), Accept says which and the window stays
// open, so that nothing typed is lost; the files that could be saved are saved.
//
// A page's controls are made the first time the page shows (SSTab1.select), from what was read
// at the opening; the Cookies page lists the cookie files then. Until then its wrappers are
// unbound, and Accept writes what was read.
#pragma once

#include <windows.h>

#include <exception>
#include <array>
#include <functional>
#include <initializer_list>
#include <utility>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/lists.h"
#include "options/backups.h"
#include "services/registry.h"
#include "services/settings.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

// The pages, in order, and their captions.
enum OptionsPage : size_t {
  kPageGeneral,
  kPageSearch,
  kPageIgnoreFolders,
  kPageIgnoreFiles,
  kPageUnnecessary,
  kPageUserFolders,
  kPageUserFiles,
  kPageCookies,
  kPageBackups,
  kOptionsPageCount
};
inline constexpr const char* kOptionsPages[] = {"General",
                                                "Search",
                                                "Ignore folders",
                                                "Ignore files",
                                                "Unnecessary files",
                                                "User-defined folders",
                                                "User-defined files",
                                                "Cookies",
                                                "Backups"};

// The mark in front of a listed folder that does not exist; shown only, never stored.
inline constexpr const char* kInvalidPathMark = "[Invalid Path] ";

// The value of the Run key (services/registry.h) that starts the program with Windows.
inline constexpr const char* kRunValueName = "Glenvask";

// A file beside the executable as the window read it.
struct LoadedFile {
  std::string name;  // beside the executable
  bool exists = false;
  std::optional<std::string> bytes;  // nothing when it is there but could not be read
  bool unreadable() const { return exists && !bytes; }
};

class OptionsWindow : public Dialog {
 public:
  bool build(HWND owner) override;
  // Whether the page's controls have been made.
  bool pageMade(size_t page) const { return page < made_.size() && made_[page]; }

  // Loads every page (at each opening); Accept saves every page, applies the general
  // settings and closes; Cancel closes.
  void Form_Load();
  void cmdAccept_Click();
  void cmdCancel_Click();
  void cmdHelp_Click();

  // General.
  void LoadGeneralSettings();
  void cmdBrowseBackup_Click();
  // Search.
  void LoadSearchSettings();
  // The page as its controls show it.
  SearchPage searchPage() const;
  // Folder and file lists.
  void cmdUDIFOAdd_Click();
  void cmdUDIFORemove_Click();
  void cmdUDIFOBrowse_Click();
  void cmdUDIFOExplore_Click();
  void cmdAdd_Click();  // "Add..." of the ignored file names
  void cmdIFIRemove_Click();
  void cmdIFIDefaults_Click();
  void cmdIEAdd_Click();
  void cmdIERemove_Click();
  void cmdIEDefaults_Click();
  void cmdUDFOAdd_Click();
  void cmdUDFORemove_Click();
  void cmdUDFOBrowse_Click();
  void cmdExploreUDFO_Click();
  void cmdUDFODefaults_Click();
  void cmdUDFIAdd_Click();
  void cmdUDFIRemove_Click();
  void cmdUFIBrowse_Click();
  // Unnecessary file types.
  void LoadUnnecessaryTypes();
  void cmdUnnecessaryFilesAdd_Click();
  void cmdUnnecessaryFilesRemove_Click();
  void cmdUnnecessaryFilesBrowse_Click();
  void cmdUnnecessaryFilesDefaults_Click();
  // Cookies to keep.
  void LoadCookies();
  void cmdAddCookie_Click();
  void cmdRemoveCookie_Click();
  void cmdResetCookies_Click();
  void cmdRefreshCookie_Click();
  void cmdViewCookie_Click();
  void cmdDeleteCookie_Click();
  // The selected cookie file of the current list (folder and name); "" when none.
  std::string selectedCookieFile() const;
  // Backups: the folder and the restore rule.
  void LoadBackupSettings();
  void cmdBackupBrowse_Click();
  // The backup archive list: its place on the Backups page, below the folder and the rule,
  // and its loader, called when the page is made (its controls go on the page through
  // addPageControls(kPageBackups, ...)). The list with its View, Delete and Restore is the
  // backups code's; until it comes, the place stays empty.
  void LoadBackupList();
  static constexpr RECT kBackupListArea{20, 140, 756, 416};

  // The controls, named as the handlers and tests know them.
  TabControl SSTab1;
  Button cmdAccept, cmdCancel, cmdHelp;
  // General.
  CheckBox chkStartWWindows, chkCleanStartup, chkAutoClean, chkExtraSecurity, chkRename;
  CheckBox Check1, Check2, Check3;  // empty files, dead links, tip box
  ComboBox cmbAutoClean1;           // the interval, 1 to 60 (another number may be typed)
  ComboBox cmbAutoClean;            // "Minute(s)", "Hour(s)"
  OptionGroup deleteMethod;         // optRecyclebin, optDelete, optWipe, optZip
  EditBox txtGenerealBackup;
  Button cmdBrowseBackup;
  // Search.
  ListBox lstSearch;
  CheckBox chkSearchFileReference, chkSearchPathReference, chkSearchDateReference;
  DatePicker dtpSearchFirst, dtpSearchSecond;
  CheckBox chkSearchSize;
  OptionGroup sizeOption;  // optSearcSizeIs, optSearchSizeAtleast, optSearchSizeAtMost
  EditBox txtSearchSize;
  CheckBox chkSearchReadOnly, chkSearchHidden, chkSearchSystem;
  // Ignore folders.
  ListBox lstUDIFO;
  EditBox txtUDIFO;
  Button cmdUDIFOAdd, cmdUDIFORemove, cmdUDIFOBrowse, cmdUDIFOExplore;
  // Ignore files.
  ListBox lstIFI, lstIE;
  EditBox txtIE;
  Button cmdAdd, cmdIFIRemove, cmdIFIDefaults, cmdIEAdd, cmdIERemove, cmdIEDefaults;
  // Unnecessary files.
  ListView lstvUnnecessaryFiles;
  EditBox txtUnnecessaryFilesFileType, txtUnnecessaryFilesDescription;
  Button cmdUnnecessaryFilesAdd, cmdUnnecessaryFilesRemove, cmdUnnecessaryFilesBrowse,
      cmdUnnecessaryFilesDefaults;
  // User-defined folders and files.
  ListBox lstUDFO, lstUDFI;
  EditBox txtUDFOFolder, txtUDFI;
  Button cmdUDFOAdd, cmdUDFORemove, cmdUDFOBrowse, cmdExploreUDFO, cmdUDFODefaults;
  Button cmdUDFIAdd, cmdUDFIRemove, cmdUFIBrowse;
  // Cookies.
  EditBox txtCookies;
  ListView lstvCurrentCookies, lstvKeepCookies;
  Button cmdAddCookie, cmdRemoveCookie, cmdResetCookies, cmdRefreshCookie, cmdViewCookie,
      cmdDeleteCookie;
  // Backups.
  EditBox txtBackup;
  Button cmdBackupBrowse;
  OptionGroup backupRule;  // optBackupAlways, optBackupNewer, optBackupPrompt, optBackupNever
  BackupList backupList;   // the archives of the backup folder, with View, Delete and Restore

 protected:
  const wchar_t* className() const override { return ids::kOptionsClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // What a list page read: its items as the opening offered them (the page is unchanged while
  // it holds the same), and as the page shows them (folders with their marks).
  struct StoredList {
    LoadedFile file;
    std::vector<std::string> items, shown;
  };
  // A settings.ini value as read, and the value its control gave right after loading.
  struct StoredSetting {
    std::string read, shown;
  };
  using Binding = std::pair<Control*, const char*>;
  // A control of a page and the wrapper bound to it (none for labels and frames).
  struct Placed {
    ControlSpec spec;
    Control* wrapper = nullptr;
  };
  // A button of a column beside a page's list.
  struct ColumnButton {
    const char* name;
    int id;
    const char* text;
    Button* wrapper;
  };

  // Runs one step of the loading or of Accept: a step that fails ends there, and the next
  // step still runs.
  template <class F>
  static void step(F&& f) {
    try {
      f();
    } catch (const std::exception&) {
    }
  }

  void makeCommon();
  void makePage(size_t page);
  void showPage(size_t page);
  void addPageControls(size_t page, std::initializer_list<Placed> controls);
  void addButtonColumn(size_t page, int x, int width, std::initializer_list<ColumnButton> buttons);
  // A page of one list: its caption, the list, the entry box below it with its caption. A list
  // or an entry without a width takes the usual place across the page.
  void addListPage(size_t page, const char* caption, Placed list, const char* entryCaption,
                   Placed entry);
  void bindAll(std::initializer_list<Binding> bindings);
  void unbindAll();
  void showGeneral();
  void showSearch();
  void showUnnecessary(const std::vector<UnnecessaryType>& types);
  static std::vector<UnnecessaryType> readUnnecessaryTypes(const LoadedFile& from);
  void showKeepList();
  void LoadCookieFiles();
  void LoadKeepList();
  void LoadFolderList(const char* fileName, bool isUDFO);
  void LoadUDFIList();
  void loadIgnoreList(const char* fileName, const char* defaultName, StoredList& stored);
  static void fillList(ListBox& list, const StoredList& stored);
  std::vector<std::string> currentItems(size_t page, const ListBox& list,
                                        const StoredList& stored) const;
  // False, after saying so, when the text holds a character the list files cannot store.
  bool storable(const std::string& text);
  void addFolder(EditBox& entry, ListBox& list);
  void exploreFolder(ListBox& list);
  void addUnnecessaryRow(const UnnecessaryType& type, bool keepSorted);
  std::vector<UnnecessaryType> unnecessaryTypes() const;
  std::vector<KeptCookie> keptCookies() const;
  void backupFolderTyped(EditBox& from, EditBox* other);

  void SaveKeepCookies();
  void SaveLists();
  void SaveSearchSettings();
  void SaveUNFIList();
  void SaveBackupSettings();
  void SaveGeneralSettings();
  void applyGeneralSettings();
  std::string keep(const char* key, const std::string& now) const;
  // Writes a page's changed file in the ANSI code page; read is the file the page was loaded
  // from. What cannot be saved is noted for Accept's message.
  void saveFile(const char* name, const std::string& text, const LoadedFile& read);
  void removeFile(const char* name);
  void notSaved(const char* name, const std::string& why);
  static constexpr const char* kNotWritten =
      "it could not be written (another program may hold it open).";

  std::array<bool, kOptionsPageCount> made_{};
  std::array<std::vector<HWND>, kOptionsPageCount> pageControls_;
  std::vector<Binding> bound_;
  StoredList udfo_, udifo_, udfi_, ifi_, ie_;
  LoadedFile unfiFile_, ckFile_, srchFile_;
  std::vector<UnnecessaryType> unfiLoaded_;
  std::optional<std::vector<std::string>> udfoDefaults_;  // what Defaults offered, once chosen
  std::vector<std::string> notSaved_;                     // by this Accept, one line a file
  std::vector<KeptCookie> ckLoaded_;                      // in the keep list's order
  std::vector<std::string> driveItems_;
  SearchPage searchShown_;                // the page as the opening shows it
  std::optional<SearchPage> srchLoaded_;  // the page as the file gives it
  std::map<std::string, StoredSetting> settings_;
  std::vector<IniValue> pendingIni_;  // keys waiting for the one write of settings.ini
  std::string backupFolder_;          // the one value of the two backup folder boxes
  int backupRuleLoaded_ = -1;
  bool syncingBackup_ = false;
};

// The one options window.
OptionsWindow& frmOptions();

// Opens the options window modal over the owner, unless a run is going; when it is open
// already, brings it to the front. Once it has closed, by Accept or Cancel, the scanner's
// lists and search options are read again.
void OpenOptions(HWND owner);

}  // namespace glenvask
