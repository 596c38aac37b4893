// The overwriting delete method on a 256 MiB file, against writing 256 MiB over the same file
// sequentially with WriteFile, flushing it to the disk once and deleting it, side by side in one
// process (rounds in turns, medians). The overwrite flushes once too (else the new bytes never
// reach the disk), so that is the comparison judged; the same write without the flush is
// printed for information only.
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

constexpr std::size_t kSize = 256u << 20;
constexpr std::size_t kBlock = 1u << 20;
const wchar_t* kFolder = L"C:\\glenvask-bench";
const wchar_t* kFile = L"C:\\glenvask-bench\\overwrite.dat";

bool writeFile(HANDLE h, char fill) {
  static std::vector<char> block(kBlock);
  std::fill(block.begin(), block.end(), fill);
  for (std::size_t done = 0; done < kSize; done += kBlock) {
    DWORD put = 0;
    if (!WriteFile(h, block.data(), kBlock, &put, nullptr) || put != kBlock) return false;
  }
  return true;
}

// A 256 MiB file of non-zero bytes, on the disk before the clock starts.
void prepare() {
  HANDLE h = CreateFileW(kFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  writeFile(h, 'x');
  FlushFileBuffers(h);
  CloseHandle(h);
}

}  // namespace

int main() {
  CreateDirectoryW(kFolder, nullptr);
  std::vector<double> plain, flushed, shred;
  const int rounds = 5;
  for (int r = 0; r < rounds; ++r) {
    for (int k = 0; k < 3; ++k) {
      int which = (k + r) % 3;  // each kind first in turn
      prepare();
      auto t0 = std::chrono::steady_clock::now();
      if (which == 0) {
        ShredRandom = false;
        RenameBeforeDelete = false;
        if (!ShredFile(utf8(kFile))) std::printf("the overwrite failed\n");
        shred.push_back(seconds(std::chrono::steady_clock::now() - t0));
      } else {
        HANDLE h = CreateFileW(kFile, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        writeFile(h, '\0');
        if (which == 2) FlushFileBuffers(h);
        CloseHandle(h);
        DeleteFileW(kFile);
        (which == 1 ? plain : flushed).push_back(seconds(std::chrono::steady_clock::now() - t0));
      }
    }
  }
  std::vector<double> ratios, sameWork;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    ratios.push_back(shred[i] / plain[i]);
    sameWork.push_back(shred[i] / flushed[i]);
  }
  std::printf("overwrite 256 MiB: %.3f s; write 256 MiB, flush and delete: %.3f s (medians of "
              "%d); ratio %.2f (target at most 1.5)\n",
              median(shred), median(flushed), rounds, median(sameWork));
  std::printf("for information, without the flush: write 256 MiB and delete: %.3f s; overwrite "
              "against it: ratio %.2f (no target)\n",
              median(plain), median(ratios));
  if (getenv("BENCH_VERBOSE"))
    for (std::size_t i = 0; i < plain.size(); ++i)
      std::printf("  round %zu: write+delete %.3f write+flush+delete %.3f overwrite %.3f\n", i,
                  plain[i], flushed[i], shred[i]);
  return 0;
}
