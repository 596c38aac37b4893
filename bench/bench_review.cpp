// The review list with a hundred thousand finds: a drive scan that fills the list (rows,
// icons, every row checked) against the same scan with nobody listening, side by side in one
// run; then a sort by size and a Delete all of every row. Prints the ratio (at most 1.5) and
// the peak working set (under 200 MB).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "review/frmDeletetion.h"
#include "services/globals.h"
#include "services/scanner.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

using glenvask::bench::removeTree;

namespace {

constexpr int kFolders = 1000, kFilesPerFolder = 100;

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

// Counts the finds and keeps nothing: the scan alone.
class CountingReporter : public ScanReporter {
 public:
  size_t rows = 0;
  void addReviewRow(const ReviewRow&) override { ++rows; }
};

bool makeTree(const std::wstring& root) {
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  removeTree(root);
  if (!CreateDirectoryW(root.c_str(), nullptr)) return false;
  // A few extensions, as a drive holds them: the icons are asked once per type.
  const wchar_t* exts[] = {L"tmp", L"log", L"bak", L"old", L"chk", L"txt", L"dat", L"gid"};
  for (int d = 0; d < kFolders; ++d) {
    wchar_t folder[64];
    swprintf(folder, 64, L"\\d%04d", d);
    std::wstring dir = root + folder;
    if (!CreateDirectoryW(dir.c_str(), nullptr)) return false;
    for (int f = 0; f < kFilesPerFolder; ++f) {
      wchar_t name[64];
      swprintf(name, 64, L"\\file%05d.%ls", d * kFilesPerFolder + f, exts[f % 8]);
      HANDLE h = CreateFileW((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      CloseHandle(h);
    }
  }
  return true;
}

}  // namespace

int main() {
  std::wstring root = L"C:\\glenvask-bench\\review-" + std::to_wstring(GetCurrentProcessId());
  std::printf("bench_review: making %d empty files in %d folders...\n",
              kFolders * kFilesPerFolder, kFolders);
  std::fflush(stdout);
  if (!makeTree(root)) {
    std::printf("bench_review: cannot make the files\n");
    removeTree(root);
    return 2;
  }
  std::string folder = utf8(root) + "\\";
  const size_t expected = static_cast<size_t>(kFolders) * kFilesPerFolder;

  // Warm the file system's caches once.
  {
    CountingReporter warm;
    setScanReporter(&warm);
    ScanFolder(folder, "*.*", kScanEmpty);
    setScanReporter(nullptr);
  }

  std::vector<double> alone, withList;
  size_t listed = 0;
  for (int round = 0; round < 3; ++round) {
    CountingReporter counting;
    setScanReporter(&counting);
    double t0 = nowMs();
    ScanFolder(folder, "*.*", kScanEmpty);
    alone.push_back(nowMs() - t0);
    if (counting.rows != expected)
      std::printf("bench_review: the scan found %zu of %zu\n", counting.rows, expected);

    releaseReviewList();
    ReviewListReporter review;
    setScanReporter(&review);
    t0 = nowMs();
    ScanFolder(folder, "*.*", kScanEmpty);
    ReviewListWindow& w = frmDeletetion();
    w.lblTotalFiles.setText("Files " + std::to_string(w.lstvDeletion.rowCount()));
    w.addIcons();
    withList.push_back(nowMs() - t0);
    listed = w.lstvDeletion.rowCount();
    setScanReporter(nullptr);
  }

  ReviewListWindow& w = frmDeletetion();
  w.show();
  double t0 = nowMs();
  w.lstvDeletion_ColumnClick(kColBytes);
  w.lstvDeletion_ColumnClick(kColName);
  double sortMs = nowMs() - t0;

  bAbort = false;
  DeleteMethod = kDeletePlain;
  t0 = nowMs();
  w.mnuDeleteAll_Click();
  double deleteMs = nowMs() - t0;
  size_t left = w.lstvDeletion.rowCount();
  w.mnuExit_Click();

  PROCESS_MEMORY_COUNTERS mem{};
  mem.cb = sizeof mem;
  GetProcessMemoryInfo(GetCurrentProcess(), &mem, sizeof mem);
  double peakMb = static_cast<double>(mem.PeakWorkingSetSize) / (1024.0 * 1024.0);

  removeTree(root);

  double a = median(alone), b = median(withList);
  double ratio = b / a;
  std::printf("bench_review: %zu rows listed\n", listed);
  std::printf("bench_review: scan alone %.0f ms, scan filling the review list %.0f ms: "
              "ratio %.2f (limit 1.50) %s\n",
              a, b, ratio, ratio <= 1.5 ? "ok" : "OVER");
  std::printf("bench_review: sort by two columns %.0f ms; Delete all %.0f ms, %zu rows left\n",
              sortMs, deleteMs, left);
  std::printf("bench_review: peak working set %.1f MB (limit 200) %s\n", peakMb,
              peakMb < 200 ? "ok" : "OVER");
  return ratio <= 1.5 && peakMb < 200 && listed == expected && left == 0 ? 0 : 1;
}
