// The orphaned shared-DLL scan (the window's own read of the key, judge, rows, progress and
// pumping) over 5,000 seeded values of the local machine's SharedDLLs key, against a bare walk
// that reads each value with RegEnumValueW and checks its file with GetFileAttributesW, side
// by side in one process. Four values in five name files that are there (some below a folder
// with a blank in its name), the fifth a missing one. The files are made once
// (C:\glenvask-bench\shared) and kept; the values are removed at the end.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tools/frmOrphanedDll.h"
#include "win/handle.h"

#include "timing.h"

using namespace glenvask;
using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kValues = 5000, kFolders = 50;
constexpr int kRounds = 7;
const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::wstring kRoot = L"C:\\glenvask-bench\\shared";

std::wstring valueName(int i) {
  std::wstring folder = kRoot + (i % 3 ? L"\\lib " : L"\\lib") + std::to_wstring(i % kFolders);
  return folder + (i % 5 == 4 ? L"\\gone" : L"\\f") + std::to_wstring(i) + L".dll";
}

void makeFiles() {
  std::wstring done = kRoot + L"\\complete";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::printf("making the files below C:\\glenvask-bench\\shared...\n");
  std::fflush(stdout);
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  CreateDirectoryW(kRoot.c_str(), nullptr);
  for (int i = 0; i < kValues; ++i) {
    std::wstring name = valueName(i);
    CreateDirectoryW(name.substr(0, name.find_last_of(L'\\')).c_str(), nullptr);
    if (i % 5 == 4) continue;
    CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  CloseHandle(CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// Sets (or, with remove, deletes) the seeded values; true when the key was there before.
bool seedValues(bool remove) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  &disposition);
  for (int i = 0; i < kValues; ++i) {
    std::wstring name = valueName(i);
    DWORD count = 1 + i % 3;
    if (remove)
      RegDeleteValueW(key, name.c_str());
    else
      RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), 4);
  }
  RegCloseKey(key);
  return disposition == REG_OPENED_EXISTING_KEY;
}

// The bare walk: every value read, the file of each checked.
int walk(std::vector<wchar_t>& name) {
  KeyHandle key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
  int missing = 0;
  for (DWORD i = 0;; ++i) {
    DWORD n = static_cast<DWORD>(name.size()), type = 0, count = 0, size = sizeof count;
    LONG rc = RegEnumValueW(key.get(), i, name.data(), &n, nullptr, &type,
                            reinterpret_cast<BYTE*>(&count), &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    if (GetFileAttributesW(name.data()) == INVALID_FILE_ATTRIBUTES) ++missing;
  }
  return missing;
}

}  // namespace

int main() {
  makeFiles();
  bool existed = seedValues(false);
  OrphanedDllWindow& w = frmOrphanedDLL();
  w.open();
  std::vector<wchar_t> name(16384);
  std::vector<double> bare, scan, ratios;
  int missing = 0;
  auto timed = [](auto&& run) {
    auto t0 = std::chrono::steady_clock::now();
    run();
    return seconds(std::chrono::steady_clock::now() - t0);
  };
  std::function<void()> scanOnce = [&] { scan.push_back(timed([&] { w.Timer1_Timer(); })); };
  std::function<void()> walkOnce = [&] { bare.push_back(timed([&] { missing = walk(name); })); };
  for (int r = 0; r < kRounds; ++r) {
    // Each goes first in every other round.
    (r % 2 ? walkOnce : scanOnce)();
    (r % 2 ? scanOnce : walkOnce)();
    ratios.push_back(scan.back() / bare.back());
  }
  std::printf(
      "shared-DLL scan: %d values, %d missing by the bare walk; %s; bare walk %.3f s, scan "
      "%.3f s (medians); ratio %.2f (median of %d rounds, limit 1.5)\n",
      kValues, missing, w.lblStatus.text().c_str(), median(bare), median(scan), median(ratios),
      kRounds);
  w.destroy();
  seedValues(true);
  if (!existed) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
  return 0;
}
