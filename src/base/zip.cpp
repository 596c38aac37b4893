#include "base/zip.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/text.h"

namespace glenvask {

namespace {

constexpr std::uint32_t kLocalSig = 0x04034b50;
constexpr std::uint32_t kCentralSig = 0x02014b50;
constexpr std::uint32_t kEndSig = 0x06054b50;
constexpr std::uint32_t kEnd64Sig = 0x06064b50;
constexpr std::uint32_t kLocator64Sig = 0x07064b50;
constexpr std::uint32_t kDescriptorSig = 0x08074b50;
// A local header whose entry is still being written ("PK" and two bytes no zip record uses):
// no reader takes it for an entry, and the writer knows it for its own.
constexpr std::uint32_t kPendingSig = 0xFEFE4B50;

constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kEnd64Size = 56;
constexpr std::size_t kLocator64Size = 20;

constexpr std::uint16_t kZip64Tag = 0x0001;
constexpr std::uint16_t kUnicodePathTag = 0x7075;
constexpr std::uint16_t kUtf8Flag = 1 << 11;
constexpr std::uint16_t kDescriptorFlag = 1 << 3;
constexpr std::uint16_t kEncryptedFlag = 1 << 0;
constexpr std::uint16_t kMadeBy = 63;  // MS-DOS attributes, format 6.3
constexpr std::uint32_t k32 = 0xFFFFFFFF;
constexpr std::uint16_t k16 = 0xFFFF;

// Entries up to this size are read, deflated and written whole; larger ones are streamed.
constexpr std::size_t kWholeLimit = 1 << 20;
constexpr std::size_t kChunk = 1 << 20;
static_assert(kChunk <= kWholeLimit, "a streamed chunk is read into the whole-entry buffer");
// A file hinted larger than this gets room for ZIP64 sizes in its local header.
constexpr std::uint64_t kZip64Hint = 0xF0000000ull;
// The largest central directory the reader takes into memory.
constexpr std::uint64_t kMaxDirectory = 512ull << 20;

std::uint16_t get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint64_t get64(const unsigned char* p) {
  return static_cast<std::uint64_t>(get32(p)) | static_cast<std::uint64_t>(get32(p + 4)) << 32;
}

// The fields a local header and a directory record share, in the same order: from "version
// needed" to the uncompressed size.
void readCommonFields(ZipEntry& e, const unsigned char* at) {
  e.versionNeeded = get16(at);
  e.flags = get16(at + 2);
  e.method = get16(at + 4);
  e.modified = {get16(at + 6), get16(at + 8)};
  e.crc = get32(at + 10);
  e.compressedSize = get32(at + 14);
  e.size = get32(at + 18);
}

const unsigned char* bytesOf(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

void put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}
void put64(std::string& s, std::uint64_t v) {
  put32(s, static_cast<std::uint32_t>(v));
  put32(s, static_cast<std::uint32_t>(v >> 32));
}

// a + b <= limit, without overflow.
bool fits(std::uint64_t a, std::uint64_t b, std::uint64_t limit) {
  return a <= limit && b <= limit - a;
}

bool readBytes(const ZipSource& src, std::uint64_t offset, std::size_t n, std::string& out) {
  out.resize(n);
  return n == 0 || src.readAt(offset, out.data(), n);
}

// One block of an extra field.
struct ExtraBlock {
  std::uint16_t tag;
  std::string_view data;
};

// The well-formed blocks of an extra field; a malformed tail is left out.
std::vector<ExtraBlock> extraBlocks(std::string_view extra) {
  std::vector<ExtraBlock> blocks;
  std::size_t p = 0;
  while (extra.size() - p >= 4) {
    auto* b = reinterpret_cast<const unsigned char*>(extra.data() + p);
    std::uint16_t tag = get16(b), len = get16(b + 2);
    if (extra.size() - p - 4 < len) break;
    blocks.push_back({tag, extra.substr(p + 4, len)});
    p += 4 + static_cast<std::size_t>(len);
  }
  return blocks;
}

// The extra field without its ZIP64 block (the writer makes that anew).
std::string extraWithoutZip64(std::string_view extra) {
  std::string out;
  for (const auto& b : extraBlocks(extra)) {
    if (b.tag == kZip64Tag) continue;
    put16(out, b.tag);
    put16(out, static_cast<std::uint32_t>(b.data.size()));
    out += b.data;
  }
  return out;
}

// Replaces each 32-bit field that holds the ZIP64 mark by the next value of the ZIP64 block,
// in the format's order. False when the block lacks a value that is needed.
bool applyZip64(std::string_view extra, std::uint64_t* size, std::uint64_t* compressed,
                std::uint64_t* offset) {
  std::uint64_t* fields[] = {size, compressed, offset};
  bool needed = false;
  for (auto* f : fields) needed |= f && *f == k32;
  if (!needed) return true;
  for (const auto& b : extraBlocks(extra)) {
    if (b.tag != kZip64Tag) continue;
    std::size_t p = 0;
    for (auto* f : fields) {
      if (!f || *f != k32) continue;
      if (b.data.size() - p < 8) return false;
      *f = get64(reinterpret_cast<const unsigned char*>(b.data.data() + p));
      p += 8;
    }
    return true;
  }
  return false;
}

// Code page 437, the format's text when the UTF-8 flag is off: the upper half.
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

std::string cp437ToUtf8(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    std::uint32_t u = kCp437High[c - 0x80];
    if (u < 0x800) {
      out += static_cast<char>(0xC0 | u >> 6);
    } else {
      out += static_cast<char>(0xE0 | u >> 12);
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
  return out;
}

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

// The name as UTF-8: flagged UTF-8, Info-ZIP's Unicode path when it matches the stored name,
// UTF-8 as it stands, or else code page 437.
std::string entryNameText(std::string_view raw, std::uint16_t flags, std::string_view extra) {
  if (isAscii(raw)) return std::string(raw);
  if ((flags & kUtf8Flag) && isValidUtf8(raw)) return std::string(raw);
  for (const auto& b : extraBlocks(extra)) {
    if (b.tag != kUnicodePathTag || b.data.size() < 5 || b.data[0] != 1) continue;
    auto* p = reinterpret_cast<const unsigned char*>(b.data.data());
    std::string_view name = b.data.substr(5);
    if (get32(p + 1) == zipCrc32(0, raw.data(), raw.size()) && isValidUtf8(name))
      return std::string(name);
  }
  if (isValidUtf8(raw)) return std::string(raw);
  return cp437ToUtf8(raw);
}

struct Deflater {
  z_stream z{};
  bool ready = false;
};
Deflater& deflater(void* p) { return *static_cast<Deflater*>(p); }

struct Inflater {
  z_stream z{};
  bool ready = false;
  Inflater() { ready = inflateInit2(&z, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ready) inflateEnd(&z);
  }
};

// A local header of the writer.
std::string localHeader(std::uint32_t sig, const ZipEntry& e, bool zip64) {
  std::string h;
  put32(h, sig);
  put16(h, e.versionNeeded);
  put16(h, e.flags);
  put16(h, e.method);
  put16(h, e.modified.time);
  put16(h, e.modified.date);
  put32(h, e.crc);
  put32(h, zip64 ? k32 : static_cast<std::uint32_t>(e.compressedSize));
  put32(h, zip64 ? k32 : static_cast<std::uint32_t>(e.size));
  put16(h, static_cast<std::uint32_t>(e.rawName.size()));
  put16(h, zip64 ? 20 : 0);
  h += e.rawName;
  if (zip64) {
    put16(h, kZip64Tag);
    put16(h, 16);
    put64(h, e.size);
    put64(h, e.compressedSize);
  }
  return h;
}

}  // namespace

std::uint32_t zipCrc32(std::uint32_t crc, const void* data, std::size_t size) {
  auto* p = static_cast<const Bytef*>(data);
  while (size > 0) {
    uInt n = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    crc = static_cast<std::uint32_t>(crc32(crc, p, n));
    p += n;
    size -= n;
  }
  return crc;
}

DosTime toDosTime(const DateTime& t) {
  if (!isValidDateTime(t) || t.year < 1980) return {};
  if (t.year > 2107) return toDosTime({2107, 12, 31, 23, 59, 59});
  return {static_cast<std::uint16_t>(t.hour << 11 | t.minute << 5 | t.second / 2),
          static_cast<std::uint16_t>((t.year - 1980) << 9 | t.month << 5 | t.day)};
}

DateTime fromDosTime(DosTime t) {
  return {1980 + (t.date >> 9), (t.date >> 5) & 15, t.date & 31,
          t.time >> 11,         (t.time >> 5) & 63, (t.time & 31) * 2};
}

bool MemoryZipSource::readAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (!fits(offset, size, bytes_.size())) return false;
  if (size) std::memcpy(buffer, bytes_.data() + offset, size);
  return true;
}

bool MemoryZipFile::readAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  return MemoryZipSource(bytes).readAt(offset, buffer, size);
}

