// The update download window fetching a 50 MB setup program from a local HTTP server (the
// tests' server, reached as the proxy), from its start to the file saved under its name,
// against a bare WinINet read loop that writes the same file, side by side in one process.
// The window is shown and its messages pumped throughout.
// Everything lives in C:\glenvask-bench\download-<pid>, removed at the end.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "help/frmOnlineUpdates2.h"
#include "help/update.h"
#include "services/settings.h"
#include "win/pump.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr size_t kSize = 50u << 20;

std::string unixPathOf(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* u = unixName ? unixName(wide(path).c_str()) : nullptr;
  std::string s = u ? u : "";
  if (u) HeapFree(GetProcessHeap(), 0, u);
  return s;
}

// Starts the tests' server serving the payload as the setup program; false when it does not.
bool startServer(const std::string& folder) {
  std::string source = __FILE__;
  std::string script =
      source.substr(0, source.find_last_of("/\\") + 1) + "../tests/support/http_server.py";
  writeFileAtomic(folder + "\\routes.json",
                  std::string("{\"") + kSetupPath + "\": {\"file\": \"payload.bin\"}}");
  std::wstring cmd = wide("python3 \"" + script + "\" \"" + unixPathOf(folder) + "\" 600");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"\\\\?\\unix\\usr\\bin\\python3", cmd.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string port;
  for (int i = 0; i < 1000 && port.empty(); ++i) {
    port = readFileBytes(folder + "\\port.txt").value_or("");
    if (port.empty()) Sleep(10);
  }
  if (port.empty()) return false;
  SetEnvironmentVariableW(L"http_proxy", wide("http://127.0.0.1:" + port).c_str());
  return true;
}

// Answers the window's messages at once (a failed download shows one), and counts them.
class CountingAsker : public Asker {
 public:
  int messages = 0;
  int messageBox(HWND, std::string_view text, std::string_view, UINT) override {
    ++messages;
    std::printf("bench_download: message: %.*s\n", static_cast<int>(text.size()), text.data());
    return IDOK;
  }
  std::optional<std::string> inputBox(HWND, std::string_view, std::string_view,
                                      std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> openFile(HWND, const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFile(HWND, const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> browseFolder(HWND, std::string_view) override { return std::nullopt; }
  int showModal(Dialog& dialog, HWND owner) override { return IDCANCEL; }
};

// The bare loop: one GET, each piece written as it comes. The bytes written.
long long bareDownload(const std::wstring& target) {
  long long total = 0;
  HINTERNET s = InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET c =
      InternetConnectW(s, L"www.orlenta.com", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET r = HttpOpenRequestW(c, L"GET", wide(kSetupPath).c_str(), nullptr, nullptr, nullptr,
                                 INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD |
                                     INTERNET_FLAG_NO_COOKIES,
                                 0);
  HANDLE f = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (r && f != INVALID_HANDLE_VALUE && HttpSendRequestW(r, nullptr, 0, nullptr, 0)) {
    std::vector<char> buf(256 << 10);  // as the window reads
    DWORD got = 0, written = 0;
    while (InternetReadFile(r, buf.data(), static_cast<DWORD>(buf.size()), &got) && got) {
      WriteFile(f, buf.data(), got, &written, nullptr);
      total += got;
    }
  }
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  for (HINTERNET h : {r, c, s})
    if (h) InternetCloseHandle(h);
  return total;
}

// The window's download, from its start (as the window shows) to the file saved under its
// name, the window's messages pumped meanwhile.
// True when Install is enabled.
bool windowDownload(const std::string& folder, double& took) {
  OnlineUpdatesWindow& w = frmOnlineUpdates2();
  w.downloadFolder = folder;
  w.beginModal(nullptr);  // the download starts with the first message after the showing
  auto t0 = std::chrono::steady_clock::now();
  while (w.isOpen() && w.cmdClose.text() != "&Close") {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    EventPump::dispatchPending();
  }
  took = seconds(std::chrono::steady_clock::now() - t0);
  bool ok = w.cmdInstall.enabled();
  w.finishModal();
  return ok;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  std::string base = "C:\\glenvask-bench";
  CreateDirectoryW(wide(base).c_str(), nullptr);
  std::string root = base + "\\download-" + std::to_string(GetCurrentProcessId());
  std::string server = root + "\\server", bareDir = root + "\\bare", windowDir = root + "\\window";
  for (const auto& d : {root, server, bareDir, windowDir})
    CreateDirectoryW(wide(d).c_str(), nullptr);
  std::string payload(kSize, '\0');
  std::mt19937 rng(7);
  for (auto& c : payload) c = static_cast<char>(rng());
  payload[0] = 'M';
  payload[1] = 'Z';
  writeFileAtomic(server + "\\payload.bin", payload);
  CountingAsker asker;
  setAsker(&asker);
  int status = 0;
  if (!startServer(server)) {
    std::printf("bench_download: the local HTTP server did not start\n");
    status = 1;
  } else {
    const int rounds = 15;
    std::vector<double> bare, window, ratios;
    bool allOk = true;
    for (int r = 0; r < rounds; ++r) {
      // Each round writes new files.
      DeleteFileW(wide(windowDir + "\\frennick.exe").c_str());
      DeleteFileW(wide(bareDir + "\\frennick.exe").c_str());
      for (int k = 0; k < 2; ++k) {
        auto t0 = std::chrono::steady_clock::now();
        if ((k == 0) == (r % 2 == 0)) {
          double took = 0;
          allOk = windowDownload(windowDir, took) && allOk;
          window.push_back(took);
        } else {
          allOk = bareDownload(wide(bareDir + "\\frennick.exe")) == static_cast<long long>(kSize) &&
                  allOk;
          bare.push_back(seconds(std::chrono::steady_clock::now() - t0));
        }
      }
      ratios.push_back(window.back() / bare.back());
      if (getenv("BENCH_VERBOSE"))
        std::printf("  round %d: bare %.3f s, window %.3f s\n", r, bare.back(), window.back());
    }
    bool exact = readFileBytes(windowDir + "\\frennick.exe").value_or("") == payload;
    std::printf(
        "bench_download: %zu MB; bare WinINet loop %.3f s, download window %.3f s "
        "(medians); ratio %.2f (median of %d rounds); every download complete: %s, "
        "byte for byte: %s\n",
        kSize >> 20, median(bare), median(window), median(ratios), rounds, allOk ? "yes" : "NO",
        exact ? "yes" : "NO");
    if (!allOk || !exact) status = 1;
    writeFileAtomic(server + "\\stop", "");
    Sleep(200);
  }
  frmOnlineUpdates2().destroy();
  setAsker(nullptr);
  for (const auto& d : {bareDir, windowDir, server}) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(wide(d + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileW(wide(d + "\\" + utf8(fd.cFileName)).c_str());
      while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(wide(d).c_str());
  }
  RemoveDirectoryW(wide(root).c_str());
  return status;
}
