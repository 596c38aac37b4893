// The end-to-end tests' hand on the program's windows, from another process of the prefix: it
// finds a top-level window of the program by its class and uses it as a person would, and holds
// a file open as another program would. Run it without arguments for the verbs. A CONTROL is
// its id (digits) or caption ('&' and case ignored). Output: UTF-8 lines; a list-view row is its
// check state ("1", "0", "-" without boxes) and its cells, tab-separated. Exit: 0 done, 1 failed
// (why on stderr), 2 usage. Input is posted, so a modal window does not hold the tool; list-view
// and tab messages point into memory allocated in the window's own process.
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

constexpr DWORD kAnswerMs = 5000;  // how long a window is given to answer or to react
constexpr int kTextMax = 4096;

struct Usage {};
using Failure = std::wstring;

void check(bool ok, const std::wstring& why) {
  if (!ok) throw Failure(why);
}

void printLine(const std::wstring& text) {
  std::string bytes(text.size() * 3 + 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()),
                      nullptr, nullptr);
  std::printf("%s\n", bytes.c_str());
}

std::optional<long> number(const std::wstring& s) {
  wchar_t* end = nullptr;
  long v = std::wcstol(s.c_str(), &end, 10);
  return s.empty() || *end ? std::nullopt : std::optional<long>(v);
}

template <class F>
bool waitUntil(DWORD ms, F condition) {
  for (ULONGLONG end = GetTickCount64() + ms; !condition(); Sleep(50))
    if (GetTickCount64() > end) return condition();
  return true;
}

// Whether the window belongs to the program itself: the in-process window tests that run beside
// an end-to-end test make windows of the same classes.
bool ofProgram(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  bool ok = process && QueryFullProcessImageNameW(process, 0, image, &size);
  if (process) CloseHandle(process);
  const wchar_t* name = wcsrchr(image, L'\\');
  return ok && _wcsicmp(name ? name + 1 : image, L"glenvask.exe") == 0;
}

// The program's visible top-level window of the class (and title), else any of that class.
// The windows are taken in one snapshot: a walk by FindWindowExW from a window that is destroyed
// meanwhile (as the in-process tests beside do with windows of the same classes) ends at once.
HWND findTop(const std::wstring& cls, bool visibleOnly = false, const wchar_t* title = nullptr) {
  std::vector<HWND> tops;
  EnumWindows([](HWND h, LPARAM all) {
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&tops));
  HWND any = nullptr;
  wchar_t text[256];
  for (HWND h : tops) {
    if (!GetClassNameW(h, text, 256) || lstrcmpiW(text, cls.c_str())) continue;
    if (title && (!InternalGetWindowText(h, text, 256) || lstrcmpiW(text, title))) continue;
    if (!ofProgram(h)) continue;
    if (IsWindowVisible(h)) return h;
    any = any ? any : h;
  }
  return visibleOnly ? nullptr : any;
}

// A child (at any depth) of the window by id or by caption.
HWND findControl(HWND top, const std::wstring& ref) {
  struct Search {
    std::optional<long> id;
    std::wstring caption;
    HWND found = nullptr;
  } search{number(ref), ref};
  std::erase(search.caption, L'&');
  auto visit = [](HWND h, LPARAM lp) -> BOOL {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    std::wstring caption = text;
    std::erase(caption, L'&');
    bool hit = s->id ? GetDlgCtrlID(h) == *s->id : !lstrcmpiW(caption.c_str(), s->caption.c_str());
    return !(s->found = hit ? h : nullptr);
  };
  EnumChildWindows(top, visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool isClass(HWND h, const wchar_t* cls) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return !lstrcmpiW(name, cls);
}

// A message sent with a time limit: a window busy in a long loop does not hold the tool.
std::optional<LRESULT> send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, &result)) return {};
  return static_cast<LRESULT>(result);
}

void post(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  check(PostMessageW(h, msg, wp, lp), L"cannot post to the window");
}

