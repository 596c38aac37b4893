// A tool window opened again comes to the front, restored (alone: the display's one front).
#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/toolwindow.h"

namespace glenvask {
namespace {

class Tool : public ToolWindowOf<Tool> {
 protected:
  const wchar_t* className() const override { return L"GlenvaskTestFrontTool"; }
  bool build(HWND owner) override {
    return create({"tool", 200, 100, WS_OVERLAPPEDWINDOW, 0, owner});
  }
};

class Other : public Window {
 protected:
  const wchar_t* className() const override { return L"GlenvaskTestFrontOther"; }
};

TEST(ToolWindow, OpenedAgainIsTheSameWindowRestoredInFront) {
  Tool& tool = Tool::instance();
  ASSERT_TRUE(tool.open());
  HWND first = tool.hwnd();
  Other other;
  ASSERT_TRUE(other.create({"other", 200, 100}));
  other.show();
  for (bool minimised : {false, true}) {
    if (minimised) ShowWindow(first, SW_MINIMIZE);
    SetForegroundWindow(other.hwnd());
    ASSERT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == other.hwnd(); }));
    ASSERT_TRUE(Tool::instance().open());
    EXPECT_EQ(tool.hwnd(), first);
    EXPECT_FALSE(IsIconic(first));
    EXPECT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == first; }, 1000));
  }
  tool.destroy();
}

}  // namespace
}  // namespace glenvask
