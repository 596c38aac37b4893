// What the tests that touch the prefix's own state share: registry values set for one test and
// put back, registry checks under any root, file attributes, the Recycle Bin, URL cache entries.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "services/settings.h"
#include "services/urlcache.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask::test {

inline bool hasValue(HKEY root, const std::string& subkey, const std::string& name) {
  return RegGetValueW(root, wide(subkey).c_str(), wide(name).c_str(), RRF_RT_ANY, nullptr, nullptr,
                      nullptr) == ERROR_SUCCESS;
}

// A registry value set (or removed, for no data) for one test and put back, with its type, at
// its end; the first key the test had to create goes again.
class SavedValue {
 public:
  SavedValue(HKEY root, const std::string& subkey, const std::string& name,
             const std::optional<std::string>& data, DWORD type = REG_SZ)
      : root_(root), key_(subkey), name_(wide(name)) {
    while (key_.ends_with('\\')) key_.pop_back();
    for (size_t i = 0; created_.empty() && i != std::string::npos;)
      if (!hasKey(root_, key_.substr(0, i = key_.find('\\', i + 1)))) created_ = key_.substr(0, i);
    DWORD size = 0;
    std::wstring k = wide(key_), w = wide(data.value_or("")) + L'\0';
    if (!RegGetValueW(root_, k.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_,
                      nullptr, &size)) {
      old_.emplace(size, '\0');
      RegGetValueW(root_, k.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                   old_->data(), &size);
    }
    put(data ? std::optional(std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2))
             : std::nullopt,
        type);
  }
  ~SavedValue() {
    if (created_.empty())
      put(old_, oldType_);
    else
      SHDeleteKeyW(root_, wide(created_).c_str());
  }
  SavedValue(const SavedValue&) = delete;

 private:
  void put(const std::optional<std::string>& bytes, DWORD type) {
    std::wstring key = wide(key_);
    if (!bytes)
      RegDeleteKeyValueW(root_, key.c_str(), name_.c_str());
    else
      EXPECT_EQ(RegSetKeyValueW(root_, key.c_str(), name_.c_str(), type, bytes->data(),
                                static_cast<DWORD>(bytes->size())),
                ERROR_SUCCESS)
          << key_;
  }
  HKEY root_;
  std::string key_, created_;
  std::wstring name_;
  std::optional<std::string> old_;
  DWORD oldType_ = REG_SZ;
};

inline void setAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(wide(path).c_str(), attributes)) << path;
}

// An entry of the URL cache, with a file of the content when there is one.
inline void cacheEntry(const std::wstring& url, DWORD type, const std::string& content = "") {
  wchar_t file[MAX_PATH] = {};
  if (!content.empty()) {
    ASSERT_TRUE(CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0) &&
                writeFileAtomic(utf8(file), content));
  }
  FILETIME none{};
  ASSERT_TRUE(CommitUrlCacheEntryW(url.c_str(), content.empty() ? nullptr : file, none, none, type,
                                   nullptr, 0, nullptr, nullptr));
}

// Whether the URL cache lists the address (the platform's own lookup answers "there" for a
// non-ASCII address that is gone).
inline bool cached(const std::wstring& url) {
  bool found = false;
  ForEachUrlCacheEntry([&](const UrlCacheEntry& e) { found |= e.url == url; });
  return found;
}

// Sends the files to the Recycle Bin as the shell does; whether it did.
inline bool recycle(const std::vector<std::string>& paths) {
  std::wstring from;
  for (const auto& p : paths) from += wide(p) + L'\0';
  SHFILEOPSTRUCTW op{.wFunc = FO_DELETE,
                     .pFrom = from.c_str(),  // the string's own null ends the list
                     .fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

// Items in the Recycle Bins of every drive.
inline std::int64_t binItems() {
  SHQUERYRBINFO q{sizeof q};
  SHQueryRecycleBinW(L"", &q);
  return q.i64NumItems;
}

}  // namespace glenvask::test