std::wstring textOf(HWND h) {
  std::wstring text(kTextMax, L'\0');
  text.resize(static_cast<size_t>(
      send(h, WM_GETTEXT, kTextMax, reinterpret_cast<LPARAM>(text.data())).value_or(0)));
  return text;
}

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
    check(base_ != nullptr, L"cannot reach the window's process");
  }
  ~Remote() {
    VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  Remote(const Remote&) = delete;

  char* at(size_t offset) const { return base_ + offset; }
  void read(void* data, size_t n, size_t offset = 0) const {
    check(ReadProcessMemory(process_, at(offset), data, n, nullptr), L"cannot read its memory");
  }
  // Sends the message with the structure copied there, copies it back, and gives the answer.
  template <class T>
  LRESULT call(HWND h, UINT msg, WPARAM wp, T& data) const {
    check(WriteProcessMemory(process_, base_, &data, sizeof data, nullptr), L"cannot write");
    auto r = send(h, msg, wp, reinterpret_cast<LPARAM>(base_));
    check(r.has_value(), L"the window did not answer");
    read(&data, sizeof data);
    return *r;
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
};

// A click (down: WM_LBUTTONDOWN or WM_LBUTTONDBLCLK) at the middle of the rectangle that the
// message fills in the control's process.
void clickAt(HWND h, UINT down, UINT msg, WPARAM wp, RECT r = {}) {
  Remote(h, sizeof r).call(h, msg, wp, r);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  post(h, down, MK_LBUTTON, at);
  post(h, WM_LBUTTONUP, 0, at);
}

// What a verb needs found before it runs; a disabled control is refused unless only read.
enum Need { kNothing, kWindow, kRead, kUse };

struct Call {
  std::vector<std::wstring> a;
  HWND top = nullptr, control = nullptr;

  void find(Need need) {
    if (need == kNothing) return;
    check((top = findTop(a[0])) != nullptr, L"no window of class " + a[0]);
    if (need == kWindow) return;
    check((control = findControl(top, a[1])) != nullptr, L"no control " + a[1] + L" in " + a[0]);
    check(need == kRead || IsWindowEnabled(control), L"control " + a[1] + L" is disabled");
  }
  long num(size_t i) const { return number(a[i]) ? *number(a[i]) : throw Usage{}; }
  DWORD ms(size_t i) const { return num(i) < 0 ? throw Usage{} : static_cast<DWORD>(num(i)); }
  // Argument i as an index below the count the control answers to the message.
  int index(size_t i, UINT countMessage, const std::wstring& what) const {
    auto n = number(a[i]);
    auto count = send(control, countMessage);
    check(n && count && *n >= 0 && *n < *count, L"no " + what + L" " + a[i]);
    return static_cast<int>(*n);
  }
};

void waitShown(const Call& c, bool shown) {
  check(waitUntil(c.ms(1), [&] { return (findTop(c.a[0], true) != nullptr) == shown; }),
        (shown ? L"no window shown of class " : L"still shown: a window of class ") + c.a[0]);
}

// An edit is typed into (select all, then replace), so it is modified and tells its parent;
// a combo box's edit likewise; other controls take the text as their caption.
void setText(Call& c) {
  HWND h = c.control;
  if (isClass(h, WC_COMBOBOXW)) h = FindWindowExW(h, nullptr, WC_EDITW, nullptr);
  check(h != nullptr, L"combo box " + c.a[1] + L" has no edit");
  auto text = reinterpret_cast<LPARAM>(c.a[2].c_str());
  check(isClass(h, WC_EDITW) ? send(h, EM_SETSEL, 0, -1) && send(h, EM_REPLACESEL, TRUE, text)
                             : send(h, WM_SETTEXT, 0, text).has_value(),
        L"the control did not answer");
  check(textOf(h) == c.a[2], L"the text did not take");
}

void setCheck(Call& c) {
  long want = c.num(2);
  if (want < 0 || want > 2) throw Usage{};
  auto checked = [&] { return send(c.control, BM_GETCHECK).value_or(-1); };
  // A three-state box may take two clicks.
  for (int tries = 0; tries < 3 && checked() != want; ++tries) {
    LRESULT before = checked();
    post(c.control, BM_CLICK);
    waitUntil(kAnswerMs, [&] { return checked() != before; });
  }
  check(checked() == want, L"the box did not take the state");
}

// A click at the tab, so the control changes the page and sends its own notices.
void selectTab(Call& c) {
  int index = c.index(2, TCM_GETITEMCOUNT, L"tab");
  clickAt(c.control, WM_LBUTTONDOWN, TCM_GETITEMRECT, static_cast<WPARAM>(index));
  check(waitUntil(kAnswerMs, [&] { return send(c.control, TCM_GETCURSEL) == index; }),
        L"the tab did not change");
}

// The item by its text, else by its index; the parent hears of it as of a user's choice.
void selectCombo(Call& c) {
  HWND box = c.control;
  auto found = send(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(c.a[2].c_str()));
  LRESULT i = found && *found >= 0 ? *found : c.index(2, CB_GETCOUNT, L"item");
  check(send(box, CB_SETCURSEL, static_cast<WPARAM>(i)) == i, L"the item was not selected");
  post(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
       reinterpret_cast<LPARAM>(box));
}

void printRows(Call& c) {
  HWND list = c.control;
  auto count = send(list, LVM_GETITEMCOUNT);
  auto header = send(list, LVM_GETHEADER);
  check(count && header, L"the list did not answer");
  auto columns =
      std::max<LRESULT>(send(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT).value_or(1), 1);
  bool boxes = send(list, LVM_GETEXTENDEDLISTVIEWSTYLE).value_or(0) & LVS_EX_CHECKBOXES;
  Remote mem(list, sizeof(LVITEMW) + kTextMax * sizeof(wchar_t));
  std::wstring text(kTextMax, L'\0');
  for (int row = 0; row < *count; ++row) {
    auto state = boxes ? send(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK).value_or(0) : 0;
    std::wstring line = !boxes ? L"-" : state == INDEXTOSTATEIMAGEMASK(2) ? L"1" : L"0";
    for (int col = 0; col < columns; ++col) {
      LVITEMW item{.iSubItem = col,
                   .pszText = reinterpret_cast<wchar_t*>(mem.at(sizeof(LVITEMW))),
                   .cchTextMax = kTextMax};
      auto len = static_cast<size_t>(
          std::min<LRESULT>(mem.call(list, LVM_GETITEMTEXTW, row, item), kTextMax - 1));
      if (len) mem.read(text.data(), len * sizeof(wchar_t), sizeof item);
      std::wstring cell = text.substr(0, len);
      for (wchar_t& ch : cell) ch = ch < L' ' ? L' ' : ch;
      line += L'\t' + cell;
    }
    printLine(line);
  }
}

// Selects the rows named by the arguments from the third on, alone, the first focused.
void selectRows(Call& c) {
  std::vector<int> rows;
  for (size_t i = 2; i < c.a.size(); ++i) rows.push_back(c.index(i, LVM_GETITEMCOUNT, L"row"));
  Remote mem(c.control, sizeof(LVITEMW));
  auto setState = [&](int row, UINT state) {
    LVITEMW item{.state = state, .stateMask = LVIS_SELECTED | LVIS_FOCUSED};
    mem.call(c.control, LVM_SETITEMSTATE, static_cast<WPARAM>(row), item);
  };
  setState(-1, 0);
  for (size_t k = 0; k < rows.size(); ++k)
    setState(rows[k], k ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED);
  if (!rows.empty()) send(c.control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows[0]), FALSE);
  check(send(c.control, LVM_GETSELECTEDCOUNT) == static_cast<LRESULT>(rows.size()),
        L"the rows were not selected");
}

