#include "services/paths.h"

#include <windows.h>

#include <vector>

#include "win/unicode.h"

namespace glenvask {

namespace {
std::string g_override;
}

std::string moduleFileName() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return utf8(std::wstring_view(buf.data(), n));
    buf.resize(buf.size() * 2);
  }
}

std::string appPath() {
  if (!g_override.empty()) return g_override;
  std::string exe = moduleFileName();
  size_t slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

void setAppPath(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  g_override = std::move(path);
}

std::string appFile(std::string_view name) {
  std::string p = appPath();
  p += '\\';
  p += name;
  return p;
}

bool fileExists(std::string_view path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(std::string_view path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace glenvask
