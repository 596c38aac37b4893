#include "win/window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <set>

#include "win/controls.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

int dpi() {
  static int value = [] {
    HDC dc = GetDC(nullptr);
    int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return d > 0 ? d : 96;
  }();
  return value;
}

bool registerClass(const wchar_t* name, WNDPROC proc) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return true;
  // The common controls the kit makes (the date picker is not among the basic classes).
  [[maybe_unused]] static const bool controls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(name);
  return true;
}

}  // namespace

HFONT uiFont() {
  static GdiHandle font = [] {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    HFONT f = nullptr;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
      f = CreateFontIndirectW(&m.lfMessageFont);
    return GdiHandle(f);
  }();
  return font ? static_cast<HFONT>(font.get())
              : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

ControlSpec checkBox(const char* name, int id, const char* text, int x, int y, int w, int h) {
  return {name, WC_BUTTONW, id, text, x, y, w, h, BS_AUTOCHECKBOX | WS_TABSTOP};
}
ControlSpec button(const char* name, int id, const char* text, int x, int y, int w, int h,
                   DWORD style) {
  return {name, WC_BUTTONW, id, text, x, y, w, h, BS_PUSHBUTTON | WS_TABSTOP | style};
}
ControlSpec label(const char* name, int id, const char* text, int x, int y, int w, int h,
                  DWORD style) {
  return {name, WC_STATICW, id, text, x, y, w, h, SS_LEFT | SS_NOPREFIX | style};
}
ControlSpec groupBox(const char* name, int id, const char* text, int x, int y, int w, int h) {
  return {name, WC_BUTTONW, id, text, x, y, w, h, BS_GROUPBOX};
}
ControlSpec editBox(const char* name, int id, const char* text, int x, int y, int w, int h,
                    DWORD style) {
  return {name, WC_EDITW, id, text, x, y, w, h, ES_AUTOHSCROLL | WS_TABSTOP | style,
          WS_EX_CLIENTEDGE};
}
ControlSpec comboBox(const char* name, int id, int x, int y, int w, int h) {
  return {name, WC_COMBOBOXW, id, "", x, y, w, h, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
}
ControlSpec listBox(const char* name, int id, int x, int y, int w, int h) {
  return {name, WC_LISTBOXW, id, "", x, y, w, h,
          LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
          WS_EX_CLIENTEDGE};
}
ControlSpec datePicker(const char* name, int id, int x, int y, int w, int h) {
  return {name, DATETIMEPICK_CLASSW, id, "", x, y, w, h, DTS_SHORTDATEFORMAT | WS_TABSTOP};
}
ControlSpec optionButton(const char* name, int id, const char* text, int x, int y, int w, int h,
                         bool startsGroup) {
  return {name, WC_BUTTONW, id, text, x, y, w, h,
          BS_AUTORADIOBUTTON | WS_TABSTOP | (startsGroup ? WS_GROUP : 0u)};
}
ControlSpec tabControl(const char* name, int id, int x, int y, int w, int h) {
  return {name, WC_TABCONTROLW, id, "", x, y, w, h, WS_CLIPSIBLINGS | WS_TABSTOP};
}

WindowSpec dialogFrame(std::string title, int width, int height, HWND owner) {
  WindowSpec spec;
  spec.title = std::move(title);
  spec.width = width;
  spec.height = height;
  spec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  spec.exStyle = WS_EX_DLGMODALFRAME;
  spec.owner = owner;
  return spec;
}

Window::~Window() { destroy(); }

int Window::scale(int px) const { return MulDiv(px, dpi(), 96); }

bool Window::create(const WindowSpec& spec) {
  if (hwnd_) {
    MenuHandle unused(spec.menu);  // the window has its menu already
    return true;
  }
  if (!registerClass(className(), &Window::proc)) return false;
  RECT r{0, 0, scale(spec.width), scale(spec.height)};
  AdjustWindowRectEx(&r, spec.style, spec.menu != nullptr, spec.exStyle);
  menu_.reset(spec.menu);
  HWND h = CreateWindowExW(spec.exStyle | WS_EX_CONTROLPARENT, className(),
                           wide(spec.title).c_str(), spec.style, CW_USEDEFAULT, CW_USEDEFAULT,
                           r.right - r.left, r.bottom - r.top, spec.owner, spec.menu,
                           GetModuleHandleW(nullptr), this);
  if (!h) {
    menu_.reset();  // not destroyed with a window: none was made, or it never got the menu
    return false;
  }
  // Some window managers (and none at all) give a frame other than the one asked for:
  // make the client area the size the layout needs.
  RECT client{};
  GetClientRect(h, &client);
  int dw = scale(spec.width) - (client.right - client.left);
  int dh = scale(spec.height) - (client.bottom - client.top);
  if (dw != 0 || dh != 0) {
    RECT w{};
    GetWindowRect(h, &w);
    SetWindowPos(h, nullptr, 0, 0, w.right - w.left + dw, w.bottom - w.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (spec.icon) {
    SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.icon));
    SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.icon));
  }
  return hwnd_ != nullptr;
}

