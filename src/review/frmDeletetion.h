// The review list: every file the drive scans found (unnecessary files, empty files, dead
// shortcuts), with the shell's icon of its type and a check box. The user deletes all of
// them or the checked ones, looks at a file's properties, or aborts the run. Files that could
// not be deleted stay listed in red. Closing it adds one line per category to the run log.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "services/scanner.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

// The list's columns, in order.
enum ReviewColumn : size_t {
  kColName = 0,
  kColBytes,
  kColDate,
  kColAttribute,
  kColPath,
  kColFileType,
  kColCategory,
  kReviewColumnCount
};

class ReviewListWindow : public Dialog {
 public:
  // Loads the window (hidden) when it is not loaded: Form_Load. Every access through
  // frmDeletetion() does so.
  void load(HWND owner = nullptr);
  bool loaded() const { return loaded_; }
  bool build(HWND owner) override;

  // A find of the scanner, as a new unchecked row.
  void addReviewRow(const ReviewRow& row);
  size_t rowCount() const { return lstvDeletion.rowCount(); }
  // The count line below the list.
  void setTotalText(const std::string& text) { lblTotalFiles.setText(text); }
  // The row's full path: folder column followed by the name.
  std::string rowPath(size_t i) const;

  void Form_Load();
  // Gives every row the small icon of its file type and checks every row.
  void addIcons();

  void mnuDeleteAll_Click();
  void mnuDeleteSelected_Click();
  void mnuProperties_Click();
  void mnuSelectAll_Click();
  void mnuDeselectAll_Click();
  void mnuAbort_Click();
  void mnuExit_Click();
  void cmdDeleteSelected_Click() { mnuDeleteSelected_Click(); }
  void cmdSelectAll_Click() { mnuSelectAll_Click(); }
  void cmdDeselectAll_Click() { mnuDeselectAll_Click(); }
  void cmdExit_Click() { mnuExit_Click(); }
  void lstvDeletion_ColumnClick(size_t column) { lstvDeletion.sortByColumn(column); }
  void lstvDeletion_DblClick();

  // Unloads the window however it closes: the log lines (unless the run is aborted), then
  // the rows and counters are dropped and the scan lists emptied.
  void unload();
  // Drops the window with its rows and counters, writing nothing (a stopped scan).
  void release();

  // Whether a delete pass is running (the window stays live through the event pump).
  bool deleting() const { return passRunning_; }

  ListView lstvDeletion;
  ImageListHandle imglIcon;  // the rows' type icons, this window's own
  Label lblTotalFiles, lblRed, Label1;
  Button cmdDeleteSelected, cmdSelectAll, cmdDeselectAll, cmdExit;

  std::int64_t lngDeletedCount = 0;
  double dblDeletedSize = 0;
  std::int64_t lngUnnecessaryCount = 0;
  double dblUnnecessarySize = 0;
  std::int64_t lngEmptyCount = 0;
  double dblEmptySize = 0;
  std::int64_t lngDeadCount = 0;
  double dblDeadSize = 0;

 protected:
  const wchar_t* className() const override { return ids::kReviewListClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  bool onClose() override;
  void onCloseWhileBusy() override;
  void onDestroy() override;
  void onSize(int width, int height, bool maximized) override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct PassResult {
    std::int64_t count = 0;
    double size = 0;
    bool failed = false;
  };
  // Deletes the rows (all, or the checked ones) through the delete path, marks failures red
  // and unchecked, removes the deleted rows and adds to the totals.
  PassResult deletePass(bool checkedOnly);
  void AddCategoryTotals(std::int64_t size, std::string_view category);
  void setAllChecked(bool on);
  // Hands the outcome to the host (services/host.h), with the log lines or without.
  void handBack(bool withLog);
  void resetState();
  void flushRows();
  void setControlsEnabled(bool on);
  int iconFor(const std::string& extension);

  bool loaded_ = false;
  bool deferred_ = false;     // rows added while hidden are told to the control when shown
  bool passRunning_ = false;
  bool stopPass_ = false;     // a close asked for during a pass
  bool abortPending_ = false; // Abort chosen during a pass
  std::unordered_map<std::string, int> iconCache_;  // extension -> image index
};

// The one review list of the program; loads it when it is not loaded.
ReviewListWindow& frmDeletetion();
// Drops the review list with its rows and counters (a stopped scan, a stopped run).
void releaseReviewList();

// Takes the scanner's finds into the review list; the main window sets it as the scanner's.
class ReviewListReporter : public ScanReporter {
 public:
  void addReviewRow(const ReviewRow& row) override { frmDeletetion().addReviewRow(row); }
  void releaseReviewList() override { glenvask::releaseReviewList(); }
};

}  // namespace glenvask
