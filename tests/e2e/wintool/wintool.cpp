// The end-to-end tests' hand on the program's windows: a Windows process of the same prefix that
// finds a top-level window by its class and uses it as a person would (menu commands, buttons,
// check boxes, edits, tabs, combo and list boxes, list-view rows, the program's message boxes),
// and holds a file open the way another program would. Run it without arguments for the verbs.
//
// A CONTROL is named by its id (digits) or by its caption ('&' and case ignored). Output is
// plain UTF-8 lines on stdout; a list-view row is one line of tab-separated cells with the
// check state first ("1", "0", or "-" for a list without check boxes). Exit codes: 0 done,
// 1 not found or failed (the reason on stderr), 2 usage.
//
// Input is posted, as a person's is, so a command that opens a modal window does not hold the
// tool. Messages whose pointers the system does not carry between processes (list view, tab
// control) point into memory allocated in the window's own process.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::wstring>;

constexpr const wchar_t* kMessageBoxTitle = L"Tarvella";
constexpr DWORD kAnswerMs = 5000;  // how long a window is given to answer or to react
constexpr int kTextMax = 4096;

int fail(const std::wstring& why) {
  std::fwprintf(stderr, L"wintool: %ls\n", why.c_str());
  return 1;
}

void printLine(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                      nullptr, nullptr);
  bytes += '\n';
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::optional<long> number(const std::wstring& s) {
  if (s.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  long v = std::wcstol(s.c_str(), &end, 10);
  if (*end) return std::nullopt;
  return v;
}

std::optional<DWORD> millis(const std::wstring& s) {
  auto v = number(s);
  if (!v || *v < 0) return std::nullopt;
  return static_cast<DWORD>(*v);
}

// Polls until the condition holds or the time is up.
template <class F>
bool waitUntil(DWORD ms, F condition) {
  ULONGLONG end = GetTickCount64() + ms;
  while (!condition()) {
    if (GetTickCount64() > end) return condition();
    Sleep(50);
  }
  return true;
}

// The visible top-level window of the class, else any of that class.
HWND findTop(const std::wstring& cls, const wchar_t* title = nullptr) {
  HWND any = nullptr;
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, cls.c_str(), title));) {
    if (IsWindowVisible(h)) return h;
    if (!any) any = h;
  }
  return any;
}

HWND findVisible(const std::wstring& cls, const wchar_t* title = nullptr) {
  HWND h = findTop(cls, title);
  return h && IsWindowVisible(h) ? h : nullptr;
}

std::wstring className(HWND h) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return cls;
}

bool isClass(HWND h, const wchar_t* cls) { return lstrcmpiW(className(h).c_str(), cls) == 0; }

std::wstring withoutAmpersands(std::wstring s) {
  std::erase(s, L'&');
  return s;
}

// A child (at any depth) of the window by id or by caption.
HWND findControl(HWND top, const std::wstring& ref) {
  struct Search {
    std::optional<long> id;
    std::wstring caption;
    HWND found = nullptr;
  } search{number(ref), withoutAmpersands(ref)};
  EnumChildWindows(
      top,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        bool match;
        if (s->id) {
          match = GetDlgCtrlID(h) == *s->id;
        } else {
          wchar_t text[256] = {};
          GetWindowTextW(h, text, 256);
          match = lstrcmpiW(withoutAmpersands(text).c_str(), s->caption.c_str()) == 0;
        }
        if (match) s->found = h;
        return !match;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message sent with a time limit: a window busy in a long loop does not hold the tool.
std::optional<LRESULT> send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, &result))
    return std::nullopt;
  return static_cast<LRESULT>(result);
}

std::wstring textOf(HWND h) {
  std::wstring text(kTextMax, L'\0');
  auto n = send(h, WM_GETTEXT, kTextMax, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n ? static_cast<size_t>(*n) : 0);
  return text;
}

