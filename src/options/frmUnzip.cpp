#include "options/frmUnzip.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <numeric>

#include "base/pathtext.h"
#include "base/text.h"
#include "options/unzip.h"
#include "services/system.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 640, kHeight = 360, kStatusH = 18;

struct Column {
  const wchar_t* title;
  int width;
  bool right;
};
constexpr Column kColumns[] = {{L"Filename", 200, false},
                               {L"Size", 80, true},
                               {L"Date", 120, false},
                               {L"Packed", 80, true},
                               {L"Folder", 240, false}};

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

ZipViewWindow::ZipViewWindow() = default;
ZipViewWindow::~ZipViewWindow() = default;

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
  // The rows live here and the list asks for what it draws; the image list is this window's.
  lvwZip.attach(addControl({"lvwZip", WC_LISTVIEWW, ids::kZipViewList, "", 0, 0, kWidth,
                            kHeight - kStatusH,
                            LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                                WS_TABSTOP | WS_BORDER}));
  lblStatus.attach(addControl(
      label("lblStatus", ids::kZipViewStatus, "", 0, kHeight - kStatusH, kWidth, kStatusH)));
  if (!lvwZip || !lblStatus) return false;
  HWND lv = lvwZip.hwnd();
  ListView_SetExtendedListViewStyle(
      lv, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = kColumns[i].right ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.cx = scale(kColumns[i].width);
    col.pszText = const_cast<wchar_t*>(kColumns[i].title);
    col.iSubItem = i;
    ListView_InsertColumn(lv, i, &col);
  }
  Form_Load();
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  return true;
}

void ZipViewWindow::Form_Load() {
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ilsIcons16.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16));
  icons_.clear();
  written_.clear();
  // Image 0, "DEFAULT": the shell's icon of a file of no known type.
  SHFILEINFOW info{};
  if (ilsIcons16 && SHGetFileInfoW(L"file", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon) {
    ImageList_AddIcon(ilsIcons16.get(), info.hIcon);
    DestroyIcon(info.hIcon);
  }
  ListView_SetImageList(lvwZip.hwnd(), ilsIcons16.get(), LVSIL_SMALL);
  ListZipContents(ZipFile);
  // What could be read is listed; a damaged archive says it holds more than that.
  lblStatus.setText(std::to_string(rowCount()) + " files(s)" +
                    (unzip_->damaged() ? kDamagedNote : ""));
}

void ZipViewWindow::ListZipContents(const std::string& path) {
  unzip_ = std::make_unique<cUnZip>();
  unzip_->setZipFile(path);
  unzip_->Directory();
  order_.resize(static_cast<std::size_t>(unzip_->FileCount()));
  std::iota(order_.begin(), order_.end(), std::int64_t{1});
  ascending_ = true;
  drive_ = driveLetterOf(path) + ":\\";
  format_ = userRegionalFormat();
  timePicture_ = shortTimePicture(format_.time);
  if (lvwZip) {
    ListView_SetItemCountEx(lvwZip.hwnd(), static_cast<int>(order_.size()), 0);
    InvalidateRect(lvwZip.hwnd(), nullptr, FALSE);
  }
}

std::string ZipViewWindow::cellText(std::int64_t i, size_t column) const {
  switch (column) {
    case kZipColFilename:
      return unzip_->FileEncrypted(i) ? unzip_->Filename(i) + "+" : unzip_->Filename(i);
    case kZipColSize: return std::to_string(unzip_->FileSize(i));
    case kZipColDate: {
      DateTime d = unzip_->FileDate(i);
      return formatShortDate(d, format_) + " " + formatTimePicture(d, timePicture_, format_);
    }
    case kZipColPacked: return std::to_string(unzip_->FilePackedSize(i));
    case kZipColFolder: return drive_ + unzip_->FileDirectory(i);
    default: return {};
  }
}

std::string ZipViewWindow::rowText(size_t row, size_t column) const {
  return row < order_.size() ? cellText(order_[row], column) : std::string();
}

int ZipViewWindow::rowImage(size_t row) {
  return row < order_.size() ? GetExtensionIcon(unzip_->Filename(order_[row])) : 0;
}

