#include "base/ini.h"

#include <optional>
#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

struct Line {
  size_t begin = 0;  // first byte of the line
  size_t end = 0;    // end of its content (before CR LF, LF or CR)
  size_t next = 0;   // first byte of the next line
  enum Kind { Blank, Section, Key } kind = Blank;
  std::string name;                  // section or key name, trimmed
  std::optional<std::string> value;  // after the "=", trimmed; nothing for a line without one
};

std::vector<Line> lines(std::string_view text) {
  std::vector<Line> out;
  size_t i = 0;
  while (i < text.size()) {
    Line l;
    l.begin = i;
    size_t e = text.find_first_of("\r\n", i);
    if (e == std::string_view::npos) e = text.size();
    l.end = e;
    l.next = e;
    if (l.next < text.size() && text[l.next] == '\r') ++l.next;
    if (l.next < text.size() && text[l.next] == '\n') ++l.next;
    std::string content = trim(text.substr(l.begin, l.end - l.begin));
    if (content.empty()) {
      l.kind = Line::Blank;
    } else if (content[0] == '[') {
      l.kind = Line::Section;
      size_t close = content.rfind(']');
      l.name = trim(content.substr(
          1, close == std::string::npos || close == 0 ? std::string::npos : close - 1));
    } else {
      l.kind = Line::Key;
      size_t eq = content.find('=');
      l.name = trim(std::string_view(content).substr(0, eq));
      if (eq != std::string::npos) l.value = trim(std::string_view(content).substr(eq + 1));
    }
    out.push_back(std::move(l));
    i = out.back().next;
  }
  return out;
}

std::string unquoted(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
    return v.substr(1, v.size() - 2);
  return v;
}

// The key's line; else the last non-blank line of the first section of that name, where a
// new key goes (keyFound false); line -1 when there is no such section.
struct Place {
  long line = -1;
  bool keyFound = false;
};

Place find(const std::vector<Line>& ls, std::string_view section, std::string_view key) {
  Place first;
  bool inSection = false, inFirst = false;
  for (size_t i = 0; i < ls.size(); ++i) {
    const Line& l = ls[i];
    if (l.kind == Line::Section) {
      inSection = iequals(l.name, section);
      inFirst = inSection && first.line < 0;
      if (inFirst) first.line = static_cast<long>(i);
      continue;
    }
    if (!inSection) continue;
    if (l.kind == Line::Key && iequals(l.name, key)) return {static_cast<long>(i), true};
    if (inFirst && l.kind != Line::Blank) first.line = static_cast<long>(i);
  }
  return first;
}

}  // namespace

bool setIniValue(std::string& text, std::string_view section, std::string_view key,
                 std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  std::string sec = trim(section), k = trim(key);
  auto ls = lines(text);
  Place p = find(ls, sec, k);
  std::string keyLine = k + "=" + std::string(value);
  if (p.keyFound) {
    const Line& l = ls[static_cast<size_t>(p.line)];
    if (l.value && unquoted(*l.value) == value) return false;
    text.replace(l.begin, l.end - l.begin, l.name + "=" + std::string(value));
    return true;
  }
  if (p.line >= 0) {
    const Line& l = ls[static_cast<size_t>(p.line)];
    std::string insert = keyLine + "\r\n";
    if (l.next == l.end) insert = "\r\n" + insert;  // the last line had no line end
    text.insert(l.next, insert);
    return true;
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  text += "[" + sec + "]\r\n" + keyLine + "\r\n";
  return true;
}

}  // namespace glenvask
