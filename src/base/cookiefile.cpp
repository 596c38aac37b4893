#include "base/cookiefile.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/text.h"

namespace glenvask {

namespace {

constexpr size_t kMinFields = 9;

bool isSeparator(std::string_view line) { return trim(line) == "*"; }

// One record: its lines, and whether the last one was ended by a line end.
void addRecord(const std::vector<std::string_view>& lines, bool ended,
               std::vector<CookieRecord>& out) {
  // A record of empty lines (the line end after the last "*") is no record.
  bool blank = true;
  for (std::string_view l : lines)
    if (!l.empty()) blank = false;
  if (blank) return;

  std::vector<std::string> fields(lines.begin(), lines.end());
  if (ended) fields.emplace_back();  // the end of the record counts as a field
  // Blanks at both ends of the record are not part of it.
  std::string& first = fields.front();
  first.erase(0, std::min(first.find_first_not_of(' '), first.size()));
  std::string& last = fields.back();
  last.erase(std::min(last.find_last_not_of(' ') + 1, last.size()));
  if (fields.size() < kMinFields || fields[2].empty()) return;

  CookieRecord r;
  r.domain = fields[2];
  r.name = fields[0];
  r.value = fields[1];
  std::optional<std::int64_t> flags = parseInteger(fields[3]);
  if (!flags) {
    r.complete = false;
  } else {
    r.secure = *flags == 0 ? "False" : *flags == 1 ? "True" : "";
    for (size_t i = 0; i < fields.size(); ++i) {
      r.source += fields[i];
      if (i + 1 < fields.size()) r.source += "\r\n";
    }
  }
  out.push_back(std::move(r));
}

}  // namespace

std::vector<CookieRecord> parseCookieFile(std::string_view text) {
  std::vector<CookieRecord> out;
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    bool ended = lf != std::string_view::npos;
    std::string_view line = text.substr(start, ended ? lf - start : std::string_view::npos);
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = ended ? lf + 1 : text.size();
    if (isSeparator(line)) {
      // The line end of the record's last line belongs to it.
      if (!lines.empty()) addRecord(lines, true, out);
      lines.clear();
      continue;
    }
    lines.push_back(line);
    if (!ended) {
      addRecord(lines, false, out);
      lines.clear();
    }
  }
  if (!lines.empty()) addRecord(lines, true, out);
  return out;
}

}  // namespace glenvask
