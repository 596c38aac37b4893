// The browser, history and system categories: the Recycle Bin, the URL cache, cookies, typed
// addresses, the URL history, the run, find, install-from and Office lists, the clipboard and
// the plug-ins. Each runs inside the run's frame: the arrow beside its box, counters and lists
// emptied, its work, its log line and stopOperation, all in its error trap.
#include <windows.h>
#include <wininet.h>

#include <urlhist.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/pathtext.h"
#include "base/sizes.h"
#include "base/text.h"
#include "cleaner/categories_system.h"
#include "cleaner/frmMain.h"
#include "cleaner/routines.h"
#include "plugins/engine.h"
#include "services/delete.h"
#include "services/globals.h"
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

constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr const char* kRunMRU = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
constexpr const char* kTypedURLs = "Software\\Microsoft\\Internet Explorer\\TypedURLs\\";
constexpr const char* kInstallLocations = "InstallLocationsMRU\\";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
constexpr const char* kSearchBar =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
    "{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
constexpr const char* kSearchAssistant = "Software\\Microsoft\\Search Assistant\\ACMru";

// The URL history object and the interface whose ClearHistory empties it.
constexpr CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string sizeText(std::int64_t bytes) {
  return FormatFileSize(static_cast<double>(bytes), 2, true);
}

// The platform's text for a failure code, for the error trap's message.
std::string describe(HRESULT hr) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           nullptr, static_cast<DWORD>(hr), 0,
                           reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : L"";
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (!text.empty()) return utf8(text);
  char code[32];
  std::snprintf(code, sizeof code, "Error 0x%08lX", static_cast<unsigned long>(hr));
  return code;
}

void check(HRESULT hr) {
  if (FAILED(hr)) throw std::runtime_error(describe(hr));
}

std::wstring lowerWide(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::size_t countNames(const std::string& names) {
  return names.empty() ? 0 : split(names, '\0').size();
}

// The applications of the Office lists and the file dialogs of each, in order.
struct OfficeApp {
  const char* name;
  std::vector<const char*> dialogs;
};
const std::vector<OfficeApp>& officeApps() {
  static const std::vector<OfficeApp> apps = {
      {"Access",
       {"Backup Database", "Convert Database Into", "Convert from database", "File New Database",
        "Import", "New From Existing File", "Open"}},
      {"Excel", {"Open", "Save As"}},
      {"FrontPage",
       {"File Open", "New Publish Location", "Open File", "Picture", "Save As",
        "Select Background Picture"}},
      {"PowerPoint", {"Open", "Save As"}},
      {"Word", {"Insert Picture", "Open", "Save As"}},
  };
  return apps;
}

}  // namespace

std::int64_t ClearRegValues(std::string_view subkey) {
  std::string names = GetRegValueNames(kHkeyCurrentUser, subkey);
  if (names.empty()) return 0;
  DeleteRegValues(kHkeyCurrentUser, names, subkey);
  // Only what is really gone counts: a value that could not be deleted is still listed.
  std::size_t before = countNames(names);
  std::size_t left = countNames(GetRegValueNames(kHkeyCurrentUser, subkey));
  return before > left ? static_cast<std::int64_t>(before - left) : 0;
}

void ClearOfficeMRU(std::string_view version) {
  std::string office = "Software\\Microsoft\\Office\\" + std::string(version);
  for (const OfficeApp& app : officeApps()) {
    for (const char* dialog : app.dialogs) {
      try {
        ClearRegValues(office + "\\Common\\Open Find\\Microsoft " + app.name + "\\Settings\\" +
                       dialog + "\\File Name MRU\\");
      } catch (const std::exception&) {
      }
    }
    try {
      ClearRegValues(office + "\\" + app.name + "\\Recent Files\\");
    } catch (const std::exception&) {
    }
  }
}

std::string ReadKeptCookies() {
  std::optional<std::string> bytes = readFileBytes(appFile(kKeptCookiesFile));
  if (!bytes || bytes->empty()) return "";
  return fromFileText(*bytes);
}

bool IsKeptCookie(std::string_view keptText, std::string_view path) {
  if (keptText.empty() || path.empty()) return false;
  return lowerWide(wide(keptText)).find(lowerWide(wide(path))) != std::wstring::npos;
}

