// The shape of the tool windows that are one list with buttons below it (startup programs,
// uninstall entries, file associations): the frame of tools/toollist.h with a table of
// buttons.
#pragma once

#include <windows.h>

#include <vector>

#include "tools/toollist.h"
#include "win/controls.h"

namespace glenvask {

struct ListToolButton {
  const char* name;  // "cmdDelete"
  int id;
  const char* caption;
};

struct ListToolSpec {
  const wchar_t* windowClass;
  ListFrameSpec frame;  // sortable: each header click toggles the order
  std::vector<ListToolButton> buttons;
};

class ListToolWindow : public ListFrameWindow {
 public:
  // The button of that name (as the window's table gives it).
  Button& button(const char* name);

 protected:
  explicit ListToolWindow(ListToolSpec spec)
      : ListFrameWindow(spec.frame),
        windowClass_(spec.windowClass),
        spec_(std::move(spec.buttons)) {}

  // After the controls are made: fill the list (or start a timer that does).
  virtual void Form_Load() = 0;
  // A click on one of the buttons, by id.
  virtual void onButton(int id) = 0;

  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool) override;
  const wchar_t* className() const override { return windowClass_; }

 private:
  const wchar_t* windowClass_;
  std::vector<ListToolButton> spec_;
  std::vector<Button> buttons_;
};

}  // namespace glenvask
