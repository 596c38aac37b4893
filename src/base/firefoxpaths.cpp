#include "base/firefoxpaths.h"

#include <vector>

#include "base/text.h"

namespace glenvask {

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The segments after the drive ("C:") or the share ("\\server\share"); false when the path
// starts with neither.
bool splitFullPath(std::string_view path, std::vector<std::string>& rest) {
  std::vector<std::string> parts = split(path, '\\');
  size_t first;
  if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
    first = 1;
  } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // "", "", server, share, ...
    if (parts.size() < 4 || parts[2].empty() || parts[3].empty()) return false;
    if (parts[2] == "?" || parts[2] == ".") return false;  // device paths are not folders here
    first = 4;
  } else {
    return false;
  }
  rest.assign(parts.begin() + static_cast<std::ptrdiff_t>(first), parts.end());
  return true;
}

}  // namespace

std::string osVersionName(unsigned major, unsigned minor, unsigned platformId) {
  switch (major) {
    case 4:
      if (platformId == kPlatformWin32NT) return "NT";
      return minor == 0 ? "95" : "98";
    case 5:
      if (minor == 0) return "2K";
      if (minor == 1) return "XP";
      return "";
    case 6:
      if (minor == 0) return "Vista";
      if (minor == 1) return "Win7";
      return "";
    default:
      return "";
  }
}

std::string firefoxProfilesFolder(unsigned platformId, std::string_view versionName,
                                  std::string_view appDataFolder,
                                  std::string_view windowsFolder) {
  std::string base;
  if (platformId == kPlatformWin32NT) {
    base = appDataFolder;
  } else if (versionName == "95" || versionName == "98") {
    base = windowsFolder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    base += "Application Data";
  } else {
    return "";
  }
  while (base.size() > 3 && base.back() == '\\') base.pop_back();
  if (!isFullFolderPath(base)) return "";
  if (base.back() != '\\') base += '\\';
  return base + "Mozilla\\Firefox\\Profiles\\";
}

bool isFullFolderPath(std::string_view path) {
  std::vector<std::string> rest;
  if (!splitFullPath(path, rest)) return false;
  for (const auto& s : rest)
    if (s == "." || s == "..") return false;
  return path.find('/') == std::string_view::npos;
}

bool isRootFolder(std::string_view path) {
  if (path.size() == 2 && isDriveLetter(path[0]) && path[1] == ':') return true;
  std::vector<std::string> rest;
  if (!splitFullPath(path, rest)) return false;
  for (const auto& s : rest)
    if (!s.empty()) return false;
  return true;
}

}  // namespace glenvask
