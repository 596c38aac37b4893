// The plug-in manager's Process on one plug-in that names 20,000 files in 500 folders (every
// file of a tree, its folders removed too), against a bare walk of the same tree that deletes
// each file with DeleteFileW and each folder with RemoveDirectoryW, in turns in one process.
// The tree is made afresh before each timed pass, in C:\glenvask-bench\plugin-tree.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cleaner/frmMain.h"
#include "plugins/frmPluginManager.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/paths.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 40;
const std::wstring kBase = L"C:\\glenvask-bench";
const std::wstring kApp = kBase + L"\\plugin-app";
const std::wstring kTree = kBase + L"\\plugin-tree";

void writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

void makeTree() {
  CreateDirectoryW(kTree.c_str(), nullptr);
  for (int f = 0; f < kFolders; ++f) {
    std::wstring folder = kTree + L"\\folder" + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kFilesPerFolder; ++i)
      writeFile(folder + L"\\file" + std::to_wstring(i) + L".dat", "x");
  }
}

// The bare job: every file deleted, then every folder below the tree's root removed.
long long bareDelete(const std::wstring& folder, bool isRoot) {
  long long files = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring path = folder + L"\\" + fd.cFileName;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L".."))
          files += bareDelete(path, false);
      } else if (DeleteFileW(path.c_str())) {
        ++files;
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  if (!isRoot) RemoveDirectoryW(folder.c_str());
  return files;
}

int leftInTree() {
  int left = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((kTree + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..")) ++left;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return left;
}

}  // namespace

int main() {
  CreateDirectoryW(kBase.c_str(), nullptr);
  CreateDirectoryW(kApp.c_str(), nullptr);
  CreateDirectoryW((kApp + L"\\Plugins").c_str(), nullptr);
  setAppPath(utf8(kApp));
  writeFile(kApp + L"\\Plugins\\tree.qvp",
            "D\x01tree\r\nF\x01Yes\x01Yes\x01" + utf8(kTree) + "\\*.*\r\n");
  writeFile(kApp + L"\\plg.txt", "1\x01tree.qvp\x01tree\r\n");
  DeleteMethod = kDeletePlain;
  setCleaningHost(&frmMain());  // the main window's delete routines, without its window

  std::vector<double> bare, process, ratios;
  long long bareFiles = 0;
  std::int64_t processFiles = 0;
  int leftBehind = 0;
  const int rounds = 5;
  for (int r = 0; r < rounds; ++r) {
    double b = 0, p = 0;
    for (int k = 0; k < 2; ++k) {
      makeTree();
      auto t0 = std::chrono::steady_clock::now();
      if ((k == 0) == (r % 2 == 0)) {
        PluginManagerWindow& m = frmPluginManager();
        m.lstvPlugin.select(0);
        m.mnuProcess_Click();
        p = seconds(std::chrono::steady_clock::now() - t0);
        processFiles = cleaningHost().categoryFileCount();
        leftBehind = leftInTree();
      } else {
        bareFiles = bareDelete(kTree, true);
        b = seconds(std::chrono::steady_clock::now() - t0);
      }
    }
    bare.push_back(b);
    process.push_back(p);
    ratios.push_back(p / b);
  }
  frmPluginManager().destroy();
  RemoveDirectoryW(kTree.c_str());
  std::printf(
      "bench_plugin_process: %lld files by the bare loop, %lld by Process (%d entries "
      "left); bare %.3f s, Process %.3f s (medians); ratio %.2f (median of %d rounds; "
      "goal at most 1.3)\n",
      bareFiles, static_cast<long long>(processFiles), leftBehind, median(bare), median(process),
      median(ratios), rounds);
  return 0;
}