void Window::show(int cmd) {
  if (hwnd_) ShowWindow(hwnd_, cmd);
}

bool Window::visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

std::string Window::text() const { return windowText(hwnd_); }

void Window::setText(std::string_view text) {
  if (hwnd_) SetWindowTextW(hwnd_, wide(text).c_str());
}

void Window::close() {
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND Window::child(std::string_view name) const {
  auto it = children_.find(name);
  return it == children_.end() ? nullptr : it->second;
}

HWND Window::addControl(const ControlSpec& s) {
  if (!hwnd_) return nullptr;
  HWND h = CreateWindowExW(s.exStyle, s.cls, wide(s.text ? s.text : "").c_str(),
                           WS_CHILD | WS_VISIBLE | s.style, scale(s.x), scale(s.y), scale(s.w),
                           scale(s.h), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h) return nullptr;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont()), FALSE);
  std::string name = s.name;
  if (!children_.count(name)) childOrder_.push_back(name);
  children_[name] = h;
  return h;
}

void Window::addControls(const ControlSpec* specs, size_t count) {
  for (size_t i = 0; i < count; ++i) addControl(specs[i]);
}

void Window::route(HWND child, Control* control) {
  if (control)
    routes_[child] = control;
  else
    routes_.erase(child);
}

void Window::beginModal(HWND owner) {
  modalOwner_ = owner;
  inModal_ = true;
  modalEnded_ = false;
  modalResult_ = 0;
  if (owner) EnableWindow(owner, FALSE);
  show(SW_SHOW);
  if (hwnd_) SetForegroundWindow(hwnd_);
}

void Window::endModal(int result) {
  modalResult_ = result;
  modalEnded_ = true;
  if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void Window::dismiss() {
  if (!hwnd_) return;
  if (isModal())
    endModal(IDCANCEL);
  else
    destroy();
}

int Window::finishModal() {
  HWND owner = modalOwner_;
  if (owner) EnableWindow(owner, TRUE);
  destroy();
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  modalOwner_ = nullptr;
  inModal_ = false;
  return modalResult_;
}

int Window::runModal(HWND owner) {
  beginModal(owner);
  MSG msg;
  while (!modalEnded_ && hwnd_) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {  // WM_QUIT: leave it for the outer loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (r < 0) break;
    dispatchMessage(msg);
  }
  return finishModal();
}

Window::BusyScope::BusyScope(Window& w) : w_(w) { ++w_.busy_; }

Window::BusyScope::~BusyScope() {
  if (--w_.busy_ == 0 && w_.closePending_ && w_.hwnd_) {
    w_.closePending_ = false;
    PostMessageW(w_.hwnd_, WM_CLOSE, 0, 0);
  }
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT r = self->dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->children_.clear();
    self->childOrder_.clear();
    self->routes_.clear();
    self->menu_.release();  // destroyed with the window
    if (self->inModal_) self->modalEnded_ = true;
  }
  return r;
}

LRESULT Window::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // No C++ exception may cross into the system's code.
  try {
    return dispatchUnsafe(msg, wp, lp);
  } catch (const std::exception& e) {
    OutputDebugStringW(wide(std::string("unhandled exception: ") + e.what()).c_str());
  } catch (...) {
    OutputDebugStringW(L"unhandled exception");
  }
  return 0;
}

LRESULT Window::dispatchUnsafe(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return onCreate() ? 0 : -1;
    case WM_COMMAND: {
      HWND ctl = reinterpret_cast<HWND>(lp);
      if (ctl) {
        auto it = routes_.find(ctl);
        if (it != routes_.end() && it->second->onCommand(HIWORD(wp))) return 0;
      }
      onCommand(LOWORD(wp), HIWORD(wp), ctl);
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      auto it = routes_.find(hdr->hwndFrom);
      if (it != routes_.end()) {
        LRESULT result = 0;
        if (it->second->onNotify(hdr, result)) return result;
      }
      return onNotify(hdr);
    }
    case WM_TIMER:
      onTimer(wp);
      return 0;
    case WM_CONTEXTMENU:
      onContextMenu(reinterpret_cast<HWND>(wp), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_CLOSE:
      if (busy_ > 0) {  // closed once the loop has returned
        closePending_ = true;
        onCloseWhileBusy();
        return 0;
      }
      if (!onClose()) return 0;
      if (inModal_)
        endModal(IDCANCEL);
      else
        DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) onSize(LOWORD(lp), HIWORD(lp), wp == SIZE_MAXIMIZED);
      break;
    default:
      break;
  }
  if (auto r = onMessage(msg, wp, lp)) return *r;
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace glenvask
