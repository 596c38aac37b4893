#include "base/cookiefile.h"

#include <gtest/gtest.h>

#include <string>

namespace glenvask {
namespace {

// One record of a cookie file, its lines ended by `eol`.
std::string record(const std::string& name, const std::string& value, const std::string& domain,
                   const std::string& flags, const std::string& eol = "\n") {
  return name + eol + value + eol + domain + eol + flags + eol + "1" + eol + "2" + eol + "3" + eol +
         "4" + eol + "*" + eol;
}

TEST(CookieFile, RecordsAndTheirFields) {
  // Each row: domain, name, value and secure text; every record named "a" has this source.
  const std::string source = "a\r\n1\r\nx.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n";
  std::pair<std::string, std::string> cases[] = {
      {record("a", "1", "x.test/", "0") + record("b", "2", "y.test/", "1") +
           record("c", "3", "z.test/p", "1024"),
       "x.test/ a 1 False|y.test/ b 2 True|z.test/p c 3 "},
      {record("a", "1", "x.test/", "0", "\r\n") + record("v", "x*y|~|z", "x.test/", "0"),
       "x.test/ a 1 False|x.test/ v x*y|~|z False"},
      {"a\n1\nx.test/\n0\n1\n2\n3\n4\n", "x.test/ a 1 False"},  // no closing line
      {"a\n1\nx.test/\n0\n1\n2\n3\n4", ""},                     // eight fields
      {record("a", "1", "", "0"), ""},                          // no domain
      {record("n", "1", "x.test/", "yes"), "x.test/ n 1  incomplete"},
      {"  a\n1\nx.test/\n0\n1\n2\n3\n4\n  *  \n\n*\n", "x.test/ a 1 False"},
      {record("a", "1", "x.test/", "0") + "b\n2\ny.te", "x.test/ a 1 False"},  // cut short
      {"", ""},
      {std::string("\0\xff*\n\0\n", 6), ""},
  };
  for (const auto& [text, rows] : cases) {
    std::string got;
    for (const auto& r : parseCookieFile(text)) {
      got += (got.empty() ? "" : "|") + r.domain + " " + r.name + " " + r.value + " " + r.secure;
      if (!r.complete) got += " incomplete";
      if (r.name == "a" && r.source != source) got += " source " + r.source;
    }
    EXPECT_EQ(got, rows) << text;
  }
}

}  // namespace
}  // namespace glenvask
