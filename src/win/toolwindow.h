// A base for the modeless tool windows: one instance each, reached through a static accessor
// of its class; opening it again brings it to the front. A close asked for while one of its
// long loops runs stops that loop first, and the window closes once the loop has returned.
//
//   class frmExample : public ToolWindowOf<frmExample> {  // with its className()
//     bool build(HWND owner) override {
//       return create({"Example", 400, 300, WS_OVERLAPPEDWINDOW, 0, owner});
//     }
//     void cmdScan_Click() {
//       Loop loop(*this);
//       for (...) { if (loop.stopped()) break; ...; doEvents(); }
//     }
//   };
//   frmExample::instance().open(main);
//
// The object outlives its HWND: a later open() builds the window again, so build() (or
// onCreate) sets up every control and the state shown in them.
#pragma once

#include <windows.h>

#include "win/seams.h"

namespace glenvask {

// A tool window is a Dialog too: one that a window opens modal (asker().showModal) as well as
// modeless (open).
class ToolWindow : public Dialog {
 public:
  // Shows the window, making it on the first open (or the first since it closed); when it is
  // open already, brings it to the front, restored if it was minimised. False when it could
  // not be made.
  bool open(HWND owner = nullptr);

  // Asks the running loop to stop (a Stop button); a close asks the same.
  void requestStop() { stop_ = true; }
  bool stopRequested() const { return stop_; }

  // Marks one long loop of the window. The outermost loop starts with the stop flag clear;
  // a close asked for meanwhile sets the flag and waits for the loop's end (BusyScope).
  class Loop {
   public:
    explicit Loop(ToolWindow& w);
    ~Loop();
    Loop(const Loop&) = delete;
    Loop& operator=(const Loop&) = delete;
    bool stopped() const { return w_.stop_; }

   private:
    ToolWindow& w_;
    BusyScope busy_;
  };

 protected:
  void onCloseWhileBusy() override { stop_ = true; }

 private:
  bool stop_ = false;
  int loops_ = 0;
};

// The one instance of each tool window class.
template <class Derived>
class ToolWindowOf : public ToolWindow {
 public:
  static Derived& instance() {
    static Derived window;
    return window;
  }
};

}  // namespace glenvask
