// The program's stored settings: INI files beside the executable, the per-user application
// settings store, and whole text files written so that a failure never leaves one cut short.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

// The settings file beside the executable.
std::string settingsFile();

// A value of an INI file, read through a buffer of 255 characters and cut at its first
// null character; the default when the file, the section or the key is missing.
std::string readIni(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view defaultValue);
bool writeIni(std::string_view file, std::string_view section, std::string_view key,
              std::string_view value);

// One value for writeIniValues.
struct IniValue {
  std::string section, key, value;
};
// Gives the keys their values, in order (base/ini.h lays out what is added), and writes the
// file whole to a temporary file put in its place, only when a value changed: every other
// byte stays as it was. The file keeps its encoding (UTF-16 or UTF-8 with their marks, else
// the ANSI code page, as the platform's reader takes them); a value the ANSI code page cannot
// hold turns the file into UTF-16 with its mark, so nothing is lost. False when the file
// could not be read or written.
bool writeIniValues(std::string_view file, const std::vector<IniValue>& values);

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
