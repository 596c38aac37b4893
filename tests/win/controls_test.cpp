// The kit's controls in a real window, changed by code and by input; the tool window base.
#include "win/controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/pump.h"
#include "win/toolwindow.h"

namespace glenvask {
namespace {

class Form : public Window {
 public:
  TabControl tabs;
  ComboBox combo;
  ListBox list;
  DatePicker date;
  OptionGroup options;
  std::map<std::string, int> changes;  // handler calls by control

  bool create() {
    if (!Window::create({"form", 400, 300})) return false;
    tabs.bind(*this, "tabs"), combo.bind(*this, "cbo"), list.bind(*this, "lst");
    date.bind(*this, "dtp");
    combo.setItems({"Alpha", "Beta", "Gamma"});
    list.setItems({"a", "b", "c", "d"});
    auto count = [this](const char* name) { return [this, name] { ++changes[name]; }; };
    tabs.onChange = count("tabs"), combo.onChange = count("combo");
    list.onChange = count("list"), date.onChange = count("date");
    options.onChange = count("options");
    show();
    return options.bind(*this, {"optA", "optB", "optC"}) &&
           tabs.addPage("General", {"cbo", "lst"}) &&
           tabs.addPage("Dates", {"dtp", "optA", "optB", "optC"}) &&
           !tabs.addPage("Misspelt", {"optA", "optX"});
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestForm"; }
  bool onCreate() override {
    addControls({tabControl("tabs", 10, 5, 5, 390, 290), comboBox("cbo", 11, 20, 40, 150, 120),
                 listBox("lst", 12, 20, 80, 150, 100), datePicker("dtp", 13, 20, 40, 150, 24),
                 optionButton("optA", 14, "A", 20, 80, 60, 20, true),
                 optionButton("optB", 15, "B", 20, 100, 60, 20),
                 optionButton("optC", 16, "C", 20, 120, 60, 20)});
    return true;
  }
};

void clickAt(HWND h, const RECT& r, WPARAM keys = 0) {
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
  SendMessageW(h, WM_LBUTTONUP, keys, at);
}

std::string stateOf(Form& f, const std::string& control) {
  if (control == "tabs")
    return std::to_string(f.tabs.selected()) + (f.combo.visible() ? " general" : "") +
           (f.date.visible() ? " dates" : "");
  if (control == "combo") return f.combo.selectedText();
  if (control == "options") return std::to_string(f.options.chosen());
  std::string s;
  for (size_t i : control == "list" ? f.list.selectedIndexes() : std::vector<size_t>{})
    s += std::to_string(i);
  DateTime d = f.date.value();  // the date's time of day is always 0:00:00
  if (control == "date")
    s = std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) +
        (d.hour || d.minute || d.second ? " with a time" : "");
  return s;
}

TEST(Controls, ChangesByCodeAndByUserCallTheHandlerOncePerChange) {
  Form f;
  ASSERT_TRUE(f.create());
  EXPECT_EQ(std::to_string(f.tabs.pageCount()) + stateOf(f, "tabs"), "20 general");
  RECT r{};
  auto clickTab = [&](int page) {
    TabCtrl_GetItemRect(f.tabs.hwnd(), page, &r);
    clickAt(f.tabs.hwnd(), r);
  };
  auto ctrlClickItem = [&](int item) {
    SendMessageW(f.list.hwnd(), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
    clickAt(f.list.hwnd(), r, MK_CONTROL);
  };
  auto dateNotice = [&] {  // as the control sends it on a user's change
    NMHDR hdr{f.date.hwnd(), 13, DTN_DATETIMECHANGE};
    SendMessageW(f.hwnd(), WM_NOTIFY, 13, reinterpret_cast<LPARAM>(&hdr));
  };
  // The control, what is done to it, its state and its handler's calls so far.
  std::tuple<std::string, std::function<void()>, const char*, int> steps[] = {
      {"tabs", [&] { f.tabs.select(1); }, "1 dates", 1},
      {"tabs", [&] { f.tabs.select(1), f.tabs.select(5); }, "1 dates", 1},
      {"tabs", [&] { clickTab(0); }, "0 general", 2},
      {"combo", [&] { f.combo.select(1); }, "Beta", 1},
      {"combo", [&] { EXPECT_TRUE(f.combo.selectText("gamma")); }, "Gamma", 2},
      {"combo", [&] { EXPECT_FALSE(f.combo.selectText("Delta")); f.combo.select(3); }, "Gamma", 2},
      {"combo", [&] { SendMessageW(f.combo.hwnd(), WM_KEYDOWN, VK_UP, 0); }, "Beta", 3},
      {"list", [&] { f.list.select(1), f.list.select(3); }, "13", 2},
      {"list", [&] { f.list.select(1, false), f.list.select(3); }, "3", 3},
      {"list", [&] { ctrlClickItem(0); }, "03", 4},
      {"options", [&] { f.options.choose(2); }, "2", 1},
      {"options", [&] { f.options.option(0).click(); }, "0", 2},
      {"options", [&] { f.options.option(0).click(), f.options.choose(3); }, "0", 2},
      {"date", [&] { EXPECT_TRUE(f.date.setValue({2024, 2, 29, 10, 11, 12})); }, "2024-2-29", 1},
      {"date", [&] { EXPECT_FALSE(f.date.setValue({2023, 2, 29})); }, "2024-2-29", 1},
      {"date", [&] { f.date.setValue({1999, 12, 31}), dateNotice(); }, "1999-12-31", 3}};
  for (const auto& [control, act, state, changes] : steps) {
    act();
    EXPECT_EQ(stateOf(f, control) + " " + std::to_string(f.changes[control]),
              state + (" " + std::to_string(changes))) << control;
  }
  EXPECT_EQ(SendMessageW(f.options.option(2).hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

class Tool : public ToolWindowOf<Tool> {
 public:
  int closes = 0;
  int scan(int closeAt) {  // a long loop, closed by the close box at the step given
    Loop loop(*this);
    int n = 0;
    for (; n < 1000 && !loop.stopped(); ++n) {
      if (n == closeAt) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      EventPump::dispatchPending();
    }
    return n;
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestTool"; }
  bool build(HWND owner) override {
    return create({"tool", 200, 100, WS_OVERLAPPEDWINDOW, 0, owner});
  }
  bool onClose() override { return ++closes, true; }
};

TEST(ToolWindow, ClosedDuringItsLoopStopsTheLoopThenCloses) {
  Tool& tool = Tool::instance();
  ASSERT_TRUE(tool.open());
  EXPECT_EQ(tool.scan(10), 11) << "the loop stops at the close";
  EXPECT_TRUE(tool.isOpen() && tool.closes == 0) << "closed only after the loop returned";
  EXPECT_TRUE(test::pumpUntil([&] { return !tool.isOpen(); }) && tool.closes == 1);
  ASSERT_TRUE(tool.open());  // again, with the stop flag clear for its next loop
  EXPECT_EQ(tool.scan(-1), 1000);
  tool.destroy();
}

}  // namespace
}  // namespace glenvask
