// Backup archives, and the Windows half of the zip interoperability test
// (tests/e2e/test_zip_interop.py): the script prepares a folder of the prefix and names it in
// GLENVASK_ZIP_INTEROP; these tests write backup archives there for Info-ZIP's unzip and
// Python's zipfile to check, and read the archives those tools made. Without the variable the
// backups are made and read back in a scratch folder, and the other two tests are skipped.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "base/text.h"
#include "base/zip.h"
#include "services/clock.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/settings.h"
#include "services/zipfile.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::env;
using test::readArchive;
using Contents = std::map<std::string, std::string>;

// Lines "archive <tab> entry <tab> size <tab> crc" that the script checks the archives with.
void note(std::string& manifest, const std::string& archive, const std::string& entry,
          std::uint64_t size, std::uint32_t crc) {
  manifest += archive.substr(archive.find_last_of('\\') + 1) + "\t" + entry + "\t" +
              std::to_string(size) + "\t" + std::to_string(crc) + "\n";
}

// An input handing out `data` (kept alive by the input), or `zeros` zeros when given.
ZipInput inputOf(std::string data, std::uint64_t zeros = 0, std::uint32_t* crc = nullptr) {
  auto left = std::make_shared<std::uint64_t>(zeros ? zeros : data.size());
  return [data = std::move(data), left, crc](char* buf, std::size_t cap) -> std::int64_t {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, *left));
    if (data.empty()) std::fill_n(buf, n, '\0');
    else std::copy_n(data.data() + data.size() - *left, n, buf);
    if (crc) *crc = zipCrc32(*crc, buf, n);
    *left -= n;
    return static_cast<std::int64_t>(n);
  };
}

// Each file is zipped before it goes, one archive per drive; a stop keeps the archive, closed
// with its directory (the only copy of the files), and a later run whose archive takes the same
// name appends to it.
TEST(ZipInterop, WritesBackupArchives) {
  test::ScratchFolder scratch;
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) dir = scratch.path();
  bool driveD = !env("GLENVASK_ZIP_INTEROP_D").empty();
  DeleteMethod = kDeleteBackup;
  BackupFolder = dir + "\\Backup\\";
  CreateDirectoryW(wide(BackupFolder).c_str(), nullptr);
  BackupZipFile.clear();
  LastBackupDrive.clear();
  BackedUpCount = 0;
  std::string manifest, first;
  std::map<std::string, Contents> archives;  // what each one must hold
  std::vector<std::pair<std::string, std::string>> files = {
      {dir + "\\files\\a.txt", "plain text\r\n"},
      {dir + "\\files\\sub\\deeper\\b.log", test::bytesOf(150000, 1)},
      {dir + "\\files\\caf\xC3\xA9 \xE2\x82\xAC\\\xE6\x97\xA5\xE6\x9C\xAC.txt", "non-ASCII"},
      {"c" + dir.substr(1) + "\\files\\empty.dat", ""},  // another case of C: is the same drive
      {dir + "\\files\\large.bin", test::bytesOf((3 << 20) + 11, 2)},  // streamed
  };
  if (driveD) {
    files.push_back({"D:\\on-d\\c.tmp", test::bytesOf(5000, 3)});
    files.push_back({dir + "\\files\\back-on-c.txt", "a third archive"});
  }
  files.push_back({dir + "\\files\\later\\appended.txt", "appended later"});
  bool recovered = true;
  for (const auto& [path, data] : files) {
    for (std::size_t i = 3; i < path.size(); ++i)
      if (path[i] == '\\') CreateDirectoryW(wide(path.substr(0, i)).c_str(), nullptr);
    ASSERT_TRUE(writeFileAtomic(path, data));
    if (path.find("back-on-c") != std::string::npos) {
      // Back on C after D: a new second, so the new archive does not take the first one's name.
      DateTime now = localNow();
      while (localNow() == now) Sleep(20);
    }
    if (path.find("appended") != std::string::npos) {
      EXPECT_EQ(readArchive(BackupZipFile, &recovered), archives[BackupZipFile])
          << "it reads while the run goes on";
      DeleteBackupZip();
      EXPECT_EQ(readArchive(BackupZipFile, &recovered), archives[BackupZipFile]);
      EXPECT_FALSE(recovered);
      BackupZipFile = first;
      LastBackupDrive = "C";
    }
    ASSERT_EQ(DeleteJunkFile(path), 1) << path;
    EXPECT_FALSE(fileExists(path)) << path;
    note(manifest, BackupZipFile, backupEntryName(path), data.size(),
         zipCrc32(0, data.data(), data.size()));
    archives[BackupZipFile][backupEntryName(path)] = data;
    if (first.empty()) first = BackupZipFile;
  }
  EXPECT_EQ(first.rfind(BackupFolder + "C_", 0), 0u) << first;
  EXPECT_EQ(test::listFolder(dir + "\\Backup").size(), archives.size());
  EXPECT_EQ(archives.size(), driveD ? 3u : 1u);
  EXPECT_EQ(BackedUpCount, static_cast<std::int64_t>(files.size()));
  FinishBackupZip();
  DeleteMethod = kDeletePlain;
  for (const auto& [archive, entries] : archives) {
    EXPECT_EQ(readArchive(archive, &recovered), entries) << archive;
    EXPECT_FALSE(recovered);
    for (const auto& [name, data] : entries) EXPECT_TRUE(isSafeEntryName(name)) << name;
  }
  ASSERT_TRUE(writeFileAtomic(dir + "\\backups.txt", manifest));
}

