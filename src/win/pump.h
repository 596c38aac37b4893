// The message loop and the time-sliced event pump that keeps a window live inside a long
// loop. A pump per entry is costly (a scan spends more time pumping than walking), so
// doEvents() dispatches only when a slice of time has passed since its last dispatch.
#pragma once

#include <windows.h>

#include <cstdint>

namespace glenvask {

// One message through the keyboard navigation of its top-level window, then dispatched.
void dispatchMessage(MSG& msg);

// The program's main loop; returns the exit code of WM_QUIT.
int runMessageLoop();

class EventPump {
 public:
  using Clock = std::uint64_t (*)();  // milliseconds

  // Dispatches every pending message when at least the slice has passed since the last
  // dispatch; otherwise returns at once. True when it dispatched.
  static bool doEvents();
  // Dispatches every pending message now. A WM_QUIT is left for the main loop.
  static void dispatchPending();

  static void setSliceMs(std::uint64_t ms);
  static std::uint64_t sliceMs();
  static void setClock(Clock clock);  // nullptr: the system's tick count

 private:
  static std::uint64_t now();
};

// The name the long loops call: a time-sliced pump.
inline bool doEvents() { return EventPump::doEvents(); }

}  // namespace glenvask