bool MemoryZipFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
  if (offset > bytes.size()) bytes.resize(offset, '\0');
  if (bytes.size() - offset < size) bytes.resize(offset + size);
  if (size) std::memcpy(bytes.data() + offset, data, size);
  return true;
}

bool MemoryZipFile::truncate(std::uint64_t size) {
  bytes.resize(size, '\0');
  return true;
}

// ---------------------------------------------------------------------------------- names

bool isSafeEntryName(std::string_view name) {
  if (name.empty() || !isValidUtf8(name)) return false;
  if (name.front() == '/' || name.front() == '\\') return false;
  for (char c : name)
    if (c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(start, end - start);
    // Windows drops trailing dots and spaces: ". ." and "..." would name the parent.
    if (!part.empty() && part.find_first_not_of(". ") == std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

// --------------------------------------------------------------------------------- writer

ZipWriter::ZipWriter(ZipFile& file, int level) : file_(file) {
  auto* d = new Deflater;
  d->ready = deflateInit2(&d->z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  stream_ = d;
}

ZipWriter::~ZipWriter() {
  auto* d = &deflater(stream_);
  if (d->ready) deflateEnd(&d->z);
  delete d;
}

bool ZipWriter::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool ZipWriter::open() {
  error_.clear();
  opened_ = false;
  finished_ = false;
  records_.clear();
  dataEnd_ = 0;
  if (!deflater(stream_).ready) return fail("zlib could not start");
  std::uint64_t size = file_.size();
  if (size == 0) {
    opened_ = true;
    return true;
  }
  ZipReader reader;
  bool readable = reader.open(file_);
  // An archive whose first entry was cut short holds nothing yet.
  if (!readable && !reader.endsCutShort())
    return fail("the file is not a zip archive: " + reader.error());
  std::uint64_t end = readable ? reader.dataEnd() : 0;
  for (const auto& e : reader.entries())
    if (e.headerOffset >= end) return fail("the archive's entries do not come before its end");
  if (readable && reader.recovered() && !reader.endsCutShort()) {
    // The walk stopped at something damaged: append only when no entry can follow it.
    const char pattern[4] = {'P', 'K', 3, 4};
    std::string buf;
    for (std::uint64_t p = end; p < size; p += kChunk) {
      std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk + 3, size - p));
      if (!readBytes(file_, p, len, buf)) return fail("the archive cannot be read");
      if (buf.find(std::string_view(pattern, 4)) != std::string::npos)
        return fail("the archive is damaged");
    }
  }
  if (end != size && !file_.truncate(end)) return fail("the archive cannot be written");
  records_ = reader.entries();
  dataEnd_ = end;
  opened_ = true;
  return true;
}

bool ZipWriter::add(const ZipEntryInfo& info, const ZipInput& input) {
  error_.clear();
  if (!opened_) return fail("the archive is not open");
  if (info.name.empty() || info.name.size() > 0xFFFF) return fail("the entry name is not valid");
  if (finished_) {
    // Entries go where the directory was; finish() writes it again after them.
    if (!file_.truncate(dataEnd_)) return fail("the archive cannot be written");
    finished_ = false;
  }
  ZipEntry e;
  e.name = info.name;
  e.rawName = info.name;
  e.versionMadeBy = kMadeBy;
  e.versionNeeded = 20;
  e.flags = isAscii(info.name) ? 0 : kUtf8Flag;
  e.method = 8;
  e.modified = info.modified;
  e.headerOffset = dataEnd_;
  e.externalAttributes = info.attributes & 0x27;  // read-only, hidden, system, archive
  auto& z = deflater(stream_).z;
  if (deflateReset(&z) != Z_OK) return fail("zlib failed");

  // Read what fits the whole-entry buffer; a larger file is streamed.
  if (in_.size() < kWholeLimit) in_.resize(kWholeLimit);
  std::size_t have = 0;
  while (have < kWholeLimit) {
    std::int64_t n = input(in_.data() + have, kWholeLimit - have);
    if (n < 0) return fail("the file cannot be read");
    if (n == 0) {
      bool ok = addWhole(e, have);
      if (!ok) file_.truncate(e.headerOffset);
      return ok;
    }
    have += static_cast<std::size_t>(std::min<std::uint64_t>(n, kWholeLimit - have));
  }
  bool ok = addStreamed(info, e, input);
  if (!ok) file_.truncate(e.headerOffset);
  return ok;
}

bool ZipWriter::addWhole(ZipEntry& e, std::size_t size) {
  auto& z = deflater(stream_).z;
  e.crc = zipCrc32(0, in_.data(), size);
  e.size = size;
  std::size_t bound = deflateBound(&z, static_cast<uLong>(size)) + 16;
  if (out_.size() < bound) out_.resize(bound);
  z.next_in = reinterpret_cast<Bytef*>(in_.data());
  z.avail_in = static_cast<uInt>(size);
  z.next_out = reinterpret_cast<Bytef*>(out_.data());
  z.avail_out = static_cast<uInt>(out_.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) return fail("zlib failed");
  e.compressedSize = out_.size() - z.avail_out;
  std::string block = localHeader(kLocalSig, e, false);
  block.append(out_.data(), static_cast<std::size_t>(e.compressedSize));
  if (!file_.writeAt(e.headerOffset, block.data(), block.size()) || !file_.flush())
    return fail("the archive cannot be written");
  dataEnd_ = e.headerOffset + block.size();
  records_.push_back(std::move(e));
  return true;
}

// Deflates what is in z's input (all of it, or to the end of the stream when finishing) and
// writes the output at offset.
bool ZipWriter::writeOut(std::uint64_t& offset, bool finish) {
  auto& z = deflater(stream_).z;
  if (out_.size() < kChunk) out_.resize(kChunk);
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(out_.data());
    z.avail_out = static_cast<uInt>(out_.size());
    int r = deflate(&z, finish ? Z_FINISH : Z_NO_FLUSH);
    if (r != Z_OK && r != Z_STREAM_END && r != Z_BUF_ERROR) return fail("zlib failed");
    std::size_t n = out_.size() - z.avail_out;
    if (n && !file_.writeAt(offset, out_.data(), n)) return fail("the archive cannot be written");
    offset += n;
    if (finish ? r == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0)) return true;
    if (r == Z_BUF_ERROR && n == 0) return fail("zlib failed");
  }
}

