#include "tools/frmIECache.h"

#include <algorithm>
#include <vector>

#include "services/scanner.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 760, kHeight = 520;
constexpr int kMargin = 10, kButtonW = 96, kButtonH = 26, kGap = 6;
constexpr int kListTop = 60;

constexpr DWORD kMasks[] = {kCacheMaskAll, kCacheMaskCookies, kCacheMaskHistory, kCacheMaskUrl};

// How often Delete all shows its progress and lets the window answer.
constexpr ULONGLONG kRedrawMs = 300;

constexpr const char* kObtaining = "Obtaining information, please wait";
constexpr const char* kDisplayingNone = "Displaying: None";

HMENU buildMenu() {
  HMENU bar = CreateMenu();
  HMENU options = CreatePopupMenu();
  AppendMenuW(options, MF_STRING, ids::kCmdCacheDeleteAll, L"&Delete all");
  AppendMenuW(options, MF_STRING, ids::kCmdCacheDeleteSelected, L"D&elete selected");
  AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(options, MF_STRING, ids::kCmdCacheSelectAll, L"&Select all");
  AppendMenuW(options, MF_STRING, ids::kCmdCacheDeselectAll, L"De&select all");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"&Options");
  return bar;
}

// The row key holds the source's UTF-16 units as they are, so that an address that is no
// well-formed text still names its own entry, and no other, when it is deleted.
std::string keyOf(const std::wstring& source) {
  return std::string(reinterpret_cast<const char*>(source.data()), source.size() * sizeof(wchar_t));
}

std::wstring sourceOf(const std::string& key) {
  std::wstring w(key.size() / sizeof(wchar_t), L'\0');
  std::copy_n(key.data(), w.size() * sizeof(wchar_t), reinterpret_cast<char*>(w.data()));
  return w;
}

}  // namespace

bool passesCacheFilter(DWORD type, DWORD mask) {
  if (mask == kCacheMaskAll) return true;
  if (mask == kCacheMaskCookies) return (type & 0x100000) != 0;
  return (type & mask) == mask;
}

ListRow cacheRow(const UrlCacheEntry& e) {
  ListRow row;
  row.cells.resize(kCacheColumnCount);
  row.cells[kCacheColSource] = utf8(e.url);
  std::string local = utf8(e.localFile);
  size_t slash = local.rfind('\\');
  if (local.size() > 1 && slash != std::string::npos) {
    row.cells[kCacheColLocalName] = local.substr(slash + 1);
    row.cells[kCacheColLocalPath] = local.substr(0, slash);
  }
  row.cells[kCacheColSize] = std::to_string(e.size);
  row.cells[kCacheColHitRate] = std::to_string(e.hitRate);
  row.cells[kCacheColLastAccessed] = IECacheWindow::FormatCacheTime(e.lastAccess);
  row.cells[kCacheColLastModified] = IECacheWindow::FormatCacheTime(e.lastModified);
  row.cells[kCacheColExpires] = IECacheWindow::FormatCacheTime(e.expires);
  row.key = keyOf(e.url);
  return row;
}

std::wstring cacheRowSource(const ListRow& row) { return sourceOf(row.key); }

IECacheWindow& frmIECache() { return IECacheWindow::instance(); }

std::string IECacheWindow::FormatCacheTime(const FILETIME& time) { return FormatFileTime(time); }

bool IECacheWindow::build(HWND owner) {
  return create(toolFrame("Temporary Internet Files (Cache)", kWidth, kHeight, buildMenu(), owner));
}

