#include "services/scanner.h"

#include <shlwapi.h>

#include <memory>
#include <vector>

#include "base/like.h"
#include "base/sizes.h"
#include "base/text.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/lists.h"
#include "services/shortcut.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

ScanReporter g_nobody;
ScanReporter* g_reporter = nullptr;
std::unique_ptr<ShortcutReader> g_shortcuts;

// Text in upper case as the lists compare it (every script, not only ASCII). The buffers are
// the caller's so that a scan reuses them from file to file.
void upperInto(std::wstring_view text, std::wstring& wideBuf, std::string& out) {
  wideBuf.assign(text);
  if (!wideBuf.empty()) CharUpperBuffW(wideBuf.data(), static_cast<DWORD>(wideBuf.size()));
  out.clear();
  if (wideBuf.empty()) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, wideBuf.data(), static_cast<int>(wideBuf.size()),
                              nullptr, 0, nullptr, nullptr);
  out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(CP_UTF8, 0, wideBuf.data(), static_cast<int>(wideBuf.size()), out.data(),
                      n, nullptr, nullptr);
}

std::string upperOf(std::string_view text) {
  std::wstring w;
  std::string out;
  upperInto(wide(text), w, out);
  return out;
}

std::vector<std::string> upperList(const std::vector<std::string>& list) {
  std::vector<std::string> out;
  out.reserve(list.size());
  for (const auto& entry : list) out.push_back(upperOf(entry));
  return out;
}

// An unnecessary-file pattern in upper case. Most are "*.EXT", "~*.*" or a plain name: text
// and stars only. Those are matched here piece by piece, without the cost of the general
// matcher (base/like.h), with the same result: a star takes any run of characters, every
// other character itself. Patterns with "?", "#" or "[" go to the general matcher.
struct Pattern {
  enum Kind { kWhole, kStars, kWildcard } kind = kWildcard;
  std::string text;
  std::vector<std::string> pieces;  // kStars: the texts between the stars, first and last too
};

Pattern makePattern(std::string upperText) {
  Pattern p;
  if (upperText.find_first_of("?#[") != std::string::npos) {
    p.kind = Pattern::kWildcard;
  } else if (upperText.find('*') == std::string::npos) {
    p.kind = Pattern::kWhole;
  } else {
    p.kind = Pattern::kStars;
    p.pieces = split(upperText, '*');
  }
  p.text = std::move(upperText);
  return p;
}

bool matchStars(const std::vector<std::string>& pieces, std::string_view name) {
  const std::string& first = pieces.front();
  const std::string& last = pieces.back();
  if (name.size() < first.size() + last.size()) return false;
  if (name.compare(0, first.size(), first) != 0) return false;
  size_t end = name.size() - last.size();
  if (name.compare(end, last.size(), last) != 0) return false;
  // The pieces between, each at its first place after the one before (any later place would
  // only leave less room for the rest).
  size_t pos = first.size();
  for (size_t i = 1; i + 1 < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    if (piece.empty()) continue;
    size_t at = name.substr(0, end).find(piece, pos);
    if (at == std::string_view::npos) return false;
    pos = at + piece.size();
  }
  return true;
}

std::vector<Pattern> patternList(const std::vector<std::string>& list) {
  std::vector<Pattern> out;
  out.reserve(list.size());
  for (const auto& entry : list) out.push_back(makePattern(upperOf(entry)));
  return out;
}

bool matches(const Pattern& p, std::string_view name) {
  switch (p.kind) {
    case Pattern::kWhole: return name == p.text;
    case Pattern::kStars: return matchStars(p.pieces, name);
    case Pattern::kWildcard: return like(name, p.text);
  }
  return false;
}

// The tests on upper-case texts against upper-case lists.
bool equalsAny(const std::vector<std::string>& list, std::string_view text) {
  for (const auto& entry : list)
    if (entry == text) return true;
  return false;
}

bool extensionOf(std::string_view name, std::string_view& ext) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  ext = name.substr(dot + 1);
  return true;
}

bool extensionIn(const std::vector<std::string>& list, std::string_view name) {
  std::string_view ext;
  return !list.empty() && extensionOf(name, ext) && equalsAny(list, ext);
}

bool containsAny(const std::vector<std::string>& list, std::string_view path) {
  for (const auto& entry : list)
    if (path.find(entry) != std::string_view::npos) return true;
  return false;
}

bool matchesAny(const std::vector<Pattern>& list, std::string_view name) {
  for (const auto& p : list)
    if (matches(p, name)) return true;
  return false;
}

