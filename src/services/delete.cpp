#include "services/delete.h"

#include <windows.h>
#include <shellapi.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "base/text.h"
#include "base/zip.h"
#include "services/clock.h"
#include "services/globals.h"
#include "services/zipfile.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr std::size_t kShredBlock = 1 << 20;

// The program's random numbers, unseeded as the run time's generator is.
std::mt19937& generator() {
  static std::mt19937 g;
  return g;
}

// A random number in [0, 1).
double rnd() { return std::generate_canonical<double, 32>(generator()); }

bool clearAttributes(const std::wstring& path) {
  return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

// Plain deletion: one look at the file gives its length and attributes; the attributes are
// made normal only where they would stop the delete. -1: not there (nothing failed); 0: it
// stays; 1: gone.
int deletePlain(const std::wstring& path, std::int64_t& length) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? -1 : 0;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  length = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) &&
      !SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL))
    return 0;
  if (DeleteFileW(path.c_str())) return 1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)  // it stays: as it was
    SetFileAttributesW(path.c_str(), data.dwFileAttributes);
  return 0;
}

std::int64_t fileLength(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a link itself, never what it points to.
std::int32_t removeLink(const std::wstring& path, DWORD attrs) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  BOOL ok = (attrs & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(path.c_str())
                                               : DeleteFileW(path.c_str());
  return ok ? 1 : 0;
}

std::int32_t recycle(const std::wstring& path) {
  std::wstring from = path;
  from.append(2, L'\0');  // a list of one, ended by two zeros
  SHFILEOPSTRUCTW op{};
  op.hwnd = nullptr;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.pTo = L"";
  op.fFlags = 0x54;  // silent, no confirmation, allow undo
  if (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted) return 0;
  // The operation may report success for a file it left where it was.
  return exists(path) ? 0 : 1;
}

// The text of a random number in [0, 1000) with up to three decimals: "532.817", "41.5".
std::string randomName() {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", std::round(rnd() * 1000.0 * 1000.0) / 1000.0);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

// Bytes 0 to 100, each the rounded hundredfold of a random number in [0, 1).
void fillRandom(char* p, std::size_t n) {
  auto& g = generator();
  for (std::size_t i = 0; i < n;) {
    std::uint32_t r = g();
    for (int k = 0; k < 2 && i < n; ++k, ++i) {
      std::uint32_t v = ((r >> (16 * k)) & 0xFFFF) * 200u >> 16;  // 0 to 199
      p[i] = static_cast<char>((v + 1) / 2);
    }
  }
}

bool writeAll(HANDLE f, const char* p, std::size_t n) {
  while (n > 0) {
    DWORD put = 0;
    if (!WriteFile(f, p, static_cast<DWORD>(n), &put, nullptr) || put == 0) return false;
    p += put;
    n -= put;
  }
  return true;
}

// The archive the run is writing to, kept open from file to file.
struct BackupArchive {
  std::string path;
  WinZipFile file;
  std::unique_ptr<ZipWriter> writer;

  void finish() {
    if (writer) {
      writer->finish();  // when it fails the archive still reads: its entries are on the disk
      bool empty = writer->entryCount() == 0;
      bool made = file.created();
      writer.reset();
      file.close();
      if (empty && made) DeleteFileW(wide(path).c_str());
    }
    file.close();
    path.clear();
  }
  ~BackupArchive() { finish(); }

  // The writer of BackupZipFile, opened when the name changed; nothing when it cannot be.
  ZipWriter* current() {
    if (BackupZipFile.empty()) return nullptr;
    if (writer && path == BackupZipFile) return writer.get();
    finish();
    path = BackupZipFile;
    if (!file.openWrite(path)) return nullptr;
    writer = std::make_unique<ZipWriter>(file);
    if (!writer->open()) {
      // Something that is not an archive of ours: left as it is.
      writer.reset();
      file.close();
      return nullptr;
    }
    return writer.get();
  }
};

BackupArchive& archive() {
  static BackupArchive a;
  return a;
}

// Writes the open file's bytes as an entry of the current archive.
bool zipFrom(HANDLE f, const std::string& entryName, DWORD attrs) {
  ZipWriter* w = archive().current();
  if (!w) return false;
  // Size and time alone: the whole of GetFileInformationByHandle costs more than the zipping.
  LARGE_INTEGER size{};
  FILETIME written{}, local{};
  if (!GetFileSizeEx(f, &size) || !GetFileTime(f, nullptr, nullptr, &written)) return false;
  SYSTEMTIME st{};
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToSystemTime(&local, &st);
  ZipEntryInfo info;
  info.name = entryName;
  info.modified = toDosTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
  info.attributes = attrs;
  info.sizeHint = static_cast<std::uint64_t>(size.QuadPart);
  return w->add(info, [f](char* buf, std::size_t cap) -> std::int64_t {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(cap, 1u << 30));
    if (!ReadFile(f, buf, want, &got, nullptr)) return -1;
    return got;
  });
}

enum class Backup { Missing, Failed, Done };

// Zips the file into the current archive, then deletes it, both through one handle that no
// one else may write through meanwhile: what is deleted is what was zipped. The file goes
// only once its entry is flushed to the disk.
Backup backupAndDelete(std::string_view path, bool& zipped) {
  zipped = false;
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return Backup::Missing;
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT)
    return removeLink(w, attrs) ? Backup::Done : Backup::Failed;
  std::string name = backupEntryName(path);
  if (name.empty()) return Backup::Failed;
  FileHandle f(CreateFileW(w.c_str(), GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr));
  if (!f) return exists(w) ? Backup::Failed : Backup::Missing;
  if (!zipFrom(f.get(), name, attrs)) return Backup::Failed;
  zipped = true;
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  SetFileInformationByHandle(f.get(), FileBasicInfo, &basic, sizeof basic);
  FILE_DISPOSITION_INFO disposition{TRUE};
  bool gone =
      SetFileInformationByHandle(f.get(), FileDispositionInfo, &disposition, sizeof disposition);
  f.reset();
  return gone ? Backup::Done : Backup::Failed;
}

}  // namespace

