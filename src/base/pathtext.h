// Small texts of paths and of text handed back by the platform.
#pragma once

#include <string>
#include <string_view>

namespace glenvask {

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
