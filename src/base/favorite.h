// The browser's favorites: ".url" files below the Favorites folder, each an INI text whose
// [InternetShortcut] section names the address.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glenvask {

// The most of a favorite file that is read for its address.
inline constexpr size_t kMaxFavoriteFileBytes = 64 * 1024;

// The address of a favorite's text: the URL= value of its [InternetShortcut] section; without
// one, the second line (the first when there is only one) with the first "BASEURL=" and then
// the first "URL=" taken out. Control characters are dropped.
std::string favoriteAddress(std::string_view text);

// The name a favorite file shows: its file name with every ".url" taken out, in any case.
std::string favoriteName(std::string_view fileName);

// Whether the file name ends in ".url", in any case.
bool isFavoriteFileName(std::string_view fileName);

}  // namespace glenvask