void RecycleBinTotals(std::int64_t& items, std::int64_t& bytes) {
  items = 0, bytes = 0;
  QueryRecycleBin("", bytes, items);
  if (items != 0) return;
  bytes = 0;
  std::string drives = GetLogicalDriveList();
  if (drives.size() < 4 || drives.find('\0') == std::string::npos) return;
  for (const std::string& root : split(drives, '\0')) {
    if (root.empty() || GetDriveTypeName(root) != "Hard drive") continue;
    std::int64_t n = 0, size = 0;
    QueryRecycleBin(root, size, n);
    items += n;
    bytes += size;
  }
}

void CleanRecycleBin(MainWindow& w) {
  w.trapped("There was an error in cleaning the Recycle Bin. ", [&] {
    w.beginStep("chkRecycleBin");
    std::int64_t items = 0, bytes = 0;
    RecycleBinTotals(items, bytes);
    EmptyRecycleBin("", true, true, true);
    // The platform may report success while items stay behind (one held open, say): only
    // what left the bins is counted.
    std::int64_t itemsLeft = 0, bytesLeft = 0;
    if (items > 0) RecycleBinTotals(itemsLeft, bytesLeft);
    std::int64_t deleted = std::max<std::int64_t>(0, items - itemsLeft);
    std::int64_t freed = deleted > 0 ? std::max<std::int64_t>(0, bytes - bytesLeft) : 0;
    TotalFilesDeleted += deleted;
    TotalSpaceGained += freed;
    CleanupLog += "Recycle Bin... Files Deleted: " + std::to_string(deleted) +
                  " Space Gained: " + sizeText(freed) + "\r\n";
    w.stopOperation("");
  });
}

void CleanCache(MainWindow& w) {
  w.trapped("There was an error cleaning the Temporary Internet Files (Cache). ", [&] {
    w.beginStep("chkCache");
    std::vector<std::wstring> urls;
    // Cookies have a category of their own.
    ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
      if (!e.isCookie() && !e.url.empty()) urls.push_back(e.url);
    });
    for (const std::wstring& url : urls) DeleteUrlCacheEntryW(url.c_str());
    CleanupLog += "Temporary Internet Files (Cache)...\r\n";
    w.stopOperation("");
  });
}

void CleanCookies(MainWindow& w) {
  w.trapped("There was an error in cleaning Cookies. ", [&] {
    std::string kept = ReadKeptCookies();
    w.beginStep("chkCookies");
    // The cache's own records of the cookies that are not kept.
    std::vector<UrlCacheEntry> unkept;
    ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
      doEvents();
      if (e.isCookie() && !IsKeptCookie(kept, utf8(e.localFile))) unkept.push_back(e);
    });

    // The cookie files. Whatever fails here is passed over and the next statement runs.
    auto step = [](auto&& body) {
      try {
        body();
      } catch (const std::exception&) {
      }
    };
    w.CategoryFileCount = 0;
    w.CategorySpace = 0;
    step([&] { w.markAgainLower("chkCookies"); });
    std::string folder;
    bool exists = false;
    step([&] {
      folder = GetRegString(kHkeyCurrentUser, kShellFolders, "Cookies");
      if (folder.size() <= 1) return;
      // One backslash at the end: the paths must read as the kept-cookies file writes them.
      if (folder.back() != '\\') folder += '\\';
      if (folder.find('%') != std::string::npos) ExpandSystemRoot(folder);
      exists = isUsablePathLength(folder) && folderExists(folder);
    });
    if (exists) {
      step([&] { ResetScanLists(); });
      step([&] { ScanFolder(folder, "*.txt", kScanCollect); });
    }
    if (exists && !arrFiles.empty()) {
      step([&] { kept = ReadKeptCookies(); });
      step([&] { w.setProgressItems(arrFiles.size()); });
      for (size_t i = 0; i < arrFiles.size(); ++i) {
        step([&] {
          doEvents();
          std::string path = arrFiles[i];
          std::int64_t length = 0;
          if (!IsKeptCookie(kept, path) && DeleteJunkFile(path, &length) != 0) {
            ++TotalFilesDeleted;
            TotalSpaceGained += length;
            ++w.CategoryFileCount;
            w.CategorySpace += length;
          }
        });
        step([&] { w.setProgress(static_cast<int>(std::min<size_t>(i + 1, INT32_MAX))); });
      }
    }
    // A cookie whose file is gone leaves no record behind in the cache.
    for (const UrlCacheEntry& e : unkept) {
      if (e.localFile.empty() || GetFileAttributesW(e.localFile.c_str()) == INVALID_FILE_ATTRIBUTES)
        DeleteUrlCacheEntryW(e.url.c_str());
    }

    w.logCategory("Cookies... ");
    w.stopOperation("");
  });
}

