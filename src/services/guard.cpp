#include "services/guard.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/pathtext.h"
#include "services/system.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

bool isLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool sameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         (a.empty() || CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL);
}

// The platform's full path of a full path; "" when it gives none.
std::wstring fullPathOf(const std::wstring& path) {
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0) return {};
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.assign(n + 1, L'\0');
  }
  return {};
}

// Short 8.3 names made long, for a path that exists; the path as it is otherwise.
std::wstring longPathOf(const std::wstring& path) {
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD n = GetLongPathNameW(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return path;
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.assign(n + 1, L'\0');
  }
  return path;
}

std::wstring rootPath(std::string_view path) {
  if (!isUsablePathLength(path)) return {};  // never handed to the platform: refused
  std::wstring w = wide(path);
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  // The device forms name the same places: "\\?\C:\x" is "C:\x", "\\?\UNC\s\x" is "\\s\x".
  for (std::wstring_view device : {L"\\\\?\\", L"\\\\.\\"}) {
    if (w.size() >= 4 && w.compare(0, 4, device) == 0) {
      std::wstring rest = w.substr(4);
      if (rest.size() >= 4 && sameText(std::wstring_view(rest).substr(0, 4), L"UNC\\"))
        w = L"\\\\" + rest.substr(4);
      else
        w = rest;
      break;
    }
  }
  bool drive = w.size() >= 3 && isLetter(w[0]) && w[1] == L':' && w[2] == L'\\';
  bool share = w.size() >= 3 && w[0] == L'\\' && w[1] == L'\\' && w[2] != L'\\';
  if (!drive && !share) return {};
  std::wstring full = fullPathOf(w);
  if (full.empty()) return {};
  full = longPathOf(full);
  size_t keep = full.size() >= 3 && full[1] == L':' ? 3 : 2;
  while (full.size() > keep && full.back() == L'\\') full.pop_back();
  return full;
}

// "C:\" or "\\server" or "\\server\share".
bool isRoot(const std::wstring& full) {
  if (full.size() == 3 && full[1] == L':') return true;
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') {
    size_t parts = 0;
    for (size_t i = 2; i < full.size();) {
      size_t next = full.find(L'\\', i);
      if (next == std::wstring::npos) next = full.size();
      if (next > i) ++parts;
      i = next + 1;
    }
    return parts <= 2;
  }
  return false;
}

// The candidate is the folder itself or one that holds it.
bool holds(const std::wstring& candidate, const std::wstring& folder) {
  if (sameText(candidate, folder)) return true;
  std::wstring prefix = candidate;
  if (prefix.back() != L'\\') prefix += L'\\';
  return folder.size() > prefix.size() &&
         sameText(std::wstring_view(folder).substr(0, prefix.size()), prefix);
}

std::string specialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return utf8(path);
}

}  // namespace

std::string cleaningRootPath(std::string_view path) { return utf8(rootPath(path)); }

std::vector<std::string> protectedCleaningFolders() {
  std::vector<std::string> folders = {
      GetWindowsDir(),
      GetSystemDir(),
      specialFolder(CSIDL_SYSTEMX86),
      specialFolder(CSIDL_PROFILE),
      specialFolder(CSIDL_PROGRAM_FILES),
      specialFolder(CSIDL_PROGRAM_FILESX86),
  };
  // The temporary folder falls back to the profile that the environment names.
  wchar_t profile[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  if (n > 0 && n < MAX_PATH) folders.push_back(utf8(profile));
  std::vector<std::string> out;
  for (const auto& f : folders) {
    std::string full = cleaningRootPath(f);
    if (!full.empty()) out.push_back(full);
  }
  return out;
}

bool isProtectedCleaningRoot(std::string_view path,
                             const std::vector<std::string>& protectedFolders) {
  std::wstring full = rootPath(path);
  if (full.empty() || isRoot(full)) return true;
  for (const auto& f : protectedFolders) {
    std::wstring folder = rootPath(f);
    if (!folder.empty() && holds(full, folder)) return true;
  }
  return false;
}

bool isProtectedCleaningRoot(std::string_view path) {
  return isProtectedCleaningRoot(path, protectedCleaningFolders());
}

}  // namespace glenvask
