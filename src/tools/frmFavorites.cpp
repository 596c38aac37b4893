#include "tools/frmFavorites.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/favorite.h"
#include "base/pathtext.h"
#include "base/text.h"
#include "base/webpage.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kWidth = 640, kHeight = 420;
constexpr int kMargin = 10, kButtonW = 96, kButtonH = 26, kGap = 6;

HMENU buildMenu() {
  HMENU bar = CreateMenu();
  HMENU options = CreatePopupMenu();
  auto item = [&](int id, const wchar_t* text) { AppendMenuW(options, MF_STRING, id, text); };
  item(ids::kCmdFavoritesDeleteAll, L"&Delete all");
  item(ids::kCmdFavoritesDeleteSelected, L"D&elete selected");
  item(ids::kCmdFavoritesProperties, L"&Properties");
  AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  item(ids::kCmdFavoritesSelectAll, L"&Select all");
  item(ids::kCmdFavoritesDeselectAll, L"D&eselect all");
  AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  item(ids::kCmdFavoritesExit, L"E&xit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"&Options");
  return bar;
}

// The text of a favorite file: UTF-16 after its byte-order mark (as the platform's profile
// calls write a file made that way), else UTF-8 or the ANSI code page.
std::string favoriteText(const std::string& bytes) {
  if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return fromFileText(bytes);
  std::wstring text((bytes.size() - 2) / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
  return utf8(text);
}

bool isDotName(const wchar_t* n) {
  return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}

}  // namespace

FavoritesWindow& frmFavorites() { return FavoritesWindow::instance(); }

bool FavoritesWindow::build(HWND owner) {
  return create(toolFrame("Internet Explorer Favorites", kWidth, kHeight, buildMenu(), owner));
}

bool FavoritesWindow::onCreate() {
  const ControlSpec specs[] = {
      label("Label1", ids::kFavoritesHeading, "Internet Explorer Favorites", kMargin, 8, 400, 18),
      label("lblTotalFiles", ids::kFavoritesTotal, "", kMargin, 0, 300, 18),
      button("cmdSelectAll", ids::kFavoritesSelectAll, "&Select all", 0, 0, kButtonW, kButtonH),
      button("cmdDeselectAll", ids::kFavoritesDeselectAll, "&Deselect all", 0, 0, kButtonW,
             kButtonH),
      button("cmdDeleteSelected", ids::kFavoritesDelete, "&Delete", 0, 0, kButtonW, kButtonH),
      button("cmdExit", ids::kFavoritesClose, "&Close", 0, 0, kButtonW, kButtonH),
  };
  addControls(specs);
  Label1.bind(*this, "Label1");
  lblTotalFiles.bind(*this, "lblTotalFiles");
  cmdSelectAll.bind(*this, "cmdSelectAll");
  cmdDeselectAll.bind(*this, "cmdDeselectAll");
  cmdDeleteSelected.bind(*this, "cmdDeleteSelected");
  cmdExit.bind(*this, "cmdExit");
  lstvFavorites.setColumns({{"Name", 180}, {"Folder", 140}, {"URL", 280}});
  if (!lstvFavorites.create(*this, "lstvFavorites", ids::kFavoritesList, kMargin, 30,
                            kWidth - 2 * kMargin, 300, true))
    return false;
  lstvFavorites.onActivate = [this](size_t) { lstvFavorites_DblClick(); };
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  onSize(rc.right, rc.bottom, false);
  Form_Load();
  return true;
}

void FavoritesWindow::onSize(int width, int height, bool) {
  if (!lstvFavorites.hwnd()) return;
  int m = scale(kMargin), bw = scale(kButtonW), bh = scale(kButtonH), gap = scale(kGap);
  int bottom = height - m;
  int top = scale(30);
  int listBottom = std::max(top + scale(40), bottom - bh - scale(30));
  MoveWindow(lstvFavorites.hwnd(), m, top, std::max(0, width - 2 * m), listBottom - top, TRUE);
  MoveWindow(lblTotalFiles.hwnd(), m, listBottom + scale(6), std::max(0, width - 2 * m), scale(18),
             TRUE);
  placeRow({&cmdSelectAll, &cmdDeselectAll, &cmdDeleteSelected, &cmdExit}, width - m, bottom - bh,
           bw, bh, gap, m);
}

void FavoritesWindow::Form_Load() {
  lstvFavorites.clear();
  root_.clear();
  std::string folder = GetRegString(kHkeyCurrentUser, kFavoritesShellFolders, "Favorites");
  if (folder.size() > 1) {
    if (folder.back() != '\\') folder += '\\';
    if (folder.find('%') != std::string::npos) ExpandSystemRoot(folder);
    if (!folder.empty() && isUsablePathLength(folder) && folderExists(folder)) {
      root_ = folder;
      FindURL(root_);
    }
  }
  lblTotalFiles.setText("Total number of Favorites: " + std::to_string(lstvFavorites.rowCount()));
}

void FavoritesWindow::FindURL(const std::string& folder) {
  if (folder.empty() || !isUsablePathLength(folder)) return;
  std::wstring w = wide(folder);
  if (w.back() != L'\\') w += L'\\';
  Loop loop(*this);
  lstvFavorites.beginUpdate();
  findIn(w, loop);
  lstvFavorites.endUpdate();
}

void FavoritesWindow::findIn(const std::wstring& folder, Loop& loop) {
  if (folder.size() + 1 > kMaxPathUnits) return;
  WIN32_FIND_DATAW fd;
  std::vector<std::wstring> subfolders;
  {
    FindHandle find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &fd,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
      if (isDotName(fd.cFileName)) continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a folder is never entered: it may lead anywhere, or round in a loop.
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          subfolders.emplace_back(fd.cFileName);
      } else {
        addFavorite(folder, fd);
      }
      doEvents();
      if (loop.stopped()) return;
    } while (FindNextFileW(find.get(), &fd));
  }
  for (const std::wstring& sub : subfolders) {
    findIn(folder + sub + L"\\", loop);
    if (loop.stopped()) return;
  }
}

