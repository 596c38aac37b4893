// The UI kit's logic: text conversion, the sliced pump, handles, closes during a loop.
#include <gtest/gtest.h>

#include <tuple>

#include "support/scripted.h"
#include "win/controls.h"
#include "win/pump.h"
#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {
namespace {

using namespace std::literals;

TEST(Unicode, RoundTripsThroughUtf16) {
  // é €; a surrogate pair in UTF-16; a character 0 inside.
  for (const std::string& s : {""s, "caf\xC3\xA9 \xE2\x82\xAC"s, "\xF0\x9F\x98\x80 !"s, "nul\0in"s})
    EXPECT_EQ(utf8(wide(s)), s);
  EXPECT_EQ(wide("caf\xC3\xA9\xF0\x9F\x98\x80"), L"caf\u00e9\U0001F600");
}

std::uint64_t g_fakeNow = 0;
std::uint64_t fakeClock() { return g_fakeNow; }

// Counts posted messages and closes; its button asks a question, as the program's windows do.
class TestWindow : public Window {
 public:
  int posted = 0, closes = 0, busyCloses = 0;
  Button cmdGo;
  bool create() {
    return Window::create({"test", 200, 100, WS_OVERLAPPEDWINDOW}) &&
           (cmdGo.bind(*this, "cmdGo"), true);
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestKit"; }
  bool onCreate() override { return addControl(button("cmdGo", 10, "Go", 10, 10, 80, 24)); }
  void onCommand(int id, int, HWND) override {
    if (id == 10) asker().messageBox(hwnd(), "Delete it?", "Tarvella", MB_YESNO);
  }
  bool onClose() override { return ++closes; }
  void onCloseWhileBusy() override { ++busyCloses; }
  std::optional<LRESULT> onMessage(UINT msg, WPARAM, LPARAM) override {
    return msg == WM_APP ? std::optional<LRESULT>(++posted) : std::nullopt;
  }
};

TEST(EventPump, DispatchesOnlyWhenASliceHasPassedAndLeavesQuit) {
  TestWindow w;
  ASSERT_TRUE(w.create());
  EventPump::setClock(&fakeClock);
  EventPump::setSliceMs(25);
  g_fakeNow = 1000;
  EXPECT_TRUE(doEvents());  // the first call always dispatches
  // Time passed; whether it dispatches; messages handled so far (one is posted at each step).
  std::tuple<std::uint64_t, bool, int> steps[] = {
      {0, false, 0}, {24, false, 0}, {1, true, 3}, {10, false, 3}, {30, true, 5}};
  for (const auto& [advance, dispatches, countAfter] : steps) {
    PostMessageW(w.hwnd(), WM_APP, 0, 0);
    g_fakeNow += advance;
    EXPECT_EQ(doEvents(), dispatches) << "after +" << advance;
    EXPECT_EQ(w.posted, countAfter);
  }
  EventPump::setClock(nullptr);
  PostQuitMessage(3);  // left for the main loop
  EventPump::dispatchPending();
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 3);
}

struct Counted : IUnknown {  // a COM object that counts its references
  int refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Handles, ComPtrReleasesEachReferenceOnceAndNeverAddsOne) {
  Counted a, b;
  {
    ComPtr<IUnknown> p(&a), q(std::move(p));
    *q.put() = &b;  // what was held goes first
    EXPECT_EQ(a.refs, 0);
    ComPtr<IUnknown> r;
    r = std::move(q);
  }
  EXPECT_EQ(std::pair(a.refs, b.refs), std::pair(0, 0));
}

TEST(Window, ADisabledButtonDoesNothingAndACloseDuringALoopWaitsForItsEnd) {
  test::ScriptedAsker script;  // a question here would fail the test
  TestWindow w;
  ASSERT_TRUE(w.create());
  w.cmdGo.setEnabled(false);
  w.cmdGo.click();
  {
    Window::BusyScope busy(w);
    w.close();  // as the close box during a long run
    EventPump::dispatchPending();
    EXPECT_EQ(std::tuple(w.isOpen(), w.busyCloses, w.closes), std::tuple(true, 1, 0));
  }
  EXPECT_TRUE(test::pumpUntil([&] { return !w.isOpen(); }) && w.closes == 1);
}

}  // namespace
}  // namespace glenvask
