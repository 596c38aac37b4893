// A change of one value of INI text that leaves every other byte of the text as it was. The
// text is read as the platform's private-profile functions read it: sections and keys are
// found without regard to case, blanks around them ignored, a key in every section of its name
// in order, and lines before the first section belong to none; a value is the text after the
// first "=", blanks at both ends and a pair of like quotes ('"' or "'") around it removed.
#pragma once

#include <string>
#include <string_view>

namespace glenvask {

// Gives the key the value, the way the platform's writer lays out what it adds: a key line
// "key=value" and CR LF, a new key after the last line of its section, a new section at the
// end. A key whose value reads as the value already leaves the text untouched; a changed key
// keeps its line's place and line end. The value ends at its first line break. True when the
// text changed.
bool setIniValue(std::string& text, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace glenvask
