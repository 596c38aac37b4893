#include "base/datetime.h"

#include <cstdio>
#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date; months outside 1-12 carry into years.
std::int64_t dayNumber(const DateTime& t) {
  std::int64_t y = t.year, m = std::int64_t{t.month} - 1;
  std::int64_t carry = m >= 0 ? m / 12 : (m - 11) / 12;
  y += carry;
  m -= 12 * carry;  // 0..11, January first
  // Counted from March so that the leap day ends the year.
  if (m < 2) --y;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t mp = (m + 10) % 12;  // March = 0
  std::int64_t doy = (153 * mp + 2) / 5 + std::int64_t{t.day} - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// Letters of words: ASCII letters and every byte of a character beyond ASCII.
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

// One piece of a picture: a run of one specifier letter, or literal text.
struct PictureToken {
  char letter = 0;  // 0: literal
  int count = 0;
  std::string text;
};

std::vector<PictureToken> tokenize(std::string_view picture, std::string_view letters) {
  std::vector<PictureToken> out;
  auto literal = [&](std::string_view s) {
    if (out.empty() || out.back().letter) out.push_back({});
    out.back().text += s;
  };
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {  // quoted text; '' inside is one quote
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            literal("'");
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal(picture.substr(i, 1));
        ++i;
      }
    } else if (letters.find(c) != std::string_view::npos) {
      size_t j = i;
      while (j < picture.size() && picture[j] == c) ++j;
      out.push_back({c, static_cast<int>(j - i), {}});
      i = j;
    } else {
      literal(picture.substr(i, 1));
      ++i;
    }
  }
  return out;
}

constexpr std::string_view kDateLetters = "dMyg";
constexpr std::string_view kTimeLetters = "hHmst";