// The program's message box, once one shows within the time of argument i.
HWND messageBox(const Call& c, size_t i) {
  HWND box = nullptr;
  auto shown = [&] { return (box = findTop(L"#32770", true, L"Tarvella")) != nullptr; };
  check(waitUntil(c.ms(i), shown), L"no message box");
  return box;
}

// A button by caption, by id, or by the id's name (IDYES...).
void answerMessageBox(Call& c) {
  static const std::pair<const wchar_t*, int> kNames[] = {
      {L"IDOK", IDOK}, {L"IDCANCEL", IDCANCEL}, {L"IDYES", IDYES}, {L"IDNO", IDNO}};
  std::wstring ref = c.a[0];
  for (const auto& [name, id] : kNames)
    if (ref == name) ref = std::to_wstring(id);
  HWND box = messageBox(c, 1), button = findControl(box, ref);
  check(button != nullptr, L"no button " + c.a[0]);
  post(button, BM_CLICK);
  check(waitUntil(kAnswerMs, [&] { return !IsWindow(box) || !IsWindowVisible(box); }),
        L"the message box stayed");
}

void hold(Call& c) {
  DWORD ms = c.ms(1);
  HANDLE f = CreateFileW(c.a[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  check(f != INVALID_HANDLE_VALUE, L"cannot open " + c.a[0]);
  printLine(L"holding");
  std::fflush(stdout);
  Sleep(ms);
  CloseHandle(f);
}

struct Verb {
  const wchar_t* name;
  Need need;
  size_t minArgs, maxArgs;
  const char* help;
  void (*run)(Call&);
};

constexpr size_t kMany = 1000;

const Verb kVerbs[] = {
    {L"wait-window", kNothing, 2, 2, "CLASS MS", [](Call& c) { waitShown(c, true); }},
    {L"wait-gone", kNothing, 2, 2, "CLASS MS", [](Call& c) { waitShown(c, false); }},
    {L"state", kWindow, 1, 1, "CLASS  (prints \"iconic=0 visible=1 foreground=1\")",
     [](Call& c) {
       std::printf("iconic=%d visible=%d foreground=%d\n", IsIconic(c.top) ? 1 : 0,
                   IsWindowVisible(c.top) ? 1 : 0, GetForegroundWindow() == c.top ? 1 : 0);
     }},
    {L"minimize", kWindow, 1, 1, "CLASS",
     [](Call& c) { ShowWindow(c.top, SW_MINIMIZE), check(IsIconic(c.top), L"not minimised"); }},
    {L"close", kWindow, 1, 1, "CLASS  (posts WM_CLOSE)", [](Call& c) { post(c.top, WM_CLOSE); }},
    {L"hold", kNothing, 2, 2, "FILE MS  (open without delete sharing)", hold},
    {L"command", kWindow, 2, 2, "CLASS ID",
     [](Call& c) { post(c.top, WM_COMMAND, MAKEWPARAM(c.num(1), 0)); }},
    {L"click", kUse, 2, 2, "CLASS CONTROL", [](Call& c) { post(c.control, BM_CLICK); }},
    {L"get-text", kRead, 2, 2, "CLASS CONTROL", [](Call& c) { printLine(textOf(c.control)); }},
    {L"set-text", kUse, 3, 3, "CLASS CONTROL TEXT", setText},
    {L"set-check", kUse, 3, 3, "CLASS CONTROL 0|1|2", setCheck},
    {L"select-tab", kUse, 3, 3, "CLASS CONTROL INDEX", selectTab},
    {L"select-combo", kUse, 3, 3, "CLASS CONTROL TEXT|INDEX", selectCombo},
    {L"rows", kRead, 2, 2, "CLASS CONTROL", printRows},
    {L"select-rows", kUse, 2, kMany, "CLASS CONTROL ROW...", selectRows},
    {L"toggle-rows", kUse, 3, kMany, "CLASS CONTROL ROW...  (selects them, presses Space)",
     [](Call& c) {
       selectRows(c);
       post(c.control, WM_KEYDOWN, VK_SPACE, 0x00390001);
       post(c.control, WM_KEYUP, VK_SPACE, 0xC0390001);
     }},
    {L"dblclick-row", kUse, 3, 3, "CLASS CONTROL ROW",
     [](Call& c) {
       selectRows(c);
       clickAt(c.control, WM_LBUTTONDBLCLK, LVM_GETITEMRECT, static_cast<WPARAM>(c.num(2)),
               RECT{LVIR_LABEL, 0, 0, 0});
     }},
    {L"msgbox-text", kNothing, 1, 1, "MS",
     [](Call& c) {
       HWND box = messageBox(c, 0);
       for (HWND h = nullptr; (h = FindWindowExW(box, h, WC_STATICW, nullptr));)
         if (std::wstring text = textOf(h); !text.empty()) printLine(text);
     }},
    {L"msgbox-answer", kNothing, 2, 2, "BUTTON MS", answerMessageBox},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  for (const Verb& v : kVerbs) {
    if (argc < 2 || argv[1] != std::wstring(v.name)) continue;
    Call c{{argv + 2, argv + argc}};
    if (c.a.size() < v.minArgs || c.a.size() > v.maxArgs) break;
    try {
      c.find(v.need);
      v.run(c);
      return 0;
    } catch (const Usage&) {
      break;
    } catch (const Failure& why) {
      std::fwprintf(stderr, L"wintool: %ls\n", why.c_str());
      return 1;
    }
  }
  std::fputs("usage: wintool VERB ARGS\n", stderr);
  for (const Verb& v : kVerbs) std::fprintf(stderr, "  %-14ls %s\n", v.name, v.help);
  return 2;
}