std::string ZipViewWindow::rowKey(size_t row) const {
  return row < order_.size() ? "File" + std::to_string(order_[row]) : std::string();
}

int ZipViewWindow::GetExtensionIcon(std::string_view fileName) {
  std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return 0;
  std::string written(fileName.substr(dot));
  if (auto it = written_.find(written); it != written_.end()) return it->second;
  std::wstring ext = wide(written);
  CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  std::string key = utf8(ext);
  auto it = icons_.find(key);
  if (it == icons_.end()) {
    int index = 0;
    SHFILEINFOW info{};
    std::wstring probe = L"file" + ext;
    if (key != ".EXE" && ilsIcons16 &&
        SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
        info.hIcon) {
      int added = ImageList_AddIcon(ilsIcons16.get(), info.hIcon);
      DestroyIcon(info.hIcon);
      if (added >= 0) index = added;
    }
    it = icons_.emplace(std::move(key), index).first;
  }
  written_.emplace(std::move(written), it->second);
  return it->second;
}

void ZipViewWindow::lvwZip_ColumnClick(size_t column) {
  if (!unzip_ || column > kZipColFolder) return;
  ascending_ = !ascending_;
  auto sortBy = [&](auto keyOf) {
    using Key = decltype(keyOf(std::int64_t{1}));
    std::vector<Key> keys(order_.size() + 1);
    for (std::int64_t i : order_) keys[static_cast<std::size_t>(i)] = keyOf(i);
    bool asc = ascending_;
    std::stable_sort(order_.begin(), order_.end(), [&](std::int64_t a, std::int64_t b) {
      return asc ? keys[a] < keys[b] : keys[b] < keys[a];
    });
  };
  switch (column) {
    case kZipColSize: sortBy([&](std::int64_t i) { return unzip_->FileSize(i); }); break;
    case kZipColPacked: sortBy([&](std::int64_t i) { return unzip_->FilePackedSize(i); }); break;
    case kZipColDate: sortBy([&](std::int64_t i) { return unzip_->FileDate(i); }); break;
    default: sortBy([&](std::int64_t i) { return toLower(cellText(i, column)); }); break;
  }
  if (lvwZip) {
    ListView_SetItemState(lvwZip.hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(lvwZip.hwnd(), nullptr, FALSE);
  }
}

LRESULT ZipViewWindow::onNotify(NMHDR* hdr) {
  if (hdr->hwndFrom != lvwZip.hwnd()) return 0;
  switch (hdr->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= order_.size()) return 0;
      size_t row = static_cast<size_t>(item.iItem);
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        textBuf_ = wide(rowText(row, static_cast<size_t>(item.iSubItem)));
        size_t n = std::min(textBuf_.size(), static_cast<size_t>(item.cchTextMax - 1));
        std::copy_n(textBuf_.data(), n, item.pszText);
        item.pszText[n] = L'\0';
      }
      if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = rowImage(row);
      return 0;
    }
    case LVN_ODFINDITEMW: return -1;
    case LVN_COLUMNCLICK:
      lvwZip_ColumnClick(static_cast<size_t>(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem));
      return 0;
    default: return 0;
  }
}

void ZipViewWindow::onSize(int width, int height, bool maximized) {
  if (!lvwZip) return;
  int status = scale(kStatusH);
  MoveWindow(lblStatus.hwnd(), 0, std::max(0, height - status), width, status, TRUE);
  MoveWindow(lvwZip.hwnd(), 0, 0, width, std::max(0, height - status), TRUE);
  if (maximized) AutoSizeColumns(lvwZip.hwnd());
}

void ZipViewWindow::onCommand(int id, int, HWND) {
  if (id == IDCANCEL) close();  // Esc
}

void ZipViewWindow::onDestroy() {
  ListView_SetImageList(lvwZip.hwnd(), nullptr, LVSIL_SMALL);
  lvwZip.attach(nullptr);
  lblStatus.attach(nullptr);
  unzip_.reset();
  order_.clear();
  ilsIcons16.reset();
  icons_.clear();
  written_.clear();
}

}  // namespace glenvask
