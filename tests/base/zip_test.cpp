#include "base/zip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <map>
#include <random>

namespace glenvask {
namespace {

struct Item {
  std::string name;
  std::string data;
};

std::string randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

std::string textBytes(std::size_t n) {
  std::string s;
  while (s.size() < n) s += "the quick brown fox " + std::to_string(s.size()) + "\n";
  s.resize(n);
  return s;
}

// An input that hands out the bytes in pieces of at most `piece` bytes.
ZipInput inputOf(const std::string& data, std::size_t piece = 1 << 30) {
  auto pos = std::make_shared<std::size_t>(0);
  return [&data, pos, piece](char* buf, std::size_t cap) -> std::int64_t {
    std::size_t n = std::min({cap, piece, data.size() - *pos});
    std::copy_n(data.data() + *pos, n, buf);
    *pos += n;
    return static_cast<std::int64_t>(n);
  };
}

bool addItem(ZipWriter& w, const Item& item, std::size_t piece = 1 << 30) {
  ZipEntryInfo info;
  info.name = item.name;
  info.modified = toDosTime({2026, 12, 6, 1, 5, 8});
  info.attributes = 0x20;
  info.sizeHint = item.data.size();
  return w.add(info, inputOf(item.data, piece));
}

// Every entry of the archive, name to bytes; entries that do not read right are "<bad: why>".
std::map<std::string, std::string> contents(std::string_view archive, bool* recovered = nullptr) {
  MemoryZipSource src(archive);
  ZipReader r;
  std::map<std::string, std::string> out;
  if (!r.open(src)) return out;
  if (recovered) *recovered = r.recovered();
  for (const auto& e : r.entries()) out[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  return out;
}

std::map<std::string, std::string> asMap(const std::vector<Item>& items) {
  std::map<std::string, std::string> m;
  for (const auto& i : items) m[i.name] = i.data;
  return m;
}

const std::vector<Item>& sampleItems() {
  static const std::vector<Item> items = {
      {"a/b.txt", "hello"},
      {"empty.txt", ""},
      {"dir/sub/text.log", textBytes(200000)},
      {"caf\xC3\xA9/\xE2\x82\xAC uro.txt", "non-ASCII name"},
      {"noise.bin", randomBytes(70000, 1)},
      {"whole-limit.bin", textBytes(1 << 20)},          // exactly the whole-entry buffer
      {"streamed.bin", randomBytes((3 << 20) + 17, 2)},  // streamed in chunks
      {"last.txt", "the end"},
  };
  return items;
}

TEST(Zip, WritesAndReadsEveryKindOfEntry) {
  MemoryZipFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  for (const auto& item : sampleItems()) ASSERT_TRUE(addItem(w, item, 4097)) << item.name;
  ASSERT_TRUE(w.finish()) << w.error();

  MemoryZipSource src(file.bytes);
  ZipReader r;
  ASSERT_TRUE(r.open(src)) << r.error();
  EXPECT_FALSE(r.recovered());
  ASSERT_EQ(r.entries().size(), sampleItems().size());
  for (std::size_t i = 0; i < sampleItems().size(); ++i) {
    const auto& e = r.entries()[i];
    const auto& item = sampleItems()[i];
    EXPECT_EQ(e.name, item.name);
    EXPECT_EQ(e.method, 8) << "entries are deflated";
    EXPECT_EQ((e.flags & 0x800) != 0, item.name.find_first_of("\x80\xC3\xE2") != std::string::npos)
        << "the UTF-8 flag marks exactly the non-ASCII names: " << item.name;
    EXPECT_EQ(e.size, item.data.size());
    EXPECT_EQ(e.crc, zipCrc32(0, item.data.data(), item.data.size()));
    EXPECT_EQ(e.modified, toDosTime({2026, 12, 6, 1, 5, 8}));
    EXPECT_EQ(e.externalAttributes, 0x20u);
    EXPECT_EQ(r.read(e), item.data) << item.name;
  }
  EXPECT_LT(file.bytes.size(), 5u << 20) << "compressible data is compressed";
}

TEST(Zip, AppendingKeepsEarlierEntries) {
  const auto& items = sampleItems();
  // Finished, then appended: the new entries follow, the old ones stay.
  MemoryZipFile file;
  {
    ZipWriter w(file);
    ASSERT_TRUE(w.open());
    for (std::size_t i = 0; i < 3; ++i) ASSERT_TRUE(addItem(w, items[i]));
    ASSERT_TRUE(w.finish());
  }
  {
    ZipWriter w(file);
    ASSERT_TRUE(w.open()) << w.error();
    EXPECT_EQ(w.entryCount(), 3u);
    for (std::size_t i = 3; i < items.size(); ++i) ASSERT_TRUE(addItem(w, items[i]));
    ASSERT_TRUE(w.finish());
  }
  bool recovered = true;
  EXPECT_EQ(contents(file.bytes, &recovered), asMap(items));
  EXPECT_FALSE(recovered);

  // One writer, finished twice with entries between: the second directory holds all.
  MemoryZipFile again;
  ZipWriter w(again);
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(addItem(w, items[0]));
  ASSERT_TRUE(w.finish());
  ASSERT_TRUE(addItem(w, items[2]));
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(contents(again.bytes), asMap({items[0], items[2]}));
}

// A file that dies (as a killed process) after a number of bytes: the bytes written before
// stay, nothing after.
struct Killed {};
class DyingFile : public MemoryZipFile {
 public:
  explicit DyingFile(std::uint64_t budget) : budget_(budget) {}
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override {
    if (size > budget_) {
      MemoryZipFile::writeAt(offset, data, static_cast<std::size_t>(budget_));
      throw Killed{};
    }
    budget_ -= size;
    return MemoryZipFile::writeAt(offset, data, size);
  }

 private:
  std::uint64_t budget_;
};

TEST(Zip, AnArchiveCutShortRestoresEveryEntryWrittenBeforeTheCut) {
  const auto& items = sampleItems();
  // Written in full, never finished: how many bytes the whole run writes.
  MemoryZipFile full;
  {
    ZipWriter w(full);
    ASSERT_TRUE(w.open());
    for (const auto& item : items) ASSERT_TRUE(addItem(w, item));
    ASSERT_TRUE(w.finish());
  }
  std::uint64_t total = full.bytes.size() + (1 << 20);
  std::mt19937_64 rng(7);
  std::vector<std::uint64_t> budgets = {0, 1, 3, 29, 30, 31, 40, 64, 4000, total};
  for (int i = 0; i < 60; ++i) budgets.push_back(rng() % total);
  for (std::uint64_t budget : budgets) {
    DyingFile file(budget);
    std::vector<Item> done;
    try {
      ZipWriter w(file);
      ASSERT_TRUE(w.open());
      for (const auto& item : items) {
        ASSERT_TRUE(addItem(w, item, 65536));
        done.push_back(item);
      }
      w.finish();
    } catch (const Killed&) {
    }
    auto got = contents(file.bytes);
    // Every entry added before the kill restores byte for byte, and nothing else shows.
    EXPECT_EQ(got, asMap(done)) << "killed after " << budget << " bytes";

    // A later run appends to the cut archive and keeps what it holds.
    MemoryZipFile cut;
    cut.bytes = file.bytes;
    ZipWriter again(cut);
    ASSERT_TRUE(again.open()) << "budget " << budget << ": " << again.error();
    Item extra{"appended.txt", "after the kill"};
    ASSERT_TRUE(addItem(again, extra));
    ASSERT_TRUE(again.finish());
    done.push_back(extra);
    bool recovered = true;
    EXPECT_EQ(contents(cut.bytes, &recovered), asMap(done)) << "budget " << budget;
    EXPECT_FALSE(recovered);
  }
}

TEST(Zip, TruncatedAtAnyPointKeepsTheEntriesBeforeIt) {
  MemoryZipFile file;
  std::vector<std::uint64_t> ends;
  {
    ZipWriter w(file);
    ASSERT_TRUE(w.open());
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(addItem(w, {"f" + std::to_string(i), textBytes(300 + 977 * i)}));
      ends.push_back(file.bytes.size());
    }
    ASSERT_TRUE(w.finish());
  }
  for (std::size_t cut = 0; cut <= file.bytes.size(); ++cut) {
    std::string part = file.bytes.substr(0, cut);
    auto got = contents(part);
    std::size_t whole = 0;
    while (whole < ends.size() && ends[whole] <= cut) ++whole;
    ASSERT_EQ(got.size(), whole) << "cut at " << cut;
    for (const auto& [name, data] : got) EXPECT_EQ(data.rfind("<bad", 0), std::string::npos);
  }
}

// The file fills up after a number of bytes; writes past it fail.
class FullFile : public MemoryZipFile {
 public:
  std::uint64_t room = ~0ull;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override {
    if (offset + size > room) return false;
    return MemoryZipFile::writeAt(offset, data, size);
  }
};

TEST(Zip, AFailedEntryLeavesTheArchiveAsItWas) {
  const auto& items = sampleItems();
  FullFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(addItem(w, items[0]));
  ASSERT_TRUE(addItem(w, items[2]));
  std::string before = file.bytes;

  // The disk fills in the middle of a large entry, then of a small one.
  for (std::uint64_t room : {before.size() + 2000, before.size() + 10}) {
    file.room = room;
    EXPECT_FALSE(addItem(w, items[6], 100000));
    EXPECT_FALSE(w.error().empty());
    EXPECT_EQ(file.bytes, before) << "the partial entry is taken away";
  }
  // Reading the file fails half-way.
  file.room = ~0ull;
  int calls = 0;
  ZipEntryInfo info{"unreadable.bin", {}, 0, 0};
  EXPECT_FALSE(w.add(info, [&](char* buf, std::size_t cap) -> std::int64_t {
    if (++calls > 2) return -1;
    std::fill_n(buf, std::min<std::size_t>(cap, 700000), 'x');
    return std::min<std::size_t>(cap, 700000);
  }));
  EXPECT_EQ(file.bytes, before);
  // The writer goes on.
  ASSERT_TRUE(addItem(w, items[3]));
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(contents(file.bytes), asMap({items[0], items[2], items[3]}));
}

TEST(Zip, SomethingElseIsNeverAppendedTo) {
  const auto& items = sampleItems();
  MemoryZipFile good;
  {
    ZipWriter w(good);
    ASSERT_TRUE(w.open());
    for (std::size_t i = 0; i < 4; ++i) ASSERT_TRUE(addItem(w, items[i]));
    // Not finished: no directory.
  }
  // An entry in the middle damaged: the entries after it must not be cut off.
  std::string damaged = good.bytes;
  MemoryZipSource src(good.bytes);
  ZipReader r;
  ASSERT_TRUE(r.open(src));
  damaged[r.entries()[1].headerOffset + 2] ^= 0x55;  // the second entry's version
  damaged[r.entries()[1].headerOffset] = 'X';        // and its signature

  struct Case {
    std::string what, bytes;
  } cases[] = {
      {"text", "just some text that is no archive at all"},
      {"zeros", std::string(5000, '\0')},
      {"damaged in the middle", damaged},
  };
  for (const auto& c : cases) {
    MemoryZipFile f;
    f.bytes = c.bytes;
    ZipWriter w(f);
    EXPECT_FALSE(w.open()) << c.what;
    EXPECT_FALSE(w.add({"x", {}, 0, 0}, inputOf("x"))) << c.what;
    EXPECT_FALSE(w.finish()) << c.what;
    EXPECT_EQ(f.bytes, c.bytes) << c.what << ": left untouched";
  }
}

TEST(Zip, ManyEntriesUseZip64) {
  MemoryZipFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  const int count = 70000;
  for (int i = 0; i < count; ++i)
    ASSERT_TRUE(addItem(w, {"d" + std::to_string(i % 7) + "/" + std::to_string(i),
                            std::to_string(i)}));
  ASSERT_TRUE(w.finish());
  MemoryZipSource src(file.bytes);
  ZipReader r;
  ASSERT_TRUE(r.open(src)) << r.error();
  EXPECT_FALSE(r.recovered());
  ASSERT_EQ(r.entries().size(), static_cast<std::size_t>(count));
  for (int i : {0, 1, 65534, 65535, 65536, count - 1})
    EXPECT_EQ(r.read(r.entries()[i]), std::to_string(i));
  // The classic end record says "see ZIP64".
  auto* end = reinterpret_cast<const unsigned char*>(file.bytes.data() + file.bytes.size() - 22);
  EXPECT_EQ(end[10] | end[11] << 8, 0xFFFF);
}

// An entry larger than 4 GiB (zeros: small once deflated). Offsets past 4 GiB are tested on a
// real disk by the interoperability test.
TEST(Zip, HugeEntriesUseZip64) {
  const std::uint64_t huge = (4ull << 30) + 12345;
  MemoryZipFile file;
  ZipWriter w(file, 1);
  ASSERT_TRUE(w.open());
  std::uint64_t left = huge;
  ZipEntryInfo info{"huge.bin", {}, 0, huge};
  ASSERT_TRUE(w.add(info, [&](char* buf, std::size_t cap) -> std::int64_t {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, left));
    std::memset(buf, 0, n);
    left -= n;
    return static_cast<std::int64_t>(n);
  })) << w.error();
  ASSERT_TRUE(addItem(w, {"after.txt", "small"}));
  ASSERT_TRUE(w.finish());
  EXPECT_LT(file.bytes.size(), 64u << 20);

