// The UI kit where it carries logic: text conversion, the time-sliced pump, a disabled button
// (its handler's question answered through the scripted seam, as every window test's are), and
// close requests during a loop.
#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {
namespace {

TEST(Unicode, RoundTripsThroughUtf16) {
  const std::string cases[] = {
      "",
      "plain ASCII",
      "caf\xC3\xA9 \xE2\x82\xAC",               // é €
      "\xF0\x9F\x98\x80 outside the BMP",        // a surrogate pair in UTF-16
      "C:\\Users\\J\xC3\xBCrgen\\Desktop",       // ü
      std::string("nul\0inside", 10),
  };
  for (const auto& s : cases) {
    std::wstring w = wide(s);
    EXPECT_EQ(utf8(w), s);
  }
  EXPECT_EQ(wide("\xF0\x9F\x98\x80").size(), 2u);
  EXPECT_EQ(wide("caf\xC3\xA9"), L"caf\u00e9");
}

TEST(Unicode, FileTextFallsBackToTheAnsiCodePage) {
  EXPECT_EQ(fromFileText("caf\xC3\xA9"), "caf\xC3\xA9");  // valid UTF-8 stays
  // Not UTF-8: read in the ANSI code page (1252 here), where 0xE9 is é.
  EXPECT_EQ(fromFileText("caf\xE9"), "caf\xC3\xA9");
}

// A clock the test moves by hand.
std::uint64_t g_fakeNow = 0;
std::uint64_t fakeClock() { return g_fakeNow; }

class CountingWindow : public Window {
 public:
  int posted = 0;
  bool create() { return Window::create({"counting", 100, 100, WS_OVERLAPPEDWINDOW}); }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestCounting"; }
  std::optional<LRESULT> onMessage(UINT msg, WPARAM, LPARAM) override {
    if (msg == WM_APP) {
      ++posted;
      return 0;
    }
    return std::nullopt;
  }
};

TEST(EventPump, DispatchesOnlyWhenASliceHasPassed) {
  CountingWindow w;
  ASSERT_TRUE(w.create());
  EventPump::setClock(&fakeClock);
  EventPump::setSliceMs(25);
  g_fakeNow = 1000;
  EXPECT_TRUE(doEvents());  // the first call always dispatches
  struct Step {
    std::uint64_t advance;
    bool dispatches;
    int countAfter;  // messages handled so far; one is posted at each step
  } steps[] = {
      {0, false, 0},   // no time passed: the message waits
      {24, false, 0},  // still inside the slice
      {1, true, 3},    // 25 ms: everything pending is dispatched
      {10, false, 3},
      {30, true, 5},
  };
  for (const auto& s : steps) {
    PostMessageW(w.hwnd(), WM_APP, 0, 0);
    g_fakeNow += s.advance;
    EXPECT_EQ(doEvents(), s.dispatches) << "after +" << s.advance;
    EXPECT_EQ(w.posted, s.countAfter);
  }
  EventPump::setClock(nullptr);
}

TEST(EventPump, LeavesQuitForTheMainLoop) {
  PostQuitMessage(3);
  EventPump::dispatchPending();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

// A window whose button asks a question in its handler, the way the program's windows do.
class AskingWindow : public Window {
 public:
  std::string outcome;
  Button cmdGo;
  bool create() {
    if (!Window::create({"asking", 200, 100, WS_OVERLAPPEDWINDOW})) return false;
    cmdGo.bind(*this, "cmdGo");
    return true;
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestAsking"; }
  bool onCreate() override {
    addControl(button("cmdGo", 10, "Go", 10, 10, 80, 24));
    return true;
  }
  void onCommand(int id, int, HWND) override {
    if (id != 10) return;
    int a = asker().messageBox(hwnd(), "Delete it?", "Tarvella", MB_YESNO | MB_ICONQUESTION);
    outcome = a == IDYES ? "deleted" : "kept";
  }
};

TEST(Seams, ButtonClickDoesNothingWhenDisabled) {
  test::ScriptedAsker script;  // a question here would fail the test
  AskingWindow w;
  ASSERT_TRUE(w.create());
  w.cmdGo.setEnabled(false);
  w.cmdGo.click();
  EXPECT_EQ(w.outcome, "");
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
  EXPECT_EQ(b.refs, 0);
  EXPECT_EQ(a.refs, 0);
}

class ClosingWindow : public Window {
 public:
  int closes = 0, busyCloses = 0;
  bool create() { return Window::create({"closing", 100, 100, WS_OVERLAPPEDWINDOW}); }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestClosing"; }
  bool onClose() override {
    ++closes;
    return true;
  }
  void onCloseWhileBusy() override { ++busyCloses; }
};

TEST(Window, CloseDuringALoopWaitsForTheLoopsEnd) {
  ClosingWindow w;
  ASSERT_TRUE(w.create());
  {
    Window::BusyScope busy(w);
    w.close();  // as the close box during a long run
    EventPump::dispatchPending();
    EXPECT_TRUE(w.isOpen()) << "a loop still works on the window";
    EXPECT_EQ(w.busyCloses, 1);
    EXPECT_EQ(w.closes, 0);
  }
  EXPECT_TRUE(test::pumpUntil([&] { return !w.isOpen(); }));
  EXPECT_EQ(w.closes, 1);
}

}  // namespace
}  // namespace glenvask
