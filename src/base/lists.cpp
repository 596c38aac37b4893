#include "base/lists.h"

#include <cctype>
#include <cstdio>
#include <limits>

#include "base/text.h"

namespace glenvask {

namespace {

// A check box value or a flag: a number.
std::optional<double> number(std::string_view s) { return parseNumber(s); }

// "True" or "False" in any case, or a number (0 is false, any other true).
std::optional<bool> boolean(std::string_view s) {
  std::string t = trim(s);
  if (iequals(t, "True")) return true;
  if (iequals(t, "False")) return false;
  if (auto n = parseNumber(t)) return *n != 0;
  return std::nullopt;
}

std::optional<std::int32_t> int32(std::string_view s) {
  auto n = parseInteger(s);
  if (!n || *n < std::numeric_limits<std::int32_t>::min() ||
      *n > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(*n);
}

// A check box of the page: 0 or 1.
std::optional<bool> checkBox(std::string_view s) {
  auto n = number(s);
  if (!n || (*n != 0 && *n != 1)) return std::nullopt;
  return *n == 1;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> parseListFile(std::string_view text) {
  std::vector<std::string> items;
  for (auto& line : splitLines(text))
    if (!line.empty()) items.push_back(std::move(line));
  return items;
}

std::string formatListFile(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) out += item + "\r\n";
  return out;
}

std::optional<UnnecessaryType> parseUnnecessaryLine(std::string_view line) {
  if (line.find(kUnfiSeparator) == std::string_view::npos) return std::nullopt;
  auto fields = split(line, kUnfiSeparator);
  auto flag = number(fields[0]);
  if (!flag) return std::nullopt;
  UnnecessaryType t;
  // A flag with a fraction ("0.6") is not 1: the line stays, switched off.
  auto whole = parseWholeNumber(fields[0]);
  t.flag = whole && double(*whole) == *flag ? *whole : 0;
  t.pattern = fields[1];
  if (fields.size() > 2) t.description = fields[2];
  return t;
}

std::vector<UnnecessaryType> parseUnnecessaryFile(std::string_view text) {
  std::vector<UnnecessaryType> types;
  for (const auto& line : splitLines(text))
    if (auto t = parseUnnecessaryLine(line)) types.push_back(std::move(*t));
  return types;
}

std::vector<std::string> unnecessaryPatterns(std::string_view text) {
  std::vector<std::string> patterns;
  for (auto& t : parseUnnecessaryFile(text))
    if (t.flag == 1) patterns.push_back(std::move(t.pattern));
  return patterns;
}

std::string formatUnnecessaryFile(const std::vector<UnnecessaryType>& types) {
  std::string out;
  for (const auto& t : types) {
    out += std::to_string(t.flag);
    out += kUnfiSeparator;
    out += t.pattern;
    out += kUnfiSeparator;
    out += t.description;
    out += "\r\n";
  }
  return out;
}

void applySearchOptions(std::string_view text, SearchOptions& options,
                        const RegionalFormat& format) {
  auto lines = splitLines(text);
  for (size_t n = 1; n <= 4 && n < lines.size(); ++n) {
    auto f = split(lines[n], ' ');
    SearchOptions o = options;  // this line's result, kept only when the whole line parses
    bool ok = true;
    if (n == 1) {
      auto target = number(f[0]);
      auto workDir = f.size() > 1 ? number(f[1]) : std::nullopt;
      ok = target && workDir;
      if (ok) o.skipNoTarget = *target == 1, o.skipNoWorkDir = *workDir == 1;
    } else if (n == 2) {
      auto on = number(f[0]);
      if (on && *on == 0) {
        o.useDateFilter = false;
      } else {
        // On, or unreadable: the window holds the days the dates give, or none.
        auto from = f.size() > 1 ? parseSrchDate(f[1], format) : std::nullopt;
        auto to = f.size() > 2 ? parseSrchDate(f[2], format) : std::nullopt;
        bool readable = on && from && to && f.size() == 3;  // a date holding a blank is none
        o.useDateFilter = true;
        o.dateFrom = readable ? *from : DateTime{};
        o.dateTo = readable ? *to : DateTime{};
      }
    } else if (n == 3) {
      auto on = number(f[0]);
      ok = on.has_value();
      if (ok && *on != 0) {
        auto eq = f.size() > 1 ? boolean(f[1]) : std::nullopt;
        auto least = f.size() > 2 ? boolean(f[2]) : std::nullopt;
        auto most = f.size() > 3 ? boolean(f[3]) : std::nullopt;
        auto kb = f.size() > 4 ? int32(f[4]) : std::nullopt;
        ok = eq && least && most && kb && f.size() == 5;  // "1 000" is not 1
        if (ok) {
          o.anySize = false;
          o.sizeEquals = *eq, o.sizeAtLeast = *least, o.sizeAtMost = *most;
          o.sizeLimitKB = *kb;
        }
      } else if (ok) {
        o.anySize = true;
      }
    } else {
      auto ro = number(f[0]);
      auto hidden = f.size() > 1 ? number(f[1]) : std::nullopt;
      auto sys = f.size() > 2 ? number(f[2]) : std::nullopt;
      ok = ro && hidden && sys;
      if (ok) o.skipReadOnly = *ro != 0, o.skipHidden = *hidden != 0, o.skipSystem = *sys != 0;
    }
    if (ok) options = o;
  }
}

void applySearchPage(std::string_view text, SearchPage& page, const RegionalFormat& format) {
  auto lines = splitLines(text);
  for (size_t n = 1; n <= 4 && n < lines.size(); ++n) {
    auto f = split(lines[n], ' ');
    auto field = [&f](size_t i) {
      return i < f.size() ? std::string_view(f[i]) : std::string_view();
    };
    SearchPage p = page;
    bool ok = true;
    if (n == 1) {
      auto a = checkBox(field(0)), b = checkBox(field(1));
      ok = a && b;
      if (ok) p.fileReference = *a, p.pathReference = *b;
    } else if (n == 2) {
      auto on = checkBox(field(0));
      auto first = parseSrchDate(field(1), format), second = parseSrchDate(field(2), format);
      ok = on && first && second;
      if (ok) p.dateRange = *on, p.firstDate = *first, p.secondDate = *second;
    } else if (n == 3) {
      auto on = checkBox(field(0));
      auto eq = boolean(field(1)), least = boolean(field(2)), most = boolean(field(3));
      ok = on && eq && least && most && f.size() > 4;
      if (ok) {
        p.size = *on;
        p.sizeEquals = *eq, p.sizeAtLeast = *least, p.sizeAtMost = *most;
        p.sizeText = f[4];  // the size text as typed, blanks and all
        for (size_t i = 5; i < f.size(); ++i) p.sizeText += " " + f[i];
      }
    } else {
      auto ro = checkBox(field(0)), hidden = checkBox(field(1)), sys = checkBox(field(2));
      ok = ro && hidden && sys;
      if (ok) p.readOnly = *ro, p.hidden = *hidden, p.system = *sys;
    }
    if (ok) page = p;
  }
}

std::string formatSearchFile(const SearchPage& page, const RegionalFormat& format) {
  auto box = [](bool on) { return on ? "1" : "0"; };
  auto tf = [](bool on) { return on ? "True" : "False"; };
  std::string out;
  for (const auto& d : page.drives) out += " " + d;
  out += "\r\n";
  out += std::string(box(page.fileReference)) + " " + box(page.pathReference) + "\r\n";
  out += std::string(box(page.dateRange)) + " " + formatSrchDate(page.firstDate, format) + " " +
         formatSrchDate(page.secondDate, format) + "\r\n";
  out += std::string(box(page.size)) + " " + tf(page.sizeEquals) + " " + tf(page.sizeAtLeast) +
         " " + tf(page.sizeAtMost) + " " + page.sizeText + "\r\n";
  out += std::string(box(page.readOnly)) + " " + box(page.hidden) + " " + box(page.system) +
         "\r\n";
  return out;
}

std::vector<char> srchDriveLetters(std::string_view line0) {
  std::vector<char> letters;
  for (const auto& f : split(line0, ' '))
    if (f.size() == 2 && f[1] == ':' && std::isalpha(static_cast<unsigned char>(f[0])))
      letters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(f[0]))));
  return letters;
}