bool IECacheWindow::onCreate() {
  const ControlSpec specs[] = {
      groupBox("fraDisplay", ids::kCacheFrame, "Display", kMargin, 6, 360, 46),
      optionButton("optAll", ids::kCacheAll, "All", 22, 24, 60, 20, true),
      optionButton("optCookies", ids::kCacheCookies, "Cookies", 92, 24, 80, 20),
      optionButton("optHistory", ids::kCacheHistory, "History", 182, 24, 80, 20),
      optionButton("optURL", ids::kCacheUrl, "URL", 272, 24, 80, 20),
      label("lblStatus", ids::kCacheStatus, "", 390, 28, 360, 18),
      label("lblDisplaying", ids::kCacheDisplaying, kDisplayingNone, kMargin, 290, 740, 18),
      button("cmdSelectAll", ids::kCacheSelectAll, "&Select all", 0, 0, kButtonW, kButtonH),
      button("cmdDeselectAll", ids::kCacheDeselectAll, "Deselect &all", 0, 0, kButtonW, kButtonH),
      button("cmdView", ids::kCacheView, "&View", 0, 0, kButtonW, kButtonH, BS_DEFPUSHBUTTON),
      button("cmdRefresh", ids::kCacheRefresh, "&Refresh", 0, 0, kButtonW, kButtonH),
      button("cmdClear", ids::kCacheDeleteAll, "D&elete all", 0, 0, kButtonW, kButtonH),
      button("cmdDelete", ids::kCacheDelete, "&Delete", 0, 0, kButtonW, kButtonH),
      button("cmdClose", ids::kCacheClose, "&Close", 0, 0, kButtonW, kButtonH),
  };
  addControls(specs);
  lblStatus.bind(*this, "lblStatus");
  lblDisplaying.bind(*this, "lblDisplaying");
  cmdSelectAll.bind(*this, "cmdSelectAll");
  cmdDeselectAll.bind(*this, "cmdDeselectAll");
  cmdView.bind(*this, "cmdView");
  cmdRefresh.bind(*this, "cmdRefresh");
  cmdClear.bind(*this, "cmdClear");
  cmdDelete.bind(*this, "cmdDelete");
  cmdClose.bind(*this, "cmdClose");
  display.bind(*this, {"optAll", "optCookies", "optHistory", "optURL"});
  display.choose(0);
  display.onChange = [this] {
    if (int i = display.chosen(); i >= 0) listWith(kMasks[i]);
  };

  lstvCache.setColumns({
      {"Source", 260},
      {"Local filename", 120},
      {"Local file path", 200},
      {"Size", 70, SortKind::Number, true},
      {"Hit rate", 60, SortKind::Number, true},
      {"Last accessed", 140, SortKind::Date},
      {"Last modified", 140, SortKind::Date},
      {"Expires", 140, SortKind::Date},
  });
  if (!lstvCache.create(*this, "lstvCache", ids::kCacheList, kMargin, kListTop,
                        kWidth - 2 * kMargin, 220, true))
    return false;
  lstvCache.onActivate = [this](size_t) { lstvCache_DblClick(); };
  if (!wbCache.create(*this, "wbCache", ids::kCachePage, kMargin, 310, kWidth - 2 * kMargin, 160))
    return false;
  wbCache.onNavigated = [this] {
    std::string shown = wbCache.address();
    if (!shown.empty() && shown != kBlankPage) lblDisplaying.setText("Displaying: " + shown);
  };
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  Form_Load();
  return true;
}

void IECacheWindow::onSize(int width, int height, bool) {
  if (!lstvCache.hwnd()) return;
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH), gap = scale(kGap);
  int bottom = height - m;
  int top = scale(kListTop);
  int free = std::max(scale(120), bottom - bh - m - top - scale(26));
  int listH = free * 5 / 11;
  MoveWindow(lstvCache.hwnd(), m, top, std::max(0, width - 2 * m), listH, TRUE);
  int y = top + listH + scale(4);
  MoveWindow(lblDisplaying.hwnd(), m, y, std::max(0, width - 2 * m), scale(18), TRUE);
  y += scale(22);
  MoveWindow(wbCache.hwnd(), m, y, std::max(0, width - 2 * m), std::max(0, bottom - bh - m - y),
             TRUE);
  placeRow(
      {&cmdSelectAll, &cmdDeselectAll, &cmdView, &cmdRefresh, &cmdClear, &cmdDelete, &cmdClose},
      width - m, bottom - bh, bw, bh, gap, m);
}

void IECacheWindow::Form_Load() {
  deletingAll_ = false;
  lblDisplaying.setText(kDisplayingNone);
  DWORD mask = kCacheMaskAll;
  ListCacheEntries(mask);
  showCount();
  wbCache.navigate(kBlankPage);
}

void IECacheWindow::ListCacheEntries(DWORD& mask) {
  lblStatus.setText(kObtaining);
  lstvCache.clear();
  lstvCache.beginUpdate();
  ForEachUrlCacheEntry([&](const UrlCacheEntry& e) {
    if (passesCacheFilter(e.type, mask)) lstvCache.addRow(cacheRow(e));
  });
  lstvCache.endUpdate();
}

void IECacheWindow::showCount() {
  lblStatus.setText(std::to_string(lstvCache.rowCount()) + " entries");
}

void IECacheWindow::listWith(DWORD mask) {
  ListCacheEntries(mask);
  showCount();
}

void IECacheWindow::pick(int option) {
  if (display.chosen() == option)
    listWith(kMasks[option]);
  else
    display.choose(option);  // lists through onChange
}

void IECacheWindow::cmdRefresh_Click() {
  int i = display.chosen();
  listWith(kMasks[i < 0 ? 0 : i]);
}

