#include "app/startup.h"

#include <commctrl.h>
#include <ole2.h>

#include "cleaner/frmMain.h"
#include "services/system.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {
// The previous-instance test: a mutex held for the life of the first instance.
constexpr const wchar_t* kInstanceMutex = L"Local\\Glenvask.SingleInstance";
}  // namespace

std::string argumentText(std::wstring_view cmd) {
  size_t i = 0;
  if (!cmd.empty() && cmd[0] == L'"') {
    size_t close = cmd.find(L'"', 1);
    i = close == std::wstring_view::npos ? cmd.size() : close + 1;
  } else {
    while (i < cmd.size() && cmd[i] != L' ' && cmd[i] != L'\t') ++i;
  }
  while (i < cmd.size() && (cmd[i] == L' ' || cmd[i] == L'\t')) ++i;
  return utf8(cmd.substr(i));
}

bool ShowPrevInstance() {
  // The running instance may still be making its window: look for a moment.
  HWND main = nullptr;
  for (int i = 0; i < 60 && !main; ++i) {
    main = FindWindowW(ids::kMainWindowClass, nullptr);
    if (!main) Sleep(50);
  }
  if (!main) return false;
  ShowWindow(main, SW_SHOW);
  if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
  SetForegroundWindow(main);
  return true;
}

int Main() {
  KernelHandle instance(CreateMutexW(nullptr, FALSE, kInstanceMutex));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // A second start: nothing is read or written, the switches are dropped.
    ShowPrevInstance();
    return 0;
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // OLE for the shell's dialogs and links, undone however the start ends.
  struct OleScope {
    bool on = SUCCEEDED(OleInitialize(nullptr));
    ~OleScope() {
      if (on) OleUninitialize();
    }
  } ole;
  useRegionalNumberStyle();  // size texts in the user's number format

  MainWindow& main = frmMain();
  bool ended = false;
  main.onProgramEnd = [&ended] {
    ended = true;
    PostQuitMessage(0);
  };
  if (!main.load(argumentText(GetCommandLineW()))) return 1;
  if (!ended && main.isOpen() && !main.visible()) main.show(SW_SHOW);
  return runMessageLoop();
}

}  // namespace glenvask