std::vector<std::string> srchDriveItems(std::string_view line0) {
  std::vector<std::string> items;
  for (const auto& f : split(line0, ' ')) {
    if (f.size() == 2 && f[1] == ':' && std::isalpha(static_cast<unsigned char>(f[0])))
      items.push_back(f);
    else if (!items.empty())
      items.back() += " " + f;
  }
  return items;
}

std::string formatSrchDate(const DateTime& date, const RegionalFormat& format) {
  std::string text;
  for (char c : formatShortDate(date, format))
    if (c != ' ') text += c;
  return text;
}

std::optional<DateTime> parseSrchDate(std::string_view text, const RegionalFormat& format) {
  auto t = parseDateTime(text, format);
  if (!t) return std::nullopt;
  t->hour = t->minute = t->second = 0;
  return t;
}

std::vector<KeptCookie> parseKeptCookies(std::string_view text) {
  std::vector<KeptCookie> cookies;
  auto parts = split(text, kKeptCookieSeparator);
  parts.pop_back();  // what follows the last separator: the line end
  for (auto& part : parts) {
    size_t start = part.find_first_not_of("\r\n");
    if (start == std::string::npos) continue;
    std::string_view path = std::string_view(part).substr(start);
    size_t slash = path.rfind('\\');
    KeptCookie c;
    c.folder = slash == std::string_view::npos ? "" : std::string(path.substr(0, slash + 1));
    c.name = std::string(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
    if (c.name.empty()) continue;
    bool seen = false;
    for (const auto& k : cookies) seen |= iequals(k.name, c.name);
    if (!seen) cookies.push_back(std::move(c));
  }
  return cookies;
}

std::string formatKeptCookies(const std::vector<KeptCookie>& cookies) {
  if (cookies.empty()) return {};
  std::string out;
  for (const auto& c : cookies) out += c.folder + c.name + kKeptCookieSeparator;
  return out + "\r\n";
}

}  // namespace glenvask
