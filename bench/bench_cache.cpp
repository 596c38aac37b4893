// The cache viewer's Delete all of 2,000 URL cache entries, the window shown, side by side with
// a bare DeleteUrlCacheEntryW loop over the same entries in the same order, in turns. Prints the
// median of the rounds' ratios (limit 1.5).
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/frmIECache.h"
#include "win/pump.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

constexpr int kEntries = 2000;
constexpr int kRounds = 5;
// Entries of this type are listed under the URL filter, which leaves out the prefix's own.
constexpr DWORD kType = kCacheMaskUrl;

std::wstring entryUrl(int i) { return L"http://delete.bench/page" + std::to_wstring(i) + L".htm"; }

void seed() {
  FILETIME none{};
  for (int i = 0; i < kEntries; ++i)
    CommitUrlCacheEntryW(entryUrl(i).c_str(), nullptr, none, none, kType, nullptr, 0, nullptr,
                         nullptr);
}

double bareLoop(int& deleted) {
  seed();
  std::vector<std::wstring> urls;
  ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
    if (e.url.find(L"delete.bench") != std::wstring::npos) urls.push_back(e.url);
  });
  auto t0 = std::chrono::steady_clock::now();
  deleted = 0;
  for (size_t i = urls.size(); i-- > 0;) deleted += DeleteUrlCacheEntryW(urls[i].c_str()) ? 1 : 0;
  return seconds(std::chrono::steady_clock::now() - t0);
}

double deleteAll(IECacheWindow& w, size_t& listed, size_t& left) {
  seed();
  w.optURL_Click();
  EventPump::dispatchPending();  // the list on the screen, as when the user presses Delete all
  listed = w.lstvCache.rowCount();
  auto t0 = std::chrono::steady_clock::now();
  w.cmdClear_Click();
  double s = seconds(std::chrono::steady_clock::now() - t0);
  left = w.lstvCache.rowCount();
  return s;
}

}  // namespace

int main() {
  IECacheWindow& w = frmIECache();
  if (!w.open()) return 2;
  std::vector<double> bare, viewer, ratios;
  int deleted = 0;
  size_t listed = 0, left = 0;
  for (int r = 0; r < kRounds; ++r) {
    if (r % 2) {
      viewer.push_back(deleteAll(w, listed, left));
      bare.push_back(bareLoop(deleted));
    } else {
      bare.push_back(bareLoop(deleted));
      viewer.push_back(deleteAll(w, listed, left));
    }
    ratios.push_back(viewer.back() / bare.back());
  }
  w.destroy();
  for (int i = 0; i < kEntries; ++i) DeleteUrlCacheEntryW(entryUrl(i).c_str());
  double a = median(bare), b = median(viewer), ratio = median(ratios);
  std::printf(
      "bench_cache: bare delete loop %.2f s (%d entries), Delete all %.2f s (%zu rows, "
      "%zu left) (medians of %d); median ratio %.2f (limit 1.50) %s\n",
      a, deleted, b, listed, left, kRounds, ratio, ratio <= 1.5 ? "ok" : "OVER");
  return ratio <= 1.5 && left == 0 && listed >= static_cast<size_t>(kEntries) ? 0 : 1;
}
