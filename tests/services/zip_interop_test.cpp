// The Windows half of the zip interoperability test (tests/e2e/test_zip_interop.py): the
// script prepares a folder of the prefix and names it in GLENVASK_ZIP_INTEROP; these tests
// write backup archives there for Info-ZIP's unzip and Python's zipfile to check, and read the
// archives those tools made. Without the variable they are skipped.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "base/text.h"
#include "base/zip.h"
#include "services/clock.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/settings.h"
#include "services/zipfile.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::string env(const char* name) {
  char buf[1024] = {};
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

// Lines "archive <tab> entry <tab> size <tab> crc" that the script checks the archives with.
class Manifest {
 public:
  void add(const std::string& archive, const std::string& entry, std::uint64_t size,
           std::uint32_t crc) {
    text_ += archive.substr(archive.find_last_of('\\') + 1) + "\t" + entry + "\t" +
             std::to_string(size) + "\t" + std::to_string(crc) + "\n";
  }
  bool save(const std::string& path) { return writeFileAtomic(path, text_); }

 private:
  std::string text_;
};

std::string makeFile(const std::string& path, const std::string& data) {
  for (std::size_t i = 3; i < path.size(); ++i)
    if (path[i] == '\\') CreateDirectoryW(wide(path.substr(0, i)).c_str(), nullptr);
  writeFileAtomic(path, data);
  return path;
}

std::string pattern(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& c : s) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    c = static_cast<char>(x % 3 ? 'a' + x % 26 : x >> 8);
  }
  return s;
}

void waitForNextSecond() {
  DateTime now = localNow();
  while (localNow() == now) Sleep(20);
}

TEST(ZipInterop, WritesBackupArchives) {
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  bool driveD = !env("GLENVASK_ZIP_INTEROP_D").empty();
  DeleteMethod = kDeleteBackup;
  BackupFolder = dir + "\\Backup\\";
  BackupZipFile.clear();
  LastBackupDrive.clear();
  BackedUpCount = 0;
  DeleteFailed = false;
  Manifest manifest;
  std::set<std::string> archives;
  struct File {
    std::string path, data;
  };
  std::vector<File> files = {
      {dir + "\\files\\a.txt", "plain text\r\n"},
      {dir + "\\files\\sub\\deeper\\b.log", pattern(150000, 1)},
      {dir + "\\files\\caf\xC3\xA9 \xE2\x82\xAC\\\xE6\x97\xA5\xE6\x9C\xAC.txt", "non-ASCII"},
      {dir + "\\files\\empty.dat", ""},
      {dir + "\\files\\large.bin", pattern((3 << 20) + 11, 2)},
  };
  if (driveD) {
    files.push_back({"D:\\on-d\\c.tmp", pattern(5000, 3)});
    files.push_back({dir + "\\files\\back-on-c.txt", "a third archive"});
  }
  std::string firstArchive;
  for (const auto& f : files) {
    makeFile(f.path, f.data);
    // Back on C after D: a new second, so the new archive does not take the first one's name.
    if (f.path.find("back-on-c") != std::string::npos) waitForNextSecond();
    ASSERT_EQ(DeleteJunkFile(f.path), 1) << f.path;
    manifest.add(BackupZipFile, backupEntryName(f.path), f.data.size(),
                 zipCrc32(0, f.data.data(), f.data.size()));
    archives.insert(BackupZipFile);
    if (firstArchive.empty()) firstArchive = BackupZipFile;
  }
  EXPECT_EQ(archives.size(), driveD ? 3u : 1u);
  EXPECT_EQ(BackedUpCount, static_cast<std::int64_t>(files.size()));
  FinishBackupZip();

  // A later run whose archive takes the same name appends to it.
  LastBackupDrive = "C";
  BackupZipFile = firstArchive;
  std::string later = makeFile(dir + "\\files\\later\\appended.txt", "appended later");
  ASSERT_EQ(DeleteJunkFile(later), 1);
  manifest.add(BackupZipFile, backupEntryName(later), 14, zipCrc32(0, "appended later", 14));
  FinishBackupZip();
  DeleteMethod = kDeletePlain;
  ASSERT_TRUE(manifest.save(dir + "\\backups.txt"));
}

