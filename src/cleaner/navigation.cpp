// The main window's surroundings of the run: the header band with the tab pictures (Main,
// Tools, Updates) and the Options and Help pictures, the three pages they switch, the Tools
// page's pictures that open the tool windows, the hover feedback, and the pop-up menus of the
// pictures. The pictures are drawn here, in a few strokes each.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "cleaner/frmMain.h"
#include "help/frmOnlineUpdates2.h"
#include "help/update.h"
#include "win/handle.h"
#include "win/ids.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;

constexpr COLORREF kBand = RGB(32, 58, 96);
constexpr COLORREF kBandLight = RGB(236, 240, 246);
constexpr COLORREF kInk = RGB(32, 58, 96);
constexpr COLORREF kAccent = RGB(0, 128, 96);
constexpr COLORREF kHover = RGB(0, 120, 215);

// The header: each tab header is a picture with its caption below; the marker (a light tab
// behind the header, with a notch below it) sits at the chosen one's left.
constexpr int kTabLeft[] = {3, 87, 171};  // 45, 1310 and 2565 twips
constexpr int kTabWidth = 80, kMarkerTop = 81;
constexpr int kPictureSize = 32, kToolPictureSize = 48;

struct Picture {
  const char* name;
  int id;
  const char* caption;
  const char* captionName;
};

constexpr Picture kTabs[] = {
    {"Image24", ids::kMainTabMain, "Main", "Label16"},
    {"Image25", ids::kMainTabTools, "Tools", "Label18"},
    {"Image26", ids::kMainTabUpdates, "Updates", "Label21"},
};
constexpr Picture kHeaderPictures[] = {
    {"Image22", ids::kMainPictureOptions, "Options", "Label11"},
    {"Image23", ids::kMainPictureHelp, "Help", "Label13"},
};
constexpr Picture kToolPictures[] = {
    {"Image33", ids::kMainPictureStartup, "Startup Programs", "Label14"},
    {"Image34", ids::kMainPictureUninstall, "Uninstall Programs", "Label15"},
    {"Image35", ids::kMainPictureFileAssociations, "File Associations", "Label17"},
    {"Image36", ids::kMainPictureRegistry, "Registry Cleanup", "Label20"},
    {"Image37", ids::kMainPictureInternetExplorer, "Internet Explorer", "Label19"},
    {"Image38", ids::kMainPicturePlugins, "Plugins", "Label22"},
};

bool isPicture(int id) {
  return (id >= ids::kMainPictureOptions && id <= ids::kMainPicturePlugins);
}
bool isToolOrHeaderPicture(int id) {
  return isPicture(id) && !(id >= ids::kMainTabMain && id <= ids::kMainTabUpdates);
}

// Pens and brushes of one drawing, released when it ends.
class Ink {
 public:
  Ink(HDC dc, COLORREF color, int width) : dc_(dc) {
    pen_.reset(CreatePen(PS_SOLID, width, color));
    brush_.reset(CreateSolidBrush(color));
    oldPen_ = SelectObject(dc_, pen_.get());
    oldBrush_ = SelectObject(dc_, GetStockObject(NULL_BRUSH));
  }
  ~Ink() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
  }
  Ink(const Ink&) = delete;
  Ink& operator=(const Ink&) = delete;
  void fill(bool on) { SelectObject(dc_, on ? brush_.get() : GetStockObject(NULL_BRUSH)); }

 private:
  HDC dc_;
  GdiHandle pen_, brush_;
  HGDIOBJ oldPen_, oldBrush_;
};

