#include "base/favorite.h"

#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return out;
}

std::string printable(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out.push_back(c);
  return out;
}

void eraseFirst(std::string& s, std::string_view what) {
  if (size_t at = s.find(what); at != std::string::npos) s.erase(at, what.size());
}

}  // namespace

std::string favoriteAddress(std::string_view text) {
  std::vector<std::string_view> all = lines(text);
  bool inShortcut = false;
  for (std::string_view line : all) {
    std::string t = trim(line);
    if (!t.empty() && t.front() == '[') {
      inShortcut = iequals(t, "[InternetShortcut]");
      continue;
    }
    if (inShortcut && istartsWith(t, "URL=")) return printable(trim(t.substr(4)));
  }
  if (all.empty()) return "";
  std::string second(all.size() > 1 ? all[1] : all[0]);
  eraseFirst(second, "BASEURL=");
  eraseFirst(second, "URL=");
  return printable(second);
}

std::string favoriteName(std::string_view fileName) {
  std::string name(fileName);
  for (size_t at = 0; (at = toLower(name).find(".url", at)) != std::string::npos;)
    name.erase(at, 4);
  return name;
}

bool isFavoriteFileName(std::string_view fileName) {
  return fileName.size() >= 4 && iequals(fileName.substr(fileName.size() - 4), ".url");
}

}  // namespace glenvask