DateTime toDateTime(const SYSTEMTIME& t) {
  return DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

DateTime toLocal(const FILETIME& time, const TIME_ZONE_INFORMATION* zone) {
  SYSTEMTIME utc, local;
  if (!FileTimeToSystemTime(&time, &utc)) return DateTime{};
  if (SystemTimeToTzSpecificLocalTime(zone, &utc, &local)) return toDateTime(local);
  FILETIME lt;
  if (FileTimeToLocalFileTime(&time, &lt) && FileTimeToSystemTime(&lt, &local))
    return toDateTime(local);
  return toDateTime(utc);
}

bool isDead(ShortcutReader& reader, std::string_view path) {
  auto link = reader.read(path);
  if (!link) return false;
  if (searchOptions.skipNoWorkDir && link->workFolder.empty()) return false;
  if (searchOptions.skipNoTarget && link->target.empty()) return false;
  bool exists = !link->target.empty() && PathFileExistsW(wide(link->target).c_str());
  if (link->target != link->workFolder) {
    if (exists) return false;
    if (iequals(link->target, "A:\\") || iequals(link->target, "B:\\")) return false;
    return true;
  }
  return !exists;
}

bool isLinkFolder(const WIN32_FIND_DATAW& fd) {
  return (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool isDotName(const wchar_t* n) {
  return n[0] == 0 || (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0)));
}

HANDLE findFirst(const std::wstring& spec, WIN32_FIND_DATAW& fd) {
  return FindFirstFileExW(spec.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                          FIND_FIRST_EX_LARGE_FETCH);
}

// One call of ScanFolder: the mode, the lists prepared in upper case, and scratch buffers.
class Scan {
 public:
  Scan(std::string_view pattern, ScanMode mode)
      : mode_(mode), pattern_(wide(pattern)), reporter_(scanReporter()) {
    allEntries_ = pattern_ == L"*.*" || pattern_ == L"*";
    if (mode_ != kScanCollect) {
      ignoreFiles_ = upperList(arrIgnoreFiles);
      ignoreExt_ = upperList(arrIgnoreExt);
      ignoreFolders_ = upperList(arrIgnoreFolders);
      if (mode_ == kScanUnnecessary) unnecessary_ = patternList(arrUnnecessary);
      if (GetTimeZoneInformation(&zone_) == TIME_ZONE_ID_INVALID) zonePtr_ = nullptr;
      if (mode_ <= kScanDeadShortcuts) format_ = userRegionalFormat();
    }
  }

  // False when the scan was stopped.
  bool folder(const std::wstring& wideFolder, const std::string& folder) {
    doEvents();
    if (bAbort) return stop();
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW fd;
    if (allEntries_) {
      // One pass serves both: files at once, subfolders after them.
      FindHandle h(findFirst(wideFolder + L"*", fd));
      if (h) {
        do {
          doEvents();
          if (bAbort) return stop();
          if (isDotName(fd.cFileName)) continue;
          if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!isLinkFolder(fd)) subfolders.emplace_back(fd.cFileName);
          } else {
            file(fd, folder);
          }
        } while (FindNextFileW(h.get(), &fd));
      }
    } else {
      FindHandle files(findFirst(wideFolder + pattern_, fd));
      if (files) {
        do {
          if (!isDotName(fd.cFileName) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            file(fd, folder);
          doEvents();
        } while (FindNextFileW(files.get(), &fd));
      }
      FindHandle all(findFirst(wideFolder + L"*", fd));
      if (all) {
        do {
          doEvents();
          if (bAbort) return stop();
          if (!isDotName(fd.cFileName) && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
              !isLinkFolder(fd))
            subfolders.emplace_back(fd.cFileName);
        } while (FindNextFileW(all.get(), &fd));
      }
    }

    for (const auto& name : subfolders) {
      std::string sub = folder + utf8(name) + "\\";
      if (mode_ == kScanCollect) {
        arrFolders.push_back(sub);
      } else {
        upperInto(wide(sub), wideBuf_, upperBuf_);
        if (containsAny(ignoreFolders_, upperBuf_)) continue;
        cleaningHost().setStatus(kScanningStatus + sub);
      }
      if (!this->folder(wideFolder + name + L"\\", sub)) return false;
    }
    return true;
  }

 private:
  void file(const WIN32_FIND_DATAW& fd, const std::string& folder) {
    if (mode_ == kScanCollect) {
      arrFiles.push_back(folder + utf8(fd.cFileName));
      return;
    }
    upperInto(fd.cFileName, wideBuf_, upperBuf_);
    const std::string& name = upperBuf_;
    if (equalsAny(ignoreFiles_, name) || extensionIn(ignoreExt_, name)) return;
    switch (mode_) {
      case kScanUnnecessary:
        if (passesFilters(fd) && matchesAny(unnecessary_, name))
          addRow(fd, folder, kCategoryUnnecessary);
        break;
      case kScanEmpty:
        if (fd.nFileSizeHigh == 0 && fd.nFileSizeLow == 0 && passesFilters(fd))
          addRow(fd, folder, kCategoryEmpty);
        break;
      case kScanDeadShortcuts: {
        if (IsDeadShortcut(folder + utf8(fd.cFileName)))
          addRow(fd, folder, kCategoryDeadShortcuts);
        break;
      }
      default:
        arrFiles.push_back(folder + utf8(fd.cFileName));
        break;
    }
  }

  // The date window, then the attributes to skip.
  bool passesFilters(const WIN32_FIND_DATAW& fd) const {
    if (searchOptions.useDateFilter) {
      DateTime d = toLocal(fd.ftLastWriteTime, zonePtr_);
      if (daysBetween(searchOptions.dateFrom, d) <= 0 || daysBetween(searchOptions.dateTo, d) > 0)
        return false;
    }
    DWORD a = fd.dwFileAttributes;
    if (searchOptions.skipReadOnly && (a & FILE_ATTRIBUTE_READONLY)) return false;
    if (searchOptions.skipHidden && (a & FILE_ATTRIBUTE_HIDDEN)) return false;
    if (searchOptions.skipSystem && (a & FILE_ATTRIBUTE_SYSTEM)) return false;
    return true;
  }

  void addRow(const WIN32_FIND_DATAW& fd, const std::string& folder, const char* category) {
    ReviewRow row;
    row.name = utf8(fd.cFileName);
    row.size = static_cast<std::int64_t>((std::uint64_t{fd.nFileSizeHigh} << 32) |
                                         fd.nFileSizeLow);
    DateTime local = toLocal(fd.ftLastWriteTime, zonePtr_);
    row.date = mode_ == kScanDeadShortcuts ? formatFileTime(local, format_)
                                           : formatGeneralDate(local, format_);
    row.attributes = GetAttributeString(fd.dwFileAttributes);
    row.folder = folder;
    std::string_view ext;
    if (extensionOf(upperBuf_, ext)) row.extension = std::string(ext);
    row.category = category;
    reporter_.addReviewRow(row);
  }

  // The way out of a stopped scan, taken once; the levels above return at once.
  bool stop() {
    reporter_.releaseReviewList();
    DeleteBackupZip();
    cleaningHost().stopOperation(kScanAbortedStatus);
    return false;
  }

  ScanMode mode_;
  std::wstring pattern_;
  bool allEntries_ = false;
  ScanReporter& reporter_;
  std::vector<std::string> ignoreFiles_, ignoreExt_, ignoreFolders_;
  std::vector<Pattern> unnecessary_;
  TIME_ZONE_INFORMATION zone_{};
  const TIME_ZONE_INFORMATION* zonePtr_ = &zone_;
  RegionalFormat format_;  // of the rows' date texts
  std::wstring wideBuf_;
  std::string upperBuf_;
};

}  // namespace

