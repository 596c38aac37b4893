// The six Firefox categories and their walk over the profiles folder.
#include "cleaner/firefox.h"

#include <windows.h>
#include <shlobj.h>

#include <initializer_list>
#include <vector>

#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "services/folderlist.h"
#include "services/globals.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

bool endsWith(const std::wstring& text, std::wstring_view tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One folder (ending in "\") of the walk, then each of its subfolders in the order found.
void walk(const std::wstring& folder, const std::wstring& pattern, bool cacheOnly) {
  std::vector<std::wstring> subfolders;
  for (const FolderEntry& e : listFolder(folder)) {
    doEvents();
    // A link (junction, symbolic link) is never entered: what it points to is not ours.
    if (e.isFolder() && !e.isLink()) subfolders.push_back(e.name);
  }

  if (!cacheOnly || endsWith(folder, L"\\Cache\\")) {
    for (const FolderEntry& e : listFolder(folder, pattern)) {
      if (!e.isFolder() && DeleteFileW((folder + e.name).c_str())) {
        ++FirefoxFilesDeleted;
        FirefoxSpaceGained += e.size;
      }
      doEvents();
    }
  }

  for (const auto& name : subfolders) {
    walk(folder + name + L"\\", pattern, cacheOnly);
    doEvents();
  }
}

void collect(std::string_view folder, std::string_view pattern, bool cacheOnly) {
  // An empty or relative folder would name the current folder or the root of the current
  // drive; a root is never cleaned as a whole.
  if (!isFullFolderPath(folder) || isRootFolder(folder) || pattern.empty()) return;
  std::wstring start = wide(folder);
  if (start.back() != L'\\') start += L'\\';
  walk(start, wide(pattern), cacheOnly);
}

// The category frame of the Firefox routines: a failure ends the routine without a message.
void cleanProfiles(MainWindow& w, const char* box, bool cacheOnly,
                   std::initializer_list<const char*> patterns) {
  w.trapped(nullptr, [&] {
    w.startOperation(box);
    for (const char* pattern : patterns) {
      if (cacheOnly)
        CollectFirefoxCache(GetFirefoxProfilesPath(), pattern);
      else
        CollectFirefoxFiles(GetFirefoxProfilesPath(), pattern);
    }
    w.stopOperation("");
  });
}

}  // namespace

std::string GetOSVersionName() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExW(&info)) return "";
  return osVersionName(info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId);
}

std::string GetFirefoxProfilesPath() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExW(&info)) return "";
  std::string appData, windows;
  wchar_t buf[MAX_PATH] = {};
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)))
      appData = utf8(buf);
  } else {
    DWORD n = GetEnvironmentVariableW(L"WINDIR", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) windows = utf8(std::wstring_view(buf, n));
  }
  return firefoxProfilesFolder(
      info.dwPlatformId,
      osVersionName(info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId), appData,
      windows);
}

void CollectFirefoxFiles(std::string_view folder, std::string_view pattern) {
  collect(folder, pattern, false);
}

void CollectFirefoxCache(std::string_view folder, std::string_view pattern) {
  collect(folder, pattern, true);
}

void CleanMozillaCache(MainWindow& w) { cleanProfiles(w, "chkCleanMozillaCache", true, {"*.*"}); }

void CleanMozillaHistory(MainWindow& w) {
  cleanProfiles(w, "chkCleanMozillaHistory", false, {"history.dat"});
}

void CleanMozillaDownloads(MainWindow& w) {
  cleanProfiles(w, "chkCleanMozillaDownloads", false, {"downloads.rdf"});
}

void CleanMozillaPasswords(MainWindow& w) {
  cleanProfiles(w, "chkCleanMozillaPasswords", false, {"*.s", "signons.txt", "ac-weights.txt"});
}

void CleanMozillaForms(MainWindow& w) {
  cleanProfiles(w, "chkCleanMozillaForms", false, {"*.w", "formhistory.dat"});
}

void CleanMozillaCookies(MainWindow& w) {
  cleanProfiles(w, "chkCleanMozillaCookies", false, {"cookies.txt", "cookperm.txt"});
}

}  // namespace glenvask
