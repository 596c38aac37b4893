#include "services/urlcache.h"

#include <algorithm>
#include <vector>

#include "win/handle.h"

namespace glenvask {

namespace {

void readEntry(const INTERNET_CACHE_ENTRY_INFOW& e, UrlCacheEntry& item) {
  item.type = e.CacheEntryType;
  item.url.assign(e.lpszSourceUrlName ? e.lpszSourceUrlName : L"");
  item.localFile.assign(e.lpszLocalFileName ? e.lpszLocalFileName : L"");
  item.size = (static_cast<std::int64_t>(e.dwSizeHigh) << 32) | e.dwSizeLow;
  item.hitRate = e.dwHitRate;
  item.lastModified = e.LastModifiedTime;
  item.expires = e.ExpireTime;
  item.lastAccess = e.LastAccessTime;
}

}  // namespace

void ForEachUrlCacheEntry(const std::function<void(const UrlCacheEntry&)>& visit) {
  // The first call asks only for the size of the first entry.
  DWORD size = 0;
  if (UrlCacheFindHandle probe(FindFirstUrlCacheEntryW(nullptr, nullptr, &size)); probe) return;
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return;
  std::vector<BYTE> buffer(std::max<DWORD>(size, 4096));
  auto entry = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()); };
  entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
  size = static_cast<DWORD>(buffer.size());
  UrlCacheFindHandle find(FindFirstUrlCacheEntryW(nullptr, entry(), &size));
  if (!find) return;
  UrlCacheEntry item;
  for (;;) {
    readEntry(*entry(), item);
    visit(item);
    size = static_cast<DWORD>(buffer.size());
    entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
    if (FindNextUrlCacheEntryW(find.get(), entry(), &size)) continue;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) break;
    buffer.resize(size);
    entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
    if (!FindNextUrlCacheEntryW(find.get(), entry(), &size)) break;
  }
}

bool RemoveUrlCacheEntry(const std::wstring& url) {
  return !url.empty() && ::DeleteUrlCacheEntryW(url.c_str()) != FALSE;
}

std::wstring CachedFileOf(const std::wstring& url) {
  if (url.empty()) return L"";
  DWORD size = 0;
  if (GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
    return L"";
  std::vector<BYTE> buffer(size);
  auto* e = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  e->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
  if (!GetUrlCacheEntryInfoW(url.c_str(), e, &size) || !e->lpszLocalFileName) return L"";
  return e->lpszLocalFileName;
}

}  // namespace glenvask
