// The scanner's list files and search options beside the executable, and the in-memory lists
// and options they load into. The scanner and the drive-scan categories read these values;
// the main window calls the five loaders at start and each time the options window closes, in
// the order LoadIFIList, LoadUDIFOList, LoadIEList, LoadUNFIList, LoadSearchOptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "base/lists.h"

namespace glenvask {

// File names beside the executable (names are compared without regard to case there).
inline constexpr const char* kSearchOptionsFile = "srch.txt";
inline constexpr const char* kIgnoreFilesFile = "IFI.txt";         // file names to skip
inline constexpr const char* kIgnoreExtFile = "IE.txt";            // extensions to skip
inline constexpr const char* kIgnoreFoldersFile = "UDIFO.txt";     // folders not scanned
inline constexpr const char* kUnnecessaryFile = "UNFI.txt";        // unnecessary-file patterns
inline constexpr const char* kUserFoldersFile = "UDFO.txt";        // user-defined folders
inline constexpr const char* kUserFilesFile = "UDFI.txt";          // user-defined files
inline constexpr const char* kDefIgnoreFilesFile = "DefIFI.txt";   // default copy of IFI.txt
inline constexpr const char* kDefIgnoreExtFile = "DefIE.txt";      // default copy of IE.txt
inline constexpr const char* kDefUnnecessaryFile = "DefUNFI.txt";  // default copy of UNFI.txt

// Search options (srch.txt lines 1 to 4). The initial values are those of a missing srch.txt:
// shortcuts without target or working folder are never dead, read-only, hidden and system
// files are never finds, no date window; the size filter is stored but applied nowhere.
inline SearchOptions searchOptions;

// The lists, entries as the files hold them (no trimming, no change of case).
inline std::vector<std::string> arrIgnoreFiles;    // whole file names (IFI.txt / DefIFI.txt)
inline std::vector<std::string> arrIgnoreExt;      // extensions without "." (IE.txt)
inline std::vector<std::string> arrIgnoreFolders;  // folders ending in "\" (UDIFO.txt)
inline std::vector<std::string> arrUnnecessary;    // patterns of ticked UNFI.txt lines

// Reads srch.txt lines 1 to 4 into the options above; without srch.txt sets the defaults
// (the initial values). A malformed line changes none of its options; the others still load.
void LoadSearchOptions();
// Fills arrIgnoreFiles from IFI.txt, else DefIFI.txt; empty when neither exists.
void LoadIFIList();
// Fills arrIgnoreExt from IE.txt (no fallback to DefIE.txt).
void LoadIEList();
// Fills arrIgnoreFolders from UDIFO.txt.
void LoadUDIFOList();
// Fills arrUnnecessary from UNFI.txt, else DefUNFI.txt: the patterns of the ticked lines;
// malformed lines are skipped.
void LoadUNFIList();
// The five loaders in the main window's order.
void LoadScanLists();

// srch.txt's line 0 as the drive roots to scan ("C:\", "D:\"), in order; nothing when the
// file is missing, empty or names no drive. srchExists tells a missing file from an empty one.
std::vector<std::string> SearchDrives(bool* srchExists = nullptr);

}  // namespace glenvask
