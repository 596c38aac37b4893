#include "options/unzip.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "base/pathtext.h"
#include "base/text.h"
#include "base/zip.h"
#include "services/zipfile.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

struct cUnZip::Archive {
  WinZipFile file;
  ZipReader reader;
};

namespace {

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr std::uint16_t kEncryptedFlag = 1;
constexpr std::uint16_t kTimestampTag = 0x5455;  // Info-ZIP's extended time stamp (UTC)

std::uint64_t fileTimeValue(const FILETIME& t) {
  return static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}

// The entry's time as a file time: the extended time stamp when the entry has one, else its
// MS-DOS time read as local time (as the backup writer stores it). Nothing for a date that
// cannot be.
std::optional<std::uint64_t> entryTime(const ZipEntry& z) {
  std::string_view extra = z.extra;
  for (std::size_t p = 0; extra.size() - p >= 4;) {
    auto* b = reinterpret_cast<const unsigned char*>(extra.data() + p);
    std::size_t len = static_cast<std::size_t>(b[2] | b[3] << 8);
    if (extra.size() - p - 4 < len) break;
    if ((b[0] | b[1] << 8) == kTimestampTag && len >= 5 && (b[4] & 1)) {
      std::int32_t seconds = static_cast<std::int32_t>(
          static_cast<std::uint32_t>(b[5]) | static_cast<std::uint32_t>(b[6]) << 8 |
          static_cast<std::uint32_t>(b[7]) << 16 | static_cast<std::uint32_t>(b[8]) << 24);
      return static_cast<std::uint64_t>(static_cast<std::int64_t>(seconds) + 11644473600LL) *
             10000000ull;
    }
    p += 4 + len;
  }
  DateTime t = fromDosTime(z.modified);
  if (!isValidDateTime(t)) return std::nullopt;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  FILETIME local{}, utc{};
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc))
    return std::nullopt;
  return fileTimeValue(utc);
}

bool writeAll(HANDLE f, const char* p, std::size_t n) {
  while (n > 0) {
    DWORD put = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!WriteFile(f, p, want, &put, nullptr) || put == 0) return false;
    p += put;
    n -= put;
  }
  return true;
}

// A new file in the folder under a name no file has; nothing when the folder takes none.
FileHandle newTemporary(const std::string& folder, std::wstring& name) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[48];
    std::snprintf(unique, sizeof unique, "\\~gv%lx-%x.tmp", GetCurrentProcessId(), counter++);
    std::string path = folder + unique;
    // The target's name may be shorter than this one: the long form takes it all the same.
    name = wide(isUsablePathLength(path) ? path : "\\\\?\\" + path);
    FileHandle f(CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) return f;
    DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) break;
  }
  name.clear();
  return FileHandle();
}