  for (bool cutDirectory : {false, true}) {
    std::string bytes = file.bytes;
    if (cutDirectory) bytes.resize(bytes.size() - 30);
    MemoryZipSource src(bytes);
    ZipReader r;
    ASSERT_TRUE(r.open(src)) << r.error();
    EXPECT_EQ(r.recovered(), cutDirectory);
    ASSERT_EQ(r.entries().size(), 2u);
    EXPECT_EQ(r.entries()[0].size, huge);
    EXPECT_EQ(r.read(r.entries()[1]), "small");
    if (cutDirectory) continue;
    std::uint64_t seen = 0;
    ASSERT_TRUE(r.extract(r.entries()[0], [&](const char*, std::size_t n) {
      seen += n;
      return true;
    })) << r.error();  // the CRC of zeros is checked on the way
    EXPECT_EQ(seen, huge);
  }
}

// ---- archives made by other writers, built by hand

struct RawEntry {
  std::string name;
  std::string data;
  std::uint16_t flags = 0;
  std::string extra;
  bool descriptor = false;  // deflated, sizes after the data
};

std::string rawDeflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = data.size();
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = out.size();
  deflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

void p16(std::string& s, unsigned v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void p32(std::string& s, std::uint32_t v) { p16(s, v & 0xFFFF), p16(s, v >> 16); }

std::string buildArchive(const std::vector<RawEntry>& entries, bool withDirectory = true) {
  std::string out, cd;
  for (const auto& e : entries) {
    std::uint32_t crc = zipCrc32(0, e.data.data(), e.data.size());
    std::string body = e.descriptor ? rawDeflate(e.data) : e.data;
    std::uint16_t flags = e.flags | (e.descriptor ? 8 : 0), method = e.descriptor ? 8 : 0;
    std::uint32_t offset = out.size();
    p32(out, 0x04034b50), p16(out, 20), p16(out, flags), p16(out, method), p16(out, 0);
    p16(out, 0x21);
    p32(out, e.descriptor ? 0 : crc), p32(out, e.descriptor ? 0 : body.size());
    p32(out, e.descriptor ? 0 : e.data.size());
    p16(out, e.name.size()), p16(out, e.extra.size());
    out += e.name + e.extra + body;
    if (e.descriptor)
      p32(out, 0x08074b50), p32(out, crc), p32(out, body.size()), p32(out, e.data.size());
    p32(cd, 0x02014b50), p16(cd, 20), p16(cd, 20), p16(cd, flags), p16(cd, method), p16(cd, 0);
    p16(cd, 0x21), p32(cd, crc), p32(cd, body.size()), p32(cd, e.data.size());
    p16(cd, e.name.size()), p16(cd, e.extra.size()), p16(cd, 0), p16(cd, 0), p16(cd, 0);
    p32(cd, 0), p32(cd, offset);
    cd += e.name + e.extra;
  }
  if (!withDirectory) return out;
  std::uint32_t cdOffset = out.size();
  out += cd;
  p32(out, 0x06054b50), p16(out, 0), p16(out, 0), p16(out, entries.size());
  p16(out, entries.size()), p32(out, cd.size()), p32(out, cdOffset), p16(out, 0);
  return out;
}

std::string unicodePathExtra(const std::string& raw, const std::string& utf8) {
  std::string block;
  block += char(1);
  p32(block, zipCrc32(0, raw.data(), raw.size()));
  block += utf8;
  std::string extra;
  p16(extra, 0x7075), p16(extra, block.size());
  return extra + block;
}

TEST(Zip, NamesOfOtherWritersReadAsUtf8) {
  struct Case {
    RawEntry entry;
    std::string name;
  } cases[] = {
      {{"plain/name.txt", "1"}, "plain/name.txt"},
      {{"caf\xC3\xA9.txt", "2", 0x800}, "caf\xC3\xA9.txt"},              // flagged UTF-8
      {{"caf\x82.txt", "3"}, "caf\xC3\xA9.txt"},                         // code page 437
      {{"\x8E\x99\x9A", "4"}, "\xC3\x84\xC3\x96\xC3\x9C"},               // 437: umlauts
      {{"caf\x82.txt", "5", 0, unicodePathExtra("caf\x82.txt", "caf\xC3\xA8.txt")},
       "caf\xC3\xA8.txt"},                                                // Info-ZIP's path
      {{"x\x82.txt", "6", 0, unicodePathExtra("other", "y.txt")}, "x\xC3\xA9.txt"},  // stale
      {{"r\xC3\xA9sum\xC3\xA9", "7"}, "r\xC3\xA9sum\xC3\xA9"},          // unflagged UTF-8
  };
  for (bool withDirectory : {true, false}) {
    for (const auto& c : cases) {
      std::string archive = buildArchive({c.entry}, withDirectory);
      MemoryZipSource src(archive);
      ZipReader r;
      ASSERT_TRUE(r.open(src));
      ASSERT_EQ(r.entries().size(), 1u);
      EXPECT_EQ(r.entries()[0].name, c.name);
      EXPECT_EQ(r.entries()[0].rawName, c.entry.name);
      EXPECT_EQ(r.read(r.entries()[0]), c.entry.data);
    }
  }
}

TEST(Zip, RecoveryFollowsDataDescriptors) {
  std::vector<RawEntry> entries = {{"one.txt", textBytes(5000), 0, "", true},
                                   {"two.bin", randomBytes(3000, 5), 0, "", true},
                                   {"three.txt", "stored"}};
  std::string archive = buildArchive(entries, false);
  bool recovered = false;
  auto got = contents(archive, &recovered);
  EXPECT_TRUE(recovered);
  EXPECT_EQ(got, asMap({{"one.txt", entries[0].data}, {"two.bin", entries[1].data},
                        {"three.txt", "stored"}}));
  // An archive of another writer is appended to as well.
  MemoryZipFile f;
  f.bytes = buildArchive(entries, true);
  ZipWriter w(f);
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(addItem(w, {"four.txt", "mine"}));
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(contents(f.bytes).size(), 4u);
  EXPECT_EQ(contents(f.bytes)["one.txt"], entries[0].data);
}

// Damage of every kind: the reader says what is wrong, never reads out of bounds, never
// hands out bytes that fail their check.
TEST(Zip, MalformedArchivesNeverCrash) {
  MemoryZipFile file;
  {
    ZipWriter w(file);
    ASSERT_TRUE(w.open());
    for (const auto& item : {Item{"a.txt", textBytes(3000)}, Item{"b/c.bin", randomBytes(500, 9)},
                             Item{"d", ""}})
      ASSERT_TRUE(addItem(w, item));
    ASSERT_TRUE(w.finish());
  }
  std::string good = file.bytes;
  std::string foreign = buildArchive({{"one.txt", textBytes(900), 0, "", true}, {"s", "xy"}});
  std::mt19937 rng(11);
  int opened = 0;
  auto probe = [&](const std::string& bytes) {
    MemoryZipSource src(bytes);
    ZipReader r;
    if (!r.open(src)) {
      EXPECT_FALSE(r.error().empty());
      return;
    }
    ++opened;
    for (const auto& e : r.entries()) {
      auto data = r.read(e, 1 << 20);
      if (data) {
        EXPECT_EQ(zipCrc32(0, data->data(), data->size()), e.crc);
      }
    }
    // A writer given the same bytes either takes them over or leaves them be.
    MemoryZipFile f;
    f.bytes = bytes;
    ZipWriter w(f);
    if (w.open()) {
      EXPECT_TRUE(addItem(w, {"new", "n"}));
      EXPECT_TRUE(w.finish());
    } else {
      EXPECT_EQ(f.bytes, bytes);
    }
  };
  for (const std::string& base : {good, foreign}) {
    for (std::size_t i = 0; i < base.size(); ++i) {
      for (unsigned char v : {0x00, 0xFF, 0x7F}) {
        std::string bad = base;
        bad[i] = static_cast<char>(v);
        probe(bad);
      }
    }
    for (int i = 0; i < 2000; ++i) {
      std::string bad = base;
      for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = static_cast<char>(rng());
      probe(bad);
      probe(bad.substr(0, rng() % bad.size()));
    }
  }
  for (int i = 0; i < 200; ++i) probe(randomBytes(rng() % 300, i));
  EXPECT_GT(opened, 100);
}

TEST(Zip, EntryNamesSafeToRestore) {
  struct Case {
    std::string name;
    bool safe;
  } cases[] = {
      {"a.txt", true},
      {"folder/sub/file.txt", true},
      {"folder\\sub\\file.txt", true},
      {"caf\xC3\xA9/\xE2\x82\xAC.txt", true},
      {"folder/", true},
      {"a..b/c", true},
      {".hidden", true},
      {"", false},
      {"C:/Windows/x.dll", false},
      {"C:x.dll", false},
      {"/etc/passwd", false},
      {"\\Windows\\x", false},
      {"\\\\server\\share\\x", false},
      {"../x", false},
      {"a/../../x", false},
      {"a\\..\\x", false},
      {"a/..", false},
      {"a/.../x", false},
      {"a/. ./x", false},
      {"a/.. /x", false},
      {"file.txt:stream", false},
      {"a\x01" "b", false},
      {std::string("a\0b", 3), false},
      {"caf\xE9", false},  // not UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(isSafeEntryName(c.name), c.safe) << c.name;

  // The reader lists such entries but never hands out their bytes.
  std::string archive = buildArchive({{"good.txt", "g"}, {"../evil.txt", "e"}, {"C:x", "c"}});
  MemoryZipSource src(archive);
  ZipReader r;
  ASSERT_TRUE(r.open(src));
  ASSERT_EQ(r.entries().size(), 3u);
  EXPECT_EQ(r.read(r.entries()[0]), "g");
  EXPECT_EQ(r.read(r.entries()[1]), std::nullopt);
  EXPECT_EQ(r.read(r.entries()[2]), std::nullopt);
}

TEST(Zip, DosTimes) {
  struct Case {
    DateTime in, out;
  } cases[] = {
      {{2026, 12, 6, 1, 5, 7}, {2026, 12, 6, 1, 5, 6}},  // two-second steps
      {{1980, 1, 1, 0, 0, 0}, {1980, 1, 1, 0, 0, 0}},
      {{2107, 12, 31, 23, 59, 59}, {2107, 12, 31, 23, 59, 58}},
      {{1970, 5, 5, 5, 5, 5}, {1980, 1, 1, 0, 0, 0}},  // before the format's first day
      {{2200, 1, 1, 0, 0, 0}, {2107, 12, 31, 23, 59, 58}},
  };
  for (const auto& c : cases) EXPECT_EQ(fromDosTime(toDosTime(c.in)), c.out);
}

}  // namespace
}  // namespace glenvask
