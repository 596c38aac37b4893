#include "tools/regvalue.h"

#include "base/text.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr DWORD kValueNameChars = 16384;
constexpr DWORD kKeyNameChars = 256;
constexpr DWORD kFirstDataBytes = 1024;  // most values' data fits: read with the name

KeyHandle openKey(RegRoot root, std::string_view subkey, REGSAM access) {
  KeyHandle key;
  if (RegOpenKeyExW(root.key(), wide(subkey).c_str(), 0, access, key.put()) != ERROR_SUCCESS)
    return KeyHandle();
  return key;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::wstring textOf(const std::vector<BYTE>& data) {
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

std::optional<std::uint64_t> numberOf(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_DWORD && data.size() >= 4) {
    DWORD v = 0;
    memcpy(&v, data.data(), 4);
    return v;
  }
  if (type == REG_QWORD && data.size() >= 8) {
    std::uint64_t v = 0;
    memcpy(&v, data.data(), 8);
    return v;
  }
  if (isText(type)) {
    std::string s = utf8(textOf(data));
    auto n = parseInteger(s);
    if (n && *n >= 0) return static_cast<std::uint64_t>(*n);
  }
  return std::nullopt;
}

}  // namespace

bool roundTrips(std::wstring_view text) { return wide(utf8(text)) == text; }

std::optional<RegText> readRegText(RegRoot root, std::string_view subkey, std::string_view name) {
  KeyHandle key = openKey(root, subkey, KEY_READ);
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  if (!key || !readRegValue(key.get(), wide(name), type, data) || !isText(type))
    return std::nullopt;
  return RegText{type, utf8(textOf(data))};
}

std::optional<RegData> readRegData(RegRoot root, std::string_view subkey, std::string_view name) {
  KeyHandle key = openKey(root, subkey, KEY_READ);
  RegData out;
  if (!key || !readRegValue(key.get(), wide(name), out.type, out.bytes)) return std::nullopt;
  return out;
}

std::vector<RegValueEntry> readRegValues(RegRoot root, std::string_view subkey) {
  std::vector<RegValueEntry> out;
  KeyHandle key = openKey(root, subkey, KEY_READ);
  if (!key) return out;
  std::vector<wchar_t> name(kValueNameChars);
  std::vector<BYTE> data;
  for (DWORD i = 0;; ++i) {
    // Name and data in one call; data that does not fit is read again by name.
    DWORD len = kValueNameChars, type = REG_NONE;
    data.assign(kFirstDataBytes + sizeof(wchar_t), 0);
    DWORD size = kFirstDataBytes;
    LONG rc = RegEnumValueW(key.get(), i, name.data(), &len, nullptr, &type, data.data(), &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    if (len >= kValueNameChars) continue;  // a name longer than any allowed: skip it
    std::wstring n(name.data(), len);
    if (n.find(L'\0') != std::wstring::npos || !roundTrips(n)) continue;
    RegValueEntry e;
    e.name = utf8(n);
    e.type = type;
    if (rc == ERROR_SUCCESS)
      data.resize(size);
    else if (!readRegValue(key.get(), n, e.type, data))
      continue;  // gone meanwhile
    if (isText(e.type)) e.text = utf8(textOf(data));
    e.number = numberOf(e.type, data);
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<std::string> regSubkeyNames(RegRoot root, std::string_view subkey) {
  std::vector<std::string> out;
  KeyHandle key = openKey(root, subkey, KEY_READ);
  if (!key) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[kKeyNameChars];
    DWORD len = kKeyNameChars;
    LONG rc = RegEnumKeyExW(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) break;
    std::wstring n(name, len);
    if (n.find(L'\0') != std::wstring::npos || !roundTrips(n)) continue;
    out.push_back(utf8(n));
  }
  return out;
}

bool writeRegTextKeepType(RegRoot root, std::string_view subkey, std::string_view name,
                          std::string_view text) {
  KeyHandle key = openKey(root, subkey, KEY_READ | KEY_SET_VALUE);
  if (!key) return false;
  std::wstring n = wide(name), t = wide(text);
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool exists = readRegValue(key.get(), n, type, data);
  if (exists && isText(type) && textOf(data) == t) return true;  // unchanged: nothing written
  DWORD newType = exists && type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
  auto bytes = static_cast<DWORD>((t.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), n.c_str(), 0, newType, reinterpret_cast<const BYTE*>(t.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace glenvask
