// What the main window offers the windows below it: the frame of a cleaning run (the shared
// delete routines and the end of a step), its status line and progress bar, and the window that
// owns what a run shows. The main window makes itself the host when it loads; until then (and
// in tests that set none) a host that does nothing answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace glenvask {

// What the review list hands back when it closes: the files its passes deleted and their size,
// and the run-log lines of its categories (none when the run was stopped).
struct ReviewOutcome {
  std::int64_t filesDeleted = 0;
  std::int64_t spaceGained = 0;  // bytes
  std::string log;
};

class CleaningHost {
 public:
  virtual ~CleaningHost() = default;
  // Ends the current step: the text becomes the status line; an empty text is a normal end.
  virtual void stopOperation(const std::string& text) {}
  // Delete arrFiles, then remove arrFolders (deepest first), counting into the run's totals and
  // the current category's counters.
  virtual void deleteFiles() {}
  virtual void deleteFolders() {}
  virtual void setStatus(const std::string& text) {}
  virtual void setProgress(int value) {}
  // The owner of the windows a run shows; nullptr when there is none.
  virtual HWND ownerWindow() const { return nullptr; }
  // The review list has closed: its outcome joins the run's totals and log.
  virtual void reviewClosed(const ReviewOutcome& outcome) {}
  // Unloads the main window as its close box does (its unload path), which ends the program:
  // the update download's Install, once the setup program has started.
  virtual void endProgram() {}
};

CleaningHost& cleaningHost();
// Sets the host (nullptr: nobody); returns the one set before.
CleaningHost* setCleaningHost(CleaningHost* host);

}  // namespace glenvask
