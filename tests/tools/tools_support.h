// What the tool window tests share: registry values of any type written in one call, a key made
// and removed with the test, and rows of a list found and picked (with support/prefix.h).
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "support/prefix.h"
#include "tools/toollist.h"
#include "win/unicode.h"

namespace glenvask::test {

inline HKEY makeKey(HKEY root, const std::string& subkey) {
  HKEY k = nullptr;
  RegCreateKeyExW(root, wide(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  return k;
}

inline void setBytes(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
                     const std::string& bytes) {
  HKEY k = makeKey(root, subkey);
  RegSetValueExW(k, wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(k);
}

inline void setText(HKEY root, const std::string& subkey, const std::string& name,
                    const std::string& text, DWORD type = REG_SZ) {
  std::wstring t = wide(text);
  setBytes(root, subkey, name, type,
           {reinterpret_cast<const char*>(t.c_str()), (t.size() + 1) * 2});
}

inline void setNumber(HKEY root, const std::string& subkey, const std::string& name, DWORD v) {
  setBytes(root, subkey, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&v), 4));
}

// A key of the prefix made for one test and removed with everything below it at the end.
class TestKey {
 public:
  TestKey(HKEY root, std::string subkey) : root_(root), subkey_(std::move(subkey)) {
    SHDeleteKeyW(root_, wide(subkey_).c_str());
    RegCloseKey(makeKey(root_, subkey_));
  }
  ~TestKey() { SHDeleteKeyW(root_, wide(subkey_).c_str()); }
  const std::string& subkey() const { return subkey_; }

 private:
  HKEY root_;
  std::string subkey_;
};

// Selects the row alone, as a click does.
inline void selectOnly(ListView& l, size_t row) {
  for (size_t i : l.selectedRows()) l.select(i, false);
  l.select(row);
}

// The first row whose first cell is the text (and whose cell `col` holds `mark`); -1 if none.
inline size_t rowOf(const ListView& l, const std::string& first, size_t col = 0,
                    const std::string& mark = "") {
  for (size_t i = 0; i < l.rowCount(); ++i)
    if (l.rowText(i, 0) == first && l.rowText(i, col).find(mark) != std::string::npos) return i;
  return size_t(-1);
}

// The cells of every row whose cell `col` holds `text`.
inline std::vector<std::vector<std::string>> rowsWith(const ListView& l, size_t col,
                                                      const std::string& text) {
  std::vector<std::vector<std::string>> out;
  for (size_t i = 0; i < l.rowCount(); ++i)
    if (l.rowText(i, col).find(text) != std::string::npos) out.push_back(l.row(i).cells);
  return out;
}

}  // namespace glenvask::test
