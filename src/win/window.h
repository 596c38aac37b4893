// The window base of the UI kit: a C++ object owns its HWND, messages go to virtual
// handlers, and named child controls are created from a table.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/handle.h"

namespace glenvask {

class Control;

// One child control of a window's layout table.
struct ControlSpec {
  const char* name;      // the control's name, as handlers and tests know it
  const wchar_t* cls;    // window class: WC_BUTTONW, WC_STATICW, ...
  int id;
  const char* text;
  int x, y, w, h;        // in 96-dpi pixels of the client area
  DWORD style = 0;       // added to WS_CHILD | WS_VISIBLE
  DWORD exStyle = 0;
};

ControlSpec checkBox(const char* name, int id, const char* text, int x, int y, int w, int h);
ControlSpec button(const char* name, int id, const char* text, int x, int y, int w, int h,
                   DWORD style = 0);
ControlSpec label(const char* name, int id, const char* text, int x, int y, int w, int h,
                  DWORD style = 0);
ControlSpec groupBox(const char* name, int id, const char* text, int x, int y, int w, int h);
ControlSpec editBox(const char* name, int id, const char* text, int x, int y, int w, int h,
                    DWORD style = 0);
// A drop-down list (no typing); h is the height with the list dropped down.
ControlSpec comboBox(const char* name, int id, int x, int y, int w, int h);
// A list box where several items can be selected (Ctrl and Shift clicks).
ControlSpec listBox(const char* name, int id, int x, int y, int w, int h);
ControlSpec datePicker(const char* name, int id, int x, int y, int w, int h);
// An option button; the first of each group starts it, and the options of one group follow
// each other in the table.
ControlSpec optionButton(const char* name, int id, const char* text, int x, int y, int w, int h,
                         bool startsGroup = false);
// A tab strip; its pages' controls are its siblings, placed over it (see TabControl). Once it
// has pages it lies below them, and so comes last in the Tab key's order.
ControlSpec tabControl(const char* name, int id, int x, int y, int w, int h);

struct WindowSpec {
  std::string title;
  int width = 400, height = 300;  // client size, 96-dpi pixels
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  HMENU menu = nullptr;  // the window takes ownership, whether or not create succeeds
  HICON icon = nullptr;
};

// The frame of a dialog: a caption with the close box, a dialog border, owned by the window
// given; the client area of that size.
WindowSpec dialogFrame(std::string title, int width, int height, HWND owner);

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool isOpen() const { return hwnd_ != nullptr; }

  bool create(const WindowSpec& spec);
  void show(int cmd = SW_SHOW);
  void hide() { show(SW_HIDE); }
  bool visible() const;
  std::string text() const;
  void setText(std::string_view text);

  // Closes as the close box does. While a loop of this window runs (see BusyScope) the
  // close waits for the loop's end, so the loop never works on a destroyed window.
  void close();
  void destroy();

  // A named child of the layout table, or of a later addControl.
  HWND child(std::string_view name) const;
  const std::vector<std::string>& childNames() const { return childOrder_; }
  HWND addControl(const ControlSpec& spec);
  // Routes the WM_NOTIFY and WM_COMMAND messages of a child to its wrapper.
  void route(HWND child, Control* control);

  // Modal show: the owner is disabled and a nested loop runs until endModal.
  int runModal(HWND owner);
  void beginModal(HWND owner);
  void endModal(int result);
  bool modalEnded() const { return modalEnded_; }
  int finishModal();
  bool isModal() const { return modalOwner_ != nullptr || inModal_; }
  // Takes the window off the screen: a modal one ends its loop with IDCANCEL, any other is
  // destroyed.
  void dismiss();

  // Marks a long loop of this window: close requests wait until the last scope ends.
  class BusyScope {
   public:
    explicit BusyScope(Window& w);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    Window& w_;
  };
  bool closePending() const { return closePending_; }

  int scale(int px) const;  // 96-dpi pixels to the window's

 protected:
  virtual const wchar_t* className() const = 0;
  virtual bool onCreate() { return true; }
  virtual void onCommand(int id, int code, HWND ctl) {}
  virtual LRESULT onNotify(NMHDR* hdr) { return 0; }
  virtual void onTimer(UINT_PTR id) {}
  virtual bool onClose() { return true; }  // false keeps the window open
  // A close asked for while a loop of this window runs; the close itself follows the loop.
  virtual void onCloseWhileBusy() {}
  virtual void onDestroy() {}
  virtual void onContextMenu(HWND from, POINT screen) {}
  // The client area's new size (never called for a minimize): lay the controls out here.
  virtual void onSize(int width, int height, bool maximized) {}
  // Any other message; nothing means the default handling.
  virtual std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) { return std::nullopt; }

  void addControls(const ControlSpec* specs, size_t count);
  template <size_t N>
  void addControls(const ControlSpec (&specs)[N]) { addControls(specs, N); }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dispatchUnsafe(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  std::map<std::string, HWND, std::less<>> children_;
  std::vector<std::string> childOrder_;
  std::map<HWND, Control*> routes_;
  int busy_ = 0;
  bool closePending_ = false;
  HWND modalOwner_ = nullptr;
  bool inModal_ = false;
  bool modalEnded_ = false;
  int modalResult_ = 0;
  MenuHandle menu_;  // destroyed with the window; here when no window took it
};

// The one process-wide instance of a window class, made on first use.
template <class W>
W& soleInstance() {
  static W window;
  return window;
}

// That instance, loaded (created) when it is not open; one still ending its modal show is
// not loaded again.
template <class W>
W& loadedInstance() {
  W& window = soleInstance<W>();
  if (!window.isOpen() && !window.isModal()) window.load();
  return window;
}

// The message font of the system, shared by every control.
HFONT uiFont();

}  // namespace glenvask
