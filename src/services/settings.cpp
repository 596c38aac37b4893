#include "services/settings.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwchar>

#include "base/ini.h"
#include "services/paths.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

std::string settingsFile() { return appFile("settings.ini"); }

std::string readIni(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view defaultValue) {
  wchar_t buf[256] = {};
  DWORD n = GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(),
                                     wide(defaultValue).c_str(), buf, 255, wide(file).c_str());
  return utf8(std::wstring_view(buf, n));
}

bool writeIni(std::string_view file, std::string_view section, std::string_view key,
              std::string_view value) {
  return writeIniValues(file, {{std::string(section), std::string(key), std::string(value)}});
}

namespace {

enum class IniEncoding { Ansi, Utf8, Utf16 };
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// The file's text as UTF-8, read as the platform's profile reader reads it.
std::string decodeIni(std::string_view bytes, IniEncoding& encoding) {
  if (bytes.substr(0, 2) == kUtf16Mark) {
    encoding = IniEncoding::Utf16;
    std::wstring w((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < w.size(); ++i)
      w[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                  (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
    return utf8(w);
  }
  if (bytes.substr(0, 3) == kUtf8Mark) {
    encoding = IniEncoding::Utf8;
    return std::string(bytes.substr(3));
  }
  encoding = IniEncoding::Ansi;
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return utf8(w);
}

std::optional<std::string> encodeAnsi(const std::wstring& w) {
  if (w.empty()) return std::string();
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                              nullptr, 0, nullptr, &lossy);
  if (lossy || n <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                      out.data(), n, nullptr, &lossy);
  return out;
}

std::string encodeIni(const std::string& text, IniEncoding encoding) {
  std::wstring w = wide(text);
  if (encoding == IniEncoding::Utf8) return std::string(kUtf8Mark) + text;
  if (encoding == IniEncoding::Ansi)
    if (auto ansi = encodeAnsi(w)) return *ansi;
  std::string out(kUtf16Mark);
  for (wchar_t c : w) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
  }
  return out;
}

}  // namespace

bool writeIniValues(std::string_view file, const std::vector<IniValue>& values) {
  std::string bytes;
  if (GetFileAttributesW(wide(file).c_str()) != INVALID_FILE_ATTRIBUTES) {
    auto read = readFileBytes(file);
    if (!read) return false;  // never replace what could not be read
    bytes = std::move(*read);
  }
  IniEncoding encoding;
  std::string text = decodeIni(bytes, encoding);
  bool changed = false;
  for (const auto& v : values) changed |= setIniValue(text, v.section, v.key, v.value);
  return !changed || writeFileAtomic(file, encodeIni(text, encoding));
}

std::string userSettingsKey(std::string_view app, std::string_view section) {
  std::string k = "Software\\VB and VBA Program Settings\\";
  k += app;
  k += '\\';
  k += section;
  return k;
}

std::string getUserSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) {
  KeyHandle k;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(userSettingsKey(app, section)).c_str(), 0,
                    KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS)
    return std::string(defaultValue);
  std::wstring name = wide(key);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string(defaultValue);
  std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                       &size) != ERROR_SUCCESS)
    return std::string(defaultValue);
  buf.resize(wcsnlen(buf.c_str(), size / sizeof(wchar_t)));
  return utf8(buf);
}

bool saveUserSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) {
  KeyHandle k;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(userSettingsKey(app, section)).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, k.put(), nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring v = wide(value);
  return RegSetValueExW(k.get(), wide(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(v.c_str()),
                        static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

namespace {

// The file's first bytes, at most maxBytes; nothing when it cannot be read, when it is longer
// and wanted whole, or when it is no disk file and only disk files are wanted.
std::optional<std::string> readStart(std::string_view path, size_t maxBytes, bool whole,
                                     bool diskOnly) {
  FileHandle f(CreateFileW(wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f || (diskOnly && GetFileType(f.get()) != FILE_TYPE_DISK)) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart < 0) return std::nullopt;
  if (whole && static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return std::nullopt;
  std::string data(static_cast<size_t>(std::min<std::uint64_t>(
                       static_cast<std::uint64_t>(size.QuadPart), maxBytes)),
                   '\0');
  size_t got = 0;
  while (got < data.size()) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - got, 1 << 20));
    if (!ReadFile(f.get(), data.data() + got, want, &n, nullptr)) return std::nullopt;
    if (n == 0) break;
    got += n;
  }
  data.resize(got);
  return data;
}

}  // namespace

std::optional<std::string> readFileBytes(std::string_view path) {
  return readStart(path, size_t{1} << 30, true, false);
}

std::optional<std::string> readFileStart(std::string_view path, size_t maxBytes) {
  return readStart(path, maxBytes, false, true);
}

namespace {

// A new file beside the target under a name no file has: the target's name, a number of this
// process and moment, ".tmp". Created new, so it can never be another file; nothing when the
// folder takes no new file.
FileHandle createTemporaryBeside(std::string_view path, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t unique[64];
    swprintf(unique, std::size(unique), L".%lx%llx%x.tmp", GetCurrentProcessId(),
             static_cast<unsigned long long>(GetTickCount64()), counter.fetch_add(1));
    name = wide(path) + unique;
    FileHandle f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) return f;
    DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) break;
  }
  name.clear();
  return FileHandle();
}

}  // namespace

bool writeFileAtomic(std::string_view path, std::string_view bytes) {
  std::wstring wtmp;
  FileHandle f = createTemporaryBeside(path, wtmp);
  if (!f) return false;
  auto fail = [&] {
    f.reset();
    DeleteFileW(wtmp.c_str());
    return false;
  };
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    if (!WriteFile(f.get(), bytes.data() + done, want, &n, nullptr) || n == 0) return fail();
    done += n;
  }
  if (!FlushFileBuffers(f.get())) return fail();
  f.reset();
  if (!MoveFileExW(wtmp.c_str(), wide(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return fail();
  return true;
}

}  // namespace glenvask
