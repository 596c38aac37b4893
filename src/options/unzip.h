// The unzip wrapper of the backups: lists the entries of a zip archive and extracts them below
// a folder, with the overwrite options of a restore and its overwrite question. Our own layer
// over the zip reader (base/zip.h, services/zipfile.h); the viewer lists with it, the Backups
// page restores with it.
//
// An extraction is exact: each entry is written by its index (so duplicate names and names
// that look like patterns are plain names), only below the extraction folder, never through a
// linked folder nor into a device. A file that is not there is made new and deleted again
// unless the entry came out whole with its CRC right; an existing file is replaced only by
// such a copy: the entry goes to a new temporary file in the target folder, which then takes
// the old file's place. On any error the old file stays as it was and no temporary file is
// left.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/datetime.h"

namespace glenvask {

struct ZipEntry;

// The replies to the overwrite question.
inline constexpr std::int32_t kReplyNo = 100;
inline constexpr std::int32_t kReplyYes = 102;
inline constexpr std::int32_t kReplyYesToAll = 103;
inline constexpr std::int32_t kReplyNoToAll = 104;

// Whether a part of a path names a DOS device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9, CONIN$, CONOUT$), with any extension and trailing dots and blanks: a file of that name
// opens the device, and what is written there is lost.
bool isDeviceName(std::string_view part);

// Whether an entry's name may be written below a folder: the reader's rules (no drive, root,
// "..", ':' or control characters), no device names, none of the characters Windows refuses
// in a name.
bool isRestorableName(std::string_view name);

// One file entry of the archive (folder entries are not listed).
struct UnzipEntry {
  std::string name;    // the file name part of the entry's path
  std::string folder;  // the folder part, "\" between folders, no trailing "\"; "" at the top
  std::uint64_t size = 0;
  std::uint64_t packedSize = 0;
  DateTime date;  // the stored time, as stored (local time)
  std::uint32_t crc = 0;
  bool encrypted = false;
};

class cUnZip {
 public:
  cUnZip();
  ~cUnZip();
  cUnZip(const cUnZip&) = delete;
  cUnZip& operator=(const cUnZip&) = delete;

  // The overwrite options of Unzip. A file that is not there yet is always extracted.
  bool OverwriteExisting = false;  // replace without asking
  bool ExtractOnlyNewer = false;   // replace only a file older than the entry
  bool PromptToOverwrite = false;  // ask OverWritePrompt
  bool UseFolderNames = false;     // each entry into its stored folder, else into the folder

  // The archive; setting it empties the entry list.
  const std::string& ZipFile() const { return zipFile_; }
  void setZipFile(std::string_view path);
  // Where Unzip writes ("C:\"); a drive root or a folder, with or without its "\".
  const std::string& UnzipFolder() const { return unzipFolder_; }
  void setUnzipFolder(std::string_view folder) { unzipFolder_ = folder; }

  // Lists the archive's file entries; an archive that cannot be read lists none.
  void Directory();
  std::int64_t FileCount() const { return static_cast<std::int64_t>(entries_.size()); }
  // The entries by index, 1 to FileCount (an entry of nothing outside that range). Each is
  // read from the archive's directory when asked for, so a listing of many entries costs
  // little more than reading the directory.
  UnzipEntry entry(std::int64_t i) const;
  std::string Filename(std::int64_t i) const;
  std::string FileDirectory(std::int64_t i) const;
  std::uint64_t FileSize(std::int64_t i) const;
  std::uint64_t FilePackedSize(std::int64_t i) const;
  DateTime FileDate(std::int64_t i) const;
  bool FileEncrypted(std::int64_t i) const;

  // Extracts every listed entry below UnzipFolder by the options. True when none failed (an
  // entry left by the options or by the answer to the question did not fail) and no entry
  // that the archive began is missing (damaged()); false too when there was nothing to extract.
  bool Unzip();
  // What the last Unzip did with the entries.
  std::int64_t restoredCount() const { return restored_; }
  std::int64_t skippedCount() const { return skipped_; }
  std::int64_t failedCount() const { return failed_; }
  // Whether entries that the archive began are missing from the list: read without its
  // directory, it stopped at damage or inside an entry cut short.
  bool damaged() const;

  // The last reply to the question; 0 before the first. While it is yes or no to all, later
  // questions are answered by it without being asked.
  std::int32_t LastOverwriteResponse = 0;

  // Asked about each existing file when PromptToOverwrite is set: the full path of the file,
  // and the reply (kReplyNo... kReplyNoToAll) to set; it starts as kReplyNo.
  std::function<void(const std::string& path, std::int32_t& reply)> OverWritePrompt;
  // Asked before each entry of Unzip with the entry's name; setting cancel stops the
  // extraction there (the entries before it stay extracted). The place to pump events.
  std::function<void(const std::string& name, bool& cancel)> Cancel;

 private:
  enum class Outcome { Restored, Skipped, Failed };
  struct Archive;
  // A listed entry: its place in the archive, and where its name starts in its path.
  struct Listed {
    std::size_t index;
    std::size_t nameAt;
  };
  std::string_view pathOf(const Listed& l) const;
  const ZipEntry* zipEntry(std::int64_t i) const;  // nothing outside 1 to FileCount
  Outcome extract(const Listed& l, const std::string& root);
  bool shouldReplace(std::size_t index, const std::string& target, std::uint64_t written);
  bool fill(const ZipEntry& z, void* file, bool withAttributes);
  bool replace(const ZipEntry& z, const std::string& target, unsigned long attrs);
  bool askOverwrite(const std::string& path);
  bool makeFolders(const std::string& root, const std::string& target);

  std::string zipFile_, unzipFolder_;
  std::unique_ptr<Archive> archive_;
  std::vector<Listed> entries_;
  std::unordered_set<std::string> knownFolders_;  // folders made or checked in this Unzip
  std::int64_t restored_ = 0, skipped_ = 0, failed_ = 0;
};

}  // namespace glenvask
