// The program's stored settings: INI files beside the executable, the per-user application
// settings store, and whole text files written so that a failure never leaves one cut short.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace glenvask {

// The settings file beside the executable.
std::string settingsFile();

// A value of an INI file, read through a buffer of 255 characters and cut at its first
// null character; the default when the file, the section or the key is missing.
std::string readIni(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view defaultValue);
bool writeIni(std::string_view file, std::string_view section, std::string_view key,
              std::string_view value);

// The per-user application settings store (application, section, key), registry backed.
std::string getUserSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue);
bool saveUserSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value);
// Where the store keeps an application's section, below HKEY_CURRENT_USER.
std::string userSettingsKey(std::string_view app, std::string_view section);

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> readFileBytes(std::string_view path);
// The first bytes of a file, at most maxBytes; nothing when it cannot be read or is no disk
// file (a device name such as "COM1" or "con.url").
std::optional<std::string> readFileStart(std::string_view path, size_t maxBytes);
// Writes the bytes to a temporary file beside the target, then puts it in the target's place.
// The temporary file is a new one, of a name no file had; on any failure it is removed and
// the target is left as it was.
bool writeFileAtomic(std::string_view path, std::string_view bytes);

}  // namespace glenvask
