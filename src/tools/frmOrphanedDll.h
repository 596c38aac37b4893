// Orphaned shared DLLs: the values of the local machine's SharedDLLs key, each named by a
// shared library's path and holding its use count. Libraries that are missing come first,
// checked; Delete removes the checked values and, when asked, sends their files to the
// Recycle Bin.
#pragma once

#include "tools/refscan.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kSharedDllsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class OrphanedDllWindow : public ReferenceScanner {
 public:
  void cmdDelete_Click() override;
  ToolListView& lstvOrphanedDLL = list();

 protected:
  friend OrphanedDllWindow& soleInstance<OrphanedDllWindow>();
  OrphanedDllWindow();
  void scan() override;
  void endScan(bool stopped) override;

 private:
  // The status line: "120 entries, 3 with missing files, 0 with zero usage count".
  void showCounts(size_t entries, size_t missing);
  size_t names_ = 0, zero_ = 0;
};

inline OrphanedDllWindow& frmOrphanedDLL() { return soleInstance<OrphanedDllWindow>(); }

}  // namespace glenvask
