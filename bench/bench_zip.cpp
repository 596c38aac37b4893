// The backup delete method on 10,000 files of 4 KiB, against deleting them plainly, side by
// side in one process (rounds in turns, medians); then 20,000 files against 10,000, for the
// growth. Each file's entry is flushed to the disk before the file goes.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "services/delete.h"
#include "services/globals.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

const std::string kRoot = "C:\\glenvask-bench\\zip";

// count files of 4 KiB of text in folders of 500; their paths.
std::vector<std::string> makeFiles(int count) {
  std::wstring root = wide(kRoot);
  glenvask::bench::removeTree(root, true);
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"\\Backup").c_str(), nullptr);
  std::vector<std::string> paths;
  std::string data;
  for (int i = 0; i < count; ++i) {
    if (i % 500 == 0)
      CreateDirectoryW((root + L"\\d" + std::to_wstring(i / 500)).c_str(), nullptr);
    std::string path = kRoot + "\\d" + std::to_string(i / 500) + "\\cache" + std::to_string(i) +
                       ".tmp";
    data.clear();
    while (data.size() < 4096) data += "line " + std::to_string(data.size() * 7 + i) + " of it\n";
    data.resize(4096);
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
    paths.push_back(path);
  }
  return paths;
}

// Deletes every file by the method; seconds taken.
double run(int method, const std::vector<std::string>& paths) {
  DeleteMethod = method;
  BackupFolder = kRoot + "\\Backup\\";
  BackupZipFile.clear();
  LastBackupDrive.clear();
  BackedUpCount = 0;
  DeleteFailed = false;
  auto t0 = std::chrono::steady_clock::now();
  int deleted = 0;
  for (const auto& p : paths) deleted += DeleteJunkFile(p) != 0;
  FinishBackupZip();
  double s = seconds(std::chrono::steady_clock::now() - t0);
  if (deleted != static_cast<int>(paths.size()) || DeleteFailed)
    std::printf("  method %d deleted only %d of %zu\n", method, deleted, paths.size());
  return s;
}

}  // namespace

int main() {
  const int rounds = 5;
  std::vector<double> plain, zip, zip20;
  for (int r = 0; r < rounds; ++r) {
    for (int k = 0; k < 3; ++k) {
      switch ((k + r) % 3) {  // each kind first in turn
        case 0: plain.push_back(run(kDeletePlain, makeFiles(10000))); break;
        case 1: zip.push_back(run(kDeleteBackup, makeFiles(10000))); break;
        default: zip20.push_back(run(kDeleteBackup, makeFiles(20000))); break;
      }
    }
  }
  glenvask::bench::removeTree(wide(kRoot), true);
  std::vector<double> ratios, growth;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    ratios.push_back(zip[i] / plain[i]);
    growth.push_back(zip20[i] / zip[i]);
  }
  std::printf("10,000 files of 4 KiB: backup %.3f s, plain delete %.3f s (medians of %d); "
              "ratio %.2f (target at most 4)\n",
              median(zip), median(plain), rounds, median(ratios));
  std::printf("20,000 files: backup %.3f s; against 10,000: ratio %.2f (target at most 2.2)\n",
              median(zip20), median(growth));
  if (getenv("BENCH_VERBOSE"))
    for (std::size_t i = 0; i < plain.size(); ++i)
      std::printf("  round %zu: plain %.3f backup %.3f backup of 20,000 %.3f\n", i, plain[i],
                  zip[i], zip20[i]);
  return 0;
}
