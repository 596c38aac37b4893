// Orphaned ActiveX components: the components registered under the local machine's Active
// Setup key with their IsInstalled and StubPath values. Components not marked installed come
// first, checked; Delete removes each checked component's key with everything below it.
#pragma once

#include "tools/refscan.h"
#include "win/ids.h"

namespace glenvask {

inline constexpr const char* kInstalledComponentsKey =
    "Software\\Microsoft\\Active Setup\\Installed Components";

class InvalidActiveXWindow : public ReferenceScanner {
 public:
  void cmdDelete_Click() override;
  ToolListView& lstvInvalid = list();

 protected:
  friend InvalidActiveXWindow& soleInstance<InvalidActiveXWindow>();
  InvalidActiveXWindow();
  void scan() override;
};

inline InvalidActiveXWindow& frmInvalidActivex() { return soleInstance<InvalidActiveXWindow>(); }

}  // namespace glenvask
