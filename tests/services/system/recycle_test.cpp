// The sandbox's real Recycle Bin: the delete path's Recycle Bin method, and querying and
// emptying the bin. It is prefix-wide, so these run alone.
#include <gtest/gtest.h>

#include "services/delete.h"
#include "services/globals.h"
#include "services/system.h"
#include "support/prefix.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

// Items and bytes in the bin of the drive ("": every drive).
std::pair<std::int64_t, std::int64_t> inBin(const char* root = "C:\\") {
  std::int64_t size = -1, items = -1;
  QueryRecycleBin(root, size, items);
  return {items, size};
}

class RecycleBin : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteMethod = kDeletePlain, DeleteFailed = false;
    EmptyRecycleBin("", true, true, true);
  }
  test::ScratchFolder folder;
};

TEST_F(RecycleBin, DeleteMethodQueryAndEmpty) {
  enum Kind { Plain, ReadOnly, Held, Missing };
  DeleteMethod = kDeleteRecycle;
  for (Kind kind : {Plain, ReadOnly, Held, Missing}) {
    SCOPED_TRACE(kind);
    DeleteFailed = false;
    std::string name = "r" + std::to_string(kind) + " caf\xC3\xA9.tmp", path = folder.file(name);
    if (kind != Missing) folder.write(name, "to the bin");
    if (kind == ReadOnly) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    FileHandle held;
    if (kind == Held)
      held.reset(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(DeleteJunkFile(path), kind <= ReadOnly ? 1 : 0);
    EXPECT_EQ(DeleteFailed, kind == Held);
    held.reset();
    EXPECT_EQ(folder.exists(name), kind == Held);
    EXPECT_EQ(inBin().first, kind == Plain ? 1 : 2) << "a removed file is in the bin, nothing else";
  }

  ASSERT_TRUE(test::recycle({folder.write("one.tmp", std::string(3000, 'x')),
                             folder.write("two.tmp", std::string(5000, 'y'))}));
  EXPECT_EQ(inBin("").first, 4);  // and the two removed above
  EXPECT_EQ(inBin(""), inBin()) << "every drive together";

  // "C" names the Recycle Bin of C:\ as "C:\" does, and so do "C:" and "c:".
  EXPECT_TRUE(EmptyRecycleBin("C", true, true, true));
  EXPECT_EQ(inBin(), (std::pair<std::int64_t, std::int64_t>(0, 0)));
  ASSERT_TRUE(test::recycle({folder.write("three.tmp", "z")}));
  EXPECT_EQ(inBin("C:").first, 1);
  EmptyRecycleBin("c:", true, true, true);
  EXPECT_EQ(inBin().first, 0);
}

}  // namespace
}  // namespace glenvask