void FavoritesWindow::addFavorite(const std::wstring& folder, const WIN32_FIND_DATAW& found) {
  std::wstring wname = found.cFileName;
  std::string name = utf8(wname);
  if (!isFavoriteFileName(name)) return;
  // A name that does not read back as itself could not be deleted by its row: not listed.
  if (wide(name) != wname) return;
  std::string path = utf8(folder) + name;
  if (!isUsablePathLength(path)) return;
  std::string address;
  if (found.nFileSizeLow > 0 || found.nFileSizeHigh > 0) {
    if (auto bytes = readFileStart(path, kMaxFavoriteFileBytes))
      address = favoriteAddress(favoriteText(*bytes));
  }
  std::string folderText = utf8(folder);
  std::string shownFolder =
      istartsWith(folderText, root_) ? folderText.substr(root_.size()) : folderText;
  if (!shownFolder.empty() && shownFolder.back() == '\\') shownFolder.pop_back();
  ListRow row;
  row.cells = {favoriteName(name), shownFolder, address};
  row.key = path;
  lstvFavorites.addRow(std::move(row));
}

void FavoritesWindow::lstvFavorites_DblClick() {
  int i = currentRow(lstvFavorites);
  if (i < 0) return;
  std::string address = lstvFavorites.rowText(static_cast<size_t>(i), kFavColUrl);
  if (address.empty()) return;
  // Only a web address goes to the shell: it would start the program a file address names.
  if (isWebAddress(address))
    outside().shellExecute(hwnd(), "Open", address, "", "", SW_SHOWNORMAL);
  else
    asker().messageBox(hwnd(), address, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void FavoritesWindow::mnuProperties_Click() {
  int i = currentRow(lstvFavorites);
  if (i >= 0) ShowFileProperties(rowFile(static_cast<size_t>(i)), hwnd());
}

void FavoritesWindow::deleteFavorites(bool checkedOnly) {
  size_t n = lstvFavorites.rowCount();
  if (n == 0) return;
  std::int64_t count = 0;
  bool failed = false;
  lstvFavorites.beginUpdate();
  for (size_t i = 0; i < n; ++i) {
    if (checkedOnly && !lstvFavorites.rowChecked(i)) continue;
    if (RecycleFile(rowFile(i)) != 0) {
      lstvFavorites.setRowChecked(i, true);
      lstvFavorites.setRowColor(i, CLR_DEFAULT);
      ++count;
    } else {
      lstvFavorites.setRowChecked(i, false);
      lstvFavorites.setRowColor(i, ListView::kRed);
      failed = true;
    }
  }
  lstvFavorites.removeRows([&](size_t i) { return lstvFavorites.rowChecked(i); });
  lstvFavorites.endUpdate();
  lblTotalFiles.setText("Deleted " + std::to_string(count) + " favorites");
  if (failed) asker().messageBox(hwnd(), kFavoritesRedText, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void FavoritesWindow::onCommand(int id, int code, HWND) {
  switch (id) {
    case ids::kCmdFavoritesDeleteAll: mnuDeleteAll_Click(); break;
    case ids::kFavoritesDelete:
    case ids::kCmdFavoritesDeleteSelected: mnuDeleteSelected_Click(); break;
    case ids::kCmdFavoritesProperties: mnuProperties_Click(); break;
    case ids::kFavoritesSelectAll:
    case ids::kCmdFavoritesSelectAll: mnuSelectAll_Click(); break;
    case ids::kFavoritesDeselectAll:
    case ids::kCmdFavoritesDeselectAll: mnuDeselectAll_Click(); break;
    case ids::kFavoritesClose:
    case ids::kCmdFavoritesExit:
    case IDCANCEL: mnuExit_Click(); break;
    default: break;
  }
}

void FavoritesWindow::onDestroy() {
  releaseControls({&lstvFavorites, &Label1, &lblTotalFiles, &cmdSelectAll, &cmdDeselectAll,
                   &cmdDeleteSelected, &cmdExit});
}

}  // namespace glenvask
