#include "base/lists.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/like.h"

namespace glenvask {
namespace {

using Strings = std::vector<std::string>;

TEST(ListFiles, LinesAndEntries) {
  std::tuple<std::string, Strings, Strings> cases[] = {  // text, lines, entries
      {"", {}, {}},
      {"a.txt\r\nb.txt", {"a.txt", "b.txt"}, {"a.txt", "b.txt"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}, {"a", "b"}},     // empty lines are skipped
      {"a \r\n B\r\n", {"a ", " B"}, {"a ", " B"}},      // no trimming, case kept
      {"a\nb\rc\r\n", {"a", "b", "c"}, {"a", "b", "c"}},  // lone LF or CR ends a line too
  };
  for (const auto& [text, lines, entries] : cases) {
    EXPECT_EQ(splitLines(text), lines) << text;
    EXPECT_EQ(parseListFile(text), entries) << text;
  }
  EXPECT_EQ(formatListFile({}), "");
  Strings items{"thumbs.db", "desktop.ini", " spaced "};
  EXPECT_EQ(formatListFile(items), "thumbs.db\r\ndesktop.ini\r\n spaced \r\n");
  EXPECT_EQ(parseListFile(formatListFile(items)), items);
}

TEST(ListFiles, UnnecessaryTypeLines) {
  // The line; whether it reads, and its flag, pattern and description.
  std::tuple<std::string, bool, std::int64_t, std::string, std::string> cases[] = {
      {"1\x01*.tmp\x01Temporary", true, 1, "*.tmp", "Temporary"},
      {"0\x01*.bak\x01"
       "Backup",
       true, 0, "*.bak", "Backup"},
      {"1\x01*.old", true, 1, "*.old", ""},  // no description
      {"1\x01*.chk\x01"
       "Check\x01more",
       true, 1, "*.chk", "Check"},
      {" 1 \x01*.gid\x01Help", true, 1, "*.gid", "Help"},
      {"1\x01\x01"
       "empty",
       true, 1, "", "empty"},
      {"1 *.tmp Temporary", false, 0, "", ""},  // no character 1
      {"x\x01*.tmp\x01T", false, 0, "", ""},    // flag not a number
      {"\x01*.tmp\x01T", false, 0, "", ""},
      {"1.0\x01*.tmp\x01T", true, 1, "*.tmp", "T"},
      {"1.5\x01*.tmp\x01T", true, 0, "*.tmp", "T"},  // a number, but not 1
  };
  for (const auto& [line, parses, flag, pattern, description] : cases) {
    auto t = parseUnnecessaryLine(line);
    ASSERT_EQ(t.has_value(), parses) << line;
    if (!t) continue;
    EXPECT_EQ(std::tie(t->flag, t->pattern, t->description), std::tie(flag, pattern, description))
        << line;
  }
}

TEST(ListFiles, UnnecessaryFileSkipsBadLinesAndUsesTickedOnes) {
  std::string text =
      "1\x01*.tmp\x01Temporary\r\n0\x01*.bak\x01" "Backup\r\ngarbage line\r\n\r\n"
      "x\x01*.zzz\x01" "Bad flag\r\n2\x01*.two\x01Two\r\n1\x01~*.*\x01Tilde\r\n";
  EXPECT_EQ(unnecessaryPatterns(text), (Strings{"*.tmp", "~*.*"}));
  auto types = parseUnnecessaryFile(text);
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[1].pattern, "*.bak");

