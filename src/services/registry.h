// Registry helpers: read, list, write and delete string values and keys. None shows a
// message; each reports failure by its result ("" or false) or not at all. Names and data are
// UTF-8 here and UTF-16 at the platform.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

// The key of the programs that start with Windows, below either root.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The numeric values of the predefined keys, as the plug-in files' roots translate to.
inline constexpr std::uint32_t kHkeyClassesRoot = 0x80000000;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kHkeyUsers = 0x80000003;
inline constexpr std::uint32_t kHkeyPerformanceData = 0x80000004;
inline constexpr std::uint32_t kHkeyCurrentConfig = 0x80000005;
inline constexpr std::uint32_t kHkeyDynData = 0x80000006;

// A root: the numeric value of a predefined key, or a key handle the caller holds open.
class RegRoot {
 public:
  RegRoot(std::uint32_t predefined)  // NOLINT: implicit on purpose
      : key_(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(predefined)))) {}
  RegRoot(HKEY key) : key_(key) {}  // NOLINT: implicit on purpose
  HKEY key() const { return key_; }

 private:
  HKEY key_;
};

// The type and data of a value of an open key, whatever its length (it may grow between the
// calls); false when it cannot be read.
bool readRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data);

// The named value of root\subkey as text ("" names the default value). String values are
// read whole and cut at their first character 0; a value of another type gives its data bytes
// up to the first zero byte, one character per byte (a DWORD use count of 5 gives "\x05").
// "" for a missing key or value.
std::string GetRegString(RegRoot root, std::string_view subkey, std::string_view name);

// The value names of root\subkey, separated by the character 0 (none after the last); ""
// for a missing key or a key without values. Names are given exactly as stored.
std::string GetRegValueNames(RegRoot root, std::string_view subkey);

// Deletes one value, or every value of a list separated by the character 0, from
// root\subkey. Note the order: the names come before the subkey.
void DeleteRegValues(RegRoot root, std::string_view names, std::string_view subkey);

// Deletes the key root\subkey, which must have no subkeys (a key with subkeys stays).
void DeleteRegKey(RegRoot root, std::string_view subkey);

// Deletes every subkey below root\subkey, recursively; the key itself and its values stay.
// False when the key cannot be opened, and for an empty subkey (a whole root is never
// emptied).
bool DeleteRegKeyTree(RegRoot root, std::string_view subkey);

// Writes a string value (REG_SZ) into root\subkey, which must exist: nothing is created.
void SetRegString(RegRoot root, std::string_view subkey, std::string_view name,
                  std::string_view data);

}  // namespace glenvask
