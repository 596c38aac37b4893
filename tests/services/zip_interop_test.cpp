// The Windows half of tests/e2e/test_zip_interop.py: ZIP64 archives, written to the folder named
// in GLENVASK_ZIP_INTEROP and read back, for `unzip -t` and zipfile to check: 70,000 entries
// "n<i / 1000>/<i>" holding the text of i; with GLENVASK_ZIP_INTEROP_HUGE, 4 GiB and 100 zeros
// and an entry after them (level 0: stored deflate blocks, so the disk holds over 4 GiB).
#include <gtest/gtest.h>

#include "services/zipfile.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

// An input of the bytes followed by that many zeros.
ZipInput inputOf(std::string_view data, std::uint64_t zeros = 0) {
  return [data, zeros](char* buf, std::size_t cap) mutable {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(cap, data.size() + zeros));
    std::size_t given = std::min(n, data.size());
    std::copy_n(data.data(), given, buf);
    std::fill_n(buf + given, n - given, '\0');
    data.remove_prefix(given);
    zeros -= n - given;
    return static_cast<std::int64_t>(n);
  };
}

TEST(ZipInterop, WritesZip64Archives) {
  std::string dir = test::env("GLENVASK_ZIP_INTEROP");
  if (dir.empty()) GTEST_SKIP() << "run by tests/e2e/test_zip_interop.py";
  const std::uint64_t huge = (4ull << 30) + 100;
  for (const char* name : {"many.zip", "huge.zip"}) {
    bool many = name[0] == 'm';
    if (!many && test::env("GLENVASK_ZIP_INTEROP_HUGE").empty()) continue;
    WinZipFile f;
    ZipWriter w(f, many ? -1 : 0);
    ASSERT_TRUE(f.openWrite(dir + "\\" + name) && w.open());
    for (int i = 0; many && i < 70000; ++i) {
      std::string data = std::to_string(i);
      ASSERT_TRUE(w.add({"n" + std::to_string(i / 1000) + "/" + data, {}, 0x20, data.size()},
                        inputOf(data)));
    }
    ASSERT_TRUE(many || (w.add({"huge/zeros.bin", {}, 0, huge}, inputOf("", huge)) &&
                         w.add({"after.txt", {}, 0, 20}, inputOf("after four gigabytes"))));
    ZipReader r;
    ASSERT_TRUE(w.finish() && r.open(f) && !r.recovered());
    EXPECT_EQ(r.entries().size(), many ? 70000u : 2u);
    EXPECT_EQ(r.entries()[0].size, many ? 1 : huge);
    EXPECT_EQ(r.read(r.entries().back()), many ? "69999" : "after four gigabytes");
  }
}

}  // namespace
}  // namespace glenvask