std::string backupZipStamp(const DateTime& t) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d%02d%04d%d%02d%d", t.day, t.month, t.year, t.hour, t.minute,
                t.second);
  return buf;
}

std::string backupEntryName(std::string_view path) {
  std::wstring w = wide(path);
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(w.c_str(), n, full.data(), nullptr);
  full.resize(n);
  if (full.rfind(L"\\\\?\\", 0) == 0) full.erase(0, 4);
  if (full.size() < 4 || full[1] != L':' || full[2] != L'\\') return {};
  std::string name = utf8(std::wstring_view(full).substr(3));
  for (char& c : name)
    if (c == '\\') c = '/';
  return isSafeEntryName(name) ? name : std::string();
}

void MakeBackupZipName(std::string_view folder, std::string_view prefix) {
  BackupZipFile =
      std::string(folder) + std::string(prefix) + backupZipStamp(localNow()) + ".zip";
}

bool ZipAddFile(std::string_view path) {
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  std::string name = backupEntryName(path);
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY) || name.empty())
    return false;
  FileHandle f(CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return f && zipFrom(f.get(), name, attrs);
}

void FinishBackupZip() { archive().finish(); }

void DeleteBackupZip() { FinishBackupZip(); }

std::int32_t ShredFile(std::string_view path) {
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return 0;
  if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
  // A link is removed, never overwritten: the bytes behind it are someone else's.
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return removeLink(w, attrs);
  {
    // Asking for DELETE access fails at once when the file cannot be deleted because someone
    // holds it open: nothing is overwritten then.
    FileHandle f(CreateFileW(w.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f) return 0;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) return 0;
    static const std::vector<char> zeros(kShredBlock, '\0');
    static std::vector<char> noise;
    std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
    for (std::uint64_t done = 0; done < total;) {
      doEvents();
      if (bAbort) return 0;
      std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kShredBlock, total - done));
      const char* bytes = zeros.data();
      if (ShredRandom) {
        noise.resize(std::max(noise.size(), n));
        fillRandom(noise.data(), n);
        bytes = noise.data();
      }
      if (!writeAll(f.get(), bytes, n)) return 0;
      done += n;
    }
    if (!FlushFileBuffers(f.get())) return 0;
  }
  std::wstring target = w;
  if (RenameBeforeDelete) {
    std::wstring folder = w.substr(0, w.find_last_of(L"\\/") + 1);
    bool renamed = false;
    // A name that exists already is not taken; another number is drawn.
    for (int attempt = 0; attempt < 20 && !renamed; ++attempt) {
      std::wstring to = folder + wide(randomName());
      renamed = MoveFileW(w.c_str(), to.c_str()) != 0;
      if (renamed)
        target = to;
      else if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
        break;
    }
    if (!renamed) return 0;
  }
  return DeleteFileW(target.c_str()) ? 1 : 0;
}

std::int32_t RecycleFile(std::string_view path) {
  std::wstring w = wide(path);
  DWORD attrs = GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  std::wstring from = w;
  from.append(2, L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
  if (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted) return 0;
  return exists(w) ? 0 : 1;
}

std::int32_t DeleteJunkFile(std::string_view path, std::int64_t* freed) {
  std::wstring w = wide(path);
  std::int32_t result = 0;
  std::int64_t length = 0;
  if (freed) *freed = 0;
  if (DeleteMethod != kDeletePlain && freed) length = fileLength(w);
  switch (DeleteMethod) {
    case kDeletePlain: {
      int r = deletePlain(w, length);
      if (r < 0) return 0;  // not there: nothing failed
      result = r;
      break;
    }
    case kDeleteRecycle:
      if (!clearAttributes(w)) return 0;
      result = recycle(w);
      break;
    case kDeleteOverwrite:
      if (!clearAttributes(w)) return 0;
      result = ShredFile(path);
      break;
    case kDeleteBackup: {
      std::string letter = path.empty() ? std::string() : std::string(path.substr(0, 1));
      if (LastBackupDrive.empty() || !iequals(letter, LastBackupDrive)) {
        MakeBackupZipName(BackupFolder, letter + "_");
        LastBackupDrive = letter;
      }
      bool zipped = false;
      Backup b = backupAndDelete(path, zipped);
      if (zipped) ++BackedUpCount;
      if (b == Backup::Missing) return 0;
      result = b == Backup::Done ? 1 : 0;
      break;
    }
    default:
      result = 0;
      break;
  }
  if (result == 0) DeleteFailed = true;
  if (result != 0 && freed) *freed = length;
  return result;
}

}  // namespace glenvask