// One picture in the square r (its size s), in the colour given.
void drawGlyph(HDC dc, int id, const RECT& r, COLORREF color) {
  int s = r.right - r.left, x = r.left, y = r.top;
  auto P = [&](double fx, double fy) { return POINT{x + int(fx * s), y + int(fy * s)}; };
  auto line = [&](double x1, double y1, double x2, double y2) {
    POINT p[] = {P(x1, y1), P(x2, y2)};
    Polyline(dc, p, 2);
  };
  auto box = [&](double x1, double y1, double x2, double y2) {
    Rectangle(dc, x + int(x1 * s), y + int(y1 * s), x + int(x2 * s), y + int(y2 * s));
  };
  auto ring = [&](double cx, double cy, double rad) {
    Ellipse(dc, x + int((cx - rad) * s), y + int((cy - rad) * s), x + int((cx + rad) * s),
            y + int((cy + rad) * s));
  };
  Ink ink(dc, color, std::max(2, s / 14));
  switch (id) {
    case ids::kMainPictureOptions:  // a gear: a ring with eight teeth
      ring(0.5, 0.5, 0.22);
      for (int i = 0; i < 8; ++i) {
        double a = i * 3.14159265 / 4;
        line(0.5 + 0.26 * std::cos(a), 0.5 + 0.26 * std::sin(a), 0.5 + 0.4 * std::cos(a),
             0.5 + 0.4 * std::sin(a));
      }
      break;
    case ids::kMainPictureHelp:  // a question mark in a ring
      ring(0.5, 0.5, 0.42);
      SetArcDirection(dc, AD_CLOCKWISE);
      Arc(dc, P(0.34, 0.2).x, P(0.34, 0.2).y, P(0.66, 0.52).x, P(0.66, 0.52).y, P(0.34, 0.36).x,
          P(0.34, 0.36).y, P(0.5, 0.52).x, P(0.5, 0.52).y);
      SetArcDirection(dc, AD_COUNTERCLOCKWISE);
      line(0.5, 0.52, 0.5, 0.62);
      line(0.5, 0.72, 0.5, 0.76);
      break;
    case ids::kMainTabMain:  // a list of ticked boxes
      for (int i = 0; i < 3; ++i) {
        double t = 0.14 + i * 0.28;
        box(0.12, t, 0.32, t + 0.2);
        line(0.16, t + 0.1, 0.21, t + 0.16);
        line(0.21, t + 0.16, 0.3, t + 0.04);
        line(0.42, t + 0.1, 0.88, t + 0.1);
      }
      break;
    case ids::kMainTabTools:  // a wrench
      ring(0.3, 0.3, 0.16);
      line(0.41, 0.41, 0.84, 0.84);
      line(0.36, 0.48, 0.78, 0.9);
      break;
    case ids::kMainTabUpdates:  // a globe with an arrow down
      ring(0.45, 0.45, 0.34);
      line(0.11, 0.45, 0.79, 0.45);
      Ellipse(dc, P(0.3, 0.11).x, P(0.3, 0.11).y, P(0.6, 0.79).x, P(0.6, 0.79).y);
      line(0.82, 0.6, 0.82, 0.94);
      line(0.72, 0.84, 0.82, 0.94);
      line(0.92, 0.84, 0.82, 0.94);
      break;
    case ids::kMainPictureStartup:  // a power sign
      Arc(dc, P(0.18, 0.2).x, P(0.18, 0.2).y, P(0.82, 0.84).x, P(0.82, 0.84).y, P(0.32, 0.26).x,
          P(0.32, 0.26).y, P(0.68, 0.26).x, P(0.68, 0.26).y);
      line(0.5, 0.12, 0.5, 0.5);
      break;
    case ids::kMainPictureUninstall:  // a box with a minus
      box(0.16, 0.3, 0.84, 0.86);
      line(0.16, 0.3, 0.3, 0.14);
      line(0.84, 0.3, 0.7, 0.14);
      line(0.3, 0.14, 0.7, 0.14);
      line(0.34, 0.58, 0.66, 0.58);
      break;
    case ids::kMainPictureFileAssociations:  // a page linked to a cog
      box(0.14, 0.1, 0.56, 0.66);
      line(0.22, 0.26, 0.48, 0.26);
      line(0.22, 0.4, 0.48, 0.4);
      line(0.56, 0.52, 0.68, 0.64);
      ring(0.74, 0.74, 0.14);
      break;
    case ids::kMainPictureRegistry:  // stacked blocks
      box(0.12, 0.56, 0.44, 0.86);
      box(0.52, 0.56, 0.84, 0.86);
      box(0.32, 0.18, 0.64, 0.48);
      break;
    case ids::kMainPictureInternetExplorer:  // a globe
      ring(0.5, 0.5, 0.38);
      line(0.12, 0.5, 0.88, 0.5);
      Ellipse(dc, P(0.32, 0.12).x, P(0.32, 0.12).y, P(0.68, 0.88).x, P(0.68, 0.88).y);
      break;
    case ids::kMainPicturePlugins:  // a plug
      box(0.24, 0.36, 0.76, 0.7);
      line(0.38, 0.14, 0.38, 0.36);
      line(0.62, 0.14, 0.62, 0.36);
      line(0.5, 0.7, 0.5, 0.9);
      break;
    default:
      break;
  }
}

}  // namespace

