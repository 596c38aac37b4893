#include "win/unicode.h"

#include <windows.h>

#include "base/text.h"

namespace glenvask {

namespace {
std::wstring toWide(UINT codePage, std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}
}  // namespace

std::wstring wide(std::string_view s) { return toWide(CP_UTF8, s); }

std::string utf8(std::wstring_view s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::string fromFileText(std::string_view bytes) {
  if (isValidUtf8(bytes)) return std::string(bytes);
  return utf8(toWide(CP_ACP, bytes));
}

std::optional<std::string> toAnsiText(std::string_view text) {
  std::wstring w = wide(text);
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  // A character the code page lacks comes back as '?' or a look-alike: refuse rather than alter.
  if (toWide(CP_ACP, out) != w) return std::nullopt;
  return out;
}

}  // namespace glenvask
