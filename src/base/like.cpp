#include "base/like.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

// A byte that does not start a valid UTF-8 sequence becomes a character of its own, above
// every code point, so that it only ever matches itself (or "?", "*", a negated list).
constexpr char32_t kRawByte = 0x110000;

// The characters of UTF-8 text, one per code point.
std::vector<char32_t> decode(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3
              : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len > 1 && i + len <= s.size() && isValidUtf8(s.substr(i, len))) {
      char32_t cp = b & (0xFF >> (len + 1));
      for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
      out.push_back(cp);
      i += len;
    } else {
      out.push_back(len == 1 ? char32_t(b) : kRawByte + b);
      ++i;
    }
  }
  return out;
}

struct Token {
  enum Kind { kChar, kAny, kDigit, kList, kStar } kind;
  char32_t ch = 0;                                  // kChar
  bool negated = false;                             // kList
  std::vector<std::pair<char32_t, char32_t>> ranges;  // kList: inclusive ranges
};

// The pattern as tokens; nothing when it is malformed. Runs of "*" become one token, and
// "[]" (which matches no character at all) is dropped.
std::optional<std::vector<Token>> compile(std::string_view pattern) {
  std::vector<char32_t> p = decode(pattern);
  std::vector<Token> tokens;
  for (size_t i = 0; i < p.size();) {
    char32_t c = p[i];
    if (c == U'*') {
      if (tokens.empty() || tokens.back().kind != Token::kStar) tokens.push_back({Token::kStar});
      ++i;
    } else if (c == U'?') {
      tokens.push_back({Token::kAny});
      ++i;
    } else if (c == U'#') {
      tokens.push_back({Token::kDigit});
      ++i;
    } else if (c == U'[') {
      size_t close = i + 1;
      while (close < p.size() && p[close] != U']') ++close;
      if (close == p.size()) return std::nullopt;  // unclosed list
      size_t j = i + 1;
      Token t{Token::kList};
      if (j < close && p[j] == U'!') {
        t.negated = true;
        ++j;
      }
      if (j == close && !t.negated) {  // "[]": the empty text
        i = close + 1;
        continue;
      }
      while (j < close) {
        char32_t lo = p[j];
        if (j + 2 < close && p[j + 1] == U'-') {  // a range; "-" first or last is itself
          char32_t hi = p[j + 2];
          if (hi < lo) return std::nullopt;
          t.ranges.emplace_back(lo, hi);
          j += 3;
        } else {
          t.ranges.emplace_back(lo, lo);
          ++j;
        }
      }
      tokens.push_back(std::move(t));
      i = close + 1;
    } else {
      Token t{Token::kChar};
      t.ch = c;
      tokens.push_back(t);
      ++i;
    }
  }
  return tokens;
}

bool matchesOne(const Token& t, char32_t c) {
  switch (t.kind) {
    case Token::kChar: return c == t.ch;
    case Token::kAny: return true;
    case Token::kDigit: return c >= U'0' && c <= U'9';
    case Token::kList: {
      bool in = false;
      for (const auto& [lo, hi] : t.ranges)
        if (c >= lo && c <= hi) {
          in = true;
          break;
        }
      return in != t.negated;
    }
    case Token::kStar: break;
  }
  return false;
}

// Every token but "*" takes exactly one character. Greedy matching that returns only to the
// last "*" seen is exact for such patterns: a later "*" can absorb whatever an earlier one
// would have, so there is never a reason to go back further. Each text position is tried at
// most once per "*", which bounds the work by text length times pattern length.
bool matchTokens(const std::vector<char32_t>& s, const std::vector<Token>& p) {
  size_t si = 0, pi = 0;
  size_t starP = SIZE_MAX, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi].kind == Token::kStar) {
      starP = pi++;
      starS = si;
    } else if (pi < p.size() && matchesOne(p[pi], s[si])) {
      ++pi;
      ++si;
    } else if (starP != SIZE_MAX) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi].kind == Token::kStar) ++pi;
  return pi == p.size();
}

}  // namespace

bool like(std::string_view text, std::string_view pattern) {
  auto tokens = compile(pattern);
  return tokens && matchTokens(decode(text), *tokens);
}

bool likeIgnoreCase(std::string_view text, std::string_view pattern) {
  return like(toUpper(text), toUpper(pattern));
}

bool isValidLikePattern(std::string_view pattern) { return compile(pattern).has_value(); }

}  // namespace glenvask