// Gives the open file the path (the folder is the same), replacing a file there when asked.
bool renameOpen(HANDLE f, const std::string& target, bool replace) {
  std::wstring name = L"\\??\\" + wide(target);
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = replace;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::memcpy(info->FileName, name.data(), info->FileNameLength);
  return SetFileInformationByHandle(f, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

// Deletes the open file when its handle closes.
bool dispose(HANDLE f) {
  FILE_DISPOSITION_INFO gone{TRUE};
  return SetFileInformationByHandle(f, FileDispositionInfo, &gone, sizeof gone) != 0;
}

// The attributes a restored file gets: those of the entry that the file system keeps.
DWORD entryAttributes(const ZipEntry& z) {
  DWORD a = z.externalAttributes & kKeptAttributes;
  return a ? a : FILE_ATTRIBUTE_NORMAL;
}

bool isDriveRootOrFolder(std::string_view path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
         path[1] == ':' && path[2] == '\\';
}

}  // namespace

bool isDeviceName(std::string_view part) {
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.remove_suffix(1);
  std::string up = toUpper(base);
  for (const char* name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (up == name) return true;
  if (up.size() < 4 || (up.compare(0, 3, "COM") != 0 && up.compare(0, 3, "LPT") != 0))
    return false;
  std::string_view digit = std::string_view(up).substr(3);
  // 1 to 9, and the superscript one, two and three that Windows takes for them too.
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
         digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool isRestorableName(std::string_view name) {
  if (!isSafeEntryName(name)) return false;
  if (name.find_first_of("<>\"|?*") != std::string_view::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (isDeviceName(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

cUnZip::cUnZip() = default;
cUnZip::~cUnZip() = default;

void cUnZip::setZipFile(std::string_view path) {
  zipFile_ = path;
  entries_.clear();
  archive_.reset();
}

std::string_view cUnZip::pathOf(const Listed& l) const {
  std::string_view path = archive_->reader.entries()[l.index].name;
  return path.substr(0, path.find('\0'));
}

const ZipEntry* cUnZip::zipEntry(std::int64_t i) const {
  if (i < 1 || i > FileCount()) return nullptr;
  return &archive_->reader.entries()[entries_[static_cast<std::size_t>(i - 1)].index];
}

UnzipEntry cUnZip::entry(std::int64_t i) const {
  UnzipEntry e;
  const ZipEntry* z = zipEntry(i);
  if (!z) return e;
  e.name = Filename(i);
  e.folder = FileDirectory(i);
  e.size = z->size;
  e.packedSize = z->compressedSize;
  e.date = fromDosTime(z->modified);
  e.crc = z->crc;
  e.encrypted = (z->flags & kEncryptedFlag) != 0;
  return e;
}

std::uint64_t cUnZip::FileSize(std::int64_t i) const {
  const ZipEntry* z = zipEntry(i);
  return z ? z->size : 0;
}

std::uint64_t cUnZip::FilePackedSize(std::int64_t i) const {
  const ZipEntry* z = zipEntry(i);
  return z ? z->compressedSize : 0;
}

DateTime cUnZip::FileDate(std::int64_t i) const {
  const ZipEntry* z = zipEntry(i);
  return z ? fromDosTime(z->modified) : DateTime{};
}

bool cUnZip::FileEncrypted(std::int64_t i) const {
  const ZipEntry* z = zipEntry(i);
  return z && (z->flags & kEncryptedFlag);
}

std::string cUnZip::Filename(std::int64_t i) const {
  if (i < 1 || i > FileCount()) return {};
  const Listed& l = entries_[static_cast<std::size_t>(i - 1)];
  return std::string(pathOf(l).substr(l.nameAt));
}

std::string cUnZip::FileDirectory(std::int64_t i) const {
  if (i < 1 || i > FileCount()) return {};
  const Listed& l = entries_[static_cast<std::size_t>(i - 1)];
  std::string folder(pathOf(l).substr(0, l.nameAt ? l.nameAt - 1 : 0));
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

void cUnZip::Directory() {
  entries_.clear();
  archive_.reset();
  if (zipFile_.empty() || !isUsablePathLength(zipFile_)) return;
  archive_ = std::make_unique<Archive>();
  if (!archive_->file.openRead(zipFile_) || !archive_->reader.open(archive_->file)) {
    archive_.reset();
    return;
  }
  const auto& all = archive_->reader.entries();
  entries_.reserve(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    Listed l{i, 0};
    std::string_view path = pathOf(l);
    std::size_t cut = path.find_last_of("/\\");
    l.nameAt = cut == std::string_view::npos ? 0 : cut + 1;
    if (l.nameAt < path.size()) entries_.push_back(l);  // else a folder entry
  }
}

bool cUnZip::damaged() const {
  return archive_ && archive_->reader.incomplete();
}

bool cUnZip::Unzip() {
  restored_ = skipped_ = failed_ = 0;
  knownFolders_.clear();
  if (zipFile_.empty() || entries_.empty() || !archive_) return false;
  std::string root = unzipFolder_;
  if (!root.empty() && root.back() != '\\') root += '\\';
  std::string_view below = std::string_view(root).substr(std::min<std::size_t>(3, root.size()));
  if (!isDriveRootOrFolder(root) || (!below.empty() && !isSafeEntryName(below))) {
    failed_ = FileCount();
    return false;
  }
  bool stopped = false;
  for (const Listed& l : entries_) {
    if (Cancel) {
      bool cancel = false;
      Cancel(std::string(pathOf(l).substr(l.nameAt)), cancel);
      if (cancel) {
        stopped = true;
        break;
      }
    }
    switch (extract(l, root)) {
      case Outcome::Restored: ++restored_; break;
      case Outcome::Skipped: ++skipped_; break;
      case Outcome::Failed: ++failed_; break;
    }
  }
  return failed_ == 0 && !stopped && !damaged();
}

cUnZip::Outcome cUnZip::extract(const Listed& l, const std::string& root) {
  const ZipEntry& z = archive_->reader.entries()[l.index];
  if (!isRestorableName(z.name)) return Outcome::Failed;
  std::string target = root;
  if (UseFolderNames) {
    // The stored path, its empty parts ("a//b") left out.
    std::size_t start = 0;
    while (start <= z.name.size()) {
      std::size_t end = std::min(z.name.find_first_of("/\\", start), z.name.size());
      if (end > start) {
        if (target.back() != '\\') target += '\\';
        target.append(z.name, start, end - start);
      }
      start = end + 1;
    }
  } else {
    target += pathOf(l).substr(l.nameAt);
  }
  if (!isUsablePathLength(target) || !makeFolders(root, target)) return Outcome::Failed;
  // A file that is not there is written in place, as a new file of ours (one look-up of the
  // name, as a plain copy costs), and deleted again unless it is complete.
  std::wstring wt = wide(target);
  FileHandle f(CreateFileW(wt.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f) {
    if (fill(z, f.get(), true)) return Outcome::Restored;
    if (!dispose(f.get())) {
      f.reset();
      DeleteFileW(wt.c_str());
    }
    return Outcome::Failed;
  }
  DWORD error = GetLastError();
  WIN32_FILE_ATTRIBUTE_DATA old{};
  if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ||
      !GetFileAttributesExW(wt.c_str(), GetFileExInfoStandard, &old) ||
      (old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return Outcome::Failed;
  if (!shouldReplace(l.index, target, fileTimeValue(old.ftLastWriteTime)))
    return Outcome::Skipped;
  return replace(z, target, old.dwFileAttributes) ? Outcome::Restored : Outcome::Failed;
}

bool cUnZip::fill(const ZipEntry& z, void* file, bool withAttributes) {
  // The reader hands out the bytes before its CRC verdict: only a true result makes a copy.
  if (!archive_->reader.extract(z, [&](const char* p, std::size_t n) {
        return writeAll(file, p, n);
      }))
    return false;
  FILE_BASIC_INFO basic{};
  if (auto t = entryTime(z)) basic.LastWriteTime.QuadPart = static_cast<LONGLONG>(*t);
  if (withAttributes) basic.FileAttributes = entryAttributes(z);
  if (basic.LastWriteTime.QuadPart || basic.FileAttributes)
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
  return true;
}

bool cUnZip::shouldReplace(std::size_t index, const std::string& target, std::uint64_t written) {
  if (ExtractOnlyNewer) {
    auto t = entryTime(archive_->reader.entries()[index]);
    if (!t || *t <= written) return false;
  }
  if (OverwriteExisting) return true;
  if (PromptToOverwrite) return askOverwrite(target);
  return ExtractOnlyNewer;
}

bool cUnZip::askOverwrite(const std::string& path) {
  std::int32_t reply = kReplyNo;
  switch (LastOverwriteResponse) {
    case 0:
    case kReplyNo:
    case kReplyYes:
      if (OverWritePrompt) OverWritePrompt(path, reply);
      LastOverwriteResponse = reply;
      break;
    case kReplyYesToAll: reply = kReplyYes; break;
    case kReplyNoToAll: reply = kReplyNo; break;
    default: break;
  }
  return reply == kReplyYes || reply == kReplyYesToAll;
}

bool cUnZip::makeFolders(const std::string& root, const std::string& target) {
  for (std::size_t at = target.find('\\', root.size()); at != std::string::npos;
       at = target.find('\\', at + 1)) {
    std::string folder = target.substr(0, at);
    if (knownFolders_.count(folder)) continue;
    std::wstring w = wide(folder);
    DWORD a = GetFileAttributesW(w.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(w.c_str(), nullptr);
      a = GetFileAttributesW(w.c_str());
    }
    // Never through a linked folder: it may lead anywhere.
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) ||
        (a & FILE_ATTRIBUTE_REPARSE_POINT))
      return false;
    knownFolders_.insert(std::move(folder));
  }
  return true;
}

bool cUnZip::replace(const ZipEntry& z, const std::string& target, DWORD attrs) {
  std::wstring temp;
  FileHandle f = newTemporary(target.substr(0, target.rfind('\\')), temp);
  if (!f) return false;
  // The temporary file is renamed and, on any failure, deleted through its one handle.
  auto discard = [&] {
    if (!dispose(f.get())) {
      f.reset();
      DeleteFileW(temp.c_str());
    }
    return false;
  };
  // What replaces a file is on the disk before the old one goes.
  if (!fill(z, f.get(), false) || !FlushFileBuffers(f.get())) return discard();
  std::wstring wt = wide(target);
  bool unlocked = (attrs & FILE_ATTRIBUTE_READONLY) &&
                  SetFileAttributesW(wt.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (!renameOpen(f.get(), target, true)) {
    if (unlocked) SetFileAttributesW(wt.c_str(), attrs);
    return discard();
  }
  f.reset();
  if (entryAttributes(z) != FILE_ATTRIBUTE_ARCHIVE) SetFileAttributesW(wt.c_str(), entryAttributes(z));
  return true;
}

}  // namespace glenvask
