#include "base/pathtext.h"

#include "base/text.h"

namespace glenvask {

namespace {
constexpr std::string_view kSystemRoot = "%systemroot%";

size_t findNoCase(std::string_view text, std::string_view token, size_t from) {
  for (size_t i = from; i + token.size() <= text.size(); ++i)
    if (iequals(text.substr(i, token.size()), token)) return i;
  return std::string_view::npos;
}
}  // namespace

size_t utf16Length(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;  // each lead byte starts a character...
    if (c >= 0xF0) ++n;           // ...and one past the basic plane takes two units
  }
  return n;
}

bool isUsablePathLength(std::string_view path) { return utf16Length(path) <= kMaxPathUnits; }

std::string GetFileNameFromPath(std::string_view path) {
  size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string StripNulls(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

std::string StrFromPtr(const char* text) { return text ? std::string(text) : std::string(); }

bool hasSystemRoot(std::string_view text) {
  return findNoCase(text, kSystemRoot, 0) != std::string_view::npos;
}

std::string replaceSystemRoot(std::string_view text, std::string_view folder) {
  std::string out;
  size_t from = 0;
  for (;;) {
    size_t at = findNoCase(text, kSystemRoot, from);
    if (at == std::string_view::npos) break;
    out.append(text.substr(from, at - from));
    out.append(folder);
    from = at + kSystemRoot.size();
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace glenvask
