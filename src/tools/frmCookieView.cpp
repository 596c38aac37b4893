#include "tools/frmCookieView.h"

#include <shellapi.h>

#include <algorithm>

#include "base/cookiefile.h"
#include "base/pathtext.h"
#include "services/paths.h"
#include "services/settings.h"
#include "win/toolwindow.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 620, kHeight = 320;
constexpr int kMargin = 10, kButtonW = 90, kButtonH = 26;

}  // namespace

CookieViewWindow& frmCookies() { return soleInstance<CookieViewWindow>(); }

int CookieViewWindow::showFile(std::string_view path, HWND owner) {
  if (isOpen() || isModal()) return -1;  // shown already
  file_ = std::string(path);
  return asker().showModal(*this, owner);
}

bool CookieViewWindow::build(HWND owner) {
  if (isOpen()) return true;
  WindowSpec spec = dialogFrame("Cookie Information", kWidth, kHeight, owner);
  spec.style |= WS_THICKFRAME;
  return create(spec);
}

bool CookieViewWindow::onCreate() {
  addControl(button("cmdOK", ids::kCookiesOk, "&OK", 0, 0, kButtonW, kButtonH, BS_DEFPUSHBUTTON));
  cmdOK.bind(*this, "cmdOK");
  Lst_Cook.setColumns({{"Domain  ", 160},
                       {"Cookie Name  ", 120},
                       {"Cookie Value  ", 160},
                       {"Secure  ", 60},
                       {"Source  ", 0},
                       {"Parent  ", 110}});
  if (!Lst_Cook.create(*this, "Lst_Cook", ids::kCookiesList, kMargin, kMargin, kWidth - 2 * kMargin,
                       240, false))
    return false;
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  images_.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1));
  HWND lv = Lst_Cook.hwnd();
  SetWindowLongPtrW(lv, GWL_STYLE, GetWindowLongPtrW(lv, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  // Every row carries the same small icon: the shell's for a text file, which a cookie file is.
  SHFILEINFOW info{};
  if (images_ &&
      SHGetFileInfoW(L".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON) &&
      info.hIcon) {
    ImageList_AddIcon(images_.get(), info.hIcon);
    DestroyIcon(info.hIcon);
    Lst_Cook.setImageList(images_.get());
  }
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  readFile();
  return true;
}

void CookieViewWindow::readFile() {
  Lst_Cook.clear();
  text_.clear();
  if (file_.empty() || !isUsablePathLength(file_) || !fileExists(file_)) return;
  // A file larger than any cookie file shows what its first part holds.
  std::optional<std::string> bytes = readFileStart(file_, kMaxCookieFileBytes);
  if (!bytes || bytes->empty()) return;
  text_ = fromFileText(*bytes);
  std::string parent = GetFileNameFromPath(file_);
  std::vector<CookieRecord> records = parseCookieFile(text_);
  Lst_Cook.beginUpdate();
  // The last record of the file on top.
  for (auto r = records.rbegin(); r != records.rend(); ++r) {
    ListRow row;
    row.image = ImageList_GetImageCount(images_.get()) > 0 ? 0 : -1;
    row.cells = {r->domain, r->name, r->value};
    if (r->complete) {
      row.cells.push_back(r->secure);
      row.cells.push_back(r->source);
      row.cells.push_back(parent);
    }
    Lst_Cook.addRow(std::move(row));
  }
  Lst_Cook.endUpdate();
}

void CookieViewWindow::onSize(int width, int height, bool) {
  if (!Lst_Cook.hwnd()) return;
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH);
  int bottom = height - m;
  MoveWindow(Lst_Cook.hwnd(), m, m, std::max(0, width - 2 * m),
             std::max(scale(40), bottom - bh - m - m), TRUE);
  MoveWindow(cmdOK.hwnd(), std::max(m, width - m - bw), bottom - bh, bw, bh, TRUE);
}

void CookieViewWindow::onCommand(int id, int code, HWND) {
  if (id == ids::kCookiesOk || id == IDCANCEL) cmdOK_Click();
}

void CookieViewWindow::onDestroy() { releaseControls({&Lst_Cook, &cmdOK}); }

}  // namespace glenvask
