// Wrappers that read and write a child control in plain terms, used alike by handlers and
// tests. A wrapper does not own its control: the parent window destroys it.
//
// A wrapper that has a change handler (onChange) calls it for a change made by code exactly
// as for a user's: once per change, and only when something changed. Filling a control with
// items calls no handler.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <climits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/datetime.h"

namespace glenvask {

class Window;

std::string windowText(HWND h);

class Control {
 public:
  Control() = default;
  virtual ~Control() = default;
  // Binds the wrapper to a named child of the window (after the window made its controls);
  // the window then routes the child's notices here.
  void bind(Window& parent, std::string_view name);
  void attach(HWND h) { h_ = h; }
  HWND hwnd() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

  std::string text() const { return windowText(h_); }
  void setText(std::string_view text);
  bool enabled() const;
  void setEnabled(bool on);
  bool visible() const;
  void setVisible(bool on);

  // Messages the parent routes here (see Window::route); true when handled.
  virtual bool onCommand(int code) { return false; }
  virtual bool onNotify(NMHDR* hdr, LRESULT& result) { return false; }

 protected:
  HWND h_ = nullptr;
  Window* parent_ = nullptr;  // set by bind
};

// A menu bar of one drop-down menu: its caption and its items in order, an id of 0 making a
// separator. The caller owns the menu (WindowSpec::menu takes it).
HMENU oneMenuBar(const wchar_t* caption,
                 std::initializer_list<std::pair<int, const wchar_t*>> items);

// Lets go of the controls of a window that is going (the window destroys them).
void detachAll(std::initializer_list<Control*> controls);

// Lays the controls out in a row that ends at `right` (pixels of the parent), each width by
// height, one gap apart, and starting no further left than minLeft; gives the row's left edge.
int placeRow(const std::vector<Control*>& controls, int right, int top, int width, int height,
             int gap, int minLeft = INT_MIN);

class Button : public Control {
 public:
  // As a user's click: an automatic check box toggles, an automatic option button is
  // checked, then the parent is told. Nothing when the button is disabled.
  void click();
};

class CheckBox : public Button {
 public:
  int value() const;  // 0 clear, 1 checked
  void setValue(int v);
  bool checked() const { return value() == 1; }
  void setChecked(bool on) { setValue(on ? 1 : 0); }
};

class Label : public Control {};

class ProgressBar : public Control {
 public:
  void setRange(int min, int max);
  int min() const;
  int max() const;
  int value() const;
  void setValue(int v);
};

class EditBox : public Control {};

// What a drop-down list and a list box share: a fixed list of item texts, and the handler
// told of a change of selection.
class ChoiceList : public Control {
 public:
  void setItems(const std::vector<std::string>& items);  // none selected afterwards
  void clear() { setItems({}); }
  size_t count() const;
  std::string itemText(size_t i) const;  // "" out of range

  std::function<void()> onChange;
  bool onCommand(int code) override;

 protected:
  explicit ChoiceList(bool combo) : combo_(combo) {}

 private:
  bool combo_;
};

// A drop-down list: one item chosen from a fixed list.
class ComboBox : public ChoiceList {
 public:
  ComboBox() : ChoiceList(true) {}
  int selected() const;  // -1 when none
  std::string selectedText() const { return selected() < 0 ? "" : itemText(selected()); }
  // Selects as a user's choice does; -1 selects none, another index out of range nothing.
  void select(int i);
  // Selects the item of that text (case ignored); false, and nothing changes, if none.
  bool selectText(std::string_view text);
};

// A list box; with the listBox() style several items can be selected at once, otherwise one.
class ListBox : public ChoiceList {
 public:
  ListBox() : ChoiceList(false) {}
  std::vector<size_t> selectedIndexes() const;  // in list order
  bool isSelected(size_t i) const;
  // Selects or deselects an item as a Ctrl click does (in a single-selection list, selecting
  // one deselects the other). Out of range: nothing.
  void select(size_t i, bool on = true);

 private:
  bool multi() const;
};

// A date picker; the date only, the time of day is not used.
class DatePicker : public Control {
 public:
  DateTime value() const;  // time of day 0:00:00; all zero when unbound
  // Sets the date (its time of day is ignored). An impossible date, or one the control
  // cannot show, gives false and changes nothing.
  bool setValue(const DateTime& date);

  std::function<void()> onChange;
  bool onNotify(NMHDR* hdr, LRESULT& result) override;

 private:
  bool setting_ = false;
};

// A group of option buttons, of which one is chosen.
class OptionGroup {
 public:
  OptionGroup() = default;
  OptionGroup(const OptionGroup&) = delete;
  OptionGroup& operator=(const OptionGroup&) = delete;

  // Binds the named option buttons of the window, in order; false when a name is not one of
  // the window's controls.
  bool bind(Window& parent, std::initializer_list<std::string_view> names);
  size_t count() const { return options_.size(); }
  Button& option(size_t i) { return *options_.at(i); }
  int chosen() const;  // -1 when none
  // Chooses as a user's click does: that option checked, the others cleared. Out of range:
  // nothing.
  void choose(int i);

  std::function<void()> onChange;

 private:
  struct Option : Button {
    OptionGroup* group = nullptr;
    int index = 0;
    bool onCommand(int code) override;
  };
  std::vector<std::unique_ptr<Option>> options_;
  int last_ = -1;  // the choice the handler was last told of
};

// A tab strip whose pages are named controls of the same window, placed over the strip.
// Every page switch goes through select(), a user's click included (a selection made by code
// sends no notice of its own): it shows that page's controls, hides the other pages' and calls
// onChange when the page changed. The switch owns the visibility of the pages' controls.
class TabControl : public Control {
 public:
  // After bind. The first page added is shown; a later page's controls are hidden. False,
  // and no page added, when a name is not one of the window's controls.
  bool addPage(std::string_view caption, std::initializer_list<std::string_view> controls);
  bool addPage(std::string_view caption, const std::vector<std::string>& controls);
  size_t pageCount() const { return pages_.size(); }
  std::string caption(size_t i) const;  // "" out of range
  int selected() const { return shown_; }  // -1 before the first page
  void select(size_t i);  // out of range: nothing

  std::function<void()> onChange;
  bool onNotify(NMHDR* hdr, LRESULT& result) override;

 private:
  struct Page {
    std::string caption;
    std::vector<HWND> controls;
  };
  void showPage();
  std::vector<Page> pages_;
  int shown_ = -1;
};

}  // namespace glenvask