bool ZipWriter::addStreamed(const ZipEntryInfo& info, ZipEntry& e, const ZipInput& input) {
  bool zip64 = info.sizeHint > kZip64Hint;
  if (zip64) e.versionNeeded = 45;
  // The header is marked pending until the entry is whole.
  std::string header = localHeader(kPendingSig, e, zip64);
  if (!file_.writeAt(e.headerOffset, header.data(), header.size()))
    return fail("the archive cannot be written");
  std::uint64_t offset = e.headerOffset + header.size();
  auto& z = deflater(stream_).z;
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
  std::size_t have = kWholeLimit;
  for (;;) {
    crc = zipCrc32(crc, in_.data(), have);
    size += have;
    z.next_in = reinterpret_cast<Bytef*>(in_.data());
    z.avail_in = static_cast<uInt>(have);
    if (!writeOut(offset, false)) return false;
    std::int64_t n = input(in_.data(), kChunk);
    if (n < 0) return fail("the file cannot be read");
    if (n == 0) break;
    have = static_cast<std::size_t>(std::min<std::uint64_t>(n, kChunk));
  }
  z.next_in = nullptr;
  z.avail_in = 0;
  if (!writeOut(offset, true)) return false;
  e.crc = crc;
  e.size = size;
  e.compressedSize = offset - e.headerOffset - header.size();
  if (!zip64 && (e.size >= k32 || e.compressedSize >= k32))
    return fail("the file grew past the size it had when it was opened");
  header = localHeader(kLocalSig, e, zip64);
  if (!file_.writeAt(e.headerOffset, header.data(), header.size()) || !file_.flush())
    return fail("the archive cannot be written");
  dataEnd_ = offset;
  records_.push_back(std::move(e));
  return true;
}

