// The zip format of the backup archives: a writer that streams deflated entries onto a file,
// and a reader that lists and extracts them. ZIP64 is used where sizes, offsets or counts pass
// the classic limits. Every entry reaches the disk complete with its real CRC and sizes before
// add() returns, so an archive cut short (a kill, a full disk) keeps each entry written before
// the cut: the reader walks the local headers when the central directory is missing or damaged.
// Nothing here trusts an archive: every length and offset is checked against the bytes there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"

namespace glenvask {

std::uint32_t zipCrc32(std::uint32_t crc, const void* data, std::size_t size);

// An entry's MS-DOS time stamp (local time, two-second steps, 1980 to 2107).
struct DosTime {
  std::uint16_t time = 0;
  std::uint16_t date = (1 << 5) | 1;  // 1 January 1980
  auto operator<=>(const DosTime&) const = default;
};
DosTime toDosTime(const DateTime& t);  // clamped to the years the format holds
DateTime fromDosTime(DosTime t);

// Bytes to read an archive from, at any offset.
class ZipSource {
 public:
  virtual ~ZipSource() = default;
  virtual std::uint64_t size() const = 0;
  // Reads exactly size bytes at offset; false when they are not all there.
  virtual bool readAt(std::uint64_t offset, void* buffer, std::size_t size) const = 0;
};

// A file that a writer reads and writes.
class ZipFile : public ZipSource {
 public:
  virtual bool writeAt(std::uint64_t offset, const void* data, std::size_t size) = 0;
  virtual bool truncate(std::uint64_t size) = 0;  // sets the end of the file
  virtual bool flush() = 0;                       // to the disk
};

class MemoryZipSource : public ZipSource {
 public:
  explicit MemoryZipSource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool readAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

 private:
  std::string_view bytes_;
};

class MemoryZipFile : public ZipFile {
 public:
  std::string bytes;
  std::uint64_t size() const override { return bytes.size(); }
  bool readAt(std::uint64_t offset, void* buffer, std::size_t size) const override;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override;
  bool truncate(std::uint64_t size) override;
  bool flush() override { return true; }
};

// What the writer stores of a file besides its bytes.
struct ZipEntryInfo {
  std::string name;              // UTF-8, folders separated by '/', no drive or root
  DosTime modified;
  std::uint32_t attributes = 0;  // MS-DOS attributes: read-only, hidden, system, archive
  std::uint64_t sizeHint = 0;    // the expected size (ZIP64 is prepared for a huge file)
};

// Fills buffer with up to capacity bytes of an entry; returns how many, 0 at the end, or a
// negative number when reading failed.
using ZipInput = std::function<std::int64_t(char* buffer, std::size_t capacity)>;

// One entry of an archive, as its central directory (or local header) gives it.
struct ZipEntry {
  std::string name;     // UTF-8 (flagged UTF-8, Info-ZIP's Unicode path, or code page 437)
  std::string rawName;  // the stored bytes
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  DosTime modified;
  std::uint32_t crc = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t size = 0;
  std::uint64_t headerOffset = 0;
  std::uint32_t externalAttributes = 0;
  std::string extra;  // the extra field, without its ZIP64 block
  bool isFolder() const { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }
};

class ZipWriter {
 public:
  // level: zlib's 0 to 9, or -1 for its default.
  explicit ZipWriter(ZipFile& file, int level = -1);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Takes over what the file holds: nothing (a new archive), a complete archive (its entries
  // stay and new ones follow them), or an archive cut short (its readable entries stay when
  // nothing after them can be another entry). False, the file untouched, when it holds
  // anything else.
  bool open();
  // Adds one entry, deflated, and flushes it to the disk. On failure the archive keeps what it
  // had before and error() says why.
  bool add(const ZipEntryInfo& info, const ZipInput& input);
  // Writes the central directory and flushes: the archive is complete. add() may follow; it
  // goes on from where the directory was.
  bool finish();

  std::uint64_t entryCount() const { return records_.size(); }
  const std::string& error() const { return error_; }

 private:
  bool fail(std::string message);
  bool addWhole(ZipEntry& record, std::size_t size);
  bool addStreamed(const ZipEntryInfo& info, ZipEntry& record, const ZipInput& input);
  bool writeOut(std::uint64_t& offset, bool finish);

  ZipFile& file_;
  void* stream_ = nullptr;  // zlib's deflate state, reused from entry to entry
  bool opened_ = false;
  bool finished_ = false;
  std::uint64_t dataEnd_ = 0;  // where the next entry goes
  std::string in_, out_;       // buffers reused from entry to entry
  std::vector<ZipEntry> records_;  // the directory to write
  std::string error_;
};


class ZipReader {
 public:
  // Reads the central directory; when it is missing or damaged, walks the local headers from
  // the start instead and recovered() says so. False when the source is not a zip archive (or
  // one so damaged that no entry can be found). The source is read again by extract(): it
  // must outlive the reader's use.
  bool open(const ZipSource& source);

  const std::vector<ZipEntry>& entries() const { return entries_; }
  bool recovered() const { return recovered_; }
  // Where the entries end: the directory's offset, or where the walk of a recovered archive
  // stopped.
  std::uint64_t dataEnd() const { return dataEnd_; }
  // Whether what follows dataEnd() in a recovered archive is only an entry, or the start of a
  // directory, cut short (as a kill leaves it), and not damage that may hide further entries.
  bool endsCutShort() const { return cutShort_; }
  // Whether entries that the archive began are missing from entries(): it was read without
  // its directory, and the walk stopped at damage or inside an entry, not where the entries
  // end (at the end of the file, or at a directory cut short).
  bool incomplete() const { return recovered_ && !endsWhole_; }

  // Streams an entry's bytes to out, checking its size and CRC. False, with error(), when the
  // entry cannot be read whole and right, when its name is not safe to restore
  // (isSafeEntryName), or when out returns false.
  bool extract(const ZipEntry& entry, const std::function<bool(const char*, std::size_t)>& out);
  // The entry's bytes in memory; nothing when it cannot be read or is larger than maxSize.
  std::optional<std::string> read(const ZipEntry& entry, std::uint64_t maxSize = 64u << 20);

  const std::string& error() const { return error_; }

 private:
  bool readDirectory();
  bool walkLocalHeaders();
  bool fail(std::string message);

  const ZipSource* source_ = nullptr;
  std::vector<ZipEntry> entries_;
  bool recovered_ = false;
  bool cutShort_ = false;
  bool endsWhole_ = false;  // the walk stopped where the entries end
  std::uint64_t dataEnd_ = 0;
  std::string error_;
};

// Whether an entry name may be restored below a folder: not empty, no drive, no root, no ':',
// no ".." (nor a part of dots and spaces, which Windows reads as one), no control characters,
// valid UTF-8. Both '/' and '\' separate folders.
bool isSafeEntryName(std::string_view name);

}  // namespace glenvask
