#include "base/updates.h"

#include <cmath>

#include "base/sizes.h"

namespace glenvask {

namespace {

bool isBlankOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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
  if (!latest) return UpdateVerdict::NoConnection;
  int order = installed.compare(*latest);  // by character code
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