std::string number(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

// The first character of a UTF-8 text.
std::string firstCharacter(const std::string& s) {
  if (s.empty()) return s;
  size_t n = 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return s.substr(0, n);
}

// Through a picture; `wide` writes one-letter days and months with two digits and every year
// with four (the file-time text).
std::string formatPicture(const DateTime& t, std::string_view picture, std::string_view letters,
                          const RegionalFormat& f, bool wide) {
  std::string out;
  bool monthOk = t.month >= 1 && t.month <= 12;
  int weekday = static_cast<int>(((dayNumber(t) + 4) % 7 + 7) % 7);  // 1970-01-01: Thursday
  int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  const std::string& half = t.hour < 12 ? f.am : f.pm;
  for (const auto& tok : tokenize(picture, letters)) {
    int n = tok.count;
    switch (tok.letter) {
      case 0: out += tok.text; break;
      case 'd':
        if (n <= 2)
          out += number(t.day, n == 2 || wide ? 2 : 1);
        else
          out += n == 3 ? f.shortDays[weekday] : f.days[weekday];
        break;
      case 'M':
        if (n <= 2)
          out += number(t.month, n == 2 || wide ? 2 : 1);
        else if (monthOk)
          out += n == 3 ? f.shortMonths[t.month - 1] : f.months[t.month - 1];
        break;
      case 'y':
        if (n >= 3 || wide)
          out += number(t.year, 4);
        else
          out += number(((t.year % 100) + 100) % 100, n);
        break;
      case 'g': break;  // the era: none in this calendar
      case 'h': out += number(h12, n >= 2 ? 2 : 1); break;
      case 'H': out += number(t.hour, n >= 2 ? 2 : 1); break;
      case 'm': out += number(t.minute, n >= 2 ? 2 : 1); break;
      case 's': out += number(t.second, n >= 2 ? 2 : 1); break;
      case 't': out += n == 1 ? firstCharacter(half) : half; break;
    }
  }
  return out;
}

// ---- Reading ----

// Compares the text at pos with a word, ASCII letters without regard to case.
bool wordAt(std::string_view s, size_t pos, std::string_view word) {
  return !word.empty() && s.size() - pos >= word.size() &&
         iequals(s.substr(pos, word.size()), word);
}

template <size_t N>
int indexOf(const std::array<std::string, N>& names, std::string_view word) {
  for (size_t i = 0; i < N; ++i)
    if (!names[i].empty() && iequals(names[i], word)) return static_cast<int>(i);
  return -1;
}

// A month's index (0-11) from its name, full or short, regional or English; -1 for none.
int monthIndex(std::string_view word, const RegionalFormat& f) {
  static const RegionalFormat english;
  for (const RegionalFormat* r : {&f, &english}) {
    if (int i = indexOf(r->months, word); i >= 0) return i;
    if (int i = indexOf(r->shortMonths, word); i >= 0) return i;
  }
  return -1;
}

bool isDayName(std::string_view word, const RegionalFormat& f) {
  static const RegionalFormat english;
  for (const RegionalFormat* r : {&f, &english})
    if (indexOf(r->days, word) >= 0 || indexOf(r->shortDays, word) >= 0) return true;
  return false;
}

// The words that the pictures write as they stand ("'de'", "年"): whole words of their texts.
bool isPictureWord(std::string_view word, const RegionalFormat& f) {
  for (auto [picture, letters] : {std::pair{std::string_view(f.shortDate), kDateLetters},
                                  std::pair{std::string_view(f.time), kTimeLetters}})
    for (const auto& tok : tokenize(picture, letters)) {
      const std::string& lit = tok.text;
      for (size_t at = 0; !tok.letter && (at = lit.find(word, at)) != std::string::npos; ++at) {
        size_t end = at + word.size();
        if ((at == 0 || !isLetter(lit[at - 1])) && (end == lit.size() || !isLetter(lit[end])))
          return true;
      }
    }
  return false;
}

// The no-break blanks some formats hold, as plain blanks.
std::string plainBlanks(std::string_view text) {
  std::string plain(text);
  for (std::string_view nbsp : {"\xC2\xA0", "\xE2\x80\xAF"})
    for (size_t at; (at = plain.find(nbsp)) != std::string::npos;)
      plain.replace(at, nbsp.size(), " ");
  return plain;
}

struct DateField {
  int value = 0;
  int digits = 0;  // 0: a month name
};

// The literal between the hours and the minutes of the time picture (":" mostly).
std::string timeSeparator(std::string_view picture) {
  auto toks = tokenize(picture, kTimeLetters);
  for (size_t i = 0; i + 2 < toks.size(); ++i)
    if ((toks[i].letter == 'h' || toks[i].letter == 'H') && !toks[i + 1].letter &&
        toks[i + 2].letter == 'm')
      return trim(toks[i + 1].text);
  return ":";
}

// hours, minutes, optional seconds, the half of the day before or after; the whole text.
bool parseTime(std::string_view s, const RegionalFormat& f, DateTime& t) {
  std::string sep = timeSeparator(f.time);
  size_t pos = 0;
  int half = -1;  // 0 before noon, 1 after
  auto skipBlanks = [&] {
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
  };
  auto readHalf = [&] {
    // The longest text that matches, so that "a. m." is not taken for "a".
    std::string best;
    int which = -1;
    for (auto [text, value] : {std::pair{plainBlanks(f.am), 0},
                               {plainBlanks(f.pm), 1},
                               {std::string("AM"), 0},
                               {std::string("PM"), 1}}) {
      if (text.size() > best.size() && wordAt(s, pos, text)) best = text, which = value;
    }
    if (which < 0) return false;
    size_t end = pos + best.size();
    if (end < s.size() && isLetter(s[end]) && isLetter(best.back())) return false;  // "AMX"
    pos = end;
    half = which;
    skipBlanks();
    return true;
  };
  auto readNumber = [&](int& out) {
    size_t start = pos;
    int v = 0;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < 2) v = v * 10 + (s[pos++] - '0');
    if (pos == start || (pos < s.size() && isDigit(s[pos]))) return false;
    out = v;
    return true;
  };
  auto readSeparator = [&] {
    if (pos < s.size() && (s[pos] == ':' || s[pos] == '.')) {
      ++pos;
      return true;
    }
    if (!sep.empty() && s.substr(pos, sep.size()) == sep) {
      pos += sep.size();
      return true;
    }
    return false;
  };
  readHalf();
  if (!readNumber(t.hour) || !readSeparator() || !readNumber(t.minute)) return false;
  t.second = 0;
  size_t beforeSeconds = pos;
  if (readSeparator() && !readNumber(t.second)) pos = beforeSeconds, t.second = 0;
  skipBlanks();
  if (pos < s.size() && half < 0) readHalf();
  // A word of the picture after the time ("Uhr").
  while (pos < s.size() && isLetter(s[pos])) {
    size_t end = pos;
    while (end < s.size() && isLetter(s[end])) ++end;
    if (!isPictureWord(s.substr(pos, end - pos), f)) return false;
    pos = end;
    skipBlanks();
  }
  if (pos != s.size()) return false;
  if (half >= 0) {
    if (t.hour > 12) return false;
    t.hour = t.hour % 12 + (half == 1 ? 12 : 0);
  }
  return true;
}

// The date from three fields read in an order ("DMY"); false when they do not fit it.
bool dateInOrder(const std::vector<DateField>& fields, std::string_view order, DateTime& t) {
  size_t y = order.find('Y'), m = order.find('M'), d = order.find('D');
  bool anyLong = false;
  for (size_t i = 0; i < 3; ++i) {
    if (fields[i].digits == 0 && i != m) return false;  // a month name stands for the month
    if (fields[i].digits >= 3) {
      if (i != y) return false;  // a long number is the year
      anyLong = true;
    }
  }
  const DateField& yf = fields[y];
  if (yf.digits == 0) return false;
  t.year = anyLong ? yf.value : (yf.value < 30 ? 2000 : 1900) + yf.value;
  t.month = fields[m].value;
  t.day = fields[d].value;
  return isValidDateTime(t);
}

}  // namespace

