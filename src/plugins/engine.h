// The plug-in engine: applies one plug-in file (base/plugin_format.h) in three passes, INI
// entries, then files, then registry data. INI keys and sections and registry values and
// subkeys are removed here; files and folders are only collected into arrFiles and
// arrFolders, for the caller to delete (the main window's deleteFiles and deleteFolders).
//
// An error in a pass (a record with too few fields, a Location or key without a backslash)
// ends that pass only; the next pass reads the file again from its start. Records that would
// reach too far are refused one by one and do nothing: a file record whose folder is relative,
// holds a "." or ".." step, or that takes every file of a drive root, the Windows, system,
// Program Files or profile folder or of a folder that holds one (services/guard.h); a registry
// record whose subkey is empty, blank or starts with a backslash; an INI record whose folder
// is not a full path ending in a backslash. The collector never enters a junction or symbolic
// link.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/globals.h"

namespace glenvask {

// The status texts of a stop seen by the collector: on entering a folder, and between its
// entries (capital U, as the scanner's).
inline constexpr const char* kPluginAbortedOnEntry = "Aborted by user";
inline constexpr const char* kPluginAbortedInWalk = "Aborted by User";

// Plug-in files and plg.txt as stored: text in the system's ANSI code page (a file that is
// valid UTF-8 reads as UTF-8).
// The file's text; "" when there is no such file; nothing when it exists but cannot be read
// (locked, access denied), and such a file is never to be written over.
std::optional<std::string> readPluginText(std::string_view path);
enum class PluginSave { Saved, NotInCodePage, Failed };
// Writes the text whole in the ANSI code page (a temporary file put in the file's place). A
// text with a character the code page cannot hold is not written: the file keeps what it held.
PluginSave writePluginText(std::string_view path, std::string_view text);

// Applies the plug-in file at the full path: the INI, files and registry passes, in this
// order. False, and nothing done, when the file does not exist.
bool RunPlugin(std::string_view path);
void RunPluginINI(std::string_view path);
void RunPluginFiles(std::string_view path);
void RunPluginRegistry(std::string_view path);

// Removes one key of a section of an INI file, or (wholeSection) the whole section. Nothing
// is written to a file that does not exist, and an empty key name removes nothing (it must
// never turn into the removal of the section). The platform's result; false when nothing
// was asked of it.
bool DeleteINIEntry(std::string_view section, std::string_view key, std::string_view iniPath,
                    bool wholeSection);

// Appends to arrFiles the files of the folder whose names match the file pattern ("*.*":
// every file; otherwise the wildcard rules of base/like.h on lower-cased names), descending
// into every subfolder when recurse is set, and with deleteFolders appends each visited
// subfolder after its contents to arrFolders (never PluginRoot, services/globals.h). Each folder is
// listed whole before its entries are examined. Pumps the events twice before each folder and each
// entry; a stop ends the run's backup archive (DeleteBackupZip) and the walk, and ends the run
// through the cleaning host (services/host.h).
void CollectPluginFiles(const std::string& folder, bool deleteFolders, bool recurse,
                        std::string_view specification);

// The folders the path variables stand for; an empty text is a folder that is unknown.
struct PluginPathFolders {
  std::string programFiles;  // %PROGDIR%
  std::string system;        // %SYSDIR%
  std::string windows;       // %WINDIR%
};
// The system's folders (the Program Files folder asked with the host's owner window).
PluginPathFolders systemPluginFolders();

// Replaces %PROGDIR%, %SYSDIR% and %WINDIR% (any case, every occurrence) by their folders.
// An unknown Program Files folder falls back to the system folder's drive followed by
// "\Program Files"; "" when a needed folder is unknown (the record is then skipped).
std::string ExpandPluginPath(std::string_view folder);
std::string ExpandPluginPath(std::string_view folder, const PluginPathFolders& folders);

// The predefined key handle value of a root name (exact case), 0 for any other text.
std::uint32_t GetHKeyFromName(std::string_view rootName);

// Whether a registry record may act on the subkey below its root: not empty, not blank, not
// starting with a backslash (each would reach the root itself, or a key the record does not
// spell).
bool isSafeRegistrySubkey(std::string_view subkey);

// Whether a file record may be applied to this folder (already expanded) with this
// specification: see the refusals at the top of this file.
bool isSafePluginFolder(std::string_view folder, std::string_view specification);

// The Plugins folder beside the executable, with its final backslash.
std::string pluginFolderPath();

// Runs every checked plug-in of plg.txt, in file order: for each line, the events are pumped
// twice and a stop ends the run (DeleteBackupZip, and the host is told "Aborted by
// user"); a checked line whose name is a bare file name of an existing file of the
// Plugins folder is run: the shared lists are emptied, RunPlugin applies it, and
// deleteCollected deletes what it collected (the caller's deleteFiles and deleteFolders).
// Unchecked lines, lines whose name is not a bare file name and missing files are skipped.
// A missing or empty plg.txt runs nothing. True when the run reached its end; false when it
// was stopped (a stop inside the last plug-in included), and the caller then logs nothing.
bool RunCheckedPlugins(const std::function<void()>& deleteCollected);

}  // namespace glenvask