void MainWindow::createPages() {
  // The header band's pictures and captions.
  auto picture = [&](const Picture& p, int x, int y, int size, int captionWidth, bool band) {
    addControl({p.name, WC_STATICW, p.id, "", x, y, size, size, SS_OWNERDRAW | SS_NOTIFY});
    int cx = x + size / 2 - captionWidth / 2;
    addControl(label(p.captionName, IDC_STATIC, p.caption, cx, y + size + 4, captionWidth, 16,
                     SS_CENTER | (band ? 0 : SS_NOTIFY)));
  };
  for (size_t i = 0; i < std::size(kTabs); ++i)
    picture(kTabs[i], kTabLeft[i] + (kTabWidth - kPictureSize) / 2, 10, kPictureSize, kTabWidth,
            true);
  picture(kHeaderPictures[0], kClientWidth - 150, 10, kPictureSize, 70, true);
  picture(kHeaderPictures[1], kClientWidth - 76, 10, kPictureSize, 70, true);

  // The Tools page: two rows of three.
  std::vector<std::string> toolsPage, updatesPage;
  for (size_t i = 0; i < std::size(kToolPictures); ++i) {
    int x = 96 + static_cast<int>(i % 3) * 196 - kToolPictureSize / 2;
    int y = kHeaderHeight + 50 + static_cast<int>(i / 3) * 150;
    picture(kToolPictures[i], x, y, kToolPictureSize, 160, false);
    toolsPage.push_back(kToolPictures[i].name);
    toolsPage.push_back(kToolPictures[i].captionName);
  }

  // The Updates page.
  const ControlSpec updates[] = {
      label("lblInstalledCaption", IDC_STATIC, "Installed version:", 20, kHeaderHeight + 14, 120,
            18),
      label("lblInstalled", ids::kMainInstalledVersion, "", 144, kHeaderHeight + 14, 200, 18),
      label("lblLatestCaption", IDC_STATIC, "Latest version:", 20, kHeaderHeight + 38, 120, 18),
      label("lblLatest", ids::kMainLatestVersion, "", 144, kHeaderHeight + 38, 200, 18),
  };
  addControls(updates);
  for (const auto& c : updates) updatesPage.push_back(c.name);
  WebBrowser1.create(*this, "WebBrowser1", ids::kMainUpdatePage, 12, kHeaderHeight + 66,
                     kClientWidth - 24, 430);
  updatesPage.push_back("WebBrowser1");
  addControl(button("cmdDownload", ids::kMainDownload, "&Download", 390, kHeaderHeight + 528, 76,
                    26));
  cmdDownload.bind(*this, "cmdDownload");
  onUpdateCheck = [this] { checkUpdates(); };
  cmdDownload.setVisible(false);
  lblInstalled.bind(*this, "lblInstalled");
  lblLatest.bind(*this, "lblLatest");

  // The page set: the header pictures choose its page; it has no strip of its own.
  std::vector<std::string> mainPage;
  for (const auto& name : childNames()) {
    bool groupPart = name.rfind("lbl", 0) == 0 || name.rfind("fra", 0) == 0;
    bool box = name.rfind("chk", 0) == 0 || name == "Check2";
    if ((groupPart && (name == "lblFolderFiles" || name == "lblMiscellaneous" ||
                       name == "lblInternet" || name == "lblFirefox" ||
                       name.rfind("fra", 0) == 0 || name.rfind("lblCleanDate", 0) == 0)) ||
        box)
      mainPage.push_back(name);
  }
  addControl({"SSTab1", WC_TABCONTROLW, ids::kMainPages, "", 0, kHeaderHeight, kClientWidth,
              500, 0});
  ShowWindow(child("SSTab1"), SW_HIDE);
  SSTab1.bind(*this, "SSTab1");
  SSTab1.addPage("Main", mainPage);
  SSTab1.addPage("Tools", toolsPage);
  SSTab1.addPage("Updates", updatesPage);
  showPage(0);
}

