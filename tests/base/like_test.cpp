#include "base/like.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "base/text.h"

namespace glenvask {
namespace {

TEST(Like, WholeTextMatchesThePattern) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {
      // "*" takes any run, also none.
      {"A.TMP", "*.TMP", true},
      {".TMP", "*.TMP", true},
      {"A.TMPX", "*.TMP", false},
      {"A.TMP.BAK", "*.TMP", false},
      {"", "*", true},
      {"ABC", "*", true},
      {"ABC", "A*C", true},
      {"AC", "A*C", true},
      {"ABCBC", "A*BC", true},
      {"ABCBD", "A*BC", false},
      {"MISSISSIPPI", "M*SS*PI", true},
      {"X", "***X***", true},
      // No "*": the name itself only.
      {".LOG", ".LOG", true},
      {"A.LOG", ".LOG", false},
      {"", "", true},
      {"A", "", false},
      {"", "A", false},
      // "?" one character, "#" one digit.
      {"AB", "A?", true},
      {"A", "A?", false},
      {"ABC", "A?", false},
      {"FILE7.TXT", "FILE#.TXT", true},
      {"FILEX.TXT", "FILE#.TXT", false},
      {"FILE12.TXT", "FILE#.TXT", false},
      {"~1.TMP", "~#.TMP", true},
      // Lists, ranges, negated lists.
      {"B", "[ABC]", true},
      {"D", "[ABC]", false},
      {"Q", "[A-Z]", true},
      {"q", "[A-Z]", false},
      {"5", "[!A-Z]", true},
      {"Q", "[!A-Z]", false},
      {"X1", "[A-CX-Z]#", true},
      {"-", "[-A]", true},
      {"-", "[A-]", true},
      {"-", "[!-]", false},
      {"*", "[*]", true},
      {"A", "[*]", false},
      {"?", "[?]", true},
      {"#", "[#]", true},
      {"[", "[[]", true},
      {"!", "A[!]", false},
      {"A!", "A[!]", true},
      {"]", "]", true},
      {"A]", "A]", true},
      {"AB", "A[]B", true},  // "[]" is the empty text
      {"A", "[!A]", false},
      // Other characters match themselves exactly; case counts.
      {"a.tmp", "*.TMP", false},
      {"A B", "A B", true},
      {"A\\B", "A\\B", true},
      // UTF-8: "?" takes one character, not one byte; lists hold characters.
      {"\xC3\xA9", "?", true},
      {"\xC3\xA9T\xC3\xA9", "?T?", true},
      {"\xC3\xA9", "[\xC3\xA0-\xC3\xBF]", true},
      {"\xE2\x82\xAC.TXT", "?.TXT", true},
      {"\xFF.TXT", "?.TXT", true},  // a stray byte is one character
      {"\xFF", "[!A]", true},
      // Malformed patterns match nothing.
      {"[", "[", false},
      {"A[B", "A[B", false},
      {"B", "[Z-A]", false},
      {"ANYTHING", "*[", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(like(c.text, c.pattern), c.match)
        << '"' << c.text << "\" like \"" << c.pattern << '"';
}

TEST(Like, IgnoringCaseFoldsBothSides) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {
      {"a.tmp", "*.TMP", true},   {"Report.LOG", "*.log", true}, {"q", "[A-Z]", true},
      {"Q", "[a-z]", true},       {"q", "[!A-Z]", false},        {"FILE.TMPX", "*.tmp", false},
      {"file.tmp", "*.tmp", true}, {"tmp.txt", "*.tmp", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(likeIgnoreCase(c.text, c.pattern), c.match) << c.text << " / " << c.pattern;
  // The plug-in engine's way, lower-casing both sides, agrees.
  EXPECT_TRUE(like(toLower("OLD.TMP"), toLower("*.tmp")));
  EXPECT_FALSE(like(toLower("OLD.TMPFILE"), toLower("*.tmp")));
}

TEST(Like, ValidPatterns) {
  for (const char* p : {"*", "*.*", "[a-z]", "[!abc]", "[]", "[!]", "]", "a-b", "[-]"})
    EXPECT_TRUE(isValidLikePattern(p)) << p;
  for (const char* p : {"[", "[abc", "a[", "[z-a]", "*[!"})
    EXPECT_FALSE(isValidLikePattern(p)) << p;
}

// Random patterns over a small alphabet agree with the same pattern written as a regular
// expression.
TEST(Like, AgreesWithRegularExpressions) {
  std::mt19937 random(7);
  const char textChars[] = "ab1-";
  for (int round = 0; round < 2000; ++round) {
    std::string text, pattern, regex;
    int textLength = random() % 7, patternParts = random() % 6;
    for (int i = 0; i < textLength; ++i) text += textChars[random() % 4];
    for (int i = 0; i < patternParts; ++i) {
      switch (random() % 9) {
        case 0: pattern += "a", regex += "a"; break;
        case 1: pattern += "b", regex += "b"; break;
        case 2: pattern += "1", regex += "1"; break;
        case 3: pattern += "-", regex += "\\-"; break;
        case 4: pattern += "*", regex += ".*"; break;
        case 5: pattern += "?", regex += "."; break;
        case 6: pattern += "#", regex += "[0-9]"; break;
        case 7: pattern += "[a1]", regex += "[a1]"; break;
        default: pattern += "[!a-b]", regex += "[^a-b]"; break;
      }
    }
    ASSERT_EQ(like(text, pattern), std::regex_match(text, std::regex(regex)))
        << '"' << text << "\" like \"" << pattern << '"';
  }
}

// Many stars against a long text that almost matches: a backtracking matcher would take
// exponential time here; this must finish at once (checked by the test not timing out).
TEST(Like, ManyStarsDoNotBacktrackWithoutEnd) {
  std::string text(5000, 'A');
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*A";
  EXPECT_TRUE(like(text, pattern));
  EXPECT_FALSE(like(text, pattern + "B"));
  EXPECT_FALSE(like(text + "C", pattern + "*B*"));
}

}  // namespace
}  // namespace glenvask