bool ZipWriter::finish() {
  error_.clear();
  if (!opened_) return fail("the archive is not open");
  std::string out;
  for (const auto& e : records_) {
    std::string z64;
    if (e.size >= k32) put64(z64, e.size);
    if (e.compressedSize >= k32) put64(z64, e.compressedSize);
    if (e.headerOffset >= k32) put64(z64, e.headerOffset);
    std::string extra;
    if (!z64.empty()) {
      put16(extra, kZip64Tag);
      put16(extra, static_cast<std::uint32_t>(z64.size()));
      extra += z64;
    }
    if (extra.size() + e.extra.size() <= 0xFFFF) extra += e.extra;
    std::uint16_t needed =
        z64.empty() ? e.versionNeeded : std::max<std::uint16_t>(e.versionNeeded, 45);
    put32(out, kCentralSig);
    put16(out, e.versionMadeBy);
    put16(out, needed);
    put16(out, e.flags);
    put16(out, e.method);
    put16(out, e.modified.time);
    put16(out, e.modified.date);
    put32(out, e.crc);
    put32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(e.compressedSize, k32)));
    put32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(e.size, k32)));
    put16(out, static_cast<std::uint32_t>(e.rawName.size()));
    put16(out, static_cast<std::uint32_t>(extra.size()));
    put16(out, 0);  // comment
    put16(out, 0);  // disk
    put16(out, 0);  // internal attributes
    put32(out, e.externalAttributes);
    put32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(e.headerOffset, k32)));
    out += e.rawName;
    out += extra;
  }
  std::uint64_t count = records_.size(), cdSize = out.size(), cdOffset = dataEnd_;
  if (count >= k16 || cdSize >= k32 || cdOffset >= k32) {
    std::uint64_t end64 = cdOffset + cdSize;
    put32(out, kEnd64Sig);
    put64(out, kEnd64Size - 12);
    put16(out, kMadeBy);
    put16(out, 45);
    put32(out, 0);
    put32(out, 0);
    put64(out, count);
    put64(out, count);
    put64(out, cdSize);
    put64(out, cdOffset);
    put32(out, kLocator64Sig);
    put32(out, 0);
    put64(out, end64);
    put32(out, 1);
  }
  put32(out, kEndSig);
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(count, k16)));
  put16(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(count, k16)));
  put32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(cdSize, k32)));
  put32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(cdOffset, k32)));
  put16(out, 0);
  if (!file_.writeAt(cdOffset, out.data(), out.size()) ||
      !file_.truncate(cdOffset + out.size()) || !file_.flush())
    return fail("the archive cannot be written");
  finished_ = true;
  return true;
}

