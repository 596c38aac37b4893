// The delete path's Recycle Bin method on the sandbox's real Recycle Bin (prefix-wide: this
// runs alone).
#include <gtest/gtest.h>

#include "services/delete.h"
#include "services/globals.h"
#include "services/system.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::int64_t itemsInBin() {
  std::int64_t size = 0, items = 0;
  QueryRecycleBin("C:\\", size, items);
  return items;
}

TEST(DeleteToRecycleBin, ReadOnlyHeldAndMissingFiles) {
  enum Kind { Plain, ReadOnly, Held, Missing };
  struct Case {
    Kind kind;
    std::int32_t result;
    bool failed;
  } cases[] = {
      {Plain, 1, false}, {ReadOnly, 1, false}, {Held, 0, true}, {Missing, 0, false},
  };
  test::ScratchFolder folder;
  EmptyRecycleBin("", true, true, true);
  std::int64_t inBin = 0;
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    DeleteMethod = kDeleteRecycle;
    DeleteFailed = false;
    std::string name = "r" + std::to_string(n++) + " caf\xC3\xA9.tmp";
    std::string path = folder.file(name);
    if (c.kind != Missing) folder.write(name, "to the bin");
    if (c.kind == ReadOnly) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    FileHandle held;
    if (c.kind == Held)
      held.reset(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(DeleteJunkFile(path), c.result);
    EXPECT_EQ(DeleteFailed, c.failed);
    held.reset();
    EXPECT_EQ(folder.exists(name), c.kind != Missing && c.result == 0);
    if (c.result) ++inBin;
    EXPECT_EQ(itemsInBin(), inBin) << "a removed file is in the Recycle Bin, nothing else";
  }
  DeleteMethod = kDeletePlain;
  DeleteFailed = false;
  EmptyRecycleBin("", true, true, true);
}

}  // namespace
}  // namespace glenvask
