#include "base/zip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <map>
#include <random>

namespace glenvask {
namespace {

struct Item {
  std::string name, data;
};
using Contents = std::map<std::string, std::string>;

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

// An input that hands out the bytes, or `zeros` zero bytes, in pieces of at most `piece`.
ZipInput inputOf(const std::string& data, std::size_t piece = 1 << 30, std::uint64_t zeros = 0) {
  auto pos = std::make_shared<std::uint64_t>(0);
  return [&data, pos, piece, zeros](char* buf, std::size_t cap) -> std::int64_t {
    std::uint64_t left = (zeros ? zeros : data.size()) - *pos;
    auto n = static_cast<std::size_t>(std::min<std::uint64_t>({cap, piece, left}));
    if (zeros) std::memset(buf, 0, n);
    else std::copy_n(data.data() + *pos, n, buf);
    *pos += n;
    return static_cast<std::int64_t>(n);
  };
}

bool addItem(ZipWriter& w, const Item& item, std::size_t piece = 1 << 30) {
  ZipEntryInfo info{item.name, toDosTime({2026, 12, 6, 1, 5, 8}), 0x20, item.data.size()};
  return w.add(info, inputOf(item.data, piece));
}

// The archive our writer makes of the items, with or without its directory.
std::string archiveOf(const std::vector<Item>& items, bool finish = true) {
  MemoryZipFile file;
  ZipWriter w(file);
  EXPECT_TRUE(w.open());
  for (const auto& item : items) EXPECT_TRUE(addItem(w, item)) << item.name;
  EXPECT_TRUE(!finish || w.finish());
  return file.bytes;
}

// Every entry of the archive, name to bytes; entries that do not read right are "<bad: why>".
Contents contents(std::string_view archive, bool* recovered = nullptr) {
  MemoryZipSource src(archive);
  ZipReader r;
  Contents out;
  if (!r.open(src)) return out;
  if (recovered) *recovered = r.recovered();
  for (const auto& e : r.entries()) out[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  return out;
}

Contents asMap(const std::vector<Item>& items) {
  Contents m;
  for (const auto& i : items) m[i.name] = i.data;
  return m;
}

const std::vector<Item>& sampleItems() {
  static const std::vector<Item> items = {
      {"a/b.txt", "hello"}, {"empty.txt", ""}, {"dir/sub/text.log", textBytes(200000)},
      {"caf\xC3\xA9/\xE2\x82\xAC uro.txt", "non-ASCII name"}, {"noise.bin", randomBytes(70000, 1)},
      {"whole-limit.bin", textBytes(1 << 20)},          // exactly the whole-entry buffer
      {"streamed.bin", randomBytes((3 << 20) + 17, 2)},  // streamed in chunks
      {"last.txt", "the end"},
  };
  return items;
}

// Finished half-way and added to after: the second directory holds every entry.
TEST(Zip, WritesAndReadsEveryKindOfEntry) {
  const auto& items = sampleItems();
  MemoryZipFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  for (std::size_t i = 0; i < items.size(); ++i) {
    ASSERT_TRUE(addItem(w, items[i], 4097)) << items[i].name;
    ASSERT_TRUE(i != 2 || w.finish()) << w.error();
  }
  ASSERT_TRUE(w.finish()) << w.error();

  MemoryZipSource src(file.bytes);
  ZipReader r;
  ASSERT_TRUE(r.open(src)) << r.error();
  EXPECT_FALSE(r.recovered());
  ASSERT_EQ(r.entries().size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& [e, item] = std::tie(r.entries()[i], items[i]);
    // Deflated; the UTF-8 flag marks exactly the non-ASCII names.
    bool utf8 = item.name.find_first_of("\x80\xC3\xE2") != std::string::npos;
    EXPECT_EQ(std::tie(e.name, e.method, e.size, e.crc, e.modified, e.externalAttributes),
              std::make_tuple(item.name, 8, item.data.size(), zipCrc32(0, item.data.data(),
                              item.data.size()), toDosTime({2026, 12, 6, 1, 5, 8}), 0x20u));
    EXPECT_EQ((e.flags & 0x800) != 0, utf8) << item.name;
    EXPECT_EQ(r.read(e), item.data) << item.name;
  }
  EXPECT_LT(file.bytes.size(), 5u << 20) << "compressible data is compressed";
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

// A cut at every byte of a small archive, and at many points of the sample; the largest budget
// lets the run finish: appending to a complete archive is covered too.
TEST(Zip, AnArchiveCutShortRestoresEveryEntryWrittenBeforeTheCut) {
  std::vector<Item> small;
  for (int i = 0; i < 6; ++i) small.push_back({"f" + std::to_string(i), textBytes(300 + 977 * i)});
  std::mt19937_64 rng(7);
  for (const std::vector<Item>* items : {&std::as_const(small), &sampleItems()}) {
    std::uint64_t total = archiveOf(*items).size() + (1 << 20);
    std::vector<std::uint64_t> budgets = {0, 1, 3, 29, 30, 31, 40, 64, 4000, total};
    for (std::uint64_t b = 0; b < total - (1 << 20) && items == &small; ++b) budgets.push_back(b);
    for (int i = 0; i < 60 && items != &small; ++i) budgets.push_back(rng() % total);
    for (std::uint64_t budget : budgets) {
      SCOPED_TRACE("killed after " + std::to_string(budget) + " bytes");
      DyingFile file(budget);
      std::vector<Item> done;
      try {
        ZipWriter w(file);
        ASSERT_TRUE(w.open());
        for (const auto& item : *items) {
          ASSERT_TRUE(addItem(w, item, 65536));
          done.push_back(item);
        }
        w.finish();
      } catch (const Killed&) {
      }
      ASSERT_EQ(contents(file.bytes), asMap(done)) << "what was added restores, nothing else";

      // A later run appends to the cut archive and keeps what it holds.
      MemoryZipFile cut;
      cut.bytes = file.bytes;
      ZipWriter again(cut);
      ASSERT_TRUE(again.open()) << again.error();
      done.push_back({"appended.txt", "after the kill"});
      ASSERT_TRUE(addItem(again, done.back()));
      ASSERT_TRUE(again.finish());
      bool recovered = true;
      ASSERT_EQ(contents(cut.bytes, &recovered), asMap(done));
      ASSERT_FALSE(recovered);
    }
  }
}

// The file fills up after a number of bytes; writes past it fail.
class FullFile : public MemoryZipFile {
 public:
  std::uint64_t room = ~0ull;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override {
    return offset + size <= room && MemoryZipFile::writeAt(offset, data, size);
  }
};

TEST(Zip, AFailedEntryLeavesTheArchiveAsItWas) {
  const auto& items = sampleItems();
  FullFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(addItem(w, items[0]));
  ASSERT_TRUE(addItem(w, items[2]));
  const std::string before = file.bytes;
  // The disk fills in the middle of a large entry, then of a small one; then the file being
  // added cannot be read half-way.
  int calls = 0;
  auto unreadable = [&](char* buf, std::size_t cap) -> std::int64_t {
    if (++calls > 2) return -1;
    std::fill_n(buf, std::min<std::size_t>(cap, 700000), 'x');
    return std::min<std::size_t>(cap, 700000);
  };
  for (std::uint64_t room : {before.size() + 2000, before.size() + 10}) {
    file.room = room;
    EXPECT_FALSE(addItem(w, items[6], 100000));
    EXPECT_FALSE(w.error().empty());
    EXPECT_EQ(file.bytes, before) << "the partial entry is taken away";
  }
  file.room = ~0ull;
  EXPECT_FALSE(w.add({"unreadable.bin", {}, 0, 0}, unreadable));
  EXPECT_EQ(file.bytes, before);
  ASSERT_TRUE(addItem(w, items[3])) << "the writer goes on";
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(contents(file.bytes), asMap({items[0], items[2], items[3]}));
}

TEST(Zip, SomethingElseIsNeverAppendedTo) {
  // No directory, and an entry in the middle damaged: the entries after it must not be cut off.
  std::string damaged = archiveOf({sampleItems().begin(), sampleItems().begin() + 4}, false);
  std::size_t second = damaged.find("PK\3\4", 1);
  ASSERT_NE(second, std::string::npos);
  damaged[second + 2] ^= 0x55;  // the second entry's version
  damaged[second] = 'X';        // and its signature
  std::string text = "just some text that is no archive at all";
  for (const std::string& bytes : {text, std::string(5000, '\0'), damaged}) {
    MemoryZipFile f;
    f.bytes = bytes;
    ZipWriter w(f);
    EXPECT_FALSE(w.open());
    EXPECT_FALSE(w.add({"x", {}, 0, 0}, inputOf(text)));
    EXPECT_FALSE(w.finish());
    EXPECT_EQ(f.bytes, bytes) << "left untouched";
  }
}

TEST(Zip, ManyEntriesUseZip64) {
  const int count = 70000;
  std::vector<Item> items;
  for (int i = 0; i < count; ++i)
    items.push_back({"d" + std::to_string(i % 7) + "/" + std::to_string(i), std::to_string(i)});
  std::string bytes = archiveOf(items);
  bool recovered = true;
  EXPECT_EQ(contents(bytes, &recovered), asMap(items));
  EXPECT_FALSE(recovered);
  // The classic end record says "see ZIP64".
  auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - 22);
  EXPECT_EQ(end[10] | end[11] << 8, 0xFFFF);
}

// An entry larger than 4 GiB (zeros: small once deflated). Offsets past 4 GiB are tested on a
// real disk by the interoperability test.
TEST(Zip, HugeEntriesUseZip64) {
  const std::uint64_t huge = (4ull << 30) + 12345;
  MemoryZipFile file;
  ZipWriter w(file, 1);
  ASSERT_TRUE(w.open());
  const std::string none;
  ASSERT_TRUE(w.add({"huge.bin", {}, 0, huge}, inputOf(none, 1 << 30, huge))) << w.error();
  ASSERT_TRUE(addItem(w, {"after.txt", "small"}));
  ASSERT_TRUE(w.finish());
  EXPECT_LT(file.bytes.size(), 64u << 20);

  for (bool cutDirectory : {true, false}) {
    std::string bytes = file.bytes.substr(0, file.bytes.size() - (cutDirectory ? 30 : 0));
    MemoryZipSource src(bytes);
    ZipReader r;
    ASSERT_TRUE(r.open(src)) << r.error();
    EXPECT_EQ(r.recovered(), cutDirectory);
    ASSERT_EQ(r.entries().size(), 2u);
    EXPECT_EQ(r.entries()[0].size, huge);
    EXPECT_EQ(r.read(r.entries()[1]), "small");
    std::uint64_t seen = 0;  // the CRC of the zeros is checked on the way
    auto count = [&](const char*, std::size_t n) { seen += n; return true; };
    EXPECT_TRUE(cutDirectory || r.extract(r.entries()[0], count)) << r.error();
    EXPECT_EQ(seen, cutDirectory ? 0 : huge);
  }
}

// ---- archives made by other writers, built by hand

struct RawEntry {
  std::string name, data;
  std::uint16_t flags = 0;
  std::string extra;
  bool descriptor = false;  // deflated, sizes after the data
};

// The raw deflate stream inside zlib's two-byte header and four-byte checksum.
std::string rawDeflate(const std::string& data) {
  uLongf n = compressBound(data.size());
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &n,
            reinterpret_cast<const Bytef*>(data.data()), data.size(), 6);
  return out.substr(2, n - 6);
}

std::string u16(unsigned v) { return {char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }

std::string buildArchive(const std::vector<RawEntry>& entries, bool withDirectory = true) {
  std::string out, cd;
  for (const auto& e : entries) {
    std::string body = e.descriptor ? rawDeflate(e.data) : e.data;
    // Flags, method, time, date; CRC and sizes; name and extra lengths.
    std::string head = u16(e.flags | (e.descriptor ? 8 : 0)) + u16(e.descriptor ? 8 : 0) +
                       u16(0) + u16(0x21);
    std::string sizes = u32(zipCrc32(0, e.data.data(), e.data.size())) + u32(body.size()) +
                        u32(e.data.size());
    std::string lengths = u16(e.name.size()) + u16(e.extra.size());
    cd += u32(0x02014b50) + u16(20) + u16(20) + head + sizes + lengths + u16(0) + u16(0) +
          u16(0) + u32(0) + u32(out.size()) + e.name + e.extra;
    out += u32(0x04034b50) + u16(20) + head + (e.descriptor ? std::string(12, '\0') : sizes) +
           lengths + e.name + e.extra + body;
    if (e.descriptor) out += u32(0x08074b50) + sizes;
  }
  if (!withDirectory) return out;
  return out + cd + u32(0x06054b50) + u16(0) + u16(0) + u16(entries.size()) +
         u16(entries.size()) + u32(cd.size()) + u32(out.size()) + u16(0);
}

// Info-ZIP's Unicode path extra field.
std::string unicodePath(const std::string& raw, const std::string& utf8) {
  return u16(0x7075) + u16(5 + utf8.size()) + char(1) +
         u32(zipCrc32(0, raw.data(), raw.size())) + utf8;
}

TEST(Zip, NamesOfOtherWritersReadAsUtf8) {
  std::pair<RawEntry, std::string> cases[] = {
      {{"plain/name.txt", "1"}, "plain/name.txt"},
      {{"caf\xC3\xA9.txt", "2", 0x800}, "caf\xC3\xA9.txt"},  // flagged UTF-8
      {{"caf\x82.txt", "3"}, "caf\xC3\xA9.txt"},             // code page 437
      {{"\x8E\x99\x9A", "4"}, "\xC3\x84\xC3\x96\xC3\x9C"},   // 437: umlauts
      {{"caf\x82.txt", "5", 0, unicodePath("caf\x82.txt", "caf\xC3\xA8.txt")}, "caf\xC3\xA8.txt"},
      {{"x\x82.txt", "6", 0, unicodePath("other", "y.txt")}, "x\xC3\xA9.txt"},  // stale
      {{"r\xC3\xA9sum\xC3\xA9", "7"}, "r\xC3\xA9sum\xC3\xA9"},  // unflagged UTF-8
  };
  for (bool withDirectory : {true, false}) {
    for (const auto& [entry, name] : cases) {
      std::string archive = buildArchive({entry}, withDirectory);
      MemoryZipSource src(archive);
      ZipReader r;
      ASSERT_TRUE(r.open(src));
      ASSERT_EQ(r.entries().size(), 1u);
      EXPECT_EQ(r.entries()[0].name, name);
      EXPECT_EQ(r.entries()[0].rawName, entry.name);
      EXPECT_EQ(r.read(r.entries()[0]), entry.data);
    }
  }
}

TEST(Zip, RecoveryFollowsDataDescriptorsAndOthersArchivesAreAppendedTo) {
  std::vector<RawEntry> entries = {{"one.txt", textBytes(5000), 0, "", true},
                                   {"two.bin", randomBytes(3000, 5), 0, "", true},
                                   {"three.txt", "stored"}};
  Contents want = {{"one.txt", entries[0].data}, {"two.bin", entries[1].data},
                   {"three.txt", "stored"}};
  bool recovered = false;
  EXPECT_EQ(contents(buildArchive(entries, false), &recovered), want);
  EXPECT_TRUE(recovered);
  MemoryZipFile f;
  f.bytes = buildArchive(entries, true);
  ZipWriter w(f);
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(addItem(w, {"four.txt", "mine"}));
  ASSERT_TRUE(w.finish());
  want["four.txt"] = "mine";
  EXPECT_EQ(contents(f.bytes), want);
}

// Damage of every kind: the reader says what is wrong, never reads out of bounds, never
// hands out bytes that fail their check; a writer takes the bytes over or leaves them be.
TEST(Zip, MalformedArchivesNeverCrash) {
  std::string good = archiveOf({{"a.txt", textBytes(3000)}, {"b/c.bin", randomBytes(500, 9)},
                                {"d", ""}});
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
      EXPECT_TRUE(!data || zipCrc32(0, data->data(), data->size()) == e.crc) << e.name;
    }
    MemoryZipFile f;
    f.bytes = bytes;
    ZipWriter w(f);
    if (w.open()) {
      EXPECT_TRUE(addItem(w, {"new", "n"}) && w.finish());
    } else {
      EXPECT_EQ(f.bytes, bytes);
    }
  };
  for (const std::string& base : {good, foreign}) {
    for (std::size_t i = 0; i < base.size(); ++i)
      for (char v : {'\0', '\xFF', '\x7F'}) probe(base.substr(0, i) + v + base.substr(i + 1));
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
  std::pair<std::string, bool> cases[] = {
      {"a.txt", true}, {"folder/sub/file.txt", true}, {"folder\\sub\\file.txt", true},
      {"caf\xC3\xA9/\xE2\x82\xAC.txt", true}, {"folder/", true}, {"a..b/c", true},
      {".hidden", true}, {"", false}, {"C:/Windows/x.dll", false}, {"C:x.dll", false},
      {"/etc/passwd", false}, {"\\Windows\\x", false}, {"\\\\server\\share\\x", false},
      {"../x", false}, {"a/../../x", false}, {"a\\..\\x", false}, {"a/..", false},
      {"a/.../x", false}, {"a/. ./x", false}, {"a/.. /x", false}, {"file.txt:stream", false},
      {"a\x01" "b", false}, {std::string("a\0b", 3), false},
      {"caf\xE9", false},  // not UTF-8
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(isSafeEntryName(name), safe) << name;

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
  std::pair<DateTime, DateTime> cases[] = {
      {{2026, 12, 6, 1, 5, 7}, {2026, 12, 6, 1, 5, 6}},  // two-second steps
      {{1980, 1, 1, 0, 0, 0}, {1980, 1, 1, 0, 0, 0}},
      {{2107, 12, 31, 23, 59, 59}, {2107, 12, 31, 23, 59, 58}},
      {{1970, 5, 5, 5, 5, 5}, {1980, 1, 1, 0, 0, 0}},  // before the format's first day
      {{2200, 1, 1, 0, 0, 0}, {2107, 12, 31, 23, 59, 58}},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(fromDosTime(toDosTime(in)), out);
}

}  // namespace
}  // namespace glenvask
