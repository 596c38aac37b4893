// Firefox cleaning: the profiles folder of the current user and the walk that deletes the
// files of a name pattern below it. The walk deletes each file itself (a plain delete, not the
// delete method of the settings) and counts into FirefoxFilesDeleted and FirefoxSpaceGained.
#pragma once

#include <string>
#include <string_view>

#include "base/firefoxpaths.h"

namespace glenvask {

// "95", "98", "NT", "2K", "XP", "Vista", "Win7", or "" for another version.
std::string GetOSVersionName();

// The Firefox profiles folder of the current user, ending in "\" (on the NT family below the
// application data folder); "" when it cannot be had. The folder need not exist.
std::string GetFirefoxProfilesPath();

// Deletes every file matching the pattern (the platform's wildcards) in the folder and in
// every folder below it, depth first. Links to folders are never entered. A folder that is
// not a full path, or is a drive or share root, is refused: nothing is searched.
void CollectFirefoxFiles(std::string_view folder, std::string_view pattern);

// The same walk, deleting matches only in folders named exactly "Cache" (with that case).
void CollectFirefoxCache(std::string_view folder, std::string_view pattern);

}  // namespace glenvask
