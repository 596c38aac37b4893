#include "win/controls.h"

#include <commctrl.h>

#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {

std::string windowText(HWND h) {
  if (!h) return {};
  int n = GetWindowTextLengthW(h);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, buf.data(), n + 1);
  buf.resize(static_cast<size_t>(n > 0 ? n : 0));
  return utf8(buf);
}

void Control::bind(Window& parent, std::string_view name) {
  h_ = parent.child(name);
  if (h_) parent.route(h_, this);
}

void Control::setText(std::string_view text) {
  if (h_) SetWindowTextW(h_, wide(text).c_str());
}

bool Control::enabled() const { return h_ && IsWindowEnabled(h_); }
void Control::setEnabled(bool on) {
  if (h_) EnableWindow(h_, on);
}
bool Control::visible() const { return h_ && (GetWindowLongPtrW(h_, GWL_STYLE) & WS_VISIBLE); }
void Control::setVisible(bool on) {
  if (h_) ShowWindow(h_, on ? SW_SHOWNA : SW_HIDE);
}

void Button::click() {
  if (!h_ || !IsWindowEnabled(h_)) return;
  // A click toggles an automatic check box, then tells the parent.
  LONG_PTR style = GetWindowLongPtrW(h_, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_AUTOCHECKBOX) {
    bool on = SendMessageW(h_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageW(h_, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
  }
  HWND parent = GetParent(h_);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h_), BN_CLICKED),
               reinterpret_cast<LPARAM>(h_));
}

int CheckBox::value() const {
  return h_ && SendMessageW(h_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}
void CheckBox::setValue(int v) {
  if (h_) SendMessageW(h_, BM_SETCHECK, v == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ProgressBar::setRange(int min, int max) {
  if (h_) SendMessageW(h_, PBM_SETRANGE32, min, max);
}
int ProgressBar::min() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETRANGE, TRUE, 0)) : 0;
}
int ProgressBar::max() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETRANGE, FALSE, 0)) : 0;
}
int ProgressBar::value() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETPOS, 0, 0)) : 0;
}
void ProgressBar::setValue(int v) {
  if (h_) SendMessageW(h_, PBM_SETPOS, v, 0);
}

}  // namespace glenvask
