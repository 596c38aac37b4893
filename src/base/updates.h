// The texts of the online update: which version the server names, how it compares with the
// installed one, and the progress line of the download.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glenvask {

// What the latest version on the server means for this installation.
enum class UpdateVerdict {
  Newer,         // the server has a newer version: the update page, with Download
  Older,         // the installed version is ahead of the server's (a beta)
  Same,          // no update
  NoConnection,  // no usable answer: the connection message
};

// A version text: whole numbers joined by single dots ("6", "6.0.3").
bool isVersionText(std::string_view text);

// The latest version in a reply of the update server: the body trimmed of blanks and line
// ends, believed only from a reply with status 200 that is a version text.
std::optional<std::string> latestVersionOf(int status, std::string_view body);

// Compares two version texts part by part as whole numbers (6.0.10 is ahead of 6.0.9; a part
// that is missing counts as 0, so 6.0 is 6.0.0); no latest version, or a latest text that is
// no version, is no connection.
UpdateVerdict compareVersions(std::string_view installed, const std::optional<std::string>& latest);

// The file name of a download address: the text after its last "/", trimmed of blanks.
std::string fileNameOfAddress(std::string_view address);

// The folder the setup program is saved in: the user's local application data folder (as
// the registry names it) followed by "\Temp\"; the temporary folder, ending in "\", when that
// value is empty or is no usable absolute folder.
std::string updateFolderOf(std::string_view localAppData, std::string_view tempFolder);

// How much of the download is done, 0 to 100, rounded; 0 while the total is unknown.
int downloadPercent(std::int64_t copied, std::int64_t total);

// "41 % Completed (1.00 KB of 2.44 KB copied)": the percent, the size text of what was
// copied, and the total's size text as shown.
std::string downloadProgressText(std::int64_t copied, std::int64_t total,
                                 std::string_view totalText);

}  // namespace glenvask
