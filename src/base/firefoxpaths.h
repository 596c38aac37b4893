// Where the Firefox profiles live, worked out from what the platform reports: the short name
// of the Windows version, and the profiles folder from the version's family and its folders.
#pragma once

#include <string>
#include <string_view>

namespace glenvask {

inline constexpr unsigned kPlatformWin32Windows = 1;  // 95, 98, Me
inline constexpr unsigned kPlatformWin32NT = 2;

// "95", "98", "NT", "2K", "XP", "Vista", "Win7", or "" for a version not in that list.
std::string osVersionName(unsigned major, unsigned minor, unsigned platformId);

// The Firefox profiles folder, ending in "\": on the NT family below the user's application
// data folder (whatever the version), on 95 and 98 below the Windows folder. "" when the
// family is neither, when the version is unknown on 95/98, or when the folder it would lie
// below is not a full path ("", "Data", "C:Data", "\Data"): a walk must never start from
// whatever the current folder or drive happens to be.
std::string firefoxProfilesFolder(unsigned platformId, std::string_view versionName,
                                  std::string_view appDataFolder, std::string_view windowsFolder);

// A full path: a drive ("C:\...") or a share ("\\server\share..."), with no "." or ".."
// segment.
bool isFullFolderPath(std::string_view path);
// A drive root ("C:\", "C:") or a share root ("\\server\share", with or without "\").
bool isRootFolder(std::string_view path);

}  // namespace glenvask
