// Wrappers that read and write a child control in plain terms, used alike by handlers and
// tests. A wrapper does not own its control: the parent window destroys it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace glenvask {

class Window;

std::string windowText(HWND h);

class Control {
 public:
  Control() = default;
  virtual ~Control() = default;
  // Binds the wrapper to a named child of the window (after the window made its controls).
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
};

class Button : public Control {
 public:
  void click();  // as a user's click: nothing when the button is disabled
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

}  // namespace glenvask