void MainWindow::showPage(int page) {
  if (page < 0 || page > 2) return;
  tabPage_ = page;
  SSTab1.select(static_cast<size_t>(page));
  setTipBoxVisible(tipBoxOn_);
  if (page == 0) {
    cmdClean.setVisible(true);
    cmdStop.setVisible(true);
    cmdDownload.setVisible(false);
  } else if (page == 1) {
    cmdClean.setVisible(false);
    cmdStop.setVisible(false);
    cmdDownload.setVisible(false);
  } else {
    cmdClean.setVisible(false);
    cmdStop.setVisible(false);
    SetTimer(hwnd(), kUpdateCheckTimer, 1, nullptr);  // Timer1: the check, once per opening
  }
  for (const Picture& t : kTabs) InvalidateRect(child(t.captionName), nullptr, TRUE);
  RECT band{0, 0, scale(kClientWidth), scale(kHeaderHeight)};
  InvalidateRect(hwnd(), &band, TRUE);
}

void MainWindow::Timer1_Timer() {
  KillTimer(hwnd(), kUpdateCheckTimer);
  if (onUpdateCheck) onUpdateCheck();
}

void MainWindow::checkUpdates() {
  if (!updateCheck_) updateCheck_ = std::make_unique<UpdateCheckRun>(hwnd(), kUpdateCheckDone);
}

std::optional<LRESULT> MainWindow::updateCheckMessage(UINT msg) {
  if (msg == WM_NCDESTROY) updateCheck_.reset();  // stops the check; nothing of it stays
  if (msg != kUpdateCheckDone || !updateCheck_) return std::nullopt;
  std::optional<UpdateCheck> c = updateCheck_->result();
  if (!c) return 0;
  updateCheck_.reset();
  lblInstalled.setText(c->installed);
  if (c->verdict == UpdateVerdict::NoConnection || c->pageHtml.empty()) {
    showUpdateConnectionMessage(hwnd());
    return 0;
  }
  lblLatest.setText(c->latest);
  WebBrowser1.showHtml(c->page, c->pageHtml);
  cmdDownload.setVisible(c->showDownload && tabPage_ == 2);
  return 0;
}

void MainWindow::cmdDownload_Click() {
  if (!running_) asker().showModal(frmOnlineUpdates2(), hwnd());
}

void MainWindow::setPicturesEnabled(bool on) {
  for (const Picture& p : kHeaderPictures) EnableWindow(child(p.name), on);
  for (const Picture& p : kToolPictures) EnableWindow(child(p.name), on);
}

void MainWindow::popupMenuAt(HWND picture, int menuPosition, int subPosition) {
  HMENU menu = menuBar_ ? GetSubMenu(menuBar_, menuPosition) : nullptr;
  if (menu && subPosition >= 0) menu = GetSubMenu(menu, subPosition);
  if (!menu) return;
  RECT r{};
  GetWindowRect(picture, &r);
  // The chosen item comes back as the menu's own command.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.left, r.bottom, 0, hwnd(),
                 nullptr);
}

// The pictures' clicks, as the menus' commands where they share one.
bool MainWindow::pictureClicked(int id) {
  switch (id) {
    case ids::kMainTabMain: showPage(0); return true;
    case ids::kMainTabTools: showPage(1); return true;
    case ids::kMainTabUpdates: showPage(2); return true;
    case ids::kMainPictureOptions: onCommand(ids::kCmdOptions, 0, nullptr); return true;
    case ids::kMainPictureHelp: popupMenuAt(child("Image23"), 3, -1); return true;
    case ids::kMainPictureStartup: onCommand(ids::kCmdStartupPrograms, 0, nullptr); return true;
    case ids::kMainPictureUninstall: onCommand(ids::kCmdUninstall, 0, nullptr); return true;
    case ids::kMainPictureFileAssociations:
      onCommand(ids::kCmdFileAssociations, 0, nullptr);
      return true;
    case ids::kMainPictureRegistry: popupMenuAt(child("Image36"), 2, 4); return true;
    case ids::kMainPictureInternetExplorer: popupMenuAt(child("Image37"), 2, 6); return true;
    case ids::kMainPicturePlugins: onCommand(ids::kCmdManagePlugins, 0, nullptr); return true;
    default: return false;
  }
}