std::array<std::string, 7> ReviewRow::columns() const {
  return {name, std::to_string(size), date, attributes, folder, extension, category};
}

ScanReporter* setScanReporter(ScanReporter* reporter) {
  ScanReporter* old = g_reporter;
  g_reporter = reporter;
  return old;
}

ScanReporter& scanReporter() { return g_reporter ? *g_reporter : g_nobody; }

void ResetScanLists() {
  arrFiles.clear();
  arrFiles.shrink_to_fit();
  arrFolders.clear();
  arrFolders.shrink_to_fit();
}

void ScanFolder(std::string_view folder, std::string_view pattern, ScanMode mode) {
  // An empty folder would search the current folder: nothing is scanned.
  if (folder.empty()) return;
  std::string start(folder);
  if (start.back() != '\\') start += '\\';
  Scan scan(pattern, mode);
  scan.folder(wide(start), start);
}

bool IsIgnoredFile(std::string_view name) {
  return equalsAny(upperList(arrIgnoreFiles), upperOf(name));
}

bool IsIgnoredExtension(std::string_view name) {
  return extensionIn(upperList(arrIgnoreExt), upperOf(name));
}

bool IsIgnoredFolder(std::string_view path) {
  return containsAny(upperList(arrIgnoreFolders), upperOf(path));
}

bool IsUnnecessaryFile(std::string_view name) {
  return matchesAny(patternList(arrUnnecessary), upperOf(name));
}

bool IsDeadShortcut(std::string_view path) {
  if (g_shortcuts) return isDead(*g_shortcuts, path);
  ShortcutReader reader;
  return isDead(reader, path);
}

void SetShortcutShell(bool on) {
  if (on)
    g_shortcuts = std::make_unique<ShortcutReader>();
  else
    g_shortcuts.reset();
}

DateTime FileTimeToLocal(const FILETIME& time) { return toLocal(time, nullptr); }

std::string FormatFileTime(const FILETIME& time) {
  return formatFileTime(FileTimeToLocal(time), userRegionalFormat());
}

}  // namespace glenvask