// --------------------------------------------------------------------------------- reader

bool ZipReader::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool ZipReader::open(const ZipSource& source) {
  source_ = &source;
  entries_.clear();
  recovered_ = false;
  cutShort_ = false;
  endsWhole_ = false;
  dataEnd_ = 0;
  error_.clear();
  if (readDirectory()) return true;
  std::string why = error_;
  entries_.clear();
  if (walkLocalHeaders()) {
    recovered_ = true;
    error_ = why;
    return true;
  }
  entries_.clear();
  dataEnd_ = 0;
  return fail(why.empty() ? error_ : why);
}

bool ZipReader::readDirectory() {
  const ZipSource& src = *source_;
  std::uint64_t size = src.size();
  if (size < kEndSize) return fail("no archive directory");
  std::uint64_t tailLen = std::min<std::uint64_t>(size, kEndSize + 0xFFFF);
  std::string tail;
  if (!readBytes(src, size - tailLen, static_cast<std::size_t>(tailLen), tail))
    return fail("the archive cannot be read");
  auto* t = bytesOf(tail);
  std::optional<std::size_t> at;
  for (std::size_t i = tail.size() - kEndSize + 1; i-- > 0;) {
    if (get32(t + i) == kEndSig && i + kEndSize + get16(t + i + 20) <= tail.size()) {
      at = i;
      break;
    }
  }
  if (!at) return fail("no archive directory");
  const unsigned char* end = t + *at;
  std::uint64_t endPos = size - tailLen + *at;
  std::uint64_t disk = get16(end + 4), cdDisk = get16(end + 6);
  std::uint64_t countHere = get16(end + 8), count = get16(end + 10);
  std::uint64_t cdSize = get32(end + 12), cdOffset = get32(end + 16);
  std::uint64_t cdLimit = endPos;  // the directory ends before this
  if (endPos >= kLocator64Size) {
    unsigned char loc[kLocator64Size];
    if (src.readAt(endPos - kLocator64Size, loc, sizeof loc) && get32(loc) == kLocator64Sig) {
      std::uint64_t end64Pos = get64(loc + 8);
      unsigned char e64[kEnd64Size];
      if (!fits(end64Pos, kEnd64Size, endPos - kLocator64Size) ||
          !src.readAt(end64Pos, e64, sizeof e64) || get32(e64) != kEnd64Sig)
        return fail("the ZIP64 directory end is damaged");
      disk = get32(e64 + 16);
      cdDisk = get32(e64 + 20);
      countHere = get64(e64 + 24);
      count = get64(e64 + 32);
      cdSize = get64(e64 + 40);
      cdOffset = get64(e64 + 48);
      cdLimit = end64Pos;
    }
  }
  if (disk != 0 || cdDisk != 0 || countHere != count) return fail("a split archive");
  if (!fits(cdOffset, cdSize, cdLimit)) return fail("the archive directory is out of place");
  if (cdSize > kMaxDirectory) return fail("the archive directory is too large");
  if (count > cdSize / kCentralSize) return fail("the archive directory is damaged");
  std::string cd;
  if (!readBytes(src, cdOffset, static_cast<std::size_t>(cdSize), cd))
    return fail("the archive cannot be read");
  auto* c = bytesOf(cd);
  std::size_t p = 0;
  entries_.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) {
    if (cd.size() - p < kCentralSize || get32(c + p) != kCentralSig)
      return fail("the archive directory is damaged");
    const unsigned char* r = c + p;
    std::size_t nameLen = get16(r + 28), extraLen = get16(r + 30), commentLen = get16(r + 32);
    if (cd.size() - p - kCentralSize < nameLen + extraLen + commentLen)
      return fail("the archive directory is damaged");
    ZipEntry e;
    e.versionMadeBy = get16(r + 4);
    readCommonFields(e, r + 6);
    e.externalAttributes = get32(r + 38);
    e.headerOffset = get32(r + 42);
    e.rawName.assign(cd, p + kCentralSize, nameLen);
    std::string_view extra(cd.data() + p + kCentralSize + nameLen, extraLen);
    if (!applyZip64(extra, &e.size, &e.compressedSize, &e.headerOffset))
      return fail("the archive directory is damaged");
    if (e.headerOffset >= cdOffset) return fail("the archive directory is damaged");
    e.extra = extraWithoutZip64(extra);
    e.name = entryNameText(e.rawName, e.flags, extra);
    entries_.push_back(std::move(e));
    p += kCentralSize + nameLen + extraLen + commentLen;
  }
  dataEnd_ = cdOffset;
  return true;
}