std::optional<LRESULT> MainWindow::navigationMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = updateCheckMessage(msg)) return r;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT band{0, 0, scale(kClientWidth), scale(kMarkerTop + 7)};
      GdiHandle bandBrush(CreateSolidBrush(kBand));
      FillRect(dc, &band, static_cast<HBRUSH>(bandBrush.get()));
      // The marker: a light tab behind the chosen header, open to the page below.
      int left = scale(kTabLeft[tabPage_]);
      RECT tab{left, scale(4), left + scale(kTabWidth), scale(kMarkerTop + 7)};
      GdiHandle light(CreateSolidBrush(kBandLight));
      FillRect(dc, &tab, static_cast<HBRUSH>(light.get()));
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HWND ctl = reinterpret_cast<HWND>(lp);
      HDC dc = reinterpret_cast<HDC>(wp);
      for (size_t i = 0; i < std::size(kTabs); ++i)
        if (ctl == child(kTabs[i].captionName)) {
          bool chosen = static_cast<int>(i) == tabPage_;
          SetTextColor(dc, chosen ? RGB(0, 0, 0) : RGB(255, 255, 255));
          SetBkColor(dc, chosen ? kBandLight : kBand);
          if (!bandBrush_) bandBrush_.reset(CreateSolidBrush(kBand));
          if (!lightBrush_) lightBrush_.reset(CreateSolidBrush(kBandLight));
          return reinterpret_cast<LRESULT>(chosen ? lightBrush_.get() : bandBrush_.get());
        }
      for (const Picture& p : kHeaderPictures)
        if (ctl == child(p.captionName)) {
          SetTextColor(dc, RGB(255, 255, 255));
          SetBkColor(dc, kBand);
          if (!bandBrush_) bandBrush_.reset(CreateSolidBrush(kBand));
          return reinterpret_cast<LRESULT>(bandBrush_.get());
        }
      return std::nullopt;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      int id = static_cast<int>(di->CtlID);
      if (!isPicture(id)) return std::nullopt;
      bool onBand = id <= ids::kMainTabUpdates;
      bool chosen = id >= ids::kMainTabMain && id - ids::kMainTabMain == tabPage_;
      COLORREF back = onBand ? (chosen ? kBandLight : kBand) : GetSysColor(COLOR_BTNFACE);
      GdiHandle brush(CreateSolidBrush(back));
      FillRect(di->hDC, &di->rcItem, static_cast<HBRUSH>(brush.get()));
      COLORREF ink = !IsWindowEnabled(di->hwndItem) ? GetSysColor(COLOR_GRAYTEXT)
                     : onBand                       ? (chosen ? kInk : RGB(255, 255, 255))
                                                    : kAccent;
      RECT r = di->rcItem;
      InflateRect(&r, -2, -2);
      drawGlyph(di->hDC, id, r, ink);
      if (id == hovered_ && isToolOrHeaderPicture(id)) {  // the hover frame
        GdiHandle pen(CreatePen(PS_SOLID, 1, kHover));
        HGDIOBJ oldPen = SelectObject(di->hDC, pen.get());
        HGDIOBJ oldBrush = SelectObject(di->hDC, GetStockObject(NULL_BRUSH));
        Rectangle(di->hDC, di->rcItem.left, di->rcItem.top, di->rcItem.right, di->rcItem.bottom);
        SelectObject(di->hDC, oldPen);
        SelectObject(di->hDC, oldBrush);
      }
      return TRUE;
    }
    case WM_SETCURSOR: {
      int id = GetDlgCtrlID(reinterpret_cast<HWND>(wp));
      int hover = isToolOrHeaderPicture(id) && IsWindowEnabled(reinterpret_cast<HWND>(wp)) ? id
                                                                                            : -1;
      if (hover != hovered_) {
        for (int old : {hovered_, hover})
          if (old > 0) InvalidateRect(GetDlgItem(hwnd(), old), nullptr, FALSE);
        hovered_ = hover;
      }
      if (isPicture(id)) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // the hand
        return TRUE;
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace glenvask
