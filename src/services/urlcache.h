// The platform's URL cache (WinINet): walking its entries, finding the local copy of an
// address, and deleting an entry. The cache is read with no search pattern, which reaches
// every container (pages, cookies, history).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>

namespace glenvask {

// One entry of the URL cache as the walk hands it out.
struct UrlCacheEntry {
  DWORD type = 0;          // the entry type bits (NORMAL_CACHE_ENTRY, COOKIE_CACHE_ENTRY...)
  std::wstring url;        // the source address: the entry's key
  std::wstring localFile;  // "" when it has none
  std::int64_t size = 0;
  DWORD hitRate = 0;
  FILETIME lastModified{}, expires{}, lastAccess{};
  bool isCookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
};

// Walks every entry of the URL cache (all of its containers), in the cache's order. Nothing
// is handed out when the cache cannot be read or is empty.
void ForEachUrlCacheEntry(const std::function<void(const UrlCacheEntry&)>& visit);

// Removes the entry of that source address (its local copy with it): true when it went. (Not
// named DeleteUrlCacheEntry: the platform's header makes that name a macro for the W call.)
bool RemoveUrlCacheEntry(const std::wstring& url);

// The local copy of an address in the cache; "" when the cache holds none.
std::wstring CachedFileOf(const std::wstring& url);

}  // namespace glenvask
