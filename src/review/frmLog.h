// The cleanup summary that ends a run: files deleted, space gained, and for each of the main
// window's five sections whether it was cleaned. "View Details..." opens the detailed log.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "review/framed.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

// The section rows of the summary, in the order of the main window's section marks.
inline constexpr size_t kSummarySectionCount = 5;
inline constexpr std::array<const char*, kSummarySectionCount> kSummarySections{
    "Folders and Files", "Miscellaneous", "Internet Explorer", "Firefox", "Plugins"};

// What a run hands the summary: its totals, which sections it cleaned, and its log.
struct RunSummary {
  std::int64_t filesDeleted = 0;
  std::int64_t spaceGained = 0;  // bytes
  std::array<bool, kSummarySectionCount> cleaned{};
  std::string log;
};

inline constexpr const char* kCleanedText = "Cleaned";
inline constexpr const char* kNotCleanedText = "Not Cleaned";

// load() makes the window (hidden) when it does not exist, showing the run last set.
class SummaryWindow : public FramedDialog {
 public:
  SummaryWindow();
  // The run to show: the totals, the section rows and the log (which the detailed log shows).
  void setRun(RunSummary run);
  const RunSummary& run() const { return run_; }

  void cmdSave_Click();   // "View Details..."
  void cmdClose_Click();
  void cmdExit_Click();

  // The status text of a section row ("Cleaned" or "Not Cleaned") and which icon shows.
  std::string sectionStatus(size_t section) const;
  bool sectionCleanedIconShown(size_t section) const;
  bool sectionWarningIconShown(size_t section) const;

  Label Label3, Label4;  // files deleted, space gained
  Button cmdSave, cmdClose, cmdExit;

  // What "Exit" does: ends the program at once (tests put a recorder in its place).
  static std::function<void()> endProgram;

 protected:
  const wchar_t* className() const override { return ids::kSummaryClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;

 private:
  void showRun();
  RunSummary run_;
  std::array<Label, 5> status_;
  std::array<HWND, 5> tick_{}, warning_{};
};

// The one summary window; makes it when it does not exist.
SummaryWindow& frmLog();

}  // namespace glenvask
