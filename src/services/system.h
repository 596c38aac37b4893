// System and shell helpers: the system folders, the drives, the Recycle Bin, the shell's
// verbs and dialogs. Each one traps its own failures and gives "" (or nothing); none shows a
// message. The portable pieces (size texts, attribute letters, path texts) are in
// base/sizes.h and base/pathtext.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/pathtext.h"
#include "base/sizes.h"

namespace glenvask {

class ListView;

// The Windows folder, without a trailing backslash; "" on failure.
std::string GetWindowsDir();
// The system folder, without a trailing backslash; "" on failure.
std::string GetSystemDir();
// The user's temporary folder as the platform gives it, with its trailing backslash.
std::string GetTempDir();
// The Program Files folder; "" on failure.
std::string GetProgramFilesDir(HWND owner = nullptr);

// Replaces every "%SYSTEMROOT%" (any case) of the text by the Windows folder, in place, and
// returns the text. When the text holds the token and the folder cannot be had, the text
// becomes "". A text without the token is returned unchanged.
std::string ExpandSystemRoot(std::string& text);

// The root of every drive ("C:\"), each followed by a character 0, the list ended by a
// further character 0; "" when the platform gives none.
std::string GetLogicalDriveList();

// "Hard drive", "CD-ROM drive", "Floppy drive"... for a drive root such as "C:\".
std::string GetDriveTypeName(std::string_view root);
// The text for a platform drive type (root only decides floppy or removable for type 2).
std::string driveTypeText(unsigned type, std::string_view root);

// The bytes and the number of items in the Recycle Bin of a drive root ("" for all drives).
// Both are 0 when the query fails.
void QueryRecycleBin(std::string_view root, std::int64_t& size, std::int64_t& items);

// Empties the Recycle Bin of a drive ("C", "C:" and "C:\" all name C:\; "" for all drives).
// Returns whether the platform reports success (callers may ignore it).
bool EmptyRecycleBin(std::string_view drive, bool noConfirmation, bool noProgress,
                     bool noSound);
// The drive root EmptyRecycleBin uses: "" stays "", "d" and "d:" give "d:\".
std::string recycleBinRoot(std::string_view drive);

// Opens the Internet Options control panel (through outside()).
void OpenInternetOptions();
// The command line that opens the Internet Options.
inline constexpr const char* kInternetOptionsCommand =
    "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl ";

// Asks the shell to perform the operation ("open", "explore"...) on the file, with the
// desktop window as owner (through outside()).
void ShellExecuteOn(std::string_view operation, std::string_view file,
                    std::string_view parameters, std::string_view folder, int show);

// The folder browser titled "Please Select the folder" (through asker()); "" on cancel.
std::string BrowseForFolder();
inline constexpr const char* kBrowseForFolderTitle = "Please Select the folder";

// Opens the shell's properties dialog of the file (through outside(), verb "properties").
void ShowFileProperties(std::string_view path, HWND owner);

// Fits every column of the list view to its contents and header.
void AutoSizeColumns(HWND listView);
void AutoSizeColumns(const ListView& list);

// The user's regional number style (leading zero, negatives, grouping) for the size texts.
NumberStyle regionalNumberStyle();
// Makes the size texts use the user's regional number style.
void useRegionalNumberStyle();

}  // namespace glenvask
