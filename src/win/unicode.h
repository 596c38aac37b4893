// UTF-8 inside the program, UTF-16 at the Windows call.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glenvask {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);
// Text of unknown encoding from a file: UTF-8 when it is valid UTF-8, else the ANSI code page.
std::string fromFileText(std::string_view bytes);
// The text in the ANSI code page, as the program's own text files are written; nothing when a
// character has no place in that code page (the text is never written altered).
std::optional<std::string> toAnsiText(std::string_view utf8);

}  // namespace glenvask
