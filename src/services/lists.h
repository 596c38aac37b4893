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
#include "services/globals.h"

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

// Reads srch.txt lines 1 to 4 into searchOptions (services/globals.h); without srch.txt sets the
// defaults (the initial values). A malformed line changes none of its options; the others still
// load.
void LoadSearchOptions();
// The lists load into arrIgnoreFiles, arrIgnoreExt, arrIgnoreFolders and arrUnnecessary
// (services/globals.h).
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
