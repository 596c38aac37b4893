// Settings and whole-file rewrites on real files: values read back in the file's encoding; the
// temporary file is a new file, and a failed rewrite leaves the target as it was and no trace.
#include "services/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "services/folderlist.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

std::set<std::string> namesIn(const test::ScratchFolder& dir) {
  std::set<std::string> names;
  for (const auto& e : listFolder(wide(dir.path()))) names.insert(utf8(e.name));
  return names;
}

TEST(WholeFileWrite, TheTemporaryFileIsANewFileAndGoesOnFailure) {
  test::ScratchFolder dir;
  dir.write("mylog", "old");
  dir.write("mylog.tmp", "the user's own");  // beside it, a file of the name "target.tmp"
  ASSERT_TRUE(writeFileAtomic(dir.file("mylog"), "new"));
  EXPECT_EQ(dir.read("mylog") + "|" + dir.read("mylog.tmp"), "new|the user's own");
  // Rewrites that fail: a target held open without delete sharing, a folder, a missing folder.
  std::string held = dir.write("held", "old");
  HANDLE h = CreateFileW(wide(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(CreateDirectoryW(wide(dir.file("folder")).c_str(), nullptr));
  for (const char* target : {"held", "folder", "missing\\x"})
    EXPECT_FALSE(writeFileAtomic(dir.file(target), "new")) << target;
  CloseHandle(h);
  EXPECT_EQ(dir.read("held"), "old");
  EXPECT_EQ(namesIn(dir), (std::set<std::string>{"folder", "held", "mylog", "mylog.tmp"}));
}

TEST(SettingsFile, WrittenValuesReadBackAndTheEncodingIsKept) {
  test::ScratchFolder dir;
  const std::string utf16Mark = "\xff\xfe", utf8Mark = "\xef\xbb\xbf";
  struct Case {
    std::string before, value, after;  // the file's first bytes afterwards
  } cases[] = {
      {"", "plain", "[A]\r\nk=plain\r\n"},
      {"[A]\r\nk=\xe9\r\n", "\xc3\xa9t\xc3\xa9", "[A]\r\nk=\xe9t\xe9\r\n"},  // ANSI stays ANSI
      {"[A]\r\nk=1\r\n", "\xe4\xb8\xad", utf16Mark},                         // no ANSI for it
      {utf8Mark + "[A]\r\nk=1\r\n", "\xe4\xb8\xad", utf8Mark + "[A]\r\nk=\xe4\xb8\xad\r\n"},
  };
  int n = 0;
  for (const auto& c : cases) {
    std::string name = "s" + std::to_string(n++) + ".ini";
    std::string file = c.before.empty() ? dir.file(name) : dir.write(name, c.before);
    EXPECT_TRUE(writeIniValues(file, {{"A", "k", c.value}})) << name;
    EXPECT_EQ(dir.read(name).substr(0, c.after.size()), c.after) << name;
    EXPECT_EQ(readIni(file, "A", "k", "?"), c.value) << name;
  }
}

}  // namespace
}  // namespace glenvask
