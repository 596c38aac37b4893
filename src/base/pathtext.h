// Small texts of paths and of text handed back by the platform.
#pragma once

#include <string>
#include <string_view>

namespace glenvask {

// The longest path, in UTF-16 units, that the program hands to the platform: what the file
// functions take without the "\\?\" prefix (MAX_PATH less its null). A path that comes from a
// file, the registry, a plug-in or the command line and is longer is refused where it enters,
// like any other unusable line: some platform calls break on longer ones (Wine's
// GetLongPathNameW overflows its stack past about 1,024 characters).
inline constexpr size_t kMaxPathUnits = 259;
// The length of a UTF-8 text in UTF-16 units.
size_t utf16Length(std::string_view utf8);
bool isUsablePathLength(std::string_view path);

// The text after the last "\" (the whole path when it has none).
std::string GetFileNameFromPath(std::string_view path);

// The text before its first character 0 (the whole text when it has none).
std::string StripNulls(std::string_view text);

// A copy of a zero-ended text; a null pointer gives "".
std::string StrFromPtr(const char* text);

// Every occurrence of "%SYSTEMROOT%", in any case, replaced by the folder.
std::string replaceSystemRoot(std::string_view text, std::string_view folder);
bool hasSystemRoot(std::string_view text);

}  // namespace glenvask
