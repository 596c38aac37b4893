// Plug-in files (".qvp" in the Plugins folder) and the plug-in list "plg.txt".
//
// Both are lines of fields separated by the character 1, each line ending in CR LF. A plug-in
// file holds one D record (description), then F (files), R (registry) and I (INI entry)
// records; plg.txt holds one "checked, file name, description" line per listed plug-in.
// The functions here work on the file's text (UTF-8, already decoded by the caller) and give
// back the text to write; reading and writing the files themselves is the caller's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

inline constexpr char kPluginFieldSeparator = '\x01';
inline constexpr std::string_view kPluginExtension = ".qvp";
inline constexpr std::string_view kPluginFolderName = "Plugins";
inline constexpr std::string_view kPluginListFileName = "plg.txt";
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No";

// Whether a name can only mean a file inside its folder: not empty, no "\", "/" or ":", no
// character that Windows refuses in a file name (control characters, * ? " < > |), not made
// of dots and blanks alone (".", ".." and their look-alikes), and not a device name such as
// "CON" or "lpt1.txt". Names from plg.txt and typed plug-in names are checked with it.
bool isBareFileName(std::string_view name);

// A flag field is true only when it reads exactly "Yes".
bool isYes(std::string_view field);
std::string_view yesNo(bool flag);

// The registry roots a key of an R record may start with, in the editor's order.
inline constexpr std::array<std::string_view, 7> kRegistryRootNames = {
    "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT",   "HKEY_USERS",    "HKEY_PERFORMANCE_DATA",
    "HKEY_CURRENT_USER",  "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
// The predefined key handle value of a root name (exact case), 0 for any other text.
std::uint32_t registryRootHandle(std::string_view rootName);

// Each record keeps its cells as the text stands in the file, as the editor's lists show
// them. `complete` is false when the line had fewer fields than its kind: the missing cells
// are empty.

// F record: files below a folder.
struct PluginFilesRecord {
  std::string recurse;           // "Yes": descend into every subfolder
  std::string deleteSubfolders;  // "Yes": collect visited subfolders for removal too
  std::string location;          // folder, "\", file name or wildcard specification
  bool complete = true;

  bool recurses() const { return isYes(recurse); }
  bool deletesSubfolders() const { return isYes(deleteSubfolders); }
  // The Location split at its last backslash; may hold %PROGDIR%, %SYSDIR%, %WINDIR%.
  std::string folder() const;
  std::string specification() const;
  bool operator==(const PluginFilesRecord&) const = default;
};

// R record: a registry value, or every subkey below a key.
struct PluginRegistryRecord {
  std::string deleteSubkey;   // "Yes": every subkey below the key; else the value
  std::string recurseDelete;  // the editor's "Delete all subkeys"; the engine reads no more
  std::string key;            // root name, "\", subkey path
  std::string value;          // value name; empty names the default value
  bool complete = true;

  bool deletesSubkey() const { return isYes(deleteSubkey); }
  bool recursesDelete() const { return isYes(recurseDelete); }
  // The key split at its first backslash.
  std::string rootName() const;
  std::string subkey() const;
  std::uint32_t rootHandle() const { return registryRootHandle(rootName()); }
  bool operator==(const PluginRegistryRecord&) const = default;
};

// I record: a key of an INI section, or the whole section.
struct PluginIniRecord {
  std::string fileName;       // the INI file's name
  std::string section;        // without brackets
  std::string deleteSection;  // "Yes": the whole section
  std::string value;          // the key's name; empty when the section goes
  std::string path;           // the INI file's folder, ending with "\"
  bool complete = true;

  bool deletesSection() const { return isYes(deleteSection); }
  std::string fullPath() const { return path + fileName; }
  bool operator==(const PluginIniRecord&) const = default;
};

struct PluginFile {
  std::string description;  // of the last D record; empty when there is none
  std::vector<PluginFilesRecord> files;
  std::vector<PluginRegistryRecord> registry;
  std::vector<PluginIniRecord> iniEntries;
  bool operator==(const PluginFile&) const = default;
};

// Reads a plug-in file's text. Lines may end in CR LF, LF or CR. A line without the
// character 1, or whose first field is none of "D", "F", "R", "I", is skipped; fields beyond
// a kind's are ignored; a record with too few fields is kept with `complete` false.
PluginFile parsePluginFile(std::string_view text);

// The text of a plug-in file: the D record, then the F, R and I records in list order, every
// field written even when empty, every line ending in CR LF. A character 1, CR or LF inside a
// cell would split or add a record, so each is written as a blank.
std::string writePluginFile(const PluginFile& plugin);

// The description of the file's first line when that line is a D record (what the manager's
// Add reads); nothing otherwise.
std::optional<std::string> firstLineDescription(std::string_view text);

// One line of plg.txt.
struct PluginListEntry {
  bool checked = false;  // the "Plugins" category runs it
  std::string fileName;  // bare name of a file in the Plugins folder
  std::string description;
  bool operator==(const PluginListEntry&) const = default;
};

// Reads plg.txt in file order: empty lines and lines without the character 1 are skipped,
// and so is a line whose file name is not a bare file name. A line is checked when its first
// field reads as the number 1 (anything that is not a number reads as unchecked); a missing
// description is empty. Whether each file exists is the caller's to test.
std::vector<PluginListEntry> parsePluginList(std::string_view text);

// The text of plg.txt: "1" or "0", the file name and the description per entry, each line
// ending in CR LF. Entries whose name is not a bare file name are left out; a character 1, CR
// or LF inside a field is written as a blank.
std::string writePluginList(const std::vector<PluginListEntry>& entries);

}  // namespace glenvask
