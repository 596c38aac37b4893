// The folders that nothing may clean as a whole, whatever a setting, a registry value, a list
// file or a plug-in names: a drive or share root, the Windows folder, the system folder, the
// profile folder and Program Files. Every collector that cleans a folder it was given asks
// here first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

// True when the folder must not be cleaned: it is a drive root ("C:\", "\\server\share"), one
// of the protected folders, or a folder that holds one of them (cleaning "C:\Users" would
// clean the profile). Also true for anything that is not a full path ("", "Temp", "C:Temp"):
// what it names would depend on the current folder. The path is compared as the platform
// resolves it: "." and ".." segments, "/" for "\", short 8.3 names, trailing dots, blanks
// and backslashes, any case.
bool isProtectedCleaningRoot(std::string_view path);

// The same test against a given list of protected folders (full paths).
bool isProtectedCleaningRoot(std::string_view path,
                             const std::vector<std::string>& protectedFolders);

// The protected folders of this machine and user: the Windows folder, the system folders,
// the profile folder and the Program Files folders, as full paths without trailing
// backslash. Folders the platform does not give are left out.
std::vector<std::string> protectedCleaningFolders();

// The full path that the guard compares: resolved by the platform, long names, no "\\?\"
// prefix, no trailing backslash except at a root ("C:\"). "" when the path is not a full one.
std::string cleaningRootPath(std::string_view path);

}  // namespace glenvask
