#include "base/zip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

// The fuzz target (it aborts on a fault): damaged archives go through it below.
#include "../fuzz/zip_fuzz.cpp"

namespace glenvask {
namespace {

struct Item {
  std::string name, data;
};
using Contents = std::map<std::string, std::string>;
const DosTime kTime = toDosTime({2026, 12, 6, 1, 5, 8});

// Random bytes of a seed; with none, text that compresses well.
std::string bytes(std::size_t n, unsigned seed = 0) {
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < n)
    s += seed ? std::string(1, static_cast<char>(rng())) : "the fox " + std::to_string(s.size());
  return s.substr(0, n);
}

bool addItem(ZipWriter& w, const Item& item, std::size_t piece = 1 << 30) {
  return w.add({item.name, kTime, 0x20, item.data.size()},
               [data = std::string_view(item.data), piece](char* buf, std::size_t cap) mutable {
                 std::size_t n = std::min({cap, piece, data.size()});
                 std::copy_n(data.data(), n, buf);
                 data.remove_prefix(n);
                 return static_cast<std::int64_t>(n);
               });
}

std::string archiveOf(const std::vector<Item>& items, bool finish = true) {
  MemoryZipFile file;
  ZipWriter w(file);
  EXPECT_TRUE(w.open());
  for (const auto& item : items) EXPECT_TRUE(addItem(w, item)) << item.name;
  EXPECT_TRUE(!finish || w.finish());
  return file.bytes;
}

// Every entry of the archive, name to bytes ("<bad: why>" when it does not read right).
Contents contents(std::string_view archive) {
  MemoryZipSource src(archive);
  ZipReader r;
  Contents out;
  if (!r.open(src)) return out;
  for (const auto& e : r.entries()) out[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  return out;
}

const std::vector<Item> kSample = {
    {"a/b.txt", "hello"}, {"empty.txt", ""}, {"dir/sub/text.log", bytes(200000)},
    {"caf\xC3\xA9/\xE2\x82\xAC uro.txt", "non-ASCII name"}, {"noise.bin", bytes(70000, 1)},
    {"whole-limit.bin", bytes(1 << 20)},          // exactly the whole-entry buffer
    {"streamed.bin", bytes((3 << 20) + 17, 2)},  // streamed in chunks
    {"last.txt", "the end"}};

// Finished half-way and added to after: the second directory holds every entry.
TEST(Zip, WritesAndReadsEveryKindOfEntry) {
  MemoryZipFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open());
  for (std::size_t i = 0; i < kSample.size(); ++i)
    ASSERT_TRUE(addItem(w, kSample[i], 4097) && (i != 2 || w.finish())) << w.error();
  ASSERT_TRUE(w.finish()) << w.error();
  MemoryZipSource src(file.bytes);
  ZipReader r;
  ASSERT_TRUE(r.open(src) && r.entries().size() == kSample.size()) << r.error();
  EXPECT_FALSE(r.recovered() || r.incomplete());
  for (std::size_t i = 0; i < kSample.size(); ++i) {
    const auto& [e, item] = std::tie(r.entries()[i], kSample[i]);
    // Deflated; the UTF-8 flag marks exactly the non-ASCII name.
    EXPECT_EQ(std::tie(e.name, e.method, e.size, e.modified, e.externalAttributes),
              std::make_tuple(item.name, 8, item.data.size(), kTime, 0x20u));
    EXPECT_EQ((e.flags & 0x800) != 0, i == 3) << item.name;
    EXPECT_EQ(r.read(e), item.data) << item.name;
  }
  EXPECT_LT(file.bytes.size(), 5u << 20) << "compressible data is compressed";
}

// A file that dies (as a killed process) after a number of bytes: what was written stays.
struct Killed {};
struct DyingFile : MemoryZipFile {
  std::uint64_t budget;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override {
    if (size > budget) {
      MemoryZipFile::writeAt(offset, data, static_cast<std::size_t>(budget));
      throw Killed{};
    }
    budget -= size;
    return MemoryZipFile::writeAt(offset, data, size);
  }
};

// A kill at every byte of a small archive, and at many points of the sample; the largest
// budget lets the run finish.
TEST(Zip, AnArchiveCutShortRestoresEveryEntryWrittenBeforeTheCut) {
  std::vector<Item> small;
  for (int i = 0; i < 6; ++i) small.push_back({"f" + std::to_string(i), bytes(300 + 977 * i)});
  std::mt19937_64 rng(7);
  for (const std::vector<Item>* items : {&std::as_const(small), &kSample}) {
    std::uint64_t total = archiveOf(*items).size() + (1 << 20);
    std::vector<std::uint64_t> budgets = {0, 1, 3, 29, 30, 31, 40, 64, 4000, total};
    for (std::uint64_t b = 0; b < total - (1 << 20) && items == &small; ++b) budgets.push_back(b);
    for (int i = 0; i < 60 && items != &small; ++i) budgets.push_back(rng() % total);
    for (std::uint64_t budget : budgets) {
      SCOPED_TRACE("killed after " + std::to_string(budget) + " bytes");
      DyingFile file;
      file.budget = budget;
      Contents done;
      try {
        ZipWriter w(file);
        ASSERT_TRUE(w.open());
        for (const auto& item : *items) {
          ASSERT_TRUE(addItem(w, item, 65536));
          done[item.name] = item.data;
        }
        w.finish();
      } catch (const Killed&) {
      }
      ASSERT_EQ(contents(file.bytes), done) << "what was added restores, nothing else";
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(file.bytes.data()),
                             file.bytes.size());  // and a later run appends to it
    }
  }
}

