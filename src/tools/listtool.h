// The shape of the tool windows that are one list with buttons below it (startup programs,
// uninstall entries, file associations): a heading, the list, a status line and a row of
// buttons, laid out again when the window is sized.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "tools/toollist.h"
#include "win/controls.h"
#include "win/toolwindow.h"

namespace glenvask {

struct ListToolButton {
  const char* name;  // "cmdDelete"
  int id;
  const char* caption;
};

struct ListToolSpec {
  const char* caption;
  const char* heading;
  const wchar_t* windowClass;
  const char* listName;
  std::vector<ListColumn> columns;
  bool checkBoxes;
  int listId, statusId, headingId;
  const char* statusText;  // the status line before the list is filled
  std::vector<ListToolButton> buttons;
  int width = 640, height = 420;
};

class ListToolWindow : public ToolWindow {
 public:
  ToolListView& list() { return list_; }
  Label Label1, lblStatus;
  // The button of that name (as the window's table gives it).
  Button& button(const char* name);

 protected:
  explicit ListToolWindow(ListToolSpec spec) : spec_(std::move(spec)) {}
  const ListToolSpec& spec() const { return spec_; }

  // After the controls are made: fill the list (or start a timer that does).
  virtual void Form_Load() = 0;
  // A click on one of the buttons, by id.
  virtual void onButton(int id) = 0;

  bool build(HWND owner) override;
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool) override;
  const wchar_t* className() const override { return spec_.windowClass; }

 private:
  ListToolSpec spec_;
  ToolListView list_;
  std::vector<Button> buttons_;
};

}  // namespace glenvask
