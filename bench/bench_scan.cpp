// The unnecessary-file scan (mode 1) over 100,000 files in 1,000 folders, against a bare
// FindFirstFileW walk of the same tree, side by side in one process. The tree is made once
// in the prefix (C:\glenvask-bench\scan-tree) and kept for later runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "services/globals.h"
#include "services/lists.h"
#include "services/host.h"
#include "services/scanner.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kTops = 10;
constexpr int kLeavesPerTop = 99;  // 10 + 990 = 1,000 folders
constexpr int kFilesPerFolder = 100;
const wchar_t* kRoot = L"C:\\glenvask-bench\\scan-tree";
const wchar_t* kExtensions[] = {L"txt", L"dll", L"exe", L"jpg", L"htm", L"doc", L"ini",
                                L"dat", L"png", L"xml", L"log", L"bak", L"tmp", L"gid"};

void makeFiles(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < kFilesPerFolder; ++i) {
    wchar_t name[64];
    swprintf(name, 64, L"\\file%03d.%ls", i, kExtensions[i % std::size(kExtensions)]);
    if (i % 25 == 7) swprintf(name, 64, L"\\~$draft%03d.docx", i);
    HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
}

void makeTree() {
  std::wstring marker = std::wstring(kRoot) + L"\\complete.txt";
  if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::printf("making the tree in C:\\glenvask-bench\\scan-tree...\n");
  std::fflush(stdout);
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  CreateDirectoryW(kRoot, nullptr);
  for (int t = 0; t < kTops; ++t) {
    std::wstring top = std::wstring(kRoot) + L"\\top" + std::to_wstring(t);
    makeFiles(top);
    for (int l = 0; l < kLeavesPerTop; ++l) makeFiles(top + L"\\leaf" + std::to_wstring(l));
  }
  HANDLE h = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// The bare walk: every entry found, folders entered, nothing else.
void walk(const std::wstring& folder, long long& files) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..") &&
          !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        walk(folder + L"\\" + fd.cFileName, files);
    } else {
      ++files;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

// What the review list would hold, and the status line the main window would show.
struct Rows : ScanReporter, CleaningHost {
  void setStatus(const std::string& text) override { status = text; }
  void addReviewRow(const ReviewRow& row) override { rows.push_back(row); }
  std::string status;
  std::vector<ReviewRow> rows;
};

// Median times of the bare walk and of the scan, run in turns.
void measure(const char* label, int rounds) {
  std::vector<double> bare, scan;
  long long files = 0;
  size_t found = 0;
  std::string root = utf8(kRoot) + "\\";
  for (int r = 0; r < rounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      bool scanFirst = r % 2 == 1;
      auto t0 = std::chrono::steady_clock::now();
      if ((k == 0) == scanFirst) {
        Rows rows;
        ScanReporter* old = setScanReporter(&rows);
        CleaningHost* oldHost = setCleaningHost(&rows);
        ResetScanLists();
        ScanFolder(root, "*.*", kScanUnnecessary);
        setCleaningHost(oldHost);
        setScanReporter(old);
        scan.push_back(seconds(std::chrono::steady_clock::now() - t0));
        found = rows.rows.size();
      } else {
        files = 0;
        walk(kRoot, files);
        bare.push_back(seconds(std::chrono::steady_clock::now() - t0));
      }
    }
  }
  std::vector<double> ratios;
  for (size_t i = 0; i < bare.size(); ++i) ratios.push_back(scan[i] / bare[i]);
  double b = median(bare), s = median(scan);
  std::printf("%s: %lld files, %zu rows; bare walk %.3f s, scan %.3f s (medians); ratio %.2f "
              "(median of %d rounds; best times %.3f s and %.3f s, ratio %.2f)\n",
              label, files, found, b, s, median(ratios), rounds,
              *std::min_element(bare.begin(), bare.end()),
              *std::min_element(scan.begin(), scan.end()),
              *std::min_element(scan.begin(), scan.end()) /
                  *std::min_element(bare.begin(), bare.end()));
  if (getenv("BENCH_VERBOSE"))
    for (size_t i = 0; i < bare.size(); ++i)
      std::printf("  round %zu: bare %.3f scan %.3f\n", i, bare[i], scan[i]);
}

}  // namespace

int main() {
  makeTree();
  LoadIFIList();
  LoadIEList();
  LoadUNFIList();
  // When the default lists are not found beside the program, copies of them.
  if (arrUnnecessary.empty())
    arrUnnecessary = {"*.tmp", "~*.*", "*.~*", "*._mp", "*.$$$", "*.---", "*.chk", "*.gid",
                      "*.fts", "*.dmp", "mscreate.dir"};
  if (arrIgnoreFiles.empty())
    arrIgnoreFiles = {"boot.ini", "bootmgr", "ntldr", "ntdetect.com", "io.sys", "msdos.sys",
                      "config.sys", "autoexec.bat", "pagefile.sys", "hiberfil.sys"};
  searchOptions.skipReadOnly = searchOptions.skipHidden = searchOptions.skipSystem = true;
  std::printf("bench_scan: %zu patterns, %zu ignored names, %zu ignored extensions\n",
              arrUnnecessary.size(), arrIgnoreFiles.size(), arrIgnoreExt.size());

  long long warm = 0;
  walk(kRoot, warm);  // the file system's caches, warm for both
  measure("mode 1", 9);
  searchOptions.useDateFilter = true;
  searchOptions.dateFrom = {1990, 1, 1};
  searchOptions.dateTo = {2100, 1, 1};
  measure("mode 1, date window on", 5);
  return 0;
}
