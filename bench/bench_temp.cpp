// The temporary-files category (frmMain.CleanTempFiles, with TMP and TEMP naming a scratch
// tree) over 20,000 files in 500 folders, against a bare loop of DeleteFileW and
// RemoveDirectoryW over a tree of the same shape, side by side in one process. Both trees are
// made afresh before each round (C:\glenvask-bench\temp-<pid>) and removed at the end.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "services/globals.h"
#include "services/paths.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kTops = 20;
constexpr int kLeavesPerTop = 24;  // 20 + 480 = 500 folders
constexpr int kFilesPerFolder = 40;

void makeFiles(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  static const char bytes[200] = {'x'};
  for (int i = 0; i < kFilesPerFolder; ++i) {
    std::wstring name = folder + L"\\~tmp" + std::to_wstring(i) + (i % 3 ? L".tmp" : L".dat");
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    DWORD n = 0;
    WriteFile(h, bytes, 50 + i, &n, nullptr);
    CloseHandle(h);
  }
}

void makeTree(const std::wstring& root) {
  CreateDirectoryW(root.c_str(), nullptr);
  for (int t = 0; t < kTops; ++t) {
    std::wstring top = root + L"\\top" + std::to_wstring(t);
    makeFiles(top);
    for (int l = 0; l < kLeavesPerTop; ++l) makeFiles(top + L"\\leaf" + std::to_wstring(l));
  }
}

// The bare loop: every file deleted, every folder below the root removed after its contents.
void bareDelete(const std::wstring& folder, long long& files, long long& folders) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring path = folder + L"\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0) continue;
      bareDelete(path, files, folders);
      if (RemoveDirectoryW(path.c_str())) ++folders;
    } else if (DeleteFileW(path.c_str())) {
      ++files;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

// Entries left below a folder.
long long countLeft(const std::wstring& folder) {
  long long n = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0) continue;
    ++n;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      n += countLeft(folder + L"\\" + fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

void removeAll(const std::wstring& folder) {
  long long f = 0, d = 0;
  bareDelete(folder, f, d);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  std::wstring base = L"C:\\glenvask-bench";
  CreateDirectoryW(base.c_str(), nullptr);
  std::wstring root = base + L"\\temp-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(root.c_str(), nullptr);
  std::wstring app = root + L"\\app";
  std::wstring routineTree = root + L"\\routine", bareTree = root + L"\\bare";
  CreateDirectoryW(app.c_str(), nullptr);
  setAppPath(utf8(app));
  SetEnvironmentVariableW(L"TMP", routineTree.c_str());
  SetEnvironmentVariableW(L"TEMP", routineTree.c_str());

  MainWindow& w = frmMain();
  if (!w.load("")) {
    std::printf("bench_temp: the main window did not load\n");
    return 1;
  }
  DeleteMethod = kDeletePlain;

  const int rounds = 7;
  std::vector<double> bare, routine;
  long long bareFiles = 0, bareFolders = 0, routineFiles = 0, left = 0;
  for (int r = 0; r < rounds; ++r) {
    makeTree(routineTree);
    makeTree(bareTree);
    for (int k = 0; k < 2; ++k) {
      bool routineFirst = r % 2 == 0;
      auto t0 = std::chrono::steady_clock::now();
      if ((k == 0) == routineFirst) {
        CleanTempFiles(w);
        routine.push_back(seconds(std::chrono::steady_clock::now() - t0));
        routineFiles = w.CategoryFileCount;
        left = countLeft(routineTree);
      } else {
        bareFiles = bareFolders = 0;
        bareDelete(bareTree, bareFiles, bareFolders);
        bare.push_back(seconds(std::chrono::steady_clock::now() - t0));
      }
    }
  }
  std::vector<double> ratios;
  for (size_t i = 0; i < bare.size(); ++i) ratios.push_back(routine[i] / bare[i]);
  double bestBare = *std::min_element(bare.begin(), bare.end());
  double bestRoutine = *std::min_element(routine.begin(), routine.end());
  std::printf("bench_temp: %lld files in %lld folders; bare loop %.3f s, temporary-files "
              "category %.3f s (medians); ratio %.2f (median of %d rounds; best times %.3f s "
              "and %.3f s, ratio %.2f); the category deleted %lld files and left %lld entries\n",
              bareFiles, bareFolders, median(bare), median(routine), median(ratios), rounds,
              bestBare, bestRoutine, bestRoutine / bestBare, routineFiles, left);
  if (getenv("BENCH_VERBOSE"))
    for (size_t i = 0; i < bare.size(); ++i)
      std::printf("  round %zu: bare %.3f category %.3f\n", i, bare[i], routine[i]);
  w.destroy();
  setAppPath("");
  removeAll(root);
  return 0;
}