namespace {

// A history list of the current user emptied of its values; the log line counts them.
void clearListStep(MainWindow& w, const char* message, const char* box, const char* key,
                   const char* logText) {
  w.trapped(message, [&] {
    w.beginStep(box);
    std::int64_t count = ClearRegValues(key);
    CleanupLog += logText + std::to_string(count) + "\r\n";
    w.stopOperation("");
  });
}

}  // namespace

void CleanTypedURL(MainWindow& w) {
  clearListStep(w, "There was an error in cleaning the History. ", "chkURLHistory", kTypedURLs,
                "Typed URLs... Files Deleted: ");
}

void CleanHistory(MainWindow& w) {
  w.trapped("There was an error in cleaning the History. ", [&] {
    w.beginStep("chkHistory");
    ComScope com;
    ComPtr<IUrlHistoryStg2> history;
    check(CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                           history.putVoid()));
    check(history->ClearHistory());
    w.stopOperation("");
    CleanupLog += "History...\r\n";
  });
}

void CleanRunMRU(MainWindow& w) {
  clearListStep(w, "There was an error in cleaning the Run MRU. ", "chkRunMRU", kRunMRU,
                "Windows run history... Files Deleted: ");
}

void CleanFindHistory(MainWindow& w) {
  w.trapped("There was an error in cleaning the Find History. ", [&] {
    w.beginStep("chkFindHistory");
    const std::string e = kExplorer;
    const std::string bar = kSearchBar;
    for (const std::string& key :
         {e + "Doc Find Spec MRU", e + "FindComputerMRU", e + "PrnPortsMRU",
          e + "MenuOrder\\Start Menu\\Find\\Menu", e + "MenuOrder\\Start Menu\\Find",
          bar + "ContainingTextMRU", bar + "FilesNamedMRU", std::string(kSearchAssistant)})
      ClearRegValues(key);
    for (const std::string& key :
         {e + "MenuOrder\\Start Menu\\Find\\Menu", e + "MenuOrder\\Start Menu\\Find",
          bar + "ContainingTextMRU", bar + "FilesNamedMRU", std::string(kSearchAssistant)})
      DeleteRegKeyTree(kHkeyCurrentUser, key);
    w.stopOperation("");
  });
}

void CleanInstallMRU(MainWindow& w) {
  w.trapped("There was an error in cleaning Install MRU. ", [&] {
    w.beginStep("chkInstallFrom");
    ClearRegValues(kInstallLocations);
    w.stopOperation("");
    CleanupLog += "Install from history...\r\n";
  });
}

void CleanOfficeHistory(MainWindow& w) {
  w.trapped("There was an error in cleaning the MS OfficeRegistry History Lists. ", [&] {
    w.beginStep("chkOffice");
    for (const char* version : {"10.0", "9.0", "8.0"}) ClearOfficeMRU(version);
    w.stopOperation("");
    CleanupLog += "MS Office history...\r\n";
  });
}

void CleanClipboard(MainWindow& w) {
  w.trapped(
      "There was an error in cleaning the Clipboard",
      [&] {
        w.beginStep("chkClipBoard");
        // Another program may hold the clipboard for a moment.
        bool open = false;
        for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(w.hwnd())); ++attempt)
          Sleep(20);
        if (!open) throw std::runtime_error("Can't open Clipboard");
        BOOL emptied = EmptyClipboard();
        DWORD error = GetLastError();
        CloseClipboard();
        if (!emptied) check(HRESULT_FROM_WIN32(error ? error : ERROR_ACCESS_DENIED));
        CleanupLog += "Windows Clipboard...\r\n";
        w.stopOperation("");
      },
      true);
}

void CleanPlugins(MainWindow& w) {
  w.trapped("There was an error in cleaning the plugins. . ", [&] {
    w.beginStep("chkPlugins");
    bool reachedEnd = RunCheckedPlugins([&w] {
      w.deleteFiles();
      w.deleteFolders();
    });
    if (!reachedEnd) return;  // stopped: the engine has ended the run with its text
    w.stopOperation("");
    w.logCategory("Plugins... ");
  });
}

}  // namespace glenvask
