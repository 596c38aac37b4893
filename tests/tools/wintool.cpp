// A small Windows helper for the end-to-end tests: finds, minimises and closes windows, reports
// their state, and holds a file open the way another program would.
//   wintool wait-window CLASS MS     exit 0 when a window of the class exists within MS
//   wintool state CLASS              prints "iconic=0 visible=1 foreground=1"
//   wintool minimize CLASS
//   wintool close CLASS              posts WM_CLOSE
//   wintool hold FILE MS             opens FILE without delete sharing for MS milliseconds
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND find(const wchar_t* cls) { return FindWindowW(cls, nullptr); }

int usage() {
  std::fputs("usage: wintool wait-window|state|minimize|close|hold ...\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return usage();
  std::wstring cmd = argv[1];
  if (cmd == L"wait-window" && argc == 4) {
    ULONGLONG end = GetTickCount64() + wcstoul(argv[3], nullptr, 10);
    while (!find(argv[2])) {
      if (GetTickCount64() > end) return 1;
      Sleep(50);
    }
    return 0;
  }
  if (cmd == L"state") {
    HWND h = find(argv[2]);
    if (!h) return 1;
    std::printf("iconic=%d visible=%d foreground=%d\n", IsIconic(h) ? 1 : 0,
                IsWindowVisible(h) ? 1 : 0, GetForegroundWindow() == h ? 1 : 0);
    return 0;
  }
  if (cmd == L"minimize") {
    HWND h = find(argv[2]);
    if (!h) return 1;
    ShowWindow(h, SW_MINIMIZE);
    return IsIconic(h) ? 0 : 1;
  }
  if (cmd == L"close") {
    HWND h = find(argv[2]);
    if (!h) return 1;
    PostMessageW(h, WM_CLOSE, 0, 0);
    return 0;
  }
  if (cmd == L"hold" && argc == 4) {
    HANDLE f = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    std::puts("holding");
    std::fflush(stdout);
    Sleep(wcstoul(argv[3], nullptr, 10));
    CloseHandle(f);
    return 0;
  }
  return usage();
}
