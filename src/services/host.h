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
  // The current category's counters (files and bytes deleteFiles counted since they were last
  // cleared); the plug-in manager's Process clears them and reports what they hold.
  virtual std::int64_t categoryFileCount() const { return 0; }
  virtual std::int64_t categorySpace() const { return 0; }
  virtual void clearCategoryCounters() {}
  // Shows the records of a cookie file in the cookie viewer, modal over the owner (the
  // options window's cookie page asks for it; the viewer sits above that window's layer).
  virtual void showCookieFile(const std::string& path, HWND owner) {}

  // What the options window applies at once when the user accepts it.
  // Whether a run (the whole run or one category) is going: the options do not open then.
  virtual bool isRunning() const { return false; }
  // Timed auto-clean: on sets the interval in minutes, starts it at the present moment and
  // arms the timer; off disarms the timer and leaves the interval as it was.
  virtual void applyAutoClean(bool on, std::int16_t minutes) {}
  // Enables or disables the empty-files and dead-shortcut category boxes; their ticks stay.
  virtual void enableOptionalCategories(bool emptyFiles, bool deadShortcuts) {}
  // Shows or hides the tip box.
  virtual void showTipBox(bool on) {}
  // Unloads the main window as its close box does (its unload path), which ends the program:
  // the update download's Install, once the setup program has started.
  virtual void endProgram() {}
};

CleaningHost& cleaningHost();
// Sets the host (nullptr: nobody); returns the one set before.
CleaningHost* setCleaningHost(CleaningHost* host);

}  // namespace glenvask
