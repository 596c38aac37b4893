// Registry reads and writes of the tool windows that need more than the shared helpers give:
// a value's type beside its text, a number read as a number, every value of a key in one
// pass, the names of a key's subkeys, and an edit that keeps the value's type. Deletions go
// through services/registry.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/registry.h"

namespace glenvask {

// A string value (REG_SZ or REG_EXPAND_SZ), cut at its first character 0.
struct RegText {
  DWORD type = REG_SZ;
  std::string text;
};

// The string value root\subkey\name ("" names the default value); nothing when the key or
// value is missing or the value is not a string.
std::optional<RegText> readRegText(RegRoot root, std::string_view subkey, std::string_view name);

// A value's type and its data as stored; nothing when the key or value is missing.
struct RegData {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};
std::optional<RegData> readRegData(RegRoot root, std::string_view subkey, std::string_view name);

// One value of a key as an enumeration finds it.
struct RegValueEntry {
  std::string name;
  DWORD type = REG_NONE;
  std::string text;                     // string values: the text up to the first character 0
  std::optional<std::uint64_t> number;  // a REG_DWORD, a REG_QWORD or a string of a whole number
};

// Every value of root\subkey, in the key's order. Values whose name holds a character 0 or
// cannot be written back exactly in UTF-8 are left out: a name the program cannot name again
// must never be listed for deletion.
std::vector<RegValueEntry> readRegValues(RegRoot root, std::string_view subkey);

// The names of the subkeys of root\subkey, in the key's order, left out as above.
std::vector<std::string> regSubkeyNames(RegRoot root, std::string_view subkey);

// Writes a string value into root\subkey, which must exist (nothing is created). Writes
// nothing when the value holds the text already; an expandable string stays expandable, any
// other value becomes REG_SZ. True when the value holds the text afterwards.
bool writeRegTextKeepType(RegRoot root, std::string_view subkey, std::string_view name,
                          std::string_view text);

// Whether the UTF-16 text comes back the same through UTF-8.
bool roundTrips(std::wstring_view text);

}  // namespace glenvask