bool ZipReader::walkLocalHeaders() {
  const ZipSource& src = *source_;
  std::uint64_t size = src.size();
  std::uint64_t p = 0;
  std::string head, var;
  cutShort_ = endsWhole_ = false;
  for (;;) {
    if (!fits(p, kLocalSize, size)) {
      // Fewer bytes than a header: the start of a header, or of a directory, cut short?
      std::string rest;
      if (!readBytes(src, p, static_cast<std::size_t>(size - p), rest)) break;
      for (std::uint32_t sig : {kLocalSig, kPendingSig, kCentralSig}) {
        std::string s;
        put32(s, sig);
        cutShort_ |= s.compare(0, rest.size(), rest, 0, std::min<std::size_t>(rest.size(), 4)) == 0;
      }
      // Two bytes ("PK") could start any record; a third tells a directory's.
      endsWhole_ = rest.empty() || (rest.size() >= 3 && rest.compare(0, 3, "PK\1") == 0);
      break;
    }
    if (!readBytes(src, p, kLocalSize, head)) break;
    auto* h = bytesOf(head);
    std::uint32_t sig = get32(h);
    if (sig != kLocalSig) {
      cutShort_ = sig == kPendingSig || sig == kCentralSig;
      endsWhole_ = sig == kCentralSig;
      break;
    }
    std::size_t nameLen = get16(h + 26), extraLen = get16(h + 28);
    std::uint64_t dataStart = p + kLocalSize + nameLen + extraLen;
    if (dataStart > size) {
      cutShort_ = true;
      break;
    }
    if (!readBytes(src, p + kLocalSize, nameLen + extraLen, var)) break;
    ZipEntry e;
    readCommonFields(e, h + 4);
    e.headerOffset = p;
    e.rawName = var.substr(0, nameLen);
    std::string_view extra(var.data() + nameLen, extraLen);
    bool zip64 = false;
    for (const auto& b : extraBlocks(extra)) zip64 |= b.tag == kZip64Tag;
    if (!applyZip64(extra, &e.size, &e.compressedSize, nullptr)) break;
    e.extra = extraWithoutZip64(extra);
    e.name = entryNameText(e.rawName, e.flags, extra);
    std::uint64_t next;
    if (e.flags & kDescriptorFlag) {
      // Sizes follow the data: only a deflated entry tells where its data ends.
      if (e.method != 8) break;
      Inflater inf;
      if (!inf.ready) break;
      std::string in(64 << 10, '\0'), out(256 << 10, '\0');
      std::uint64_t at = dataStart, produced = 0;
      std::uint32_t crc = 0;
      int r = Z_OK;
      while (r != Z_STREAM_END) {
        if (inf.z.avail_in == 0) {
          std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), size - at));
          if (n == 0 || !src.readAt(at, in.data(), n)) break;
          at += n;
          inf.z.next_in = reinterpret_cast<Bytef*>(in.data());
          inf.z.avail_in = static_cast<uInt>(n);
        }
        inf.z.next_out = reinterpret_cast<Bytef*>(out.data());
        inf.z.avail_out = static_cast<uInt>(out.size());
        r = inflate(&inf.z, Z_NO_FLUSH);
        if (r != Z_OK && r != Z_STREAM_END) break;
        std::size_t n = out.size() - inf.z.avail_out;
        crc = zipCrc32(crc, out.data(), n);
        produced += n;
      }
      if (r != Z_STREAM_END) break;
      std::uint64_t dataEnd = at - inf.z.avail_in;
      std::uint64_t compressed = dataEnd - dataStart;
      // The descriptor: an optional signature, the CRC, then both sizes in 4 or 8 bytes.
      unsigned char d[24] = {};
      std::size_t dn = static_cast<std::size_t>(std::min<std::uint64_t>(24, size - dataEnd));
      if (!src.readAt(dataEnd, d, dn)) break;
      std::optional<std::uint64_t> found;
      for (std::size_t skip : {std::size_t(4), std::size_t(0)}) {
        if (skip == 4 && (dn < 4 || get32(d) != kDescriptorSig)) continue;
        for (std::size_t width : {std::size_t(8), std::size_t(4)}) {
          if (width == 8 && !zip64) continue;
          std::size_t len = skip + 4 + 2 * width;
          if (found || dn < len || get32(d + skip) != crc) continue;
          const unsigned char* s = d + skip + 4;
          std::uint64_t cs = width == 8 ? get64(s) : get32(s);
          std::uint64_t us = width == 8 ? get64(s + 8) : get32(s + 4);
          if (cs == compressed && us == produced) found = len;
        }
      }
      if (!found) break;
      e.crc = crc;
      e.compressedSize = compressed;
      e.size = produced;
      next = dataEnd + *found;
    } else {
      if (!fits(dataStart, e.compressedSize, size)) {
        cutShort_ = true;
        break;
      }
      next = dataStart + e.compressedSize;
    }
    entries_.push_back(std::move(e));
    p = next;
  }
  dataEnd_ = p;
  if (entries_.empty()) return fail("not a zip archive");
  return true;
}