// Cut where the entries end (nothing lost) or inside an entry (its bytes lost).
TEST(Zip, ACutArchiveSaysWhetherAnEntryItBeganIsMissing) {
  std::string whole = archiveOf({{"a", "1"}, {"b", bytes(5000)}, {"c", "3"}});
  MemoryZipSource src(whole);
  ZipReader r;
  ASSERT_TRUE(r.open(src));
  std::uint64_t c = r.entries()[2].headerOffset, dir = r.dataEnd();
  std::tuple<std::uint64_t, std::size_t, bool> cuts[] = {  // where, entries, incomplete
      {whole.size() - 1, 3, false}, {dir + 3, 3, false}, {dir, 3, false}, {c, 2, false},
      {dir - 1, 2, true}, {c + 3, 2, true}, {c + 2, 2, true}, {c - 1, 1, true}};
  for (auto [at, count, incomplete] : cuts) {
    MemoryZipSource cut(std::string_view(whole).substr(0, at));
    ASSERT_TRUE(r.open(cut)) << at;
    EXPECT_EQ(std::pair(r.entries().size(), r.incomplete()), std::pair(count, incomplete)) << at;
  }
}

struct FullFile : MemoryZipFile {
  std::uint64_t room = ~0ull;
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size) override {
    return offset + size <= room && MemoryZipFile::writeAt(offset, data, size);
  }
};

// The disk fills in the middle of a large entry, then of a small one; then the file being added
// cannot be read half-way: the archive stays as it was and the writer goes on.
TEST(Zip, AFailedEntryOrSomethingElseIsLeftAsItWas) {
  FullFile file;
  ZipWriter w(file);
  ASSERT_TRUE(w.open() && addItem(w, kSample[0]) && addItem(w, kSample[2]));
  const std::string before = file.bytes;
  for (std::uint64_t room : {before.size() + 2000, before.size() + 10}) {
    file.room = room;
    EXPECT_FALSE(addItem(w, kSample[6], 100000) || w.error().empty());
    EXPECT_EQ(file.bytes, before) << "the partial entry is taken away";
  }
  file.room = ~0ull;
  int calls = 0;
  EXPECT_FALSE(w.add({"unreadable.bin", {}, 0, 0}, [&](char* buf, std::size_t cap) {
    std::fill_n(buf, std::min<std::size_t>(cap, 700000), 'x');
    return ++calls > 2 ? -1 : static_cast<std::int64_t>(std::min<std::size_t>(cap, 700000));
  }));
  EXPECT_EQ(file.bytes, before);
  ASSERT_TRUE(addItem(w, kSample[3]) && w.finish());
  Contents kept;
  for (int i : {0, 2, 3}) kept[kSample[i].name] = kSample[i].data;
  EXPECT_EQ(contents(file.bytes), kept);

  // No directory, and an entry in the middle damaged: the entries after it must not be cut off.
  std::string damaged = archiveOf({kSample.begin(), kSample.begin() + 4}, false);
  std::size_t second = damaged.find("PK\3\4", 1);
  damaged[second + 2] ^= 0x55;  // the second entry's version
  damaged[second] = 'X';        // and its signature
  for (const std::string& other : {std::string("no archive"), std::string(5000, 0), damaged}) {
    MemoryZipFile f;
    f.bytes = other;
    ZipWriter writer(f);
    EXPECT_FALSE(writer.open() || addItem(writer, {"x", "x"}) || writer.finish());
    EXPECT_EQ(f.bytes, other) << "left untouched";
  }
}