bool isValidDateTime(const DateTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

std::string dateOrder(std::string_view picture) {
  std::string order;
  auto add = [&](char c) {
    if (order.find(c) == std::string::npos) order += c;
  };
  for (const auto& tok : tokenize(picture, kDateLetters)) {
    if (tok.letter == 'd' && tok.count <= 2) add('D');
    if (tok.letter == 'M') add('M');
    if (tok.letter == 'y') add('Y');
  }
  for (char c : std::string_view("MDY")) add(c);  // what the picture leaves out
  return order;
}

std::string formatDatePicture(const DateTime& t, std::string_view picture,
                              const RegionalFormat& format) {
  return formatPicture(t, picture, kDateLetters, format, false);
}

std::string formatTimePicture(const DateTime& t, std::string_view picture,
                              const RegionalFormat& format) {
  return formatPicture(t, picture, kTimeLetters, format, false);
}

std::string formatShortDate(const DateTime& t, const RegionalFormat& format) {
  return formatDatePicture(t, format.shortDate, format);
}

std::string formatGeneralDate(const DateTime& t, const RegionalFormat& format) {
  std::string text = formatShortDate(t, format);
  if (t.hour != 0 || t.minute != 0 || t.second != 0)
    text += " " + formatTimePicture(t, format.time, format);
  return text;
}

std::string formatFileTime(const DateTime& t, const RegionalFormat& format) {
  return formatPicture(t, format.shortDate, kDateLetters, format, true) + " " +
         formatTimePicture(t, format.time, format);
}

std::optional<DateTime> parseDateTime(std::string_view text, const RegionalFormat& format) {
  std::string trimmed = trim(plainBlanks(text));
  std::string_view s = trimmed;
  std::vector<DateField> fields;
  size_t pos = 0;
  // Three fields, numbers or a month name, with anything but ":" between them; day names and
  // words of the picture are passed over.
  while (fields.size() < 3) {
    while (pos < s.size() && !isDigit(s[pos]) && !isLetter(s[pos]) && s[pos] != ':' && pos > 0)
      ++pos;
    if (pos >= s.size()) return std::nullopt;
    size_t start = pos;
    if (isDigit(s[pos])) {
      int v = 0;
      while (pos < s.size() && isDigit(s[pos]) && pos - start < 5) v = v * 10 + (s[pos++] - '0');
      if (pos - start > 4) return std::nullopt;
      fields.push_back({v, static_cast<int>(pos - start)});
    } else if (isLetter(s[pos])) {
      while (pos < s.size() && isLetter(s[pos])) ++pos;
      std::string_view word = s.substr(start, pos - start);
      if (int m = monthIndex(word, format); m >= 0)
        fields.push_back({m + 1, 0});
      else if (!isDayName(word, format) && !isPictureWord(word, format))
        return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  // What closes the date: punctuation ("2024. 03. 01."), words of the picture ("日"), or the
  // "T" of an ISO date-time.
  if (pos + 1 < s.size() && s[pos] == 'T' && isDigit(s[pos + 1])) {
    ++pos;
  } else {
    while (pos < s.size()) {
      if (s[pos] == '.' || s[pos] == ',') {
        ++pos;
      } else if (isLetter(s[pos])) {
        size_t end = pos;
        while (end < s.size() && isLetter(s[end])) ++end;
        if (!isPictureWord(s.substr(pos, end - pos), format)) break;
        pos = end;
      } else {
        break;
      }
    }
  }
  DateTime t;
  std::string rest = trim(s.substr(pos));
  if (!rest.empty() && !parseTime(rest, format, t)) return std::nullopt;

  std::vector<std::string> orders = {dateOrder(format.shortDate), "YMD", "MDY", "DMY"};
  for (size_t i = 0; i < orders.size(); ++i) {
    bool seen = false;
    for (size_t j = 0; j < i; ++j) seen = seen || orders[j] == orders[i];
    if (seen) continue;
    DateTime candidate = t;
    if (dateInOrder(fields, orders[i], candidate)) return candidate;
  }
  return std::nullopt;
}

std::int64_t daysBetween(const DateTime& from, const DateTime& to) {
  return dayNumber(to) - dayNumber(from);
}

std::int64_t minutesBetween(const DateTime& from, const DateTime& to) {
  auto minutes = [](const DateTime& t) {
    return (dayNumber(t) * 24 + t.hour) * 60 + t.minute;
  };
  return minutes(to) - minutes(from);
}

}  // namespace glenvask
