// Helpers of the browser, history and system categories that other routines use too: the
// clearing of registry lists, the kept-cookies file and the URL cache walk.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace glenvask {

// The kept-cookies file beside the executable: one line, each kept cookie's folder and file
// name followed by the character 1, ended by CR LF.
inline constexpr const char* kKeptCookiesFile = "ck.txt";

// Deletes every value of HKEY_CURRENT_USER\subkey; the key and its subkeys stay. Gives the
// number of values that were there and are gone now (0 for a missing key).
std::int64_t ClearRegValues(std::string_view subkey);

// Clears the Office file-dialog and recent-file lists of one version ("10.0"). A list that
// cannot be cleared is passed over.
void ClearOfficeMRU(std::string_view version);

// The whole text of ck.txt; "" when it is missing, empty or unreadable.
std::string ReadKeptCookies();
// Whether the path occurs anywhere in the kept-cookies text, compared without regard to case.
bool IsKeptCookie(std::string_view keptText, std::string_view path);

// One entry of the URL cache as the walk hands it out.
struct UrlCacheEntry {
  DWORD type = 0;
  std::wstring url;        // the source address
  std::wstring localFile;  // "" when it has none
  bool isCookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
};
// Walks every entry of the URL cache (all of its containers), in the cache's order. Nothing
// is handed out when the cache cannot be read or is empty.
void ForEachUrlCacheEntry(const std::function<void(const UrlCacheEntry&)>& visit);

// The items and bytes in the Recycle Bins: all drives together, or, when that gives no item,
// the sum over the hard drives.
void RecycleBinTotals(std::int64_t& items, std::int64_t& bytes);

}  // namespace glenvask