void IECacheWindow::cmdView_Click() {
  int i = currentRow(lstvCache);
  if (i < 0) return;
  std::string source = lstvCache.rowText(static_cast<size_t>(i), kCacheColSource);
  // A cookie is never shown.
  if (source.find("Cookie:") != std::string::npos) return;
  std::string shown = source;
  if (source.find("Visited:") != std::string::npos) {
    // The address after the first "@" ("Visited: user@http://...").
    size_t at = source.find('@');
    shown = at == std::string::npos ? source : source.substr(at + 1);
  }
  wbCache.navigate(shown);
  lblDisplaying.setText("Displaying: " + shown);
}

void IECacheWindow::setDeleteAllEnabled(bool on) {
  cmdClear.setEnabled(on);
  if (HMENU menu = isOpen() ? GetMenu(hwnd()) : nullptr)
    EnableMenuItem(menu, ids::kCmdCacheDeleteAll, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void IECacheWindow::cmdClear_Click() {
  if (deletingAll_ || lstvCache.rowCount() == 0) return;
  deletingAll_ = true;
  setDeleteAllEnabled(false);
  {
    Loop loop(*this);
    // What the list held when Delete all was pressed. The window stays live meanwhile: a
    // refresh, a filter or a sort changes the rows under the loop, which then ends, so that
    // only entries listed when the user pressed it are deleted.
    std::vector<std::string> keys;
    keys.reserve(lstvCache.rowCount());
    for (size_t i = 0; i < lstvCache.rowCount(); ++i) keys.push_back(lstvCache.rowKey(i));
    // The rows of deleted entries leave the list in batches, one redraw each, just before the
    // window answers the user: the count moves, and what the user acts on is what is listed.
    std::vector<bool> deleted(keys.size());
    // Between those moments the list draws nothing (each removal would redraw its scroll bar).
    auto removeDeleted = [&] {
      lstvCache.removeRows([&](size_t r) { return r < deleted.size() && deleted[r]; });
      std::fill(deleted.begin(), deleted.end(), false);
      if (HWND list = lstvCache.hwnd()) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
      }
    };
    ULONGLONG lastPump = 0;
    for (size_t i = keys.size(); i-- > 0;) {
      if (ULONGLONG now = GetTickCount64(); i + 1 == keys.size() || now - lastPump >= kRedrawMs) {
        removeDeleted();
        showCount();
        EventPump::dispatchPending();
        if (lstvCache.hwnd()) SendMessageW(lstvCache.hwnd(), WM_SETREDRAW, FALSE, 0);
        lastPump = now;
        if (loop.stopped() || !isOpen()) break;
      }
      if (i >= lstvCache.rowCount() || lstvCache.rowKey(i) != keys[i]) break;
      if (RemoveUrlCacheEntry(sourceOf(keys[i]))) deleted[i] = true;
    }
    if (isOpen()) removeDeleted();
  }
  deletingAll_ = false;
  if (isOpen()) setDeleteAllEnabled(true);
  showCount();
}

void IECacheWindow::cmdDelete_Click() {
  std::vector<bool> deleted(lstvCache.rowCount());
  for (size_t i = 0; i < deleted.size(); ++i)
    deleted[i] = lstvCache.rowChecked(i) && RemoveUrlCacheEntry(sourceOf(lstvCache.rowKey(i)));
  if (lstvCache.removeRows([&](size_t r) { return deleted[r]; }) > 0) showCount();
}

void IECacheWindow::onCommand(int id, int code, HWND) {
  switch (id) {
    case ids::kCacheSelectAll:
    case ids::kCmdCacheSelectAll: cmdSelectAll_Click(); break;
    case ids::kCacheDeselectAll:
    case ids::kCmdCacheDeselectAll: cmdDeselectAll_Click(); break;
    case ids::kCacheView: cmdView_Click(); break;
    case ids::kCacheRefresh: cmdRefresh_Click(); break;
    case ids::kCacheDeleteAll:
    case ids::kCmdCacheDeleteAll: cmdClear_Click(); break;
    case ids::kCacheDelete:
    case ids::kCmdCacheDeleteSelected: cmdDelete_Click(); break;
    case ids::kCacheClose:
    case IDCANCEL: cmdClose_Click(); break;
    default: break;
  }
}

void IECacheWindow::onDestroy() {
  releaseControls({&lstvCache, &wbCache, &lblDisplaying, &lblStatus, &cmdSelectAll, &cmdDeselectAll,
                   &cmdView, &cmdRefresh, &cmdClear, &cmdDelete, &cmdClose});
}

}  // namespace glenvask
