// The options window over large lists: a Cookies folder of 10,000 cookie files and IFI.txt,
// IE.txt and UNFI.txt of 10,000 lines each. Opening the window against reading those files and
// walking that folder bare, and Accept against writing those files bare, side by side in one
// run: both ratios at most 2. Also shown: every page of the window shown (the Cookies page
// walks the folder then), and an Accept after a change on each of the three lists, whose
// files go through a temporary file flushed to the disk.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/lists.h"
#include "options/frmOptions.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/settings.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;

using glenvask::bench::removeTree;

namespace {

constexpr int kLines = 10000, kCookies = 10000;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* kLists[] = {"IFI.txt", "IE.txt", "UNFI.txt"};

double nowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
            n == bytes.size();
  CloseHandle(h);
  return ok;
}

// The bare work of opening: the three files read and parsed, the folder walked.
size_t bareOpen(const std::string& folder, const std::wstring& cookies) {
  size_t n = 0;
  for (const char* name : kLists)
    if (auto bytes = readFileBytes(folder + "\\" + name)) n += splitLines(*bytes).size();
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((cookies + L"\\*.txt").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do ++n;
    while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  return n;
}

}  // namespace

int main() {
  std::wstring root = L"C:\\glenvask-bench\\options-" + std::to_wstring(GetCurrentProcessId());
  std::wstring cookies = root + L"\\Cookies";
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  removeTree(root);
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW(cookies.c_str(), nullptr);
  std::string folder = utf8(root);
  std::printf("bench_options: making %d cookie files and three lists of %d lines...\n", kCookies,
              kLines);
  std::fflush(stdout);
  std::vector<std::string> names;
  for (int i = 0; i < kLines; ++i) names.push_back("file" + std::to_string(i) + ".dat");
  std::vector<UnnecessaryType> unfi;
  for (int i = 0; i < kLines; ++i) unfi.push_back({1, "*.x" + std::to_string(i), "Type"});
  std::vector<std::string> exts;
  for (int i = 0; i < kLines; ++i) exts.push_back("e" + std::to_string(i));
  std::string bytes[] = {formatListFile(names), formatListFile(exts), formatUnnecessaryFile(unfi)};
  bool made = true;
  for (int i = 0; i < 3; ++i) made &= writeBytes(folder + "\\" + kLists[i], bytes[i]);
  for (int i = 0; i < kCookies && made; ++i)
    made &= writeBytes(utf8(cookies) + "\\user@site" + std::to_string(i) + ".txt", "c=1\n");
  if (!made) {
    std::printf("bench_options: cannot make the files\n");
    removeTree(root);
    return 2;
  }
  std::string savedCookies = GetRegString(kHkeyCurrentUser, kShellFolders, "Cookies");
  std::string savedRun = GetRegString(kHkeyCurrentUser, kRunKey, kRunValueName);
  SetRegString(kHkeyCurrentUser, kShellFolders, "Cookies", utf8(cookies));
  setAppPath(folder);
  bareOpen(folder, cookies);  // warm the caches

  std::vector<double> bare, open, pages, bareWrite, accept, acceptChanged;
  size_t rows = 0;
  for (int round = 0; round < 3; ++round) {
    double t0 = nowMs();
    bareOpen(folder, cookies);
    bare.push_back(nowMs() - t0);

    OptionsWindow& w = frmOptions();
    t0 = nowMs();
    w.build(nullptr);
    open.push_back(nowMs() - t0);
    t0 = nowMs();
    for (size_t page = 0; page < kOptionsPageCount; ++page) w.SSTab1.select(page);
    pages.push_back(nowMs() - t0 + open.back());
    rows = w.lstvCurrentCookies.rowCount() + w.lstIFI.count() + w.lstIE.count() +
           w.lstvUnnecessaryFiles.rowCount();
    w.destroy();

    t0 = nowMs();
    for (int i = 0; i < 3; ++i) writeBytes(folder + "\\" + kLists[i], bytes[i]);
    bareWrite.push_back(nowMs() - t0);

    w.build(nullptr);
    t0 = nowMs();
    w.cmdAccept_Click();
    accept.push_back(nowMs() - t0);
    w.destroy();

    w.build(nullptr);
    w.SSTab1.select(kPageIgnoreFiles);
    w.SSTab1.select(kPageUnnecessary);
    w.txtIE.setText("new");
    w.cmdIEAdd.click();
    w.lstIFI.select(0);
    w.cmdIFIRemove.click();
    w.lstvUnnecessaryFiles.setRowChecked(0, false);
    t0 = nowMs();
    w.cmdAccept_Click();
    acceptChanged.push_back(nowMs() - t0);
    w.destroy();
    for (int i = 0; i < 3; ++i) writeBytes(folder + "\\" + kLists[i], bytes[i]);
  }

  SetRegString(kHkeyCurrentUser, kShellFolders, "Cookies", savedCookies);
  if (!savedRun.empty()) SetRegString(kHkeyCurrentUser, kRunKey, kRunValueName, savedRun);
  setAppPath("");
  removeTree(root);

  double b = median(bare), o = median(open), p = median(pages);
  double bw = median(bareWrite), a = median(accept), ac = median(acceptChanged);
  double openRatio = o / b, acceptRatio = a / bw;
  std::printf("bench_options: %zu rows listed\n", rows);
  std::printf(
      "bench_options: bare read and walk %.0f ms, opening the window %.0f ms: "
      "ratio %.2f (limit 2.00) %s\n",
      b, o, openRatio, openRatio <= 2 ? "ok" : "OVER");
  std::printf("bench_options: opening and showing every page %.0f ms: ratio %.2f\n", p, p / b);
  std::printf("bench_options: bare write %.0f ms, Accept %.0f ms: ratio %.2f (limit 2.00) %s\n", bw,
              a, acceptRatio, acceptRatio <= 2 ? "ok" : "OVER");
  std::printf("bench_options: Accept after a change on each list %.0f ms: ratio %.2f\n", ac,
              ac / bw);
  return openRatio <= 2 && acceptRatio <= 2 && rows == 4u * kLines ? 0 : 1;
}
