#include "services/settings.h"

#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

TEST(SettingsFile, RewritesUseANewTemporaryFileAndKeepTheEncoding) {
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
  EXPECT_EQ(test::listFolder(dir.path()),
            (std::vector<std::string>{"folder", "held", "mylog", "mylog.tmp"}));

  const std::string utf16Mark = "\xff\xfe", utf8Mark = "\xef\xbb\xbf";
  std::tuple<std::string, std::string, std::string> cases[] = {  // before, value, first bytes after
      {"", "plain", "[A]\r\nk=plain\r\n"},
      {"[A]\r\nk=\xe9\r\n", "\xc3\xa9t\xc3\xa9", "[A]\r\nk=\xe9t\xe9\r\n"},  // ANSI stays ANSI
      {"[A]\r\nk=1\r\n", "\xe4\xb8\xad", utf16Mark},                         // no ANSI for it
      {utf8Mark + "[A]\r\nk=1\r\n", "\xe4\xb8\xad", utf8Mark + "[A]\r\nk=\xe4\xb8\xad\r\n"},
  };
  int n = 0;
  for (const auto& [before, value, after] : cases) {
    std::string name = "s" + std::to_string(n++) + ".ini";
    std::string file = before.empty() ? dir.file(name) : dir.write(name, before);
    EXPECT_TRUE(writeIniValues(file, {{"A", "k", value}})) << name;
    EXPECT_EQ(dir.read(name).substr(0, after.size()), after) << name;
    EXPECT_EQ(readIni(file, "A", "k", "?"), value) << name;
  }
}

}  // namespace
}  // namespace glenvask
