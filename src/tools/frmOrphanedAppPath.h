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
  static InvalidAppPathWindow& instance() {
    static InvalidAppPathWindow window;
    return window;
  }
  void cmdDelete_Click() override;
  void cmdEdit_Click() override;
  ToolListView& lstvInvalid = list();

 protected:
  InvalidAppPathWindow();
  void scan() override;
  void endScan(bool stopped) override;

 private:
  size_t orphaned_ = 0;
};

inline InvalidAppPathWindow& frmInvalidAppPath() { return InvalidAppPathWindow::instance(); }

// The row a scanner's Edit works on: the highlighted row, else the first.
std::optional<size_t> rowToEdit(const ToolListView& list);

}  // namespace glenvask
