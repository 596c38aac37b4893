#include "plugins/engine.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "base/like.h"
#include "base/pathtext.h"
#include "base/plugin_format.h"
#include "base/text.h"
#include "services/delete.h"
#include "services/folderlist.h"
#include "services/globals.h"
#include "services/guard.h"
#include "services/host.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

// Before every folder and entry of a walk and every line of the plug-in list. The pump is
// time-sliced: a second call right after the first would never dispatch.
void pump() { doEvents(); }

void stopWith(const char* text) {
  DeleteBackupZip();
  cleaningHost().stopOperation(text);
}

// The plug-in file's records; nothing when the file is missing, unreadable or empty.
std::optional<PluginFile> readPlugin(std::string_view path) {
  std::optional<std::string> text = readPluginText(path);
  if (!text || text->empty()) return std::nullopt;
  return parsePluginFile(*text);
}

// One pass over the file. Whatever goes wrong inside ends this pass and no other.
template <class Apply>
void runPass(std::string_view path, Apply&& apply) {
  try {
    std::optional<PluginFile> plugin = readPlugin(path);
    if (plugin) apply(*plugin);
  } catch (const std::exception&) {
  }
}

// A record with too few fields, or whose path has no backslash at all, ends its pass.
template <class Record>
bool endsPass(const Record& r, std::string_view path) {
  return !r.complete || path.find('\\') == std::string_view::npos;
}

