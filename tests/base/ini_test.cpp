#include "base/ini.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(IniText, SetsOneValueAndLeavesTheRest) {
  // Text, section, key, value; the text after, "" when it stays as it was.
  std::tuple<std::string, const char*, const char*, const char*, std::string> cases[] = {
      // New section and key in the platform writer's layout, after the section's last line.
      {"top=0\r\n[A]\r\nk=1", "B", "top", "2", "top=0\r\n[A]\r\nk=1\r\n[B]\r\ntop=2\r\n"},
      {"[A]\r\nk=1\r\n\r\n[B]\r\n", "a", "n", "x", "[A]\r\nk=1\r\nn=x\r\n\r\n[B]\r\n"},
      // A changed key keeps its place, its name and its line end, in the first section that
      // holds it.
      {"; c\n[A]\n  Key = 1 \n[b]\n[a]\nkey=2\nz=0\n", "a", "key", "0",
       "; c\n[A]\nKey=0\n[b]\n[a]\nkey=2\nz=0\n"},
      {"[A]\nx=1\n[a]\nkey=2\n", "A", "KEY", "0", "[A]\nx=1\n[a]\nkey=0\n"},
      // A value that reads the same already changes nothing.
      {"[A]\r\n  k = 1 \r\n", "A", "k", "1", ""},
      {"[A]\r\nq=\"v\"\r\n", "A", "q", "v", ""},
      {"[A]\r\nq='v'\r\n", "A", "q", "v", ""},
      // A value ends at its first line break.
      {"", "A", "k", "1\r\n[B]", "[A]\r\nk=1\r\n"},
  };
  for (const auto& [before, section, key, value, after] : cases) {
    std::string text = before;
    EXPECT_EQ(setIniValue(text, section, key, value), !after.empty()) << before;
    EXPECT_EQ(text, after.empty() ? before : after) << before;
  }
}

}  // namespace
}  // namespace glenvask
