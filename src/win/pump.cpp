#include "win/pump.h"

namespace glenvask {

namespace {
std::uint64_t g_slice = 25;
std::uint64_t g_last = 0;
EventPump::Clock g_clock = nullptr;
}  // namespace

void dispatchMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int runMessageLoop() {
  MSG msg;
  for (;;) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) return static_cast<int>(msg.wParam);
    if (r < 0) return -1;
    dispatchMessage(msg);
  }
}

std::uint64_t EventPump::now() { return g_clock ? g_clock() : GetTickCount64(); }

bool EventPump::doEvents() {
  std::uint64_t t = now();
  if (t - g_last < g_slice) return false;
  dispatchPending();
  return true;
}

void EventPump::dispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Put it back for the loop that owns it, and stop pumping.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    dispatchMessage(msg);
  }
  g_last = now();
}

void EventPump::setSliceMs(std::uint64_t ms) { g_slice = ms; }
std::uint64_t EventPump::sliceMs() { return g_slice; }
void EventPump::setClock(Clock clock) {
  g_clock = clock;
  g_last = 0;
}

}  // namespace glenvask