bool ZipReader::extract(const ZipEntry& e,
                        const std::function<bool(const char*, std::size_t)>& out) {
  error_.clear();
  if (!source_) return fail("no archive");
  if (!isSafeEntryName(e.name)) return fail("the entry's name leads out of its folder");
  const ZipSource& src = *source_;
  std::uint64_t size = src.size();
  std::string head;
  if (!fits(e.headerOffset, kLocalSize, size) ||
      !readBytes(src, e.headerOffset, kLocalSize, head) || get32(bytesOf(head)) != kLocalSig)
    return fail("the entry's header is damaged");
  auto* h = bytesOf(head);
  std::uint64_t dataStart = e.headerOffset + kLocalSize + get16(h + 26) + get16(h + 28);
  if (!fits(dataStart, e.compressedSize, size)) return fail("the entry is cut short");
  if (e.flags & kEncryptedFlag) return fail("the entry is encrypted");
  if (e.method != 0 && e.method != 8) return fail("the entry's compression is not supported");

  std::string in(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, e.compressedSize)), '\0');
  std::uint64_t at = dataStart, left = e.compressedSize, produced = 0;
  std::uint32_t crc = 0;
  if (e.method == 0) {
    if (e.compressedSize != e.size) return fail("the entry's sizes disagree");
    while (left > 0) {
      std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), left));
      if (!src.readAt(at, in.data(), n)) return fail("the entry cannot be read");
      crc = zipCrc32(crc, in.data(), n);
      if (!out(in.data(), n)) return fail("the entry's data could not be written");
      at += n;
      left -= n;
    }
    produced = e.size;
  } else {
    Inflater inf;
    if (!inf.ready) return fail("zlib could not start");
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk - 1, e.size) + 1);
    std::string buf(room, '\0');
    int r = Z_OK;
    while (r != Z_STREAM_END) {
      if (inf.z.avail_in == 0) {
        if (left == 0) return fail("the entry's data is cut short");
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), left));
        if (!src.readAt(at, in.data(), n)) return fail("the entry cannot be read");
        at += n;
        left -= n;
        inf.z.next_in = reinterpret_cast<Bytef*>(in.data());
        inf.z.avail_in = static_cast<uInt>(n);
      }
      inf.z.next_out = reinterpret_cast<Bytef*>(buf.data());
      inf.z.avail_out = static_cast<uInt>(buf.size());
      r = inflate(&inf.z, Z_NO_FLUSH);
      if (r != Z_OK && r != Z_STREAM_END) return fail("the entry's data is damaged");
      std::size_t n = buf.size() - inf.z.avail_out;
      if (n > e.size - produced) return fail("the entry is larger than its size");
      produced += n;
      crc = zipCrc32(crc, buf.data(), n);
      if (n && !out(buf.data(), n)) return fail("the entry's data could not be written");
    }
  }
  if (produced != e.size) return fail("the entry's size is wrong");
  if (crc != e.crc) return fail("the entry's CRC is wrong");
  return true;
}

std::optional<std::string> ZipReader::read(const ZipEntry& e, std::uint64_t maxSize) {
  if (e.size > maxSize) {
    fail("the entry is too large");
    return std::nullopt;
  }
  std::string data;
  data.reserve(static_cast<std::size_t>(e.size));
  bool ok = extract(e, [&](const char* p, std::size_t n) {
    data.append(p, n);
    return true;
  });
  if (!ok) return std::nullopt;
  return data;
}

}  // namespace glenvask
