// The delete path: every file that a cleaning run, the review list or a plug-in removes goes
// through DeleteJunkFile, by the delete method of the options (DeleteMethod): plain deletion,
// the Recycle Bin, overwriting then deletion, or a backup archive then deletion.
//
// Backup archives: BackupFolder & drive letter & "_" & "ddmmyyyyhnns" & ".zip", one per run
// and drive (a file from another drive than the previous one starts a new archive; a name
// that exists already is appended to). An entry holds the file's path below its drive root
// ("C:\a\b.txt" is "a/b.txt"). A file is deleted only once its entry is on the disk; when the
// entry cannot be written the file stays. The archive of a run stays open from file to file
// and gets its directory when it is closed (FinishBackupZip, DeleteBackupZip, a new archive,
// the end of the program); one cut short by a kill still restores every entry in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/datetime.h"

namespace glenvask {

// Removes one file by DeleteMethod: nonzero when it is gone, 0 when not. A file that cannot
// be removed sets DeleteFailed; a file that is not there gives 0 and leaves DeleteFailed.
// `freed`, when given, gets the length of the file removed (0 when it stays).
std::int32_t DeleteJunkFile(std::string_view path, std::int64_t* freed = nullptr);

// Moves one file to the Recycle Bin, whatever DeleteMethod says, with no dialog of the shell:
// nonzero when it is gone from its place. A link is moved itself, never what it points to.
std::int32_t RecycleFile(std::string_view path);

// Overwrites the file once (zeros, or ShredRandom's bytes 0 to 100), flushes it, optionally
// renames it to a random number (RenameBeforeDelete), then deletes it: nonzero when it is
// gone. Stops with 0, the file partly overwritten, when bAbort is set between blocks.
std::int32_t ShredFile(std::string_view path);

// Adds the file to BackupZipFile (made or appended to), its entry flushed to the disk: true
// when it is there.
bool ZipAddFile(std::string_view path);

// BackupZipFile = folder & prefix & the present moment as "ddmmyyyyhnns" & ".zip".
void MakeBackupZipName(std::string_view folder, std::string_view prefix);

// Writes the directory of the current backup archive and closes it. An archive that holds no
// entry is removed.
void FinishBackupZip();

// On a stopped run: closes the run's archive as FinishBackupZip does. Every file in it has
// been deleted already, so the archive is kept: it is their only copy.
void DeleteBackupZip();

// "ddmmyyyyhnns": day, month, 4-digit year, hour without a leading zero, 2-digit minute,
// second without a leading zero.
std::string backupZipStamp(const DateTime& t);

// The entry name of a file: its full path below the drive root with '/' between folders
// ("C:\a\b.txt" is "a/b.txt"); empty when the path has no drive or gives no safe name.
std::string backupEntryName(std::string_view path);

}  // namespace glenvask