// ZIP64: 70,000 entries; an entry past 4 GiB with another one after it.
TEST(ZipInterop, WritesZip64Archives) {
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  Manifest manifest;
  {
    WinZipFile f;
    ASSERT_TRUE(f.openWrite(dir + "\\many.zip"));
    ZipWriter w(f);
    ASSERT_TRUE(w.open());
    for (int i = 0; i < 70000; ++i) {
      std::string name = "n" + std::to_string(i / 1000) + "/" + std::to_string(i) + ".txt";
      std::string data = std::to_string(i);
      bool given = false;
      ASSERT_TRUE(w.add({name, toDosTime({2026, 12, 6, 1, 5, 7}), 0x20, data.size()},
                        [&](char* buf, std::size_t) -> std::int64_t {
                          if (given) return 0;
                          given = true;
                          std::copy(data.begin(), data.end(), buf);
                          return static_cast<std::int64_t>(data.size());
                        }));
      manifest.add(dir + "\\many.zip", name, data.size(), zipCrc32(0, data.data(), data.size()));
    }
    ASSERT_TRUE(w.finish());
  }
  if (env("GLENVASK_ZIP_INTEROP_HUGE").empty()) {
    ASSERT_TRUE(manifest.save(dir + "\\zip64.txt"));
    return;
  }
  {
    // Level 0: stored deflate blocks, so the data on the disk passes 4 GiB too.
    const std::uint64_t huge = (4ull << 30) + 100;
    WinZipFile f;
    ASSERT_TRUE(f.openWrite(dir + "\\huge.zip"));
    ZipWriter w(f, 0);
    ASSERT_TRUE(w.open());
    std::uint64_t left = huge;
    std::uint32_t crc = 0;
    ASSERT_TRUE(w.add({"huge/zeros.bin", {}, 0, huge}, [&](char* buf, std::size_t cap) {
      std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, left));
      std::fill_n(buf, n, '\0');
      crc = zipCrc32(crc, buf, n);
      left -= n;
      return static_cast<std::int64_t>(n);
    })) << w.error();
    manifest.add(dir + "\\huge.zip", "huge/zeros.bin", huge, crc);
    std::string tail = "after four gigabytes";
    ASSERT_TRUE(w.add({"after.txt", {}, 0, tail.size()}, [&](char* buf, std::size_t) {
      std::int64_t n = static_cast<std::int64_t>(tail.size());
      std::copy(tail.begin(), tail.end(), buf);
      tail.clear();
      return n;
    }));
    manifest.add(dir + "\\huge.zip", "after.txt", 20, zipCrc32(0, "after four gigabytes", 20));
    ASSERT_TRUE(w.finish());
    EXPECT_GT(f.size(), 4ull << 30);
  }
  ASSERT_TRUE(manifest.save(dir + "\\zip64.txt"));
}

// Archives made by Info-ZIP's zip and by Python, listed in foreign\expected.txt with the mode
// "whole" or "cut" (no central directory: read by walking the entries).
TEST(ZipInterop, ReadsArchivesOfOtherTools) {
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  auto text = readFileBytes(dir + "\\foreign\\expected.txt");
  ASSERT_TRUE(text);
  struct Want {
    std::string mode;
    std::map<std::string, std::pair<std::uint64_t, std::uint32_t>> entries;
  };
  std::map<std::string, Want> want;
  for (const auto& line : split(*text, '\n')) {
    auto f = split(line, '\t');
    if (f.size() != 5) continue;
    want[f[0]].mode = f[4];
    want[f[0]].entries[f[1]] = {std::stoull(f[2]), static_cast<std::uint32_t>(std::stoul(f[3]))};
  }
  ASSERT_GE(want.size(), 4u);
  for (const auto& [archive, w] : want) {
    SCOPED_TRACE(archive);
    WinZipFile f;
    ASSERT_TRUE(f.openRead(dir + "\\foreign\\" + archive));
    ZipReader r;
    ASSERT_TRUE(r.open(f)) << r.error();
    EXPECT_EQ(r.recovered(), w.mode == "cut");
    std::map<std::string, std::pair<std::uint64_t, std::uint32_t>> got;
    for (const auto& e : r.entries()) {
      if (e.isFolder()) continue;
      EXPECT_TRUE(isSafeEntryName(e.name)) << e.name;
      std::uint64_t size = 0;
      std::uint32_t crc = 0;
      EXPECT_TRUE(r.extract(e, [&](const char* p, std::size_t n) {
        size += n;
        crc = zipCrc32(crc, p, n);
        return true;
      })) << e.name << ": " << r.error();
      got[e.name] = {size, crc};
    }
    EXPECT_EQ(got, w.entries);
  }
}

}  // namespace
}  // namespace glenvask
