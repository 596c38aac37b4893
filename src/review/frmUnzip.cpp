#include "review/frmUnzip.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>

#include "base/pathtext.h"
#include "review/unzip.h"
#include "services/system.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 640, kHeight = 360, kStatusH = 18;

ZipViewWindow& instance() {
  static ZipViewWindow window;
  return window;
}

// The first character of the archive's file name: the drive its files came from.
std::string driveLetterOf(const std::string& archive) {
  std::string name = GetFileNameFromPath(archive);
  std::size_t n = 1;
  while (n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) ++n;
  return name.substr(0, std::min(n, name.size()));
}

}  // namespace

std::string shortTimePicture(std::string_view picture) {
  std::size_t s = picture.find('s');
  if (s == std::string_view::npos) return std::string(picture);
  std::size_t end = std::min(picture.find_first_not_of('s', s), picture.size());
  std::size_t start = s;  // the separator before the seconds goes with them
  while (start > 0 && !std::isalpha(static_cast<unsigned char>(picture[start - 1]))) --start;
  return std::string(picture.substr(0, start)) + std::string(picture.substr(end));
}

ZipViewWindow& frmUnzip() { return instance(); }

bool ZipViewWindow::build(HWND owner) {
  if (isOpen()) return true;
  WindowSpec spec;
  spec.title = "Zip Information";
  spec.width = kWidth;
  spec.height = kHeight;
  spec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
  spec.owner = owner;
  return create(spec);
}

bool ZipViewWindow::onCreate() {
  lvwZip.setColumns({
      {"Filename", 200},
      {"Size", 80, SortKind::Number, true},
      {"Date", 120, SortKind::Date},
      {"Packed", 80, SortKind::Number, true},
      {"Folder", 240},
  });
  if (!lvwZip.create(*this, "lvwZip", ids::kZipViewList, 0, 0, kWidth, kHeight - kStatusH,
                     false))
    return false;
  // The image list is this window's: the control must not destroy it.
  HWND lv = lvwZip.hwnd();
  SetWindowLongPtrW(lv, GWL_STYLE, GetWindowLongPtrW(lv, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  lblStatus.attach(addControl(
      label("lblStatus", ids::kZipViewStatus, "", 0, kHeight - kStatusH, kWidth, kStatusH)));
  Form_Load();
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  Form_Resize(rc.right, rc.bottom, false);
  return true;
}

void ZipViewWindow::Form_Load() {
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ilsIcons16.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16));
  icons_.clear();
  typeNames_.clear();
  // Image 0, "DEFAULT": the shell's icon of a file of no known type.
  SHFILEINFOW info{};
  if (ilsIcons16 && SHGetFileInfoW(L"file", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon) {
    ImageList_AddIcon(ilsIcons16.get(), info.hIcon);
    DestroyIcon(info.hIcon);
  }
  lvwZip.setImageList(ilsIcons16.get());
  ListZipContents(ZipFile);
  lblStatus.setText(std::to_string(lvwZip.rowCount()) + " files(s)");
}

int ZipViewWindow::GetExtensionIcon(const std::string& fileName) {
  std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return 0;
  std::wstring ext = wide(std::string_view(fileName).substr(dot));
  CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  std::string key = utf8(ext);
  if (key == ".EXE") return 0;
  auto it = icons_.find(key);
  if (it != icons_.end()) return it->second;
  int index = 0;
  SHFILEINFOW info{};
  std::wstring probe = L"file" + ext;
  if (ilsIcons16 && SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_TYPENAME |
                                       SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon) {
    int added = ImageList_AddIcon(ilsIcons16.get(), info.hIcon);
    DestroyIcon(info.hIcon);
    if (added >= 0) index = added;
    typeNames_[key] = utf8(info.szTypeName);
  }
  icons_.emplace(std::move(key), index);
  return index;
}

std::string ZipViewWindow::typeName(const std::string& extension) const {
  auto it = typeNames_.find(extension);
  return it == typeNames_.end() ? std::string() : it->second;
}

void ZipViewWindow::ListZipContents(const std::string& path) {
  lvwZip.clear();
  cUnZip unzip;
  unzip.setZipFile(path);
  unzip.Directory();
  std::string drive = driveLetterOf(path) + ":\\";
  RegionalFormat format = userRegionalFormat();
  std::string timePicture = shortTimePicture(format.time);
  // Many entries share a minute: each one's text is made once.
  std::unordered_map<std::uint32_t, std::string> dates;
  lvwZip.beginUpdate();
  for (std::int64_t i = 1; i <= unzip.FileCount(); ++i) {
    const UnzipEntry& e = unzip.entry(i);
    const DateTime& d = e.date;
    std::uint32_t minute = static_cast<std::uint32_t>(
        ((d.year * 13 + d.month) * 32 + d.day) * 1440 + d.hour * 60 + d.minute);
    auto date = dates.find(minute);
    if (date == dates.end())
      date = dates
                 .emplace(minute, formatShortDate(d, format) + " " +
                                      formatTimePicture(d, timePicture, format))
                 .first;
    ListRow row;
    row.cells.reserve(5);
    row.cells.push_back(e.encrypted ? e.name + "+" : e.name);
    row.cells.push_back(std::to_string(e.size));
    row.cells.push_back(date->second);
    row.cells.push_back(std::to_string(e.packedSize));
    row.cells.push_back(drive + e.folder);
    row.image = GetExtensionIcon(e.name);
    row.key = "File" + std::to_string(i);
    lvwZip.addRow(std::move(row));
  }
  lvwZip.endUpdate();
}

void ZipViewWindow::Form_Resize(int width, int height, bool maximized) {
  if (!lvwZip.hwnd()) return;
  int status = scale(kStatusH);
  MoveWindow(lblStatus.hwnd(), 0, std::max(0, height - status), width, status, TRUE);
  MoveWindow(lvwZip.hwnd(), 0, 0, width, std::max(0, height - status), TRUE);
  if (maximized) AutoSizeColumns(lvwZip);
}

std::optional<LRESULT> ZipViewWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE && wp != SIZE_MINIMIZED) {
    Form_Resize(LOWORD(lp), HIWORD(lp), wp == SIZE_MAXIMIZED);
    return 0;
  }
  return std::nullopt;
}

void ZipViewWindow::onCommand(int id, int, HWND) {
  if (id == IDCANCEL) close();  // Esc
}

void ZipViewWindow::onDestroy() {
  lvwZip.setImageList(nullptr);
  lvwZip.attach(nullptr);
  lvwZip.clear();
  lblStatus.attach(nullptr);
  ilsIcons16.reset();
  icons_.clear();
  typeNames_.clear();
}

}  // namespace glenvask
