#include "base/cookiefile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glenvask {
namespace {

// One record of a cookie file, its lines ended by `eol`.
std::string record(const std::string& name, const std::string& value, const std::string& domain,
                   const std::string& flags, const char* eol = "\n") {
  std::string r;
  for (const std::string& f : {name, value, domain, flags, std::string("1"), std::string("2"),
                               std::string("3"), std::string("4"), std::string("*")})
    r += f + eol;
  return r;
}

TEST(CookieFile, RecordsAndTheirFields) {
  const std::string source = "a\r\n1\r\nx.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n";
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::vector<std::string>> rows;  // domain, name, value, secure, source
  } cases[] = {
      {"LF",
       record("a", "1", "x.test/", "0") + record("b", "2", "y.test/", "1") +
           record("c", "3", "z.test/p", "1024"),
       {{"x.test/", "a", "1", "False", source},
        {"y.test/", "b", "2", "True", "b\r\n2\r\ny.test/\r\n1\r\n1\r\n2\r\n3\r\n4\r\n"},
        {"z.test/p", "c", "3", "", "c\r\n3\r\nz.test/p\r\n1024\r\n1\r\n2\r\n3\r\n4\r\n"}}},
      {"CR LF", record("a", "1", "x.test/", "0", "\r\n"), {{"x.test/", "a", "1", "False", source}}},
      {"a value holding * or |~|",
       record("a", "x*y|~|z", "x.test/", "0"),
       {{"x.test/", "a", "x*y|~|z", "False",
         "a\r\nx*y|~|z\r\nx.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n"}}},
      {"no closing line",
       "a\n1\nx.test/\n0\n1\n2\n3\n4\n",
       {{"x.test/", "a", "1", "False", source}}},
      {"eight fields", "a\n1\nx.test/\n0\n1\n2\n3\n4", {}},
      {"empty domain", record("a", "1", "", "0"), {}},
      {"flags no number: domain, name and value alone",
       record("a", "1", "x.test/", "yes"),
       {{"x.test/", "a", "1", "", ""}}},
      {"blanks",
       "  a\n1\nx.test/\n0\n1\n2\n3\n4\n  *  \n\n*\n",
       {{"x.test/", "a", "1", "False", source}}},
      {"empty", "", {}},
      {"cut short",
       record("a", "1", "x.test/", "0") + "b\n2\ny.te",
       {{"x.test/", "a", "1", "False", source}}},
      {"binary", std::string("\0\xff*\n\0\n", 6), {}},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<std::string>> got;
    for (const auto& r : parseCookieFile(c.text)) {
      got.push_back({r.domain, r.name, r.value, r.secure, r.source});
      EXPECT_EQ(r.complete, !r.source.empty()) << c.what;
    }
    EXPECT_EQ(got, c.rows) << c.what;
  }
}

}  // namespace
}  // namespace glenvask