// An entry larger than 4 GiB (zeros: small once deflated), and one after it, read with their
// directory and without it, as a killed run leaves them. Offsets past 4 GiB are tested on a
// real disk by the interoperability test.
TEST(Zip, HugeEntriesUseZip64) {
  const std::uint64_t huge = (4ull << 30) + 12345;
  MemoryZipFile file;
  ZipWriter w(file, 1);
  ASSERT_TRUE(w.open());
  std::uint64_t left = huge;
  auto zeros = [&left](char* buf, std::size_t cap) {
    auto n = static_cast<std::size_t>(std::min<std::uint64_t>({cap, 1u << 30, left}));
    std::fill_n(buf, n, '\0');
    left -= n;
    return static_cast<std::int64_t>(n);
  };
  ASSERT_TRUE(w.add({"huge.bin", {}, 0, huge}, zeros)) << w.error();
  ASSERT_TRUE(addItem(w, {"after.txt", "small"}));
  ASSERT_TRUE(w.finish());
  EXPECT_LT(file.bytes.size(), 64u << 20);

  for (bool cutDirectory : {true, false}) {
    std::string cut = file.bytes.substr(0, file.bytes.size() - (cutDirectory ? 30 : 0));
    MemoryZipSource src(cut);
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
  bool descriptor = false;  // deflated, CRC and sizes in a data descriptor after the data
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

// Damage of every kind, to our archives and to one with data descriptors, through the fuzz
// target: no read out of bounds, no bytes that fail their check, a writer appends or leaves be.
TEST(Zip, MalformedArchivesNeverCrash) {
  std::mt19937 rng(11);
  int opened = 0;
  auto probe = [&](const std::string& b) {
    MemoryZipSource src(b);
    opened += ZipReader().open(src);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
  };
  std::string ours = archiveOf({{"a.txt", bytes(3000)}, {"b/c.bin", bytes(500, 9)}, {"d", ""}});
  std::string theirs =
      buildArchive({{"one.txt", bytes(900), 0, "", true}, {"s", "xy", 0, "", true}});
  // Without its directory, theirs is read by following the descriptors.
  EXPECT_EQ(contents(theirs.substr(0, theirs.find("PK\1\2"))),
            (Contents{{"one.txt", bytes(900)}, {"s", "xy"}}));
  for (const std::string& base : {ours, theirs}) {
    for (std::size_t i = 0; i < base.size(); ++i)
      for (char v : {'\0', '\xFF', '\x7F'}) probe(base.substr(0, i) + v + base.substr(i + 1));
    for (int i = 0; i < 2000; ++i) {
      std::string bad = base;
      for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = static_cast<char>(rng());
      probe(bad);
      probe(bad.substr(0, rng() % bad.size()));
    }
  }
  for (int i = 0; i < 200; ++i) probe(bytes(rng() % 300, i + 1));
  EXPECT_GT(opened, 100);
}

// Two-second steps; clamped to the format's first and last days.
TEST(Zip, DosTimes) {
  for (auto [in, out] : std::vector<std::pair<DateTime, DateTime>>{
           {{2026, 12, 6, 1, 5, 7}, {2026, 12, 6, 1, 5, 6}},
           {{1980, 1, 1, 0, 0, 0}, {1980, 1, 1, 0, 0, 0}},
           {{2107, 12, 31, 23, 59, 59}, {2107, 12, 31, 23, 59, 58}},
           {{1970, 5, 5, 5, 5, 5}, {1980, 1, 1, 0, 0, 0}},
           {{2200, 1, 1, 0, 0, 0}, {2107, 12, 31, 23, 59, 58}}})
    EXPECT_EQ(fromDosTime(toDosTime(in)), out);
}

}  // namespace
}  // namespace glenvask
