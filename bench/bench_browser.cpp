// The browser tools with ten thousand items each, side by side with bare loops in one run:
// the cache viewer listing 10,000 URL cache entries against a bare FindFirstUrlCacheEntryW /
// FindNextUrlCacheEntryW loop over them, and the favorites listing 10,000 ".url" files in 100
// folders against a bare walk that reads each file once. Prints both ratios (limit 1.5 each).
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/frmFavorites.h"
#include "tools/frmIECache.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;

using glenvask::bench::removeTree;

namespace {

constexpr int kEntries = 10000;
constexpr int kFolders = 100, kFilesPerFolder = 100;
constexpr int kRounds = 5;

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

std::wstring entryUrl(int i) { return L"http://bench.example/page" + std::to_wstring(i) + L".htm"; }

size_t bareCacheLoop() {
  std::vector<BYTE> buffer(8192);
  auto* e = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size());
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, e, &size);
  size_t n = 0;
  while (find) {
    ++n;
    size = static_cast<DWORD>(buffer.size());
    if (!FindNextUrlCacheEntryW(find, e, &size)) break;
  }
  if (find) FindCloseUrlCache(find);
  return n;
}

bool makeFavorites(const std::wstring& root) {
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  removeTree(root);
  if (!CreateDirectoryW(root.c_str(), nullptr)) return false;
  for (int d = 0; d < kFolders; ++d) {
    std::wstring dir = root + L"\\folder" + std::to_wstring(d);
    if (!CreateDirectoryW(dir.c_str(), nullptr)) return false;
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string text = "[InternetShortcut]\r\nURL=http://site" + std::to_string(d) + ".example/" +
                         std::to_string(f) + "\r\n";
      HANDLE h = CreateFileW((dir + L"\\fav" + std::to_wstring(f) + L".url").c_str(), GENERIC_WRITE,
                             0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      DWORD written = 0;
      WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      CloseHandle(h);
    }
  }
  return true;
}

// Walks the folders and reads each file once.
size_t bareFavoritesWalk(const std::wstring& folder) {
  size_t n = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  std::vector<std::wstring> subs;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subs.push_back(folder + L"\\" + name);
      continue;
    }
    HANDLE f = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) continue;
    char buf[512];
    DWORD got = 0;
    ReadFile(f, buf, sizeof buf, &got, nullptr);
    CloseHandle(f);
    ++n;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  for (const auto& s : subs) n += bareFavoritesWalk(s);
  return n;
}

}  // namespace

int main() {
  bool ok = true;

  // The cache viewer.
  std::printf("bench_browser: adding %d URL cache entries...\n", kEntries);
  std::fflush(stdout);
  FILETIME none{};
  for (int i = 0; i < kEntries; ++i)
    CommitUrlCacheEntryW(entryUrl(i).c_str(), nullptr, none, none, NORMAL_CACHE_ENTRY, nullptr, 0,
                         nullptr, nullptr);
  IECacheWindow& cache = frmIECache();
  cache.open();
  std::vector<double> bare, viewer;
  size_t walked = 0, listed = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = nowMs();
    walked = bareCacheLoop();
    bare.push_back(nowMs() - t0);
    DWORD mask = kCacheMaskAll;
    t0 = nowMs();
    cache.ListCacheEntries(mask);
    viewer.push_back(nowMs() - t0);
    listed = cache.lstvCache.rowCount();
  }
  cache.destroy();
  for (int i = 0; i < kEntries; ++i) DeleteUrlCacheEntryW(entryUrl(i).c_str());
  double a = median(bare), b = median(viewer);
  double cacheRatio = b / a;
  std::printf(
      "bench_browser: bare cache loop %.0f ms (%zu entries), cache viewer listing %.0f ms "
      "(%zu rows): ratio %.2f (limit 1.50) %s\n",
      a, walked, b, listed, cacheRatio, cacheRatio <= 1.5 ? "ok" : "OVER");
  ok &= cacheRatio <= 1.5 && listed >= static_cast<size_t>(kEntries);

  // Favorites.
  std::wstring root = L"C:\\glenvask-bench\\favorites-" + std::to_wstring(GetCurrentProcessId());
  std::printf("bench_browser: making %d favorites in %d folders...\n", kFolders * kFilesPerFolder,
              kFolders);
  std::fflush(stdout);
  if (!makeFavorites(root)) {
    std::printf("bench_browser: cannot make the favorites\n");
    removeTree(root);
    return 2;
  }
  FavoritesWindow& fav = frmFavorites();
  fav.open();
  bareFavoritesWalk(root);  // warm the file system's caches once
  std::vector<double> walk, window;
  size_t found = 0, rows = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = nowMs();
    found = bareFavoritesWalk(root);
    walk.push_back(nowMs() - t0);
    fav.lstvFavorites.clear();
    t0 = nowMs();
    fav.FindURL(utf8(root) + "\\");
    window.push_back(nowMs() - t0);
    rows = fav.lstvFavorites.rowCount();
  }
  fav.destroy();
  removeTree(root);
  a = median(walk), b = median(window);
  double favRatio = b / a;
  std::printf(
      "bench_browser: bare walk reading each file %.0f ms (%zu files), favorites listing "
      "%.0f ms (%zu rows): ratio %.2f (limit 1.50) %s\n",
      a, found, b, rows, favRatio, favRatio <= 1.5 ? "ok" : "OVER");
  ok &= favRatio <= 1.5 && rows == static_cast<size_t>(kFolders * kFilesPerFolder);
  return ok ? 0 : 1;
}
