// The file and folder categories: Windows and Internet Explorer leftovers found through
// registry values or fixed folders, the temporary folder, recent documents, the user-defined
// folders and files, and the three drive scans whose finds go to the review list.
#include <windows.h>

#include <string>
#include <vector>

#include "base/lists.h"
#include "base/pathtext.h"
#include "base/text.h"
#include "cleaner/categories_system.h"
#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "review/frmDeletetion.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/guard.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/pump.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr const char* kVolumeCaches =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\";
constexpr const char* kActiveXCache =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ActiveX Cache";
constexpr const char* kCrashControl = "System\\CurrentControlSet\\Control\\CrashControl";
constexpr const char* kPrinters = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kRecentDocs =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

constexpr const char* kAbortText = "Aborted by user";

std::string withBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

// The folder with exactly one final backslash.
std::string folderPath(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + '\\';
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

void expandIfVariable(std::string& path) {
  if (contains(path, "%")) ExpandSystemRoot(path);
}

// "C:\..." or "\\server\...": a path that does not depend on the current folder, and one the
// platform can take (an over-long line or value is refused like any other unusable one).
bool isFullPath(std::string_view path) {
  if (!isUsablePathLength(path)) return false;
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    char c = path[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  }
  return path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
}

// A folder that may be cleaned: it exists, neither it nor a folder on its way is a junction
// or symbolic link (what a link points to is never cleaned), and it is none of the folders
// that are never cleaned as a whole.
bool cleanableFolder(const std::string& folder) {
  if (!isFullPath(folder) || isProtectedCleaningRoot(folder)) return false;
  std::wstring path = wide(folder);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // Each folder on the way, from the one below the root to the folder itself (a link's
  // attributes show only without a trailing backslash).
  size_t start = path[0] == L'\\' ? path.find(L'\\', path.find(L'\\', 2) + 1) : 2;
  for (size_t i = start; i != std::wstring::npos && i < path.size();) {
    size_t next = path.find(L'\\', i + 1);
    std::wstring part = path.substr(0, next);
    if (part.size() > i + 1) {
      DWORD pa = GetFileAttributesW(part.c_str());
      if (pa != INVALID_FILE_ATTRIBUTES && (pa & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    }
    i = next;
  }
  return true;
}

// The folder step: the folder's files go, then (with folders) the subfolders left empty.
void folderStep(MainWindow& w, const std::string& folder, const char* pattern, bool folders) {
  if (bAbort || !cleanableFolder(folder)) return;
  ResetScanLists();
  ScanFolder(folderPath(folder), pattern, kScanCollect);
  w.deleteFiles();
  if (folders && !bAbort) w.deleteFolders();
}

// The roots of the hard drives ("C:\"), in the platform's order.
std::vector<std::string> hardDriveRoots() {
  std::vector<std::string> roots;
  std::string list = GetLogicalDriveList();
  if (list.size() < 4 || list.find('\0') == std::string::npos) return roots;
  for (const auto& root : split(list, '\0'))
    if (!root.empty() && GetDriveTypeName(root) == "Hard drive") roots.push_back(root);
  return roots;
}

// The lines of a list file beside the executable; nothing when it is missing or empty.
std::vector<std::string> listFileLines(const char* name, bool& exists) {
  std::string path = appFile(name);
  exists = fileExists(path);
  if (!exists) return {};
  auto bytes = readFileBytes(path);
  if (!bytes || bytes->empty()) return {};
  return splitLines(fromFileText(*bytes));
}

// The pump of a loop step (time-sliced: a second call at once would never dispatch); true when
// the run has been stopped.
bool pumpAndTestStop() {
  doEvents();
  return bAbort;
}

enum class DriveScan { Unnecessary, Empty, Shortcuts };

// The shortcut reader of a dead-shortcut scan, released however the scan ends.
class ShortcutShellScope {
 public:
  explicit ShortcutShellScope(bool on) : on_(on) {
    if (on_) SetShortcutShell(true);
  }
  ~ShortcutShellScope() { release(); }
  void release() {
    if (on_) SetShortcutShell(false);
    on_ = false;
  }

 private:
  bool on_;
};

// The three drive scans: the drives of srch.txt (or the Windows drive), then the review
// decision.
void driveScan(MainWindow& w, DriveScan kind, bool single) {
  const char* box = kind == DriveScan::Unnecessary ? "chkUnNecessaryFiles"
                    : kind == DriveScan::Empty     ? "chkEmptyFiles"
                                                   : "chkDeadShortcut";
  const char* pattern = kind == DriveScan::Shortcuts ? "*.lnk" : "*.*";
  ScanMode mode = kind == DriveScan::Unnecessary ? kScanUnnecessary
                  : kind == DriveScan::Empty     ? kScanEmpty
                                                 : kScanDeadShortcuts;
  w.beginStep(box);
  ShortcutShellScope shell(kind == DriveScan::Shortcuts);

  bool srchExists = false;
  std::vector<std::string> roots = SearchDrives(&srchExists);
  if (srchExists) {
    if (kind != DriveScan::Empty) ResetScanLists();
    for (const auto& root : roots) {
      if (pumpAndTestStop()) {
        DeleteBackupZip();
        w.stopOperation(kind == DriveScan::Unnecessary ? kScanAbortedStatus : kAbortText);
        return;
      }
      if (kind == DriveScan::Empty) ResetScanLists();
      ScanFolder(root, pattern, mode);
    }
  } else {
    std::string windows = GetWindowsDir();
    size_t slash = windows.find('\\');
    if (slash != std::string::npos) {
      ResetScanLists();
      ScanFolder(windows.substr(0, slash + 1), pattern, mode);
    }
  }

  if (bAbort) {
    releaseReviewList();
  } else {
    ReviewListWindow& review = frmDeletetion();
    size_t count = review.rowCount();
    bool defer = !single &&
                 ((kind == DriveScan::Unnecessary &&
                   (w.categoryChecked("chkEmptyFiles") || w.categoryChecked("chkDeadShortcut"))) ||
                  (kind == DriveScan::Empty && w.categoryChecked("chkDeadShortcut")));
    bool unattended = w.unattendedDeletes() && !(single && kind != DriveScan::Shortcuts);
    if (defer) {
      // The rows wait for the later drive scan of this run.
    } else if (unattended) {
      review.mnuDeleteAll_Click();
      // What the pass deleted goes into the run log, and no row is left over for a later run.
      review.unload();
    } else if (count == 0 && (srchExists ? kind != DriveScan::Shortcuts
                                         : kind == DriveScan::Shortcuts)) {
      releaseReviewList();
    } else {
      review.setTotalText((kind == DriveScan::Unnecessary ? "Files Found: " : "Files ") +
                          std::to_string(count));
      review.addIcons();
      asker().showModal(review, w.hwnd());
    }
    if (kind == DriveScan::Empty && srchExists && !defer) releaseReviewList();
  }
  shell.release();
  w.stopOperation("");
}

}  // namespace

void CleanActiveSetupTemp(MainWindow& w) {
  w.trapped("There was an error in cleaning Active Setup Temporary Folders. . ", [&w] {
    w.beginStep("chkActiveSetup");
    std::string key = std::string(kVolumeCaches) + "Active Setup Temp Folders";
    std::string v = GetRegString(kHkeyLocalMachine, key, "Folder");
    // "?:" names a folder on every drive: the drive loop covers it.
    if (v.size() > 1 && !contains(v, "?:")) {
      expandIfVariable(v);
      if (folderExists(v)) {
        v = withBackslash(v);
        folderStep(w, v, "*.*", true);
      }
    }
    for (const auto& root : hardDriveRoots())
      for (const char* sub : {"msdownld.tmp\\", "Windows\\msdownld.tmp\\", "WINNT\\msdownld.tmp\\"})
        folderStep(w, root + sub, "*.*", true);
    w.stopOperation("");
    w.logCategory("Active setup temporary folders... ");
  });
}

void CleanIndexer(MainWindow& w) {
  w.trapped(nullptr, [&w] {
    w.beginStep("chkIndexer");
    std::string v = GetRegString(kHkeyLocalMachine,
                                 std::string(kVolumeCaches) + "Content Indexer Cleaner", "Folder");
    size_t anyDrive = v.find("?:\\");
    if (anyDrive == std::string::npos) {
      expandIfVariable(v);
      if (folderExists(v)) folderStep(w, withBackslash(v), "*.*", true);
    } else {
      // The folder below the root of every hard drive. An empty rest would be the root itself,
      // which the folder step refuses.
      std::string rest = v.substr(anyDrive + 3);
      while (!rest.empty() && rest.back() == '\\') rest.pop_back();
      for (const auto& root : hardDriveRoots()) folderStep(w, root + rest + "\\", "*.*", true);
    }
    w.stopOperation("");
    w.logCategory("Content indexer folder... ");
  });
}

namespace {

// The folder a value of the local machine names (with its variables expanded), cleaned of the
// files that match.
void registryFolderStep(MainWindow& w, const char* message, const char* box, const char* key,
                        const char* value, const char* pattern, bool subfolders,
                        const char* logText) {
  w.trapped(message, [=, &w] {
    w.beginStep(box);
    std::string v = GetRegString(kHkeyLocalMachine, key, value);
    if (v.size() > 1) {
      v += '\\';
      expandIfVariable(v);
      folderStep(w, v, pattern, subfolders);
    }
    w.stopOperation("");
    w.logCategory(logText);
  });
}

}  // namespace

void CleanActiveX(MainWindow& w) {
  registryFolderStep(w, "There was an error in cleaning Downloaded ActiveX & OCX. ", "chkActiveX",
                     kActiveXCache, "0", "*.*", true, "Downloaded ActiveX & OCX...");
}

void CleanPrinter(MainWindow& w) {
  registryFolderStep(w, "There was an error in cleaning Residual Printer Files. ", "chkPrinter",
                     kPrinters, "DefaultspoolDirectory", "*.spl", false,
                     "Residual printer files... ");
}

void CleanMemDump(MainWindow& w) {
  w.trapped(nullptr, [&w] {
    w.beginStep("chkDump");
    // The values name the dump file and the minidump folder, usually below %SystemRoot%: the
    // Windows folder.
    std::string dump = GetRegString(kHkeyLocalMachine, kCrashControl, "DumpFile");
    ExpandSystemRoot(dump);
    if (isFullPath(dump) && fileExists(dump)) DeleteFileW(wide(dump).c_str());
    std::string minidumps = GetRegString(kHkeyLocalMachine, kCrashControl, "MinidumpDir");
    ExpandSystemRoot(minidumps);
    if (contains(minidumps, "\\")) folderStep(w, withBackslash(minidumps), "*.dmp", false);
    w.stopOperation("");
    w.logCategory("Memory dump files... ");
  });
}

void CleanOffline(MainWindow& w) {
  w.trapped("There was an error in cleaning Offline Web Pages. ", [&w] {
    w.beginStep("chkOffline");
    folderStep(w, GetWindowsDir() + "\\Offline Web Pages\\", "*.*", true);
    w.stopOperation("");
    w.logCategory("Offline web pages... ");
  });
}

void CleanTempFiles(MainWindow& w) {
  w.trapped("There was an error in cleaning Temporary Files. ", [&w] {
    w.beginStep("chkTemp");
    folderStep(w, GetTempDir(), "*.*", true);
    w.stopOperation("");
    w.logCategory("Temporary files... ");
  });
}

void CleanRecentDocs(MainWindow& w) {
  w.trapped("There was an error in cleaning Recent Documents. ", [&w] {
    w.beginStep("chkRecentDocument");
    std::string v = GetRegString(kHkeyCurrentUser, kShellFolders, "Recent");
    if (v.size() > 1) {
      v += '\\';
      expandIfVariable(v);
      folderStep(w, v, "*.*", false);  // the folders of the recent folder stay
    }
    ClearRegValues(kRecentDocs);
    w.stopOperation("");
    w.logCategory("Recent documents... ");
  });
}

void CleanUserFiles(MainWindow& w) {
  w.trapped(
      "There was an error in cleaning User Defined Files",
      [&w] {
        w.beginStep("chkUserDefinedFiles");
        bool exists = false;
        for (const std::string& path : listFileLines(kUserFilesFile, exists)) {
          if (IsIgnoredFolder(path)) continue;
          std::string name = path.substr(path.rfind('\\') + 1);
          if (IsIgnoredFile(name) || IsIgnoredExtension(name)) continue;
          // A line that is no full path would name a file of the current folder.
          if (!isFullPath(path) || !fileExists(path)) continue;
          std::int64_t length = 0;
          if (DeleteJunkFile(path, &length) != 0) {
            ++TotalFilesDeleted;
            ++w.CategoryFileCount;
            TotalSpaceGained += length;
            w.CategorySpace += length;
          }
        }
        w.logCategory("User-defined files... ");
        w.stopOperation("");
      },
      true);
}

void CleanUserFolders(MainWindow& w) {
  w.trapped(
      "There was an error in cleaning the User defined folders",
      [&w] {
        w.beginStep("chkUserDefinedFolders");
        auto stopped = [&w] {
          if (!pumpAndTestStop()) return false;
          DeleteBackupZip();
          w.stopOperation(kAbortText);
          return true;
        };
        // Files only: the folders stay.
        auto scan = [](const std::string& folder) {
          if (!IsIgnoredFolder(folder) && cleanableFolder(folder))
            ScanFolder(folderPath(folder), "*.*", kScanUserFolders);
        };
        bool exists = false;
        std::vector<std::string> lines = listFileLines(kUserFoldersFile, exists);
        if (exists) {
          if (!lines.empty()) {
            ResetScanLists();
            for (const std::string& line : lines) {
              if (line.empty()) continue;
              std::string folder = trim(line);
              if (IsIgnoredFolder(folder)) continue;
              if (stopped()) return;
              scan(folder);
            }
            w.deleteFiles();
          }
        } else {
          ResetScanLists();
          scan(GetTempDir());
          if (stopped()) return;
          scan(GetWindowsDir() + "\\temp\\");
          if (stopped()) return;
          std::string appData = GetRegString(kHkeyCurrentUser, kShellFolders, "AppData");
          if (!appData.empty()) scan(appData + "\\Microsoft\\Office\\Recent\\");
          w.deleteFiles();
        }
        w.stopOperation("");
        w.logCategory("User-defined folders... ");
      },
      true);
}

void CleanUnnecessaryFiles(MainWindow& w, bool single) {
  w.trapped("There was an error in cleaning Unnecessary Files. ",
            [&] { driveScan(w, DriveScan::Unnecessary, single); });
}

void CleanEmptyFiles(MainWindow& w, bool single) {
  w.trapped("There was an error in cleaning Empty Files. ",
            [&] { driveScan(w, DriveScan::Empty, single); });
}

void CleanShortcuts(MainWindow& w, bool single) {
  w.trapped(nullptr, [&] { driveScan(w, DriveScan::Shortcuts, single); });
}

}  // namespace glenvask
