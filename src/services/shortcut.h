// Reading shell shortcut files (.lnk): their target path and working folder, through the
// shell link object.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/handle.h"

namespace glenvask {

struct ShortcutTargets {
  std::string target;      // the target path, "" when the link has none in the file system
  std::string workFolder;  // the working folder, "" when absent
};

// Opens each shortcut in a new shell link object of its own. COM is initialised on this
// thread for the reader's lifetime when it is not already.
class ShortcutReader {
 public:
  ShortcutReader();
  ShortcutReader(const ShortcutReader&) = delete;
  ShortcutReader& operator=(const ShortcutReader&) = delete;

  // Nothing when the file cannot be read as a shortcut.
  std::optional<ShortcutTargets> read(std::string_view path);

 private:
  ComScope com_;  // before the factory: it goes last
  ComPtr<IClassFactory> factory_;
};

}  // namespace glenvask