// ZIP64: 70,000 entries; an entry past 4 GiB with another one after it.
TEST(ZipInterop, WritesZip64Archives) {
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  std::string manifest;
  auto write = [&](const std::string& archive, int level, auto addAll) {
    WinZipFile f;
    ASSERT_TRUE(f.openWrite(dir + "\\" + archive));
    ZipWriter w(f, level);
    ASSERT_TRUE(w.open());
    addAll(w, archive);
    ASSERT_TRUE(w.finish());
    EXPECT_GT(f.size(), archive == "huge.zip" ? 4ull << 30 : 0);
  };
  write("many.zip", -1, [&](ZipWriter& w, const std::string& archive) {
    for (int i = 0; i < 70000; ++i) {
      std::string name = "n" + std::to_string(i / 1000) + "/" + std::to_string(i) + ".txt";
      std::string data = std::to_string(i);
      ASSERT_TRUE(w.add({name, toDosTime({2026, 12, 6, 1, 5, 7}), 0x20, data.size()},
                        inputOf(data)));
      note(manifest, archive, name, data.size(), zipCrc32(0, data.data(), data.size()));
    }
  });
  // Level 0: stored deflate blocks, so the data on the disk passes 4 GiB too.
  if (!env("GLENVASK_ZIP_INTEROP_HUGE").empty()) {
    write("huge.zip", 0, [&](ZipWriter& w, const std::string& archive) {
      const std::uint64_t huge = (4ull << 30) + 100;
      std::uint32_t crc = 0;
      ASSERT_TRUE(w.add({"huge/zeros.bin", {}, 0, huge}, inputOf("", huge, &crc))) << w.error();
      note(manifest, archive, "huge/zeros.bin", huge, crc);
      ASSERT_TRUE(w.add({"after.txt", {}, 0, 20}, inputOf("after four gigabytes")));
      note(manifest, archive, "after.txt", 20, zipCrc32(0, "after four gigabytes", 20));
    });
  }
  ASSERT_TRUE(writeFileAtomic(dir + "\\zip64.txt", manifest));
}

// Archives made by Info-ZIP's zip and by Python, listed in foreign\expected.txt with the mode
// "whole" or "cut" (no central directory: read by walking the entries).
TEST(ZipInterop, ReadsArchivesOfOtherTools) {
  std::string dir = env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  auto text = readFileBytes(dir + "\\foreign\\expected.txt");
  ASSERT_TRUE(text);
  using Entries = std::map<std::string, std::pair<std::uint64_t, std::uint32_t>>;
  std::map<std::string, std::pair<std::string, Entries>> want;  // archive: mode, entries
  for (const auto& line : split(*text, '\n')) {
    auto f = split(line, '\t');
    if (f.size() != 5) continue;
    want[f[0]].first = f[4];
    want[f[0]].second[f[1]] = {std::stoull(f[2]), static_cast<std::uint32_t>(std::stoul(f[3]))};
  }
  ASSERT_GE(want.size(), 4u);
  for (const auto& [archive, w] : want) {
    SCOPED_TRACE(archive);
    WinZipFile f;
    ASSERT_TRUE(f.openRead(dir + "\\foreign\\" + archive));
    ZipReader r;
    ASSERT_TRUE(r.open(f)) << r.error();
    EXPECT_EQ(r.recovered(), w.first == "cut");
    Entries got;
    for (const auto& e : r.entries()) {
      if (e.isFolder()) continue;
      EXPECT_TRUE(isSafeEntryName(e.name)) << e.name;
      auto& [size, crc] = got[e.name];
      EXPECT_TRUE(r.extract(e, [&](const char* p, std::size_t n) {
        size += n;
        crc = zipCrc32(crc, p, n);
        return true;
      })) << e.name << ": " << r.error();
    }
    EXPECT_EQ(got, w.second);
  }
}

}  // namespace
}  // namespace glenvask
