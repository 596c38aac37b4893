#include "services/system.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "base/text.h"
#include "win/handle.h"
#include "win/listview.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

// An item list the shell hands back, freed with the task allocator.
using ItemList = UniqueHandle<NullWhenAbsent<LPITEMIDLIST, CoTaskMemFree>>;

// Calls a platform getter that fills a buffer and returns the length it wrote, or the size
// it needs when the buffer is too small; "" when it fails.
template <class Getter>
std::string folderFrom(Getter get) {
  std::vector<wchar_t> buf(512);
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT n = get(buf.data(), static_cast<UINT>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) return utf8(std::wstring_view(buf.data(), n));
    buf.assign(n + 1, L'\0');
  }
  return "";
}

std::wstring localeText(LCTYPE what) {
  wchar_t buf[100] = {};
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buf, 100);
  return n > 0 ? std::wstring(buf) : std::wstring();
}

}  // namespace

std::string GetWindowsDir() {
  return folderFrom([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::string GetSystemDir() {
  return folderFrom([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::string GetTempDir() {
  return folderFrom([](wchar_t* b, UINT n) { return UINT(GetTempPathW(n, b)); });
}

std::string GetProgramFilesDir(HWND owner) {
  ItemList items;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAM_FILES, items.put())) || !items)
    return "";
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(items.get(), path)) return "";
  return utf8(path);
}

std::string ExpandSystemRoot(std::string& text) {
  if (!hasSystemRoot(text)) return text;
  // The registry writes these paths with the SystemRoot variable, which names the Windows
  // folder (not its system32 subfolder).
  std::string folder = GetWindowsDir();
  text = folder.empty() ? std::string() : replaceSystemRoot(text, folder);
  return text;
}

std::string GetLogicalDriveList() {
  // 26 drives of "X:\" and a null each, and the closing null: 105 characters.
  std::vector<wchar_t> buf(128, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(buf.size()), buf.data());
    if (n == 0) return "";
    if (n < buf.size()) return utf8(std::wstring_view(buf.data(), n + 1));
    buf.assign(n + 1, L'\0');
  }
  return "";
}

std::string driveTypeText(unsigned type, std::string_view root) {
  switch (type) {
    case DRIVE_UNKNOWN: return "The drive type cannot be determined";
    case DRIVE_NO_ROOT_DIR: return "The root directory does not exist";
    case DRIVE_REMOVABLE: {
      char first = root.empty() ? '\0' : toLower(root.substr(0, 1))[0];
      return first == 'a' || first == 'b' ? "Floppy drive" : "Removable drive";
    }
    case DRIVE_FIXED: return "Hard drive";
    case DRIVE_REMOTE: return "Remote (network) drive";
    case DRIVE_CDROM: return "CD-ROM drive";
    case DRIVE_RAMDISK: return "RAM disk";
    default: return "";
  }
}

std::string GetDriveTypeName(std::string_view root) {
  return driveTypeText(GetDriveTypeW(wide(root).c_str()), root);
}

void QueryRecycleBin(std::string_view root, std::int64_t& size, std::int64_t& items) {
  size = 0;
  items = 0;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  std::wstring r = wide(root);
  if (FAILED(SHQueryRecycleBinW(r.empty() ? nullptr : r.c_str(), &info))) return;
  size = info.i64Size;
  items = info.i64NumItems;
}

std::string recycleBinRoot(std::string_view drive) {
  if (drive.empty() || drive.substr(1, 2) == ":\\") return std::string(drive);
  return std::string(1, drive[0]) + ":\\";
}

bool EmptyRecycleBin(std::string_view drive, bool noConfirmation, bool noProgress,
                     bool noSound) {
  DWORD flags = (noConfirmation ? SHERB_NOCONFIRMATION : 0) |
                (noProgress ? SHERB_NOPROGRESSUI : 0) | (noSound ? SHERB_NOSOUND : 0);
  std::wstring root = wide(recycleBinRoot(drive));
  return SUCCEEDED(
      SHEmptyRecycleBinW(GetActiveWindow(), root.empty() ? nullptr : root.c_str(), flags));
}

void OpenInternetOptions() { outside().startProcess(kInternetOptionsCommand); }

void ShellExecuteOn(std::string_view operation, std::string_view file,
                    std::string_view parameters, std::string_view folder, int show) {
  outside().shellExecute(GetDesktopWindow(), operation, file, parameters, folder, show);
}

std::string BrowseForFolder() {
  return StripNulls(asker().browseFolder(nullptr, kBrowseForFolderTitle).value_or(""));
}

void ShowFileProperties(std::string_view path, HWND owner) {
  outside().shellExecute(owner, "properties", path, "", "", SW_SHOWNORMAL);
}

void AutoSizeColumns(HWND listView) {
  if (!listView) return;
  HWND header = ListView_GetHeader(listView);
  int columns = header ? Header_GetItemCount(header) : 0;
  for (int i = 0; i < columns; ++i)
    SendMessageW(listView, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
}

void AutoSizeColumns(const ListView& list) { AutoSizeColumns(list.hwnd()); }

NumberStyle regionalNumberStyle() {
  NumberStyle style;
  if (auto s = localeText(LOCALE_SDECIMAL); !s.empty()) style.decimalSeparator = utf8(s);
  style.groupSeparator = utf8(localeText(LOCALE_STHOUSAND));
  style.grouping = groupingFromLocale(utf8(localeText(LOCALE_SGROUPING)));
  style.leadingZero = localeText(LOCALE_ILZERO) != L"0";
  if (auto n = parseInteger(utf8(localeText(LOCALE_INEGNUMBER))); n && *n >= 0 && *n <= 4)
    style.negativeOrder = static_cast<int>(*n);
  return style;
}

void useRegionalNumberStyle() { setNumberStyle(regionalNumberStyle()); }

}  // namespace glenvask
