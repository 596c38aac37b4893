// Orphaned application paths: the entries of the local machine's App Paths key, each named
// after an application and holding its full path. Entries whose file is missing come first,
// checked; Delete removes the checked entries (and, when asked, sends existing files to the
// Recycle Bin); Edit changes an entry's path.
#pragma once

#include "tools/refscan.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kAppPathsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

class InvalidAppPathWindow : public ReferenceScanner {
 public:
  void cmdDelete_Click() override;
  void cmdEdit_Click() override;
  ToolListView& lstvInvalid = list();

 protected:
  friend InvalidAppPathWindow& soleInstance<InvalidAppPathWindow>();
  InvalidAppPathWindow();
  void scan() override;
};

inline InvalidAppPathWindow& frmInvalidAppPath() { return soleInstance<InvalidAppPathWindow>(); }

// The row a scanner's Edit works on: the highlighted row, else the first.
std::optional<size_t> rowToEdit(const ToolListView& list);

}  // namespace glenvask
