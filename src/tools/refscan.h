// The pattern the reference scanners share (orphaned shared DLLs, invalid file references,
// application paths, help files, ActiveX components): the scan starts from a 1 ms timer that
// is on when the window opens and switches itself off at its first tick (a rescan switches it
// on again); Stop sets the window's own stop flag, which the scan tests once per item after
// pumping events; Close stops the scan and closes; while a scan runs, Stop is enabled and
// Delete and Edit are not. Rows of a missing target carry the first icon and start checked,
// the others the second icon and start clear. Nothing asks before Delete.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/refjudge.h"
#include "tools/toollist.h"
#include "win/controls.h"
#include "win/handle.h"

namespace glenvask {

// The controls of one scanner window: captions, names and fixed ids.
struct ScannerSpec {
  const char* caption;
  const char* heading;
  const wchar_t* windowClass;
  const char* listName;  // "lstvInvalid"
  std::vector<ListColumn> columns;
  int listId, statusId, stopId, deleteId, closeId, headingId;
  int deleteFilesId = 0;  // the box that deletes the referenced file too; 0: none
  int editId = 0;         // the Edit button; 0: none
  int progressId = 0;     // the progress bar; 0: none
  int width = 620, height = 440;
  int extraHeight = 0;    // room below the list for a window's own controls
  bool sortable = false;  // header clicks sort (the window sets list().onColumnClick)
};

inline constexpr const char* kDeleteFilesText =
    "When deleting a reference whose file exists, delete the file also";

class ReferenceScanner : public ListFrameWindow {
 public:
  static constexpr int kIconMissing = 0;  // "small icon 1": the target is missing
  static constexpr int kIconPresent = 1;  // "small icon 2"
  static constexpr UINT_PTR kTimer1 = 1;

  // The scan, as the timer's first tick runs it.
  void Timer1_Timer();
  virtual void cmdStop_Click();
  void cmdClose_Click();
  virtual void cmdDelete_Click() = 0;
  virtual void cmdEdit_Click() {}

  // Switches Timer1 on: the scan runs at its first tick.
  void rescan();
  bool timerOn() const { return timerOn_; }
  bool scanning() const { return scanning_; }

  Button cmdStop, cmdDelete, cmdClose, cmdEdit;
  CheckBox chkDelete;
  ProgressBar pgKeys;

 protected:
  explicit ReferenceScanner(ScannerSpec spec)
      : ListFrameWindow({spec.caption, spec.heading, spec.listName, spec.columns, spec.listId,
                         spec.statusId, spec.headingId, "...", true, spec.sortable, spec.width,
                         spec.height}),
        spec_(std::move(spec)) {}
  const ScannerSpec& spec() const { return spec_; }

  // Fills the list; runs inside the window's loop, so a close waits for it to return.
  virtual void scan() = 0;
  // After the scan (stopped or not): the status line, "12 entries, 3 orphaned" unless the
  // window says otherwise.
  virtual void endScan(bool stopped);
  // A window's own controls, made after the common ones and placed in the room below the
  // list (x, y and width in the window's pixels).
  virtual void addExtraControls() {}
  virtual void layoutExtra(int x, int y, int width) {}

  // Pumps events twice, as every scan does before an item: false once the stop flag is set.
  bool keepGoing();
  // A row of a missing target: first, checked, the first icon.
  void addMissing(ListRow row);
  // A row of a target that is there (or that cannot be judged): last, clear, the second icon.
  void addPresent(ListRow row);
  // The row as the shared judge finds the file that the reference names.
  void addJudged(ListRow row, std::string_view reference);
  // The judge of this scan (its lookups are remembered for the scan's length).
  ReferenceJudge& judge() { return *judge_; }
  // Rows added by addMissing in this scan.
  size_t missingCount() const { return missing_; }

  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onTimer(UINT_PTR id) override;
  void onDestroy() override;
  void onSize(int width, int height, bool) override;
  const wchar_t* className() const override { return spec_.windowClass; }

 private:
  ScannerSpec spec_;
  ImageListHandle imglOrphaned_;
  bool timerOn_ = false;
  bool scanning_ = false;
  bool rescanPending_ = false;
  std::optional<ReferenceJudge> judge_;
  size_t missing_ = 0;
};

// Sends the file that a reference names to the Recycle Bin, when that is safe: a full path
// of usable length, a file (never a folder or a link), outside the Windows folder tree. True
// when the file is gone.
bool recycleReferencedFile(std::string_view path);

}  // namespace glenvask
