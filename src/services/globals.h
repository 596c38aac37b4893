// The process-wide values that the windows and the services share. Everything runs on the
// one user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glenvask {

// Set by Stop, Exit and the review list's Abort; cleared when a run starts; tested by every
// long loop.
inline bool bAbort = false;

// How the delete path removes a file.
enum DeleteMethodKind : int {
  kDeletePlain = 1,
  kDeleteRecycle = 2,
  kDeleteOverwrite = 3,
  kDeleteBackup = 4,
};
inline int DeleteMethod = kDeletePlain;
inline bool ShredRandom = false;         // the overwrite writes random bytes, else zeros
inline bool RenameBeforeDelete = false;  // an overwritten file is renamed before it goes
inline std::string BackupFolder;         // always ends in a backslash
inline std::string BackupZipFile;        // the archive the current run writes to, if any
inline std::string LastBackupDrive;      // drive letter of the last file zipped in the run

// The shared lists a collector fills and the run's delete routines walk. Every collector
// empties both first.
inline std::vector<std::string> arrFiles;
inline std::vector<std::string> arrFolders;

// The run's totals. Counts and sizes are 64-bit.
inline std::int64_t TotalFilesDeleted = 0;
inline std::int64_t TotalSpaceGained = 0;  // bytes
inline std::int64_t BackedUpCount = 0;
inline bool DeleteFailed = false;
// What the Firefox steps delete themselves, carried into the run's totals step by step.
inline std::int64_t FirefoxFilesDeleted = 0;
inline std::int64_t FirefoxSpaceGained = 0;
inline std::string CleanupLog;

// The application's title: it titles the program's message boxes.
inline constexpr const char* kAppTitle = "Tarvella";

}  // namespace glenvask
