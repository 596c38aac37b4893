// The sandbox's real Recycle Bin: query and empty it. It is prefix-wide, so this runs alone.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "services/system.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

bool recycle(const std::string& path) {
  std::wstring from = wide(path);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

TEST(RecycleBin, QueryAndEmpty) {
  test::ScratchFolder folder;
  std::int64_t size = -1, items = -1;
  EmptyRecycleBin("", true, true, true);
  QueryRecycleBin("C:\\", size, items);
  EXPECT_EQ(items, 0);
  EXPECT_EQ(size, 0);

  ASSERT_TRUE(recycle(folder.write("one.tmp", std::string(3000, 'x'))));
  ASSERT_TRUE(recycle(folder.write("two.tmp", std::string(5000, 'y'))));
  EXPECT_FALSE(folder.exists("one.tmp"));
  QueryRecycleBin("C:\\", size, items);
  EXPECT_EQ(items, 2);
  EXPECT_GE(size, 8000);
  std::int64_t allSize = 0, allItems = 0;
  QueryRecycleBin("", allSize, allItems);  // every drive together
  EXPECT_EQ(allItems, 2);
  EXPECT_EQ(allSize, size);

  // "C" names the Recycle Bin of C:\ as "C:\" does.
  EXPECT_TRUE(EmptyRecycleBin("C", true, true, true));
  QueryRecycleBin("C:\\", size, items);
  EXPECT_EQ(items, 0);
  EXPECT_EQ(size, 0);

  ASSERT_TRUE(recycle(folder.write("three.tmp", "z")));
  QueryRecycleBin("C:", size, items);
  EXPECT_EQ(items, 1);
  EmptyRecycleBin("c:", true, true, true);
  QueryRecycleBin("C:\\", size, items);
  EXPECT_EQ(items, 0);
}

}  // namespace
}  // namespace glenvask
