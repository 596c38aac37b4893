#include "services/registry.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr REGSAM kRead = KEY_READ;         // 0x20019
constexpr REGSAM kWrite = KEY_WRITE;       // 0x20006
constexpr REGSAM kAll = KEY_ALL_ACCESS;    // 0xF003F
constexpr DWORD kValueNameChars = 16384;   // the longest value name and its null
constexpr DWORD kKeyNameChars = 256;       // the longest key name and its null

KeyHandle openKey(HKEY root, std::string_view subkey, REGSAM access) {
  KeyHandle key;
  if (RegOpenKeyExW(root, wide(subkey).c_str(), 0, access, key.put()) != ERROR_SUCCESS)
    return KeyHandle();
  return key;
}

bool isStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

void deleteSubkeysOf(HKEY key) {
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[kKeyNameChars];
    DWORD len = kKeyNameChars;
    if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, len);
  }
  for (const auto& name : names) {
    KeyHandle sub;
    if (RegOpenKeyExW(key, name.c_str(), 0, kAll, sub.put()) == ERROR_SUCCESS)
      deleteSubkeysOf(sub.get());
    sub.reset();
    RegDeleteKeyW(key, name.c_str());
  }
}

}  // namespace

bool readRegValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return false;
  // The value may grow between the calls: try again with what the platform asks for.
  for (int attempt = 0; attempt < 8; ++attempt) {
    data.assign(size + sizeof(wchar_t), 0);
    DWORD got = size;
    rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return true;
    }
    if (rc != ERROR_MORE_DATA) return false;
    size = std::max<DWORD>(got, size * 2 + 256);
  }
  return false;
}

std::string GetRegString(RegRoot root, std::string_view subkey, std::string_view name) {
  KeyHandle key = openKey(root.key(), subkey, kRead);
  if (!key) return "";
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  if (!readRegValue(key.get(), wide(name), type, data)) return "";
  if (isStringType(type)) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()),
                      data.size() / sizeof(wchar_t));
    return utf8(text.substr(0, text.find(L'\0')));
  }
  std::string bytes(data.begin(), data.end());
  return bytes.substr(0, bytes.find('\0'));
}

std::string GetRegValueNames(RegRoot root, std::string_view subkey) {
  KeyHandle key = openKey(root.key(), subkey, kRead);
  if (!key) return "";
  std::string names;
  bool any = false;
  std::vector<wchar_t> name(kValueNameChars);
  // Names only: a value whose data is long must not end the list.
  for (DWORD i = 0;; ++i) {
    DWORD len = kValueNameChars;
    if (RegEnumValueW(key.get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    if (any) names.push_back('\0');
    names += utf8(std::wstring_view(name.data(), len));
    any = true;
  }
  return names;
}

void DeleteRegValues(RegRoot root, std::string_view names, std::string_view subkey) {
  KeyHandle key = openKey(root.key(), subkey, kWrite);
  if (!key) return;
  for (const auto& name : split(names, '\0')) RegDeleteValueW(key.get(), wide(name).c_str());
}

void DeleteRegKey(RegRoot root, std::string_view subkey) {
  // An empty path would name the root's own key.
  if (subkey.find_first_not_of('\\') == std::string_view::npos) return;
  KeyHandle key = openKey(root.key(), "", kWrite);
  if (!key) return;
  RegDeleteKeyW(key.get(), wide(subkey).c_str());
}

bool DeleteRegKeyTree(RegRoot root, std::string_view subkey) {
  // Never empty a whole root (or the caller's own key) for want of a path.
  if (subkey.find_first_not_of('\\') == std::string_view::npos) return false;
  KeyHandle key = openKey(root.key(), subkey, kAll);
  if (!key) return false;
  deleteSubkeysOf(key.get());
  return true;
}

void SetRegString(RegRoot root, std::string_view subkey, std::string_view name,
                  std::string_view data) {
  KeyHandle key = openKey(root.key(), subkey, kWrite);
  if (!key) return;
  std::wstring text = wide(data);
  // Stored with its terminating null, as readers of REG_SZ expect.
  auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  RegSetValueExW(key.get(), wide(name).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

}  // namespace glenvask
