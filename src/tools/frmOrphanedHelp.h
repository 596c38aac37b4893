// Orphaned help files: the values of the local machine's Help and HTML Help keys, each named
// by a help file and holding the folder it is in. Entries whose file is not in its folder
// come first, checked; Delete removes the checked values (and, when asked, sends existing
// files to the Recycle Bin); Edit changes an entry's folder.
#pragma once

#include "tools/refscan.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kHelpKey = "Software\\Microsoft\\Windows\\Help";
inline constexpr const char* kHtmlHelpKey = "Software\\Microsoft\\Windows\\HTML Help";

class InvalidHelpWindow : public ReferenceScanner {
 public:
  void cmdDelete_Click() override;
  void cmdEdit_Click() override;
  ToolListView& lstvInvalid = list();

 protected:
  friend InvalidHelpWindow& soleInstance<InvalidHelpWindow>();
  InvalidHelpWindow();
  void scan() override;

 private:
  void ScanHelpKey(const std::string& key);
};

inline InvalidHelpWindow& frmInvalidHelp() { return soleInstance<InvalidHelpWindow>(); }

}  // namespace glenvask