std::wstring lowerWide(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string lowerText(std::string_view text) { return utf8(lowerWide(wide(text))); }

bool startsWith(std::wstring_view s, std::wstring_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Every occurrence of the token, in any case, replaced.
std::string replaceAllIgnoreCase(std::string_view text, std::string_view token,
                                 std::string_view by) {
  // ASCII folding keeps every byte where it was, so positions carry over.
  std::string lower = toLower(text);
  std::string lowerToken = toLower(token);
  std::string out;
  size_t from = 0;
  for (size_t at = lower.find(lowerToken); at != std::string::npos;
       at = lower.find(lowerToken, from)) {
    out.append(text.substr(from, at - from));
    out.append(by);
    from = at + token.size();
  }
  out.append(text.substr(from));
  return out;
}

bool containsIgnoreCase(std::string_view text, std::string_view token) {
  return toLower(text).find(toLower(token)) != std::string::npos;
}

// A specification that takes every file of a folder.
bool takesEveryFile(std::string_view spec) {
  return spec == "*.*" || (!spec.empty() && spec.find_first_not_of('*') == std::string::npos);
}

bool isDriveOnly(std::wstring_view w) {
  return w.size() == 2 && w[1] == L':' &&
         ((w[0] >= L'a' && w[0] <= L'z') || (w[0] >= L'A' && w[0] <= L'Z'));
}

bool hasDrive(std::wstring_view w) {
  return w.size() >= 2 && isDriveOnly(w.substr(0, 2)) && (w.size() == 2 || w[2] == L'\\');
}

// One call of CollectPluginFiles: the file pattern prepared once for the whole walk.
class Collector {
 public:
  Collector(std::string_view spec, bool deleteFolders, bool recurse)
      : everyFile_(spec == "*.*"), spec_(lowerText(spec)), deleteFolders_(deleteFolders),
        recurse_(recurse) {}

  void walk(const std::string& folder) {
    pump();
    if (bAbort) return stopWith(kPluginAbortedOnEntry);
    // The whole folder is listed before anything in it is looked at.
    std::vector<FolderEntry> entries = listFolder(wide(folder));
    for (const FolderEntry& e : entries) {
      pump();
      if (bAbort) return stopWith(kPluginAbortedInWalk);
      // Junctions and symbolic links are neither entered nor taken: a link to a file would
      // hand its target to the delete path.
      if (e.isLink()) continue;
      std::string path = folder + "\\" + utf8(e.name);
      if (!e.isFolder()) {
        if (matches(e.name)) arrFiles.push_back(std::move(path));
      } else if (recurse_) {
        walk(path);
      }
    }
    // A stopped walk has not seen all of the folder: it is not taken.
    if (deleteFolders_ && !bAbort && folder != PluginRoot) arrFolders.push_back(folder);
  }

 private:
  bool matches(const std::wstring& name) const {
    if (everyFile_) return true;
    std::string lower = utf8(lowerWide(name));
    // A specification that is the file's own name takes it even when the name holds a
    // character that patterns read otherwise ("#", "[").
    return lower == spec_ || like(lower, spec_);
  }

  bool everyFile_;
  std::string spec_;
  bool deleteFolders_, recurse_;
};

// An INI record's folder: a full path (drive or network name) ending in a backslash. A bare
// name would reach the INI files of the Windows folder.
bool isSafeIniFolder(std::string_view path) {
  std::wstring w = wide(path);
  if (w.empty() || w.back() != L'\\') return false;
  return hasDrive(w) || (startsWith(w, L"\\\\") && w.size() > 2 && w[2] != L'\\');
}

}  // namespace

std::optional<std::string> readPluginText(std::string_view path) {
  if (std::optional<std::string> bytes = readFileBytes(path)) return fromFileText(*bytes);
  if (isUsablePathLength(path) && fileExists(path)) return std::nullopt;
  return std::string();
}

PluginSave writePluginText(std::string_view path, std::string_view text) {
  std::optional<std::string> ansi = toAnsiText(text);
  if (!ansi) return PluginSave::NotInCodePage;
  return writeFileAtomic(path, *ansi) ? PluginSave::Saved : PluginSave::Failed;
}

bool RunPlugin(std::string_view path) {
  if (path.empty() || !fileExists(path)) return false;
  RunPluginINI(path);
  RunPluginFiles(path);
  RunPluginRegistry(path);
  return true;
}

void RunPluginINI(std::string_view path) {
  runPass(path, [](const PluginFile& plugin) {
    for (const PluginIniRecord& r : plugin.iniEntries) {
      if (!r.complete) return;
      if (!isSafeIniFolder(r.path)) continue;
      if (r.deletesSection())
        DeleteINIEntry(r.section, "", r.fullPath(), true);
      else
        DeleteINIEntry(r.section, r.value, r.fullPath(), false);
    }
  });
}

void RunPluginFiles(std::string_view path) {
  runPass(path, [](const PluginFile& plugin) {
    for (const PluginFilesRecord& r : plugin.files) {
      if (endsPass(r, r.location)) return;
      std::string folder = r.folder(), spec = r.specification();
      if (folder.find('%') != std::string::npos) {
        folder = ExpandPluginPath(folder);
        if (folder.empty()) continue;
      }
      if (!isSafePluginFolder(folder, spec)) continue;
      PluginRoot = folder;
      CollectPluginFiles(folder, r.deletesSubfolders(), r.recurses(), spec);
    }
  });
}

void RunPluginRegistry(std::string_view path) {
  runPass(path, [](const PluginFile& plugin) {
    for (const PluginRegistryRecord& r : plugin.registry) {
      if (endsPass(r, r.key)) return;
      std::string subkey = r.subkey();
      if (!isSafeRegistrySubkey(subkey)) continue;
      std::uint32_t root = r.rootHandle();
      if (root == 0) continue;  // an unknown root opens nothing
      if (r.deletesSubkey()) {
        DeleteRegKeyTree(root, subkey);
      } else {
        // One value: a character 0 would make it a list of names.
        if (r.value.find('\0') != std::string::npos) continue;
        DeleteRegValues(root, r.value, subkey);
      }
    }
  });
}

bool DeleteINIEntry(std::string_view section, std::string_view key, std::string_view iniPath,
                    bool wholeSection) {
  // The platform would create a missing file just to remove nothing from it.
  if (iniPath.empty() || !fileExists(iniPath)) return false;
  std::wstring file = wide(iniPath);
  std::wstring sect = wide(section);
  if (wholeSection) return WritePrivateProfileStringW(sect.c_str(), nullptr, nullptr, file.c_str());
  if (key.empty()) return false;
  return WritePrivateProfileStringW(sect.c_str(), wide(key).c_str(), nullptr, file.c_str());
}

void CollectPluginFiles(const std::string& folder, bool deleteFolders, bool recurse,
                        std::string_view specification) {
  Collector(specification, deleteFolders, recurse).walk(folder);
}

PluginPathFolders systemPluginFolders() {
  return {GetProgramFilesDir(cleaningHost().ownerWindow()), GetSystemDir(), GetWindowsDir()};
}

std::string ExpandPluginPath(std::string_view folder) {
  if (folder.find('%') == std::string_view::npos) return std::string(folder);
  return ExpandPluginPath(folder, systemPluginFolders());
}

std::string ExpandPluginPath(std::string_view folder, const PluginPathFolders& folders) {
  std::string text(folder);
  constexpr std::string_view kProgDir = "%PROGDIR%", kSysDir = "%SYSDIR%", kWinDir = "%WINDIR%";
  if (containsIgnoreCase(text, kProgDir)) {
    std::string programFiles = folders.programFiles;
    if (programFiles.empty()) {
      // The system folder's drive, when it has one.
      if (folders.system.find(':') != 1) return "";
      programFiles = folders.system.substr(0, 2) + "\\Program Files";
    }
    text = replaceAllIgnoreCase(text, kProgDir, programFiles);
  }
  if (containsIgnoreCase(text, kSysDir)) {
    if (folders.system.empty()) return "";
    text = replaceAllIgnoreCase(text, kSysDir, folders.system);
  }
  if (containsIgnoreCase(text, kWinDir)) {
    if (folders.windows.empty()) return "";
    text = replaceAllIgnoreCase(text, kWinDir, folders.windows);
  }
  return text;
}

std::uint32_t GetHKeyFromName(std::string_view rootName) { return registryRootHandle(rootName); }

bool isSafeRegistrySubkey(std::string_view subkey) {
  if (subkey.empty() || subkey.front() == '\\') return false;
  return subkey.find_first_not_of(" \t\\") != std::string_view::npos;
}

bool isSafePluginFolder(std::string_view folder, std::string_view specification) {
  std::wstring w = wide(folder);
  for (wchar_t& c : w)
    if (c == L'/') c = L'\\';
  // Device and raw names escape every rule below.
  if (startsWith(w, L"\\\\?\\") || startsWith(w, L"\\\\.\\") || startsWith(w, L"\\??\\"))
    return false;
  bool unc = startsWith(w, L"\\\\");
  if (!unc && !hasDrive(w)) return false;  // relative: it would depend on the current folder
  // No "." or ".." step (nor a step of dots and blanks, which the platform reads as one).
  int steps = 0;
  for (size_t i = 2; i <= w.size();) {
    size_t end = std::min(w.find(L'\\', i), w.size());
    std::wstring_view step(w.data() + i, end - i);
    if (!step.empty()) {
      ++steps;
      if (step.find_first_not_of(L". ") == std::wstring_view::npos) return false;
    }
    i = end + 1;
  }
  if (unc && steps < 2) return false;  // a server without a share
  if (!takesEveryFile(specification)) return true;
  // Every file of a root or a protected folder, or of a folder that holds one of them.
  return !isProtectedCleaningRoot(utf8(w));
}

std::string pluginFolderPath() { return appPath() + "\\" + std::string(kPluginFolderName) + "\\"; }

bool RunCheckedPlugins(const std::function<void()>& deleteCollected) {
  if (std::optional<std::string> text = readPluginText(appFile(kPluginListFileName))) {
    for (const PluginListEntry& e : parsePluginList(*text)) {
      pump();
      if (bAbort) {
        stopWith(kPluginAbortedOnEntry);
        return false;
      }
      if (!e.checked || !isBareFileName(e.fileName)) continue;
      std::string path = pluginFolderPath() + e.fileName;
      if (!fileExists(path)) continue;
      ResetScanLists();
      RunPlugin(path);
      if (deleteCollected) deleteCollected();
    }
  }
  // A stop inside the last plug-in ends the run as one between plug-ins does.
  if (bAbort) {
    stopWith(kPluginAbortedOnEntry);
    return false;
  }
  return true;
}

}  // namespace glenvask
