// A base for the modeless tool windows: one instance each, reached through a static accessor
// of its class; opening it again brings it to the front. Opened modeless a tool window stands
// on its own, owned by no window; shown modal (asker().showModal) it is owned by its opener. A
// close asked for while one of its long loops runs stops that loop first, and the window closes
// once the loop has returned.
//
//   class frmExample : public ToolWindowOf<frmExample> {  // with its className()
//     bool build(HWND owner) override {
//       return create(toolFrame("Example", 400, 300, buildMenu(), owner));
//     }
//     void cmdScan_Click() {
//       Loop loop(*this);
//       for (...) { if (loop.stopped()) break; ...; doEvents(); }
//     }
//   };
//   frmExample::instance().open();
//
// The object outlives its HWND: a later open() builds the window again, so build() (or
// onCreate) sets up every control and the state shown in them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

// The frame of a tool window: a sizeable window with the program's icon and the menu given
// (the window takes it), owned by `owner` (nullptr for none).
WindowSpec toolFrame(std::string title, int width, int height, HMENU menu, HWND owner);

// The row that a command on "the current row" acts on: the first selected one, else the one
// with the focus; -1 when there is none.
int currentRow(const ListView& list);
// Checks, or clears, the box of every row.
void setAllChecked(ListView& list, bool on);
// Lets go of the controls of a window being destroyed (the object outlives its HWND); the
// lists among them are emptied.
void releaseControls(std::initializer_list<Control*> controls);

// A tool window is a Dialog too: one that a window opens modal (asker().showModal) as well as
// modeless (open).
class ToolWindow : public Dialog {
 public:
  // Shows the window, making it on the first open (or the first since it closed); when it is
  // open already, brings it to the front, restored if it was minimised. False when it could
  // not be made. No window owns it: it is not kept above the main window, nor minimised or
  // closed with it.
  bool open();

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
  static Derived& instance() { return soleInstance<Derived>(); }
};

}  // namespace glenvask
