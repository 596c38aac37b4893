// The invalid-file scan (the window's own walk, judge, rows and pumping) over the current user
// and the local machine of the prefix with 200,000 seeded values, against a bare walk of the
// same keys with RegEnumKeyExW / RegEnumValueW and one GetFileAttributesW per value that looks
// like a path, side by side in one process; then how soon Stop ends a walk. The values are
// seeded once (HKCU\Software\GlenvaskBench\refs) and kept for later runs.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tools/frmOrphanedFile.h"
#include "win/handle.h"

#include "timing.h"

using namespace glenvask;
using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kKeys = 2000, kValuesPerKey = 100;  // 200,000 values
constexpr int kRounds = 7;
const wchar_t* kSeedKey = L"Software\\GlenvaskBench\\refs";

void seed() {
  HKEY top = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kSeedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &top,
                  nullptr);
  DWORD done = 0, size = sizeof done;
  if (RegQueryValueExW(top, L"complete", nullptr, nullptr, reinterpret_cast<BYTE*>(&done), &size) ==
          ERROR_SUCCESS &&
      done == 1) {
    RegCloseKey(top);
    return;
  }
  std::printf("seeding %d values below HKCU\\Software\\GlenvaskBench\\refs...\n",
              kKeys * kValuesPerKey);
  std::fflush(stdout);
  for (int k = 0; k < kKeys; ++k) {
    HKEY key = nullptr;
    std::wstring name = L"k" + std::to_wstring(k / 100) + L"\\k" + std::to_wstring(k);
    RegCreateKeyExW(top, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (int v = 0; v < kValuesPerKey; ++v) {
      std::wstring data;
      switch (v % 20) {
        case 0: data = L"C:\\glenvask-bench\\gone\\file" + std::to_wstring(v) + L".exe"; break;
        case 1:
        case 2:
        case 3: data = L"C:\\windows\\system32\\kernel32.dll"; break;
        case 4: data = L"\"C:\\windows\\system32\\rundll32.exe\" shell32.dll,Control"; break;
        case 5: data = L"%SystemRoot%\\system32\\shell32.dll,-33"; break;
        default: data = L"some setting " + std::to_wstring(v); break;
      }
      std::wstring value = L"v" + std::to_wstring(v);
      RegSetValueExW(key, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * 2));
    }
    RegCloseKey(key);
  }
  done = 1;
  RegSetValueExW(top, L"complete", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&done), 4);
  RegCloseKey(top);
}

bool looksLikePath(const wchar_t* s, size_t n) {
  if (n > 0 && s[0] == L'"') ++s, --n;
  return (n >= 3 && s[1] == L':' && s[2] == L'\\') || wcschr(s, L'%');
}

// The bare walk: every key entered (but the subtrees the scan leaves), every value read.
void walk(HKEY root, HKEY key, int depth, long long& values, long long& probes,
          std::vector<wchar_t>& name, std::vector<BYTE>& data) {
  for (DWORD i = 0;; ++i) {
    DWORD n = static_cast<DWORD>(name.size()), d = static_cast<DWORD>(data.size() - 2), type = 0;
    LONG rc = RegEnumValueW(key, i, name.data(), &n, nullptr, &type, data.data(), &d);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    ++values;
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
      data[d] = data[d + 1] = 0;
      auto* s = reinterpret_cast<wchar_t*>(data.data());
      if (looksLikePath(s, wcslen(s))) {
        ++probes;
        GetFileAttributesW(s);
      }
    }
  }
  for (DWORD i = 0;; ++i) {
    wchar_t sub[256];
    DWORD n = 256;
    if (RegEnumKeyExW(key, i, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!_wcsicmp(sub, L"Wow6432Node") ||
        (depth == 0 && root == HKEY_LOCAL_MACHINE &&
         (!_wcsicmp(sub, L"SYSTEM") || !_wcsicmp(sub, L"SAM") || !_wcsicmp(sub, L"SECURITY") ||
          !_wcsicmp(sub, L"HARDWARE"))))
      continue;
    KeyHandle child;
    if (RegOpenKeyExW(key, sub, 0, KEY_READ, child.put()) != ERROR_SUCCESS) continue;
    walk(root, child.get(), depth + 1, values, probes, name, data);
  }
}

}  // namespace

int main() {
  seed();
  InvalidFileWindow& w = frmInvalidFile();
  w.open();
  std::vector<wchar_t> name(16384);
  std::vector<BYTE> data(4098);
  std::vector<double> bare, scan, ratios;
  long long values = 0, probes = 0;
  for (int r = 0; r < kRounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      auto t0 = std::chrono::steady_clock::now();
      if ((k == 0) == (r % 2 == 1)) {
        w.Timer1_Timer();
        scan.push_back(seconds(std::chrono::steady_clock::now() - t0));
      } else {
        values = probes = 0;
        walk(HKEY_CURRENT_USER, HKEY_CURRENT_USER, 0, values, probes, name, data);
        walk(HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE, 0, values, probes, name, data);
        bare.push_back(seconds(std::chrono::steady_clock::now() - t0));
      }
    }
    ratios.push_back(scan.back() / bare.back());
  }
  std::printf(
      "invalid-file scan: %lld values, %lld probed by the bare walk, %llu judged, %zu "
      "rows; bare walk %.3f s, scan %.3f s (medians); ratio %.2f (median of %d rounds; "
      "best times %.3f s and %.3f s, ratio %.2f)\n",
      values, probes, static_cast<unsigned long long>(w.judgedValues()), w.lstvInvalid.rowCount(),
      median(bare), median(scan), median(ratios), kRounds,
      *std::min_element(bare.begin(), bare.end()), *std::min_element(scan.begin(), scan.end()),
      *std::min_element(scan.begin(), scan.end()) / *std::min_element(bare.begin(), bare.end()));

  // Stop: a click posted from another thread while the walk runs; the time until it returns.
  std::vector<double> answers;
  for (int r = 0; r < 5; ++r) {
    std::atomic<long long> postedAt{0};
    HWND stop = w.cmdStop.hwnd();
    std::thread clicker([&] {
      Sleep(150 + 37 * r);
      postedAt = std::chrono::steady_clock::now().time_since_epoch().count();
      PostMessageW(stop, BM_CLICK, 0, 0);
    });
    w.Timer1_Timer();
    auto end = std::chrono::steady_clock::now().time_since_epoch().count();
    clicker.join();
    answers.push_back(seconds(std::chrono::steady_clock::duration(end - postedAt)));
  }
  std::printf("Stop answered in %.3f s (median of 5; longest %.3f s)\n", median(answers),
              *std::max_element(answers.begin(), answers.end()));
  w.destroy();
  return 0;
}