  std::string written = formatUnnecessaryFile({{1, "*.tmp", "Temporary"}, {0, "*.log", "Logs"}});
  EXPECT_EQ(written, "1\x01*.tmp\x01Temporary\r\n0\x01*.log\x01Logs\r\n");
  EXPECT_EQ(formatUnnecessaryFile({}), "");
}

#ifndef _WIN32
// The default copies the program ships: every line well formed, every pattern valid.
TEST(ListFiles, ShippedDefaultCopiesAreWellFormed) {
  std::string root = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/"));
  for (std::string name : {"DefIFI.txt", "DefIE.txt", "DefUNFI.txt"}) {
    std::ifstream in(root + "/dist/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    ASSERT_FALSE(text.empty()) << name;
    auto lines = splitLines(text);
    EXPECT_EQ(formatListFile(lines), text) << name << ": CR LF after every line, no empty line";
    for (const auto& line : lines) {
      EXPECT_FALSE(line.empty()) << name;
      if (name == "DefUNFI.txt") {
        auto t = parseUnnecessaryLine(line);
        ASSERT_TRUE(t) << line;
        EXPECT_TRUE(t->flag == 0 || t->flag == 1) << line;
        EXPECT_TRUE(isValidLikePattern(t->pattern) && !t->description.empty()) << line;
      } else {  // bare names; extensions without "." or "*"
        const char* banned = name == "DefIE.txt" ? "\\/:*?. " : "\\/:*? ";
        EXPECT_EQ(line.find_first_of(banned), std::string::npos) << name << ": " << line;
      }
    }
  }
}
#endif

DateTime day(int y, int m, int d) { return DateTime{y, m, d}; }

const RegionalFormat kUS;
RegionalFormat regional(const char* shortDate) {
  RegionalFormat f;
  f.shortDate = shortDate;
  return f;
}

SearchOptions optionsOf(const std::string& text, SearchOptions start = {},
                        const RegionalFormat& format = kUS) {
  applySearchOptions(text, start, format);
  return start;
}

auto fields(const SearchOptions& o) {
  return std::tie(o.skipNoTarget, o.skipNoWorkDir, o.useDateFilter, o.dateFrom, o.dateTo,
                  o.anySize, o.sizeEquals, o.sizeAtLeast, o.sizeAtMost, o.sizeLimitKB,
                  o.skipReadOnly, o.skipHidden, o.skipSystem);
}

auto fields(const SearchPage& p) {
  return std::tie(p.fileReference, p.pathReference, p.dateRange, p.firstDate, p.secondDate,
                  p.size, p.sizeEquals, p.sizeAtLeast, p.sizeAtMost, p.sizeText, p.readOnly,
                  p.hidden, p.system);
}

TEST(SearchFile, LinesSetTheScanOptions) {
  // Start from values opposite to every default, to see which ones a line sets.
  SearchOptions flipped{false, false, true, day(2001, 1, 1), day(2001, 1, 2), true, true, true,
                        true, 7, false, false, false};
  auto with = [&](auto change) {
    SearchOptions o = flipped;
    change(o);
    return o;
  };
  const std::string d = "x\r\n0 0\r\n1 1/1/2001 1/2/2001\r\n";  // lines 0 to 2 changing nothing
  // A window that cannot be read is on and empty.
  const SearchOptions closed = with([](auto& o) { o.dateFrom = o.dateTo = DateTime{}; });
  struct Case {
    const char* name;
    std::string text;
    SearchOptions expected;
    RegionalFormat format = kUS;
  } cases[] = {
      {"empty file", "", flipped},
      {"line 0 only", " C: Hard drive\r\n", flipped},
      {"line 1: 1 0", "x\r\n1 0\r\n", with([](auto& o) { o.skipNoTarget = true; })},
      {"line 1: only 1 is on", "x\r\n2 1\r\n", with([](auto& o) { o.skipNoWorkDir = true; })},
      {"line 1: one field", "x\r\n1\r\n", flipped},
      {"line 1: two blanks", "x\r\n1  1\r\n", flipped},
      {"line 2: on with dates", "x\r\n0 0\r\n1 3/1/2024 3/3/2024\r\n",
       with([](auto& o) { o.dateFrom = day(2024, 3, 1), o.dateTo = day(2024, 3, 3); })},
      {"line 2: any number but 0 is on", "x\r\n0 0\r\n5 12/31/2023 1/2/2024\r\n",
       with([](auto& o) { o.dateFrom = day(2023, 12, 31), o.dateTo = day(2024, 1, 2); })},
      {"line 2: off whatever the dates", "x\r\n0 0\r\n0 garbage\r\n",
       with([](auto& o) { o.useDateFilter = false; })},
      {"line 2: bad second date", "x\r\n0 0\r\n1 3/1/2024 31/31/2024\r\n", closed},
      {"line 2: missing date", "x\r\n0 0\r\n1 3/1/2024\r\n", closed},
      {"line 2: a date holding a blank", "x\r\n0 0\r\n1 3/1/2024 3/3/2024 10:00\r\n", closed},
      {"line 2: garbage", "x\r\n0 0\r\ngarbage\r\n", closed},
      {"line 2: regional dates, flag 1.0", "x\r\n0 0\r\n1.0 01.03.2024 03.03.2024\r\n",
       with([](auto& o) { o.dateFrom = day(2024, 3, 1), o.dateTo = day(2024, 3, 3); }),
       regional("dd.MM.yyyy")},
      {"line 2: the region's order", "x\r\n0 0\r\n1 01/03/2024 03/03/2024\r\n",
       with([](auto& o) { o.dateFrom = day(2024, 3, 1), o.dateTo = day(2024, 3, 3); }),
       regional("dd/MM/yyyy")},

      {"line 3: on", d + "1 False True False 500\r\n",
       with([](auto& o) { o.anySize = o.sizeEquals = o.sizeAtMost = false, o.sizeLimitKB = 500; })},
      {"line 3: off", d + "0 False True False 500\r\n", flipped},
      {"line 3: size text with a blank", d + "1 False False False 1 000\r\n", flipped},
      {"line 3: size too large", d + "1 True False False 99999999999\r\n", flipped},
      {"line 3: not true/false", d + "1 Yes No No 5\r\n", flipped},
      {"line 4", d + "d\r\n1 0 1\r\n", with([](auto& o) { o.skipReadOnly = o.skipSystem = true; })},
      {"line 4: any number but 0 is on", d + "d\r\n-1 3 9\r\n",
       with([](auto& o) { o.skipReadOnly = o.skipHidden = o.skipSystem = true; })},
      {"line 4: short", d + "d\r\n1 1\r\n", flipped},
      {"a bad line does not stop the next", "x\r\nbad\r\n0 x y\r\n1 x\r\n1 1 1\r\n",
       with([](auto& o) {
         o.useDateFilter = false, o.skipReadOnly = o.skipHidden = o.skipSystem = true;
       })},
      {"lines after 4 are ignored", d + "d\r\ne\r\n1 1 1\r\n", flipped},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fields(optionsOf(c.text, flipped, c.format)), fields(c.expected)) << c.name;
}

TEST(SearchFile, PageWritesWhatTheScannerAndThePageReadBack) {
  SearchPage page;
  page.drives = {"C: Hard drive", "D: Hard drive"};
  page.fileReference = page.dateRange = page.size = page.sizeAtLeast = page.hidden = true;
  page.firstDate = day(2024, 3, 1), page.secondDate = day(2024, 12, 25);
  page.sizeText = "500";
  std::string text = formatSearchFile(page, kUS);
  EXPECT_EQ(text,
            " C: Hard drive D: Hard drive\r\n1 0\r\n1 3/1/2024 12/25/2024\r\n"
            "1 False True False 500\r\n0 1 0\r\n");
  SearchOptions o{true, false, true, day(2024, 3, 1), day(2024, 12, 25), false, false, true,
                  false, 500, false, true, false};
  EXPECT_EQ(fields(optionsOf(text)), fields(o));
  SearchPage back;
  applySearchPage(text, back, kUS);
  EXPECT_TRUE(back.drives.empty());  // drives are the page's own business
  EXPECT_EQ(fields(back), fields(page));

  // No drive selected: line 0 is empty. A size text with a blank is written as typed, read
  // back by the page, and leaves the scanner's size options as they were.
  SearchPage none;
  none.size = true;
  none.sizeText = "1 000";
  std::string t2 = formatSearchFile(none, kUS);
  EXPECT_EQ(splitLines(t2)[0], "");
  SearchOptions before;
  before.sizeLimitKB = 42;
  EXPECT_EQ(optionsOf(t2, before).sizeLimitKB, 42);
  SearchPage typed;
  applySearchPage(t2, typed, kUS);
  EXPECT_EQ(typed.sizeText, "1 000");
  // A damaged page line changes nothing of the page; the others still load.
  SearchPage p2;
  applySearchPage("\r\n1 x\r\n1 3/1/2024 3/2/2024\r\n", p2, kUS);
  EXPECT_FALSE(p2.fileReference);
  EXPECT_TRUE(p2.dateRange);
}

TEST(SearchFile, DriveLettersOfLineZero) {
  struct Case {
    const char* line;
    std::vector<char> letters;
  } cases[] = {
      {"", {}},
      {" C: Hard drive D: Hard drive", {'C', 'D'}},
      {" c: Removable drive E: CD-ROM drive", {'C', 'E'}},
      {" X: ", {'X'}},
      {"Foo: bar", {}},  // not a drive letter
      {" 1: Hard drive", {}},
      {"C:D:", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(srchDriveLetters(c.line), c.letters) << c.line;
}

TEST(SearchFile, Dates) {
  struct Case {
    const char* shortDate;
    const char* text;  // of 6 December 2026
  } cases[] = {
      {"M/d/yyyy", "12/6/2026"},
      {"dd.MM.yyyy", "06.12.2026"},
      {"yyyy/MM/dd", "2026/12/06"},
      {"d. M. yyyy", "6.12.2026"},  // one field: the blanks are left out
  };
  for (const auto& c : cases) {
    RegionalFormat f = regional(c.shortDate);
    EXPECT_EQ(formatSrchDate(day(2026, 12, 6), f), c.text);
    EXPECT_EQ(parseSrchDate(c.text, f), day(2026, 12, 6)) << c.text;
    EXPECT_EQ(parseSrchDate("2026-12-06 17:03", f), day(2026, 12, 6)) << "the time is dropped";
    for (const char* bad : {"2/30/2024", "", "today"})
      EXPECT_EQ(parseSrchDate(bad, f), std::nullopt);
  }
}

}  // namespace
}  // namespace glenvask

namespace glenvask {
namespace {

TEST(ListFiles, KeptCookies) {
  struct Case {
    std::string text;
    std::vector<std::string> paths;  // folder & name of each entry read
  } cases[] = {
      {"", {}},
      {"C:\\C\\a.txt\x01"
       "C:\\C\\sub\\b.txt\x01\r\n",
       {"C:\\C\\a.txt", "C:\\C\\sub\\b.txt"}},
      {"C:\\C\\a.txt", {}},  // no separator: nothing
      {"C:\\C\\a.txt\x01"
       "C:\\D\\A.TXT\x01"
       "C:\\C\\b.txt\x01",  // a name met again is skipped
       {"C:\\C\\a.txt", "C:\\C\\b.txt"}},
      {"a.txt\x01\x01\r\nC:\\x\\\x01"
       "C:\\y\\b.txt\x01",
       {"a.txt", "C:\\y\\b.txt"}},
      {"C:\\C\\a.txt\x01\r\nC:\\C\\c.txt\x01\r\n", {"C:\\C\\a.txt", "C:\\C\\c.txt"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (const auto& k : parseKeptCookies(c.text)) got.push_back(k.folder + k.name);
    EXPECT_EQ(got, c.paths) << c.text;
  }
  std::vector<KeptCookie> kept{{"F\\", "A"}, {"F\\", "B"}};
  EXPECT_EQ(formatKeptCookies(kept),
            "F\\A\x01"
            "F\\B\x01\r\n");
  EXPECT_EQ(formatKeptCookies({}), "");
  auto back = parseKeptCookies(formatKeptCookies(kept));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].folder + back[1].name, "F\\B");
}

TEST(SearchFile, DriveItemsOfLineZero) {
  EXPECT_EQ(srchDriveItems(" C: Hard drive D: CD-ROM drive"),
            (std::vector<std::string>{"C: Hard drive", "D: CD-ROM drive"}));
  EXPECT_EQ(srchDriveItems("junk C: E: "), (std::vector<std::string>{"C:", "E: "}));
  EXPECT_EQ(srchDriveItems(""), std::vector<std::string>{});
}

}  // namespace
}  // namespace glenvask
