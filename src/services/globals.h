// The process-wide state that the windows and the services share, in one place. Everything
// runs on the one user-interface thread. Each value names who writes it; anyone may read it.
// Defined in services/globals.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/lists.h"

namespace glenvask {

// The abort flag. Set by Stop, Exit and the review list's Abort; cleared by the main window
// when a run starts; tested by every long loop of a run.
extern bool bAbort;

// How the delete path removes a file. Read from settings.ini by the main window at start (and
// set by the options window).
enum DeleteMethodKind : int {
  kDeletePlain = 1,
  kDeleteRecycle = 2,
  kDeleteOverwrite = 3,
  kDeleteBackup = 4,
};
extern int DeleteMethod;
extern bool ShredRandom;          // the overwrite writes random bytes, else zeros
extern bool RenameBeforeDelete;   // an overwritten file is renamed before it goes
extern std::string BackupFolder;  // always ends in a backslash

// The backup archive of the current run and the drive letter of the last file zipped. Written
// by the delete path; emptied by the main window when a run starts, so a stopped run deletes
// only an archive it started itself.
extern std::string BackupZipFile;
extern std::string LastBackupDrive;

// The shared lists a collector fills and the main window's delete routines walk. Filled by the
// scanner and the plug-in engine; every collector empties both first (ResetScanLists).
extern std::vector<std::string> arrFiles;
extern std::vector<std::string> arrFolders;

// The run's totals, 64-bit. Cleared by the main window when a run starts; added to by the
// delete routines, the categories that count themselves and the review list.
extern std::int64_t TotalFilesDeleted;
extern std::int64_t TotalSpaceGained;  // bytes
extern std::int64_t BackedUpCount;     // files added to backup archives
extern bool DeleteFailed;              // some deletion of the run failed
// What the Firefox steps delete themselves (firefox.cpp); the run carries each step's share
// into the totals above.
extern std::int64_t FirefoxFilesDeleted;
extern std::int64_t FirefoxSpaceGained;
// The run log: appended to by the categories and the review list, shown by the summary.
extern std::string CleanupLog;

// The scanner's search options and lists, loaded from their files by services/lists.h (the
// main window calls the loaders at start). The initial options are those of a missing
// srch.txt: shortcuts without target or working folder are never dead, read-only, hidden and
// system files are never finds, no date window; the size filter is stored but applied nowhere.
extern SearchOptions searchOptions;
// The lists, entries as the files hold them (no trimming, no change of case).
extern std::vector<std::string> arrIgnoreFiles;    // whole file names (IFI.txt / DefIFI.txt)
extern std::vector<std::string> arrIgnoreExt;      // extensions without "." (IE.txt)
extern std::vector<std::string> arrIgnoreFolders;  // folders ending in "\" (UDIFO.txt)
extern std::vector<std::string> arrUnnecessary;    // patterns of ticked UNFI.txt lines

// The folder of the plug-in file record being applied. Written by the plug-in engine; its
// collector never collects that folder itself.
extern std::string PluginRoot;

// The application's title: it titles the program's message boxes.
inline constexpr const char* kAppTitle = "Tarvella";

}  // namespace glenvask
