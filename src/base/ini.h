// INI text as the platform's private-profile functions read it, and a change of one value that
// leaves every other byte of the text as it was. Sections and keys are found without regard
// to case, blanks around them ignored; lines before the first section belong to none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glenvask {

// The value the platform reads for the key: the text after the first "=", blanks at both ends
// removed, and a pair of like quotes ('"' or "'") around it removed. When a section name
// appears more than once, each is searched in order. Nothing when the key is missing.
std::optional<std::string> iniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// Gives the key the value, the way the platform's writer lays out what it adds: a key line
// "key=value" and CR LF, a new key after the last line of its section, a new section at the
// end. A key whose value reads as the value already leaves the text untouched; a changed key
// keeps its line's place and line end. The value ends at its first line break. True when the
// text changed.
bool setIniValue(std::string& text, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace glenvask
