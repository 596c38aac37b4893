#include "base/updates.h"

#include <cmath>

#include "base/pathtext.h"
#include "base/sizes.h"

namespace glenvask {

namespace {

bool isBlankOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next part of a dotted version, taken from the front of `rest`, without its leading zeros.
std::string_view nextPart(std::string_view& rest) {
  size_t dot = rest.find('.');
  std::string_view part = rest.substr(0, dot);
  rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
  while (!part.empty() && part.front() == '0') part.remove_prefix(1);
  return part;
}

// Compares two whole numbers written in digits without leading zeros, of any length.
int compareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int order = a.compare(b);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

bool isVersionText(std::string_view text) {
  bool digitBefore = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digitBefore = true;
    } else if (c == '.' && digitBefore) {
      digitBefore = false;
    } else {
      return false;
    }
  }
  return digitBefore;
}

std::optional<std::string> latestVersionOf(int status, std::string_view body) {
  if (status != 200) return std::nullopt;
  while (!body.empty() && isBlankOrLineEnd(body.front())) body.remove_prefix(1);
  while (!body.empty() && isBlankOrLineEnd(body.back())) body.remove_suffix(1);
  if (!isVersionText(body)) return std::nullopt;
  return std::string(body);
}

UpdateVerdict compareVersions(std::string_view installed,
                              const std::optional<std::string>& latest) {
  if (!latest || !isVersionText(*latest)) return UpdateVerdict::NoConnection;
  std::string_view mine = installed, theirs = *latest;
  int order = 0;
  while (order == 0 && (!mine.empty() || !theirs.empty()))
    order = compareNumbers(nextPart(mine), nextPart(theirs));
  if (order < 0) return UpdateVerdict::Newer;
  if (order > 0) return UpdateVerdict::Older;
  return UpdateVerdict::Same;
}

std::string fileNameOfAddress(std::string_view address) {
  size_t slash = address.rfind('/');
  std::string_view name = slash == std::string_view::npos ? address : address.substr(slash + 1);
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

std::string updateFolderOf(std::string_view localAppData, std::string_view tempFolder) {
  std::string local(localAppData);
  while (!local.empty() && local.back() == '\\') local.pop_back();
  bool absolute =
      (local.size() >= 3 && local[1] == ':' && local[2] == '\\') || local.rfind("\\\\", 0) == 0;
  // Room for the folder, "\Temp\" and the name of a temporary file in it.
  if (local.size() > 1 && absolute && isUsablePathLength(local + "\\Temp\\updXXXX.tmp") &&
      local.find_first_of(":/*?\"<>|", 2) == std::string::npos)
    return local + "\\Temp\\";
  std::string temp(tempFolder);
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  return temp;
}

int downloadPercent(std::int64_t copied, std::int64_t total) {
  if (total <= 0 || copied <= 0) return 0;
  if (copied >= total) return 100;
  return static_cast<int>(
      std::lround(100.0 / static_cast<double>(total) * static_cast<double>(copied)));
}

std::string downloadProgressText(std::int64_t copied, std::int64_t total,
                                 std::string_view totalText) {
  return std::to_string(downloadPercent(copied, total)) + " % Completed (" +
         FormatFileSize(static_cast<double>(copied), 2, true) + " of " + std::string(totalText) +
         " copied)";
}

}  // namespace glenvask
