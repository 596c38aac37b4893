// The backups tests' archives (hostile names too), byte edits, and a Backups page stand-in.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/zip.h"
#include "options/backups.h"
#include "services/settings.h"

namespace glenvask::test {

inline const DateTime kEntryTime{2024, 3, 1, 10, 20, 30};

struct Item {
  std::string name, data;
  std::uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
};

// An archive of the items; without its directory when `finish` is false (as a kill leaves it).
inline std::string makeArchive(const std::string& path, const std::vector<Item>& items,
                               bool finish = true) {
  MemoryZipFile zip;
  ZipWriter w(zip);
  w.open();
  for (const auto& it : items)
    EXPECT_TRUE(w.add({it.name, toDosTime(kEntryTime), it.attributes, it.data.size()},
                      [data = std::string_view(it.data)](char* b, std::size_t cap) mutable {
                        std::size_t n = std::min(cap, data.size());
                        std::copy_n(data.data(), n, b);
                        data.remove_prefix(n);
                        return static_cast<std::int64_t>(n);
                      }));
  if (finish) w.finish();
  EXPECT_TRUE(writeFileAtomic(path, zip.bytes)) << path;
  return path;
}

template <class Edit>
void editFile(const std::string& path, Edit edit) {
  std::string bytes = readFileBytes(path).value_or("");
  edit(bytes);
  ASSERT_TRUE(writeFileAtomic(path, bytes));
}

// Marks every entry encrypted, in its local header and its directory record.
inline void markEncrypted(std::string& zip) {
  for (auto [sig, flags] : {std::pair{"PK\x03\x04", 6}, std::pair{"PK\x01\x02", 8}})
    for (auto p = zip.find(sig); p != std::string::npos; p = zip.find(sig, p + 4))
      zip[p + flags] |= 1;
}

class PageWindow : public Window {
 public:
  BackupList backups;
  OptionGroup rules;  // Always, Newer, Prompt, Never
  bool make() { return create({"Backups", 760, 330}); }
  // Lists the folder and selects the archive (no row for "").
  void select(const std::string& folder, const std::string& archive) {
    backups.LoadBackupList(folder);
    ListView& l = backups.lstvZip;
    for (size_t i = 0; i < l.rowCount(); ++i) l.select(i, l.rowText(i, kBackupColName) == archive);
  }

 protected:
  const wchar_t* className() const override { return L"GlenvaskTestBackupPage"; }
  bool onCreate() override {
    const char* names[] = {"Always", "Newer", "Prompt", "Never"};
    for (int i = 0; i < 4; ++i)
      addControl(optionButton(names[i], -1, names[i], 10 + 100 * i, 300, 90, 20, i == 0));
    rules.bind(*this, {"Always", "Newer", "Prompt", "Never"});
    return backups.create(*this, {10, 10, 750, 290});
  }
  void onCommand(int id, int, HWND) override {
    backups.onCommand(id, overwriteRuleOf(rules.chosen()));
  }
  void onDestroy() override { backups.detach(); }
};

}  // namespace glenvask::test
