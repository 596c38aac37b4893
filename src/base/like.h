// The wildcard patterns of the program's lists and plug-ins: "*" any run of characters (also
// none), "?" any one character, "#" any one digit, [abc] or [a-z] one character of the list or
// range, [!abc] one character not in it; every other character matches itself. The whole text
// must match. Characters are Unicode code points of UTF-8 text (a byte that is not valid UTF-8
// counts as one character of its own).
#pragma once

#include <string_view>

namespace glenvask {

// Whether the whole text matches the pattern, comparing characters exactly (callers that
// ignore case fold both sides first, or use likeIgnoreCase). A malformed pattern (an
// unclosed "[", a descending range such as [z-a]) matches nothing. Time grows with
// text length times pattern length at worst, never exponentially.
bool like(std::string_view text, std::string_view pattern);

// like() with ASCII letters of both sides compared without regard to case.
bool likeIgnoreCase(std::string_view text, std::string_view pattern);

// Whether the pattern is well formed (see like()).
bool isValidLikePattern(std::string_view pattern);

}  // namespace glenvask
