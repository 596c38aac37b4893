// settings.ini written through the program's own writer and read back by the platform's reader:
// the encodings it keeps, and a value the ANSI code page cannot hold.
#include "services/settings.h"

#include <gtest/gtest.h>

#include "support/scripted.h"

namespace glenvask {
namespace {

TEST(SettingsFile, WrittenValuesReadBackAndTheEncodingIsKept) {
  test::ScratchFolder dir;
  const std::string utf16Mark = "\xff\xfe", utf8Mark = "\xef\xbb\xbf";
  struct Case {
    std::string before;
    std::string value;
    std::string after;  // the file's first bytes afterwards
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
    std::string written = dir.read(name);
    EXPECT_TRUE(writeIniValues(file, {{"A", "k", c.value}}));
    EXPECT_EQ(dir.read(name), written) << "an unchanged value writes nothing";
  }
  // One key after another: the platform's reader sees each new value at once.
  std::string file = dir.file("seq.ini");
  for (const char* v : {"1", "2", "3"}) {
    writeIni(file, "General", "HM", v);
    EXPECT_EQ(readIni(file, "General", "HM", ""), v);
  }
}

}  // namespace
}  // namespace glenvask
