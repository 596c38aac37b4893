// The process-wide values that the windows and the services share. Everything runs on the
// one user-interface thread.
#pragma once

#include <string>

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

// The application's title: it titles the program's message boxes.
inline constexpr const char* kAppTitle = "Tarvella";

}  // namespace glenvask
