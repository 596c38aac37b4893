// The Windows half of the zip interoperability test (tests/e2e/test_zip_interop.py): the script
// names a folder of the prefix in GLENVASK_ZIP_INTEROP; this test writes ZIP64 archives there,
// with a manifest of what each must hold, for Info-ZIP's `unzip -t` and Python's zipfile to
// check. Without the variable it is skipped.
#include <gtest/gtest.h>

#include "base/zip.h"
#include "services/settings.h"
#include "services/zipfile.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

// A line "archive <tab> entry <tab> size <tab> crc" of the manifest.
void note(std::string& manifest, const std::string& archive, const std::string& entry,
          std::uint64_t size, std::uint32_t crc) {
  manifest += archive.substr(archive.find_last_of('\\') + 1) + "\t" + entry + "\t" +
              std::to_string(size) + "\t" + std::to_string(crc) + "\n";
}

// Adds the bytes as an entry, and notes it.
void add(ZipWriter& w, std::string& manifest, const std::string& archive, const std::string& name,
         std::string_view data) {
  ASSERT_TRUE(w.add({name, toDosTime({2026, 12, 6, 1, 5, 7}), 0x20, data.size()},
                    [left = data](char* buf, std::size_t cap) mutable {
                      std::size_t n = std::min(cap, left.size());
                      std::copy_n(left.data(), n, buf);
                      left.remove_prefix(n);
                      return static_cast<std::int64_t>(n);
                    }));
  note(manifest, archive, name, data.size(), zipCrc32(0, data.data(), data.size()));
}

// ZIP64: 70,000 entries; with GLENVASK_ZIP_INTEROP_HUGE, an entry past 4 GiB and one after it
// (level 0: stored deflate blocks, so the data on the disk passes 4 GiB too). Each reads back.
TEST(ZipInterop, WritesZip64Archives) {
  std::string dir = test::env("GLENVASK_ZIP_INTEROP"), manifest;
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  {
    WinZipFile f;
    ZipWriter w(f);
    ASSERT_TRUE(f.openWrite(dir + "\\many.zip") && w.open());
    for (int i = 0; i < 70000; ++i)
      add(w, manifest, "many.zip", "n" + std::to_string(i / 1000) + "/" + std::to_string(i),
          std::to_string(i));
    ZipReader r;
    ASSERT_TRUE(w.finish() && r.open(f) && !r.recovered());
    EXPECT_EQ(r.entries().size(), 70000u);
  }
  if (!test::env("GLENVASK_ZIP_INTEROP_HUGE").empty()) {
    const std::uint64_t huge = (4ull << 30) + 100;
    std::uint64_t left = huge;
    std::uint32_t crc = 0;
    WinZipFile f;
    ZipWriter w(f, 0);
    ASSERT_TRUE(f.openWrite(dir + "\\huge.zip") && w.open());
    ASSERT_TRUE(w.add({"huge/zeros.bin", {}, 0, huge}, [&](char* buf, std::size_t cap) {
      std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, left));
      std::fill_n(buf, n, '\0');
      crc = zipCrc32(crc, buf, n);
      left -= n;
      return static_cast<std::int64_t>(n);
    })) << w.error();
    note(manifest, "huge.zip", "huge/zeros.bin", huge, crc);
    add(w, manifest, "huge.zip", "after.txt", "after four gigabytes");
    ZipReader r;
    ASSERT_TRUE(w.finish() && r.open(f) && r.entries().size() == 2u);
    EXPECT_EQ(r.entries()[0].size, huge);
    EXPECT_EQ(r.read(r.entries()[1]), "after four gigabytes");
  }
  ASSERT_TRUE(writeFileAtomic(dir + "\\zip64.txt", manifest));
}

}  // namespace
}  // namespace glenvask
