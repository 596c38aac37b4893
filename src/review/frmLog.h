// The cleanup summary that ends a run: files deleted, space gained, and for each of the main
// window's five sections whether it was cleaned. "View Details..." opens the detailed log.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

// One section row of the summary: its caption, the main window's hidden mark, and the
// category check boxes read when no mark is set.
struct SummarySection {
  const char* caption;
  const char* mark;
  std::array<const char*, 12> boxes;  // unused places are nullptr
};

inline constexpr std::array<SummarySection, 5> kSummarySections{{
    {"Folders and Files", "FoFiValue",
     {"chkRecycleBin", "chkActiveSetup", "chkIndexer", "chkTemp", "chkRecentDocument",
      "chkPrinter", "chkUnNecessaryFiles", "chkUserDefinedFiles", "chkUserDefinedFolders",
      "chkDump", "chkEmptyFiles", "chkDeadShortcut"}},
    {"Miscellaneous", "MiscValue",
     {"chkOffice", "chkInstallFrom", "chkClipBoard", "chkRunMRU", "chkFindHistory"}},
    {"Internet Explorer", "IEValue",
     {"chkCache", "chkCookies", "chkURLHistory", "chkHistory", "chkOffline", "chkActiveX"}},
    {"Firefox", "FFValue",
     {"chkCleanMozillaCache", "chkCleanMozillaCookies", "chkCleanMozillaHistory",
      "chkCleanMozillaForms", "chkCleanMozillaPasswords", "chkCleanMozillaDownloads"}},
    {"Plugins", "PLGValue", {"chkPlugins"}},
}};

inline constexpr const char* kCleanedText = "Cleaned";
inline constexpr const char* kNotCleanedText = "Not Cleaned";

class SummaryWindow : public Dialog {
 public:
  // Makes the window (hidden) when it does not exist; its section rows are fixed then, from
  // the main window's marks and check boxes.
  void load(HWND owner = nullptr);
  bool build(HWND owner) override;

  void cmdSave_Click();   // "View Details..."
  void cmdClose_Click();
  void cmdExit_Click();

  // The status text of a section row ("Cleaned" or "Not Cleaned") and which icon shows.
  std::string sectionStatus(size_t section) const;
  bool sectionCleanedIconShown(size_t section) const;
  bool sectionWarningIconShown(size_t section) const;

  Label Label3, Label4;  // files deleted, space gained
  EditBox txtLog;        // not shown: it carries the log to the detailed log
  Button cmdSave, cmdClose, cmdExit;

  // What "Exit" does: ends the program at once (tests put a recorder in its place).
  static std::function<void()> endProgram;

 protected:
  const wchar_t* className() const override { return ids::kSummaryClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;

 private:
  void fillSections();
  std::array<Label, 5> status_;
  std::array<HWND, 5> tick_{}, warning_{};
};

// The one summary window; makes it when it does not exist.
SummaryWindow& frmLog();

}  // namespace glenvask
