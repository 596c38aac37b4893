// The backups: a restore of 10,000 files of 4 KiB against a bare loop in the same process that
// reads the same entries with the zip reader and writes them with CreateFileW and WriteFile;
// the zip contents viewer listing 100,000 entries against the reader's listing alone, with the
// process's peak memory. Rounds in turns, medians.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/zip.h"
#include "options/frmUnzip.h"
#include "options/unzip.h"
#include "services/zipfile.h"
#include "win/unicode.h"

#include "timing.h"

using namespace glenvask;

using glenvask::bench::median;
using glenvask::bench::seconds;

namespace {

const std::string kRoot = "C:\\glenvask-bench\\backups";

// An archive of `count` entries of `size` bytes of text, 500 to a folder.
void makeArchive(const std::string& path, int count, std::size_t size) {
  WinZipFile f;
  f.openWrite(path);
  ZipWriter w(f);
  w.open();
  std::string data;
  for (int i = 0; i < count; ++i) {
    data.clear();
    while (data.size() < size) data += "line " + std::to_string(data.size() * 7 + i) + " of it\n";
    data.resize(size);
    std::size_t at = 0;
    w.add({"d" + std::to_string(i / 500) + "/cache" + std::to_string(i) + ".tmp",
           toDosTime({2024, 3, 1, 10, i % 60, 0}), FILE_ATTRIBUTE_ARCHIVE, size},
          [&](char* b, std::size_t cap) -> std::int64_t {
            std::size_t n = std::min(cap, data.size() - at);
            std::memcpy(b, data.data() + at, n);
            at += n;
            return static_cast<std::int64_t>(n);
          });
  }
  w.finish();
}

std::string freshFolder(const char* name) {
  std::string folder = kRoot + "\\" + name;
  glenvask::bench::removeTree(wide(folder), true);
  CreateDirectoryW(wide(folder).c_str(), nullptr);
  return folder;
}

double restore(const std::string& archive) {
  std::string out = freshFolder("restored");
  auto t0 = std::chrono::steady_clock::now();
  cUnZip unzip;
  unzip.setZipFile(archive);
  unzip.Directory();
  unzip.OverwriteExisting = true;
  unzip.UseFolderNames = true;
  unzip.setUnzipFolder(out);
  bool ok = unzip.Unzip();
  double s = seconds(std::chrono::steady_clock::now() - t0);
  if (!ok || unzip.restoredCount() != unzip.FileCount()) std::printf("  the restore failed\n");
  return s;
}

double bareLoop(const std::string& archive) {
  std::string out = freshFolder("bare");
  auto t0 = std::chrono::steady_clock::now();
  WinZipFile f;
  ZipReader r;
  f.openRead(archive);
  r.open(f);
  std::string lastFolder;
  for (const auto& e : r.entries()) {
    std::string path = out + "\\" + e.name;
    for (auto& c : path)
      if (c == '/') c = '\\';
    std::string folder = path.substr(0, path.rfind('\\'));
    if (folder != lastFolder) CreateDirectoryW(wide(folder).c_str(), nullptr);
    lastFolder = folder;
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    r.extract(e, [&](const char* p, std::size_t n) {
      DWORD put = 0;
      return WriteFile(h, p, static_cast<DWORD>(n), &put, nullptr) != 0;
    });
    CloseHandle(h);
  }
  return seconds(std::chrono::steady_clock::now() - t0);
}

// The open viewer listing the archive (the rows on the screen are drawn when it paints, a
// constant cost whatever the number of entries).
double viewerListing(const std::string& archive, std::size_t& rows) {
  ZipViewWindow& v = frmUnzip();
  v.build(nullptr);
  auto t0 = std::chrono::steady_clock::now();
  v.ListZipContents(archive);
  rows = v.rowCount();
  double s = seconds(std::chrono::steady_clock::now() - t0);
  v.destroy();
  return s;
}

double readerListing(const std::string& archive) {
  auto t0 = std::chrono::steady_clock::now();
  WinZipFile f;
  ZipReader r;
  f.openRead(archive);
  r.open(f);
  return seconds(std::chrono::steady_clock::now() - t0);
}

}  // namespace

int main() {
  CreateDirectoryW(L"C:\\glenvask-bench", nullptr);
  CreateDirectoryW(wide(kRoot).c_str(), nullptr);
  const std::string small = kRoot + "\\files.zip", many = kRoot + "\\many.zip";
  makeArchive(small, 10000, 4096);
  makeArchive(many, 100000, 16);

  const int rounds = 5;
  std::vector<double> ours, bare, viewer, reader, ratios, listRatios;
  std::size_t rows = 0;
  for (int r = 0; r < rounds; ++r) {
    if (r % 2) {
      ours.push_back(restore(small));
      bare.push_back(bareLoop(small));
    } else {
      bare.push_back(bareLoop(small));
      ours.push_back(restore(small));
    }
    ratios.push_back(ours.back() / bare.back());
    reader.push_back(readerListing(many));
    viewer.push_back(viewerListing(many, rows));
    listRatios.push_back(viewer.back() / reader.back());
  }
  PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  glenvask::bench::removeTree(wide(kRoot), true);
  RemoveDirectoryW(wide(kRoot).c_str());
  std::printf("restore of 10,000 files of 4 KiB: %.3f s, bare read-and-write loop %.3f s "
              "(medians of %d); ratio %.2f (target at most 1.3)\n",
              median(ours), median(bare), rounds, median(ratios));
  std::printf("viewer listing %zu entries: %.3f s, the reader's listing %.3f s; ratio %.2f "
              "(target at most 1.5); peak memory %.0f MB (target under 200)\n",
              rows, median(viewer), median(reader), median(listRatios),
              static_cast<double>(pmc.PeakPagefileUsage) / (1 << 20));
  return 0;
}
