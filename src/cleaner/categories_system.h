// Helpers of the browser, history and system categories that other routines use too: the
// clearing of registry lists and the kept-cookies file (the URL cache walk is in services/).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "services/urlcache.h"

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

// The items and bytes in the Recycle Bins: all drives together, or, when that gives no item,
// the sum over the hard drives.
void RecycleBinTotals(std::int64_t& items, std::int64_t& bytes);

}  // namespace glenvask
