// The recursive file scanner. A caller empties the shared lists (ResetScanLists) and scans a
// folder with a file pattern and a mode: mode 0 collects every match into arrFiles and every
// subfolder into arrFolders; modes 1 to 3 test each file against the search options and lists
// (services/lists.h) and report the finds as review rows; mode 4 (and any other value)
// collects the files that the ignore lists let through into arrFiles.
//
// Folders that are junctions or symbolic links are never entered nor listed.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/datetime.h"

namespace glenvask {

using ScanMode = std::int16_t;
inline constexpr ScanMode kScanCollect = 0;         // temporary folders, caches, cookies...
inline constexpr ScanMode kScanUnnecessary = 1;     // review rows "Unnecessary Files"
inline constexpr ScanMode kScanEmpty = 2;           // review rows "Empty Files"
inline constexpr ScanMode kScanDeadShortcuts = 3;   // review rows "Dead Shortcuts"
inline constexpr ScanMode kScanUserFolders = 4;     // files the ignore lists let through

inline constexpr const char* kCategoryUnnecessary = "Unnecessary Files";
inline constexpr const char* kCategoryEmpty = "Empty Files";
inline constexpr const char* kCategoryDeadShortcuts = "Dead Shortcuts";

inline constexpr const char* kScanningStatus = "Scanning system... ";
inline constexpr const char* kScanAbortedStatus = "Aborted by User";

// One found file as the review list shows it.
struct ReviewRow {
  std::string name;        // the file name without folder
  std::int64_t size = 0;   // the whole size in bytes
  std::string date;        // last-write time in local time (see ScanFolder)
  std::string attributes;  // the attribute letters ("RASH")
  std::string folder;      // ends in "\"
  std::string extension;   // after the last ".", upper case; "" when the name has none
  std::string category;    // kCategoryUnnecessary, kCategoryEmpty or kCategoryDeadShortcuts

  std::string path() const { return folder + name; }
  // The texts of the list's columns: Name, Bytes, Date/Time, Attribute, Path, File Type,
  // Category.
  std::array<std::string, 7> columns() const;
};

// Where the scanner's finds go: the review list implements it. The status line and the end of a
// stopped run go to the main window through services/host.h. Until one is set, nothing listens.
class ScanReporter {
 public:
  virtual ~ScanReporter() = default;
  // A find of modes 1 to 3.
  virtual void addReviewRow(const ReviewRow& row) {}
  // A stopped scan releases the review list with the rows added so far, then ends the run
  // with kScanAbortedStatus (CleaningHost::stopOperation).
  virtual void releaseReviewList() {}
};

// Sets the reporter (nullptr: nobody); returns the one set before.
ScanReporter* setScanReporter(ScanReporter* reporter);
ScanReporter& scanReporter();

// Empties arrFiles and arrFolders.
void ResetScanLists();

// Scans the folder ("C:\Temp\"; a missing final "\" is supplied) and, depth first, every
// subfolder below it: the files of a folder before its subfolders. In modes other than 0 the
// folders below it are skipped when IsIgnoredFolder holds, and each folder entered is
// reported on the status line. Rows of modes 1 and 2 show the general date text of the
// last-write time, rows of mode 3 the file-time text (FormatFileTime), both in the regional
// format.
//
// Keeps the windows live through the event pump. When bAbort is found set, the scan stops:
// the review list is released, the current backup archive deleted and the run ended with
// "Aborted by User"; arrFiles and arrFolders keep what was collected.
void ScanFolder(std::string_view folder, std::string_view pattern, ScanMode mode);

// The ignore lists and the unnecessary-file patterns, compared without regard to case. An
// empty list gives false.
bool IsIgnoredFile(std::string_view name);       // the name equals an entry
bool IsIgnoredExtension(std::string_view name);  // the text after its last "." equals one
bool IsIgnoredFolder(std::string_view path);     // an entry occurs anywhere in the path
bool IsUnnecessaryFile(std::string_view name);   // the name matches a pattern (base/like.h)

// Whether a shortcut file is dead under the search options skipNoTarget and skipNoWorkDir: its
// target does not exist (a target of "A:\" or "B:\" is never dead). A file that is no
// readable shortcut is not dead.
bool IsDeadShortcut(std::string_view path);
// true: prepares the shortcut reader for a dead-shortcut scan; false: releases it.
// IsDeadShortcut also works without it, at the cost of a reader per call.
void SetShortcutShell(bool on);

// A file time in local time (with the daylight-saving rule of that moment), and as the
// file-time text of the regional format ("03/01/2024 5:03:09 PM", "01.03.2024 17:03:09").
DateTime FileTimeToLocal(const FILETIME& time);
std::string FormatFileTime(const FILETIME& time);

}  // namespace glenvask
