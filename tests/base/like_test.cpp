#include "base/like.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace glenvask {
namespace {

// The plain cases of "*", "?", "#" and simple lists are in the random test below; these are
// the edges it does not reach.
TEST(Like, WholeTextMatchesThePatternAndValidPatterns) {
  std::tuple<const char*, const char*, bool> cases[] = {
      // "*" takes any run, also none; the whole text must match.
      {".TMP", "*.TMP", true}, {"A.TMP.BAK", "*.TMP", false}, {"", "*", true},
      {"ABCBC", "A*BC", true}, {"ABCBD", "A*BC", false}, {"MISSISSIPPI", "M*SS*PI", true},
      {"X", "***X***", true}, {".LOG", ".LOG", true}, {"A.LOG", ".LOG", false},
      {"", "", true}, {"A", "", false}, {"", "A", false}, {"~1.TMP", "~#.TMP", true},
      // Lists and ranges: case counts; "-" at an end, and "*?#[" inside, are themselves.
      {"Q", "[A-Z]", true}, {"q", "[A-Z]", false}, {"X1", "[A-CX-Z]#", true},
      {"-", "[-A]", true}, {"-", "[A-]", true}, {"-", "[!-]", false},
      {"*", "[*]", true}, {"A", "[*]", false}, {"?", "[?]", true},
      {"#", "[#]", true}, {"[", "[[]", true}, {"]", "]", true}, {"A]", "A]", true},
      {"!", "A[!]", false}, {"A!", "A[!]", true},
      {"AB", "A[]B", true},  // "[]" is the empty text
      {"a.tmp", "*.TMP", false}, {"A\\B", "A\\B", true},
      // UTF-8: "?" takes one character, not one byte; lists hold characters.
      {"\xC3\xA9T\xC3\xA9", "?T?", true}, {"\xC3\xA9", "[\xC3\xA0-\xC3\xBF]", true},
      {"\xE2\x82\xAC.TXT", "?.TXT", true},
      {"\xFF.TXT", "?.TXT", true}, {"\xFF", "[!A]", true},  // a stray byte is one character
      // Malformed patterns match nothing.
      {"[", "[", false}, {"A[B", "A[B", false}, {"B", "[Z-A]", false}, {"ANY", "*[", false},
  };
  for (const auto& [text, pattern, match] : cases)
    EXPECT_EQ(like(text, pattern), match) << '"' << text << "\" like \"" << pattern << '"';

  for (const char* p : {"*", "*.*", "[a-z]", "[!abc]", "[]", "[!]", "]", "a-b", "[-]"})
    EXPECT_TRUE(isValidLikePattern(p)) << p;
  for (const char* p : {"[", "[abc", "a[", "[z-a]", "*[!"})
    EXPECT_FALSE(isValidLikePattern(p)) << p;
  const std::pair<const char*, const char*> parts[] = {
      {"a", "a"}, {"b", "b"},   {"1", "1"},         {"-", "\\-"},       {"*", ".*"},
      {"?", "."}, {"#", "[0-9]"}, {"[a1]", "[a1]"}, {"[!a-b]", "[^a-b]"},
  };
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text, pattern, regex;
    for (int i = random() % 7; i > 0; --i) text += "ab1-"[random() % 4];
    for (int i = random() % 6; i > 0; --i) {
      const auto& [p, r] = parts[random() % std::size(parts)];
      pattern += p, regex += r;
    }
    ASSERT_EQ(like(text, pattern), std::regex_match(text, std::regex(regex)))
        << '"' << text << "\" like \"" << pattern << '"';
  }

  // Many stars against a long text that almost matches: a backtracking matcher would take
  // exponential time here; this must finish at once.
  std::string text(5000, 'A'), pattern;
  for (int i = 0; i < 200; ++i) pattern += "*A";
  EXPECT_TRUE(like(text, pattern));
  EXPECT_FALSE(like(text, pattern + "B") || like(text + "C", pattern + "*B*"));
}

}  // namespace
}  // namespace glenvask
