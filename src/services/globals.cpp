#include "services/globals.h"

namespace glenvask {

bool bAbort = false;

int DeleteMethod = kDeletePlain;
bool ShredRandom = false;
bool RenameBeforeDelete = false;
std::string BackupFolder;
std::string BackupZipFile;
std::string LastBackupDrive;

std::vector<std::string> arrFiles;
std::vector<std::string> arrFolders;

std::int64_t TotalFilesDeleted = 0;
std::int64_t TotalSpaceGained = 0;
std::int64_t BackedUpCount = 0;
bool DeleteFailed = false;
std::int64_t FirefoxFilesDeleted = 0;
std::int64_t FirefoxSpaceGained = 0;
std::string CleanupLog;

SearchOptions searchOptions;
std::vector<std::string> arrIgnoreFiles;
std::vector<std::string> arrIgnoreExt;
std::vector<std::string> arrIgnoreFolders;
std::vector<std::string> arrUnnecessary;

std::string PluginRoot;

}  // namespace glenvask
