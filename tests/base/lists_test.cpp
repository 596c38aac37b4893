#include "base/lists.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/like.h"

namespace glenvask {
namespace {

using Strings = std::vector<std::string>;

TEST(ListFiles, LinesEntriesUnnecessaryTypesAndKeptCookies) {
  std::tuple<std::string, Strings, Strings> cases[] = {  // text, lines, entries
      {"a\r\n\r\nb\r\n", {"a", "", "b"}, {"a", "b"}},     // empty lines are skipped
      {"a \r\n B", {"a ", " B"}, {"a ", " B"}},          // no trimming, case kept
      {"a\nb\rc\r\n", {"a", "b", "c"}, {"a", "b", "c"}},  // lone LF or CR ends a line too
  };
  for (const auto& [text, lines, entries] : cases)
    EXPECT_EQ(std::pair(splitLines(text), parseListFile(text)), std::pair(lines, entries)) << text;
  EXPECT_EQ(formatListFile({"thumbs.db", " spaced "}), "thumbs.db\r\n spaced \r\n");
  // An UNFI.txt line and what it reads as: flag|pattern|description, "" when it does not read.
  std::pair<const char*, const char*> lines[] = {
      {"0\x01*.bak\x01" "Backup", "0|*.bak|Backup"}, {"1\x01*.old", "1|*.old|"},
      {"1\x01*.chk\x01" "C\x01more", "1|*.chk|C"},   {" 1 \x01*.gid\x01H", "1|*.gid|H"},
      {"1.0\x01*.t\x01T", "1|*.t|T"},                {"1.5\x01*.t\x01T", "0|*.t|T"},
      {"1 *.tmp Temporary", ""},                      {"x\x01*.tmp\x01T", ""},
  };
  for (const auto& [line, read] : lines) {
    auto t = parseUnnecessaryLine(line);
    EXPECT_EQ(t ? std::to_string(t->flag) + "|" + t->pattern + "|" + t->description : "", read);
  }
  std::string text = "1\x01*.tmp\x01T\r\n0\x01*.bak\x01" "B\r\nbad\r\n2\x01*.two\x01" "2\r\n";
  EXPECT_EQ(formatUnnecessaryFile(parseUnnecessaryFile(text)),
            "1\x01*.tmp\x01T\r\n0\x01*.bak\x01" "B\r\n2\x01*.two\x01" "2\r\n");
  // ck.txt: a name met again, an empty name and line breaks are passed over.
  Strings kept;
  for (const auto& k : parseKeptCookies("C:\\C\\a.txt\x01" "C:\\D\\A.TXT\x01\r\nb.txt\x01\x01"
                                        "C:\\x\\\x01" "C:\\sub\\c.txt\x01" "C:\\no separator"))
    kept.push_back(k.folder + "|" + k.name);
  EXPECT_EQ(kept, (Strings{"C:\\C\\|a.txt", "|b.txt", "C:\\sub\\|c.txt"}));
  EXPECT_EQ(formatKeptCookies({}) + formatKeptCookies({{"F\\", "A"}, {"F\\", "B"}}),
            "F\\A\x01" "F\\B\x01\r\n");
}

#ifndef _WIN32
// The default copies the program ships: CR LF after every line, every line well formed.
TEST(ListFiles, ShippedDefaultCopiesAreWellFormed) {
  std::string root = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/"));
  for (std::string name : {"DefIFI.txt", "DefIE.txt", "DefUNFI.txt"}) {
    std::stringstream s;
    s << std::ifstream(root + "/dist/" + name, std::ios::binary).rdbuf();
    auto lines = splitLines(s.str());
    EXPECT_TRUE(!lines.empty() && formatListFile(lines) == s.str()) << name;
    for (const auto& line : lines) {
      auto t = parseUnnecessaryLine(line);
      bool ok = name == "DefUNFI.txt"  // else bare names; extensions without "." or "*"
                    ? t && (t->flag == 0 || t->flag == 1) && isValidLikePattern(t->pattern)
                    : !line.empty() && line.find_first_of(name == "DefIE.txt" ? "\\/:*?. "
                                                                               : "\\/:*? ") ==
                                           std::string::npos;
      EXPECT_TRUE(ok) << name << ": " << line;
    }
  }
}
#endif

const RegionalFormat kUS;
RegionalFormat regional(const char* shortDate) { return {.shortDate = shortDate}; }

auto fields(const SearchOptions& o) {
  return std::tie(o.skipNoTarget, o.skipNoWorkDir, o.useDateFilter, o.dateFrom, o.dateTo,
                  o.anySize, o.sizeEquals, o.sizeAtLeast, o.sizeAtMost, o.sizeLimitKB,
                  o.skipReadOnly, o.skipHidden, o.skipSystem);
}

TEST(SearchFile, LinesSetTheScanOptionsAndThePageReadsBack) {
  // Start from values opposite to every default, to see which ones a line sets.
  const SearchOptions flipped{false, false, true,  {2001, 1, 1}, {2001, 1, 2}, true, true,
                              true,  true,  7,     false,        false,        false};
  auto with = [&](auto change) {
    SearchOptions o = flipped;
    change(o);
    return o;
  };
  const std::string d = "x\r\n0 0\r\n1 1/1/2001 1/2/2001\r\n";  // lines 0 to 2 changing nothing
  const SearchOptions closed = with([](auto& o) { o.dateFrom = o.dateTo = DateTime{}; });
  struct Case {
    std::string text;
    SearchOptions expected;
    RegionalFormat format = kUS;
  } cases[] = {
      {"x\r\n1 0\r\n", with([](auto& o) { o.skipNoTarget = true; })},
      {"x\r\n2 1\r\n", with([](auto& o) { o.skipNoWorkDir = true; })},  // only 1 is on
      {"x\r\n0 0\r\n0 garbage\r\n", with([](auto& o) { o.useDateFilter = false; })},
      {"x\r\n0 0\r\n1.0 31/12/2023 02/01/2024\r\n",
       with([](auto& o) { o.dateFrom = {2023, 12, 31}, o.dateTo = {2024, 1, 2}; }),
       regional("dd/MM/yyyy")},
      // A window that cannot be read is on and empty.
      {"x\r\n0 0\r\n5 3/1/2024 31/31/2024\r\n", closed},
      {"x\r\n0 0\r\n1 3/1/2024 3/3/2024 10:00\r\n", closed},
      {d + "1 False True False 500\r\n",
       with([](auto& o) { o.anySize = o.sizeEquals = o.sizeAtMost = false, o.sizeLimitKB = 500; })},
      {d + "1 False False False 1 000\r\n", flipped},
      {d + "1 True False False 99999999999\r\n", flipped},
      {"x\r\nbad\r\n0 x y\r\n1 x\r\n-1 3 0\r\ne\r\n0 0 0\r\n",
       with([](auto& o) { o.useDateFilter = false, o.skipReadOnly = o.skipHidden = true; })},
  };
  for (const auto& c : cases) {
    SearchOptions o = flipped;
    applySearchOptions(c.text, o, c.format);
    EXPECT_EQ(fields(o), fields(c.expected)) << c.text;
  }

  SearchPage page;
  page.drives = {"C: Hard drive", "D: Hard drive"};
  page.fileReference = page.dateRange = page.size = page.sizeAtLeast = page.hidden = true;
  page.firstDate = {2024, 3, 1}, page.secondDate = {2024, 12, 25};
  page.sizeText = "1 000";  // as typed: the page reads it back, the scanner ignores the line
  std::string text = formatSearchFile(page, kUS);
  EXPECT_EQ(text, " C: Hard drive D: Hard drive\r\n1 0\r\n1 3/1/2024 12/25/2024\r\n"
                  "1 False True False 1 000\r\n0 1 0\r\n");
  SearchPage back;
  applySearchPage(text + "x\r\n1 x\r\n", back, kUS);
  back.drives = page.drives;
  EXPECT_EQ(back, page);
  EXPECT_EQ(srchDriveLetters(" c: Removable E: x Foo: 1: C:D:"), (std::vector<char>{'C', 'E'}));
  EXPECT_EQ(srchDriveItems("junk C: Hard drive e: "), (Strings{"C: Hard drive", "e: "}));
  // A date is one field: the blanks a regional format holds are left out.
  EXPECT_EQ(formatSrchDate({2026, 12, 6}, regional("d. M. yyyy")), "6.12.2026");
  EXPECT_EQ(parseSrchDate("6.12.2026", regional("d. M. yyyy")), (DateTime{2026, 12, 6}));
  EXPECT_EQ(parseSrchDate("2026-12-06 17:03", kUS), (DateTime{2026, 12, 6})) << "no time of day";
  for (const char* bad : {"2/30/2024", "", "today"}) EXPECT_FALSE(parseSrchDate(bad, kUS)) << bad;
}

}  // namespace
}  // namespace glenvask