void postClick(HWND h, UINT down, UINT up, POINT at) {
  LPARAM lp = MAKELPARAM(at.x, at.y);
  PostMessageW(h, down, MK_LBUTTON, lp);
  if (up) PostMessageW(h, up, 0, lp);
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Memory in the process that owns a window, for the messages whose structures stay there.
class Remote {
 public:
  Remote(HWND h, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      base_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~Remote() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;

  bool ok() const { return base_ != nullptr; }
  char* at(size_t offset) const { return base_ + offset; }
  bool write(const void* data, size_t n, size_t offset = 0) {
    return WriteProcessMemory(process_, at(offset), data, n, nullptr);
  }
  bool read(void* data, size_t n, size_t offset = 0) {
    return ReadProcessMemory(process_, at(offset), data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
};

// The window and control a verb names; the reason is reported when either is missing. A
// control that a person could not use (disabled) is refused, unless it is only read.
enum class Need { Window, Control, EnabledControl };

struct Target {
  HWND top = nullptr;
  HWND control = nullptr;
  int error = 0;
};

Target target(const Args& a, Need need = Need::EnabledControl) {
  Target t;
  t.top = findTop(a[0]);
  if (!t.top) {
    t.error = fail(L"no window of class " + a[0]);
    return t;
  }
  if (need == Need::Window) return t;
  t.control = findControl(t.top, a[1]);
  if (!t.control)
    t.error = fail(L"no control " + a[1] + L" in " + a[0]);
  else if (need == Need::EnabledControl && !IsWindowEnabled(t.control))
    t.error = fail(L"control " + a[1] + L" is disabled");
  return t;
}

// A list view's rows by number, each checked against the row count.
std::optional<std::vector<int>> rowNumbers(HWND list, const Args& a, size_t first) {
  auto count = send(list, LVM_GETITEMCOUNT);
  std::vector<int> rows;
  for (size_t i = first; i < a.size(); ++i) {
    auto n = number(a[i]);
    if (!count || !n || *n < 0 || *n >= *count) return std::nullopt;
    rows.push_back(static_cast<int>(*n));
  }
  return rows;
}

bool setRowState(Remote& mem, HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  return mem.write(&item, sizeof item) && send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                                               reinterpret_cast<LPARAM>(mem.at(0)));
}

// ---- the verbs ----

int waitWindow(const Args& a) {
  auto ms = millis(a[1]);
  if (!ms) return 2;
  return waitUntil(*ms, [&] { return findVisible(a[0]) != nullptr; }) ? 0 : 1;
}

int waitGone(const Args& a) {
  auto ms = millis(a[1]);
  if (!ms) return 2;
  return waitUntil(*ms, [&] { return findVisible(a[0]) == nullptr; }) ? 0 : 1;
}

int state(const Args& a) {
  Target t = target(a, Need::Window);
  if (t.error) return t.error;
  std::printf("iconic=%d visible=%d foreground=%d\n", IsIconic(t.top) ? 1 : 0,
              IsWindowVisible(t.top) ? 1 : 0, GetForegroundWindow() == t.top ? 1 : 0);
  return 0;
}

int minimize(const Args& a) {
  Target t = target(a, Need::Window);
  if (t.error) return t.error;
  ShowWindow(t.top, SW_MINIMIZE);
  return IsIconic(t.top) ? 0 : 1;
}

int closeWindow(const Args& a) {
  Target t = target(a, Need::Window);
  if (t.error) return t.error;
  return PostMessageW(t.top, WM_CLOSE, 0, 0) ? 0 : 1;
}

int hold(const Args& a) {
  auto ms = millis(a[1]);
  if (!ms) return 2;
  HANDLE f = CreateFileW(a[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return fail(L"cannot open " + a[0]);
  std::puts("holding");
  std::fflush(stdout);
  Sleep(*ms);
  CloseHandle(f);
  return 0;
}

int command(const Args& a) {
  auto id = number(a[1]);
  if (!id) return 2;
  Target t = target(a, Need::Window);
  if (t.error) return t.error;
  return PostMessageW(t.top, WM_COMMAND, MAKEWPARAM(*id, 0), 0) ? 0 : 1;
}

int click(const Args& a) {
  Target t = target(a);
  if (t.error) return t.error;
  return PostMessageW(t.control, BM_CLICK, 0, 0) ? 0 : 1;
}

int getText(const Args& a) {
  Target t = target(a, Need::Control);
  if (t.error) return t.error;
  printLine(textOf(t.control));
  return 0;
}

// An edit is typed into (select all, then replace), so it is modified and tells its parent;
// a combo box's edit likewise; other controls take the text as their caption.
int setText(const Args& a) {
  Target t = target(a);
  if (t.error) return t.error;
  HWND h = t.control;
  if (isClass(h, WC_COMBOBOXW)) h = FindWindowExW(h, nullptr, WC_EDITW, nullptr);
  if (!h) return fail(L"combo box " + a[1] + L" has no edit");
  const std::wstring& text = a[2];
  if (isClass(h, WC_EDITW)) {
    if (!send(h, EM_SETSEL, 0, -1) ||
        !send(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str())))
      return fail(L"the edit did not answer");
  } else if (!send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
    return fail(L"the control did not answer");
  }
  return textOf(h) == text ? 0 : fail(L"the text did not take");
}

int setCheck(const Args& a) {
  auto want = number(a[2]);
  if (!want || *want < 0 || *want > 2) return 2;
  Target t = target(a);
  if (t.error) return t.error;
  auto checked = [&] { return send(t.control, BM_GETCHECK).value_or(-1); };
  // A three-state box may take two clicks.
  for (int tries = 0; tries < 3 && checked() != *want; ++tries) {
    LRESULT before = checked();
    PostMessageW(t.control, BM_CLICK, 0, 0);
    waitUntil(kAnswerMs, [&] { return checked() != before; });
  }
  return checked() == *want ? 0 : fail(L"the box did not take the state");
}

// A click at the tab, so the control changes the page and sends its own notices.
int selectTab(const Args& a) {
  auto index = number(a[2]);
  if (!index) return 2;
  Target t = target(a);
  if (t.error) return t.error;
  auto count = send(t.control, TCM_GETITEMCOUNT);
  if (!count || *index < 0 || *index >= *count) return fail(L"no such tab");
  Remote mem(t.control, sizeof(RECT));
  RECT r{};
  if (!mem.ok() || !send(t.control, TCM_GETITEMRECT, *index, reinterpret_cast<LPARAM>(mem.at(0))) ||
      !mem.read(&r, sizeof r))
    return fail(L"cannot read the tab's place");
  postClick(t.control, WM_LBUTTONDOWN, WM_LBUTTONUP, centre(r));
  return waitUntil(kAnswerMs, [&] { return send(t.control, TCM_GETCURSEL) == *index; })
             ? 0
             : fail(L"the tab did not change");
}

// An item of a combo or list box by its text, else by its index.
std::optional<LRESULT> itemIndex(HWND box, UINT find, UINT count, const std::wstring& item) {
  auto i = send(box, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
  if (i && *i >= 0) return i;
  auto n = number(item);
  auto total = send(box, count);
  if (n && total && *n >= 0 && *n < *total) return *n;
  return std::nullopt;
}

// The parent hears of the choice as it hears of a user's.
void notifyParent(HWND control, WORD code) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

int selectCombo(const Args& a) {
  Target t = target(a);
  if (t.error) return t.error;
  auto i = itemIndex(t.control, CB_FINDSTRINGEXACT, CB_GETCOUNT, a[2]);
  if (!i) return fail(L"no item " + a[2]);
  if (send(t.control, CB_SETCURSEL, *i) != *i) return fail(L"the item was not selected");
  notifyParent(t.control, CBN_SELCHANGE);
  return 0;
}

// Several items for a multiple-selection box, one for any other.
int selectListBox(const Args& a) {
  Target t = target(a);
  if (t.error) return t.error;
  bool multiple = GetWindowLongPtrW(t.control, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  if (!multiple && a.size() != 3) return 2;
  if (multiple) send(t.control, LB_SETSEL, FALSE, -1);
  for (size_t k = 2; k < a.size(); ++k) {
    auto i = itemIndex(t.control, LB_FINDSTRINGEXACT, LB_GETCOUNT, a[k]);
    if (!i) return fail(L"no item " + a[k]);
    auto r = multiple ? send(t.control, LB_SETSEL, TRUE, *i) : send(t.control, LB_SETCURSEL, *i);
    if (!r || *r == LB_ERR) return fail(L"the item was not selected");
  }
  notifyParent(t.control, LBN_SELCHANGE);
  return 0;
}

int rows(const Args& a) {
  Target t = target(a, Need::Control);
  if (t.error) return t.error;
  HWND list = t.control;
  auto count = send(list, LVM_GETITEMCOUNT);
  auto header = send(list, LVM_GETHEADER);
  if (!count || !header) return fail(L"the list did not answer");
  int columns =
      static_cast<int>(send(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT).value_or(1));
  bool boxes = send(list, LVM_GETEXTENDEDLISTVIEWSTYLE).value_or(0) & LVS_EX_CHECKBOXES;
  Remote mem(list, sizeof(LVITEMW) + kTextMax * sizeof(wchar_t));
  if (!mem.ok()) return fail(L"cannot reach the list's process");
  wchar_t* remoteText = reinterpret_cast<wchar_t*>(mem.at(sizeof(LVITEMW)));
  std::wstring text(kTextMax, L'\0');
  for (int row = 0; row < *count; ++row) {
    std::wstring line = L"-";
    if (boxes) {
      auto s = send(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK).value_or(0);
      line = (s & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? L"1" : L"0";
    }
    for (int col = 0; col < std::max(columns, 1); ++col) {
      LVITEMW item{};
      item.iSubItem = col;
      item.pszText = remoteText;
      item.cchTextMax = kTextMax;
      if (!mem.write(&item, sizeof item)) return fail(L"cannot write to the list's process");
      auto n = send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(mem.at(0)));
      size_t len = n ? static_cast<size_t>(std::min<LRESULT>(*n, kTextMax - 1)) : 0;
      if (len && !mem.read(text.data(), len * sizeof(wchar_t), sizeof(LVITEMW)))
        return fail(L"cannot read from the list's process");
      std::wstring cell = text.substr(0, len);
      for (wchar_t& c : cell)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
      line += L'\t' + cell;
    }
    printLine(line);
  }
  return 0;
}

int selectRows(const Args& a) {
  Target t = target(a);
  if (t.error) return t.error;
  auto wanted = rowNumbers(t.control, a, 2);
  if (!wanted) return fail(L"no such row");
  Remote mem(t.control, sizeof(LVITEMW));
  if (!mem.ok()) return fail(L"cannot reach the list's process");
  const UINT mask = LVIS_SELECTED | LVIS_FOCUSED;
  if (!setRowState(mem, t.control, -1, 0, mask)) return fail(L"the list did not answer");
  for (size_t k = 0; k < wanted->size(); ++k)
    setRowState(mem, t.control, (*wanted)[k], k == 0 ? mask : LVIS_SELECTED, mask);
  if (!wanted->empty()) send(t.control, LVM_ENSUREVISIBLE, wanted->front(), FALSE);
  auto selected = send(t.control, LVM_GETSELECTEDCOUNT);
  return selected && *selected == static_cast<LRESULT>(wanted->size())
             ? 0
             : fail(L"the rows were not selected");
}

// The row is selected, then double-clicked where its text is.
int doubleClickRow(const Args& a) {
  if (int r = selectRows(a)) return r;
  HWND list = findControl(findTop(a[0]), a[1]);
  Remote mem(list, sizeof(RECT));
  RECT r{LVIR_LABEL, 0, 0, 0};
  if (!mem.ok() || !mem.write(&r, sizeof r) ||
      !send(list, LVM_GETITEMRECT, *number(a[2]), reinterpret_cast<LPARAM>(mem.at(0))) ||
      !mem.read(&r, sizeof r))
    return fail(L"cannot read the row's place");
  postClick(list, WM_LBUTTONDBLCLK, WM_LBUTTONUP, centre(r));
  return 0;
}

// The rows are selected, then Space is pressed in the list: their check boxes flip.
int toggleRows(const Args& a) {
  if (int r = selectRows(a)) return r;
  HWND list = findControl(findTop(a[0]), a[1]);
  PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
  return 0;
}

HWND waitMessageBox(DWORD ms) {
  HWND box = nullptr;
  waitUntil(ms, [&] { return (box = findVisible(L"#32770", kMessageBoxTitle)) != nullptr; });
  return box;
}

int messageBoxText(const Args& a) {
  auto ms = millis(a[0]);
  if (!ms) return 2;
  HWND box = waitMessageBox(*ms);
  if (!box) return fail(L"no message box");
  for (HWND h = nullptr; (h = FindWindowExW(box, h, WC_STATICW, nullptr));) {
    std::wstring text = textOf(h);
    if (!text.empty()) printLine(text);
  }
  return 0;
}

// A button by caption, by id, or by the id's name (IDYES...).
int messageBoxAnswer(const Args& a) {
  static const std::pair<const wchar_t*, int> kNames[] = {
      {L"IDOK", IDOK},       {L"IDCANCEL", IDCANCEL}, {L"IDABORT", IDABORT},
      {L"IDRETRY", IDRETRY}, {L"IDIGNORE", IDIGNORE}, {L"IDYES", IDYES},
      {L"IDNO", IDNO}};
  std::wstring ref = a[0];
  for (const auto& [name, id] : kNames)
    if (ref == name) ref = std::to_wstring(id);
  auto ms = millis(a[1]);
  if (!ms) return 2;
  HWND box = waitMessageBox(*ms);
  if (!box) return fail(L"no message box");
  HWND button = findControl(box, ref);
  if (!button) return fail(L"no button " + a[0]);
  PostMessageW(button, BM_CLICK, 0, 0);
  return waitUntil(kAnswerMs, [&] { return !IsWindow(box) || !IsWindowVisible(box); })
             ? 0
             : fail(L"the message box stayed");
}

struct Verb {
  const wchar_t* name;
  size_t minArgs, maxArgs;
  const char* args;
  const char* what;
  int (*run)(const Args&);
};

constexpr size_t kMany = 1000;

const Verb kVerbs[] = {
    {L"wait-window", 2, 2, "CLASS MS", "a visible window of the class within MS", waitWindow},
    {L"wait-gone", 2, 2, "CLASS MS", "no visible window of the class within MS", waitGone},
    {L"state", 1, 1, "CLASS", "prints \"iconic=0 visible=1 foreground=1\"", state},
    {L"minimize", 1, 1, "CLASS", "minimises the window", minimize},
    {L"close", 1, 1, "CLASS", "posts WM_CLOSE", closeWindow},
    {L"hold", 2, 2, "FILE MS", "holds FILE open without delete sharing for MS", hold},
    {L"command", 2, 2, "CLASS ID", "posts the menu command", command},
    {L"click", 2, 2, "CLASS CONTROL", "presses the button", click},
    {L"get-text", 2, 2, "CLASS CONTROL", "prints the control's text", getText},
    {L"set-text", 3, 3, "CLASS CONTROL TEXT", "types TEXT over the control's text", setText},
    {L"set-check", 3, 3, "CLASS CONTROL 0|1|2", "clicks the box to the state", setCheck},
    {L"select-tab", 3, 3, "CLASS CONTROL INDEX", "clicks the tab", selectTab},
    {L"select-combo", 3, 3, "CLASS CONTROL ITEM", "selects the item (text, else index)",
     selectCombo},
    {L"select-listbox", 3, kMany, "CLASS CONTROL ITEM...", "selects the items", selectListBox},
    {L"rows", 2, 2, "CLASS CONTROL", "prints every row of the list view", rows},
    {L"select-rows", 2, kMany, "CLASS CONTROL ROW...", "selects these rows alone", selectRows},
    {L"dblclick-row", 3, 3, "CLASS CONTROL ROW", "double-clicks the row", doubleClickRow},
    {L"toggle-rows", 3, kMany, "CLASS CONTROL ROW...", "selects the rows, presses Space",
     toggleRows},
    {L"msgbox-text", 1, 1, "MS", "prints the text of the message box", messageBoxText},
    {L"msgbox-answer", 2, 2, "BUTTON MS", "presses a button of the message box", messageBoxAnswer},
};

int usage() {
  std::fputs("usage: wintool VERB ARGS\n", stderr);
  for (const Verb& v : kVerbs) std::fprintf(stderr, "  %-14ls %-22s %s\n", v.name, v.args, v.what);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return usage();
  Args args(argv + 2, argv + argc);
  for (const Verb& v : kVerbs)
    if (argv[1] == std::wstring(v.name)) {
      if (args.size() < v.minArgs || args.size() > v.maxArgs) return usage();
      int r = v.run(args);
      return r == 2 ? usage() : r;
    }
  return usage();
}
