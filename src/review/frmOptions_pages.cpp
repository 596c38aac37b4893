// The options window's pages of lists and search options: Search, Ignore folders, Ignore
// files, Unnecessary files, User-defined folders and files, Cookies.
#include "review/frmOptions.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "base/pathtext.h"
#include "base/text.h"
#include "services/clock.h"
#include "services/folderlist.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr const char* kAllFiles = "All Files (*.*)|*.*";
constexpr const char* kKeepCookiesFile = "ck.txt";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

void info(HWND owner, const char* text) {
  asker().messageBox(owner, text, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

LoadedFile readLoaded(const char* name) {
  LoadedFile f;
  std::string path = appFile(name);
  f.exists = fileExists(path);
  if (f.exists) f.bytes = readFileBytes(path);
  return f;
}

std::string textOf(const LoadedFile& f) { return f.bytes ? fromFileText(*f.bytes) : ""; }

// Writes a file the window rewrites: the bytes read when nothing changed, else the new text.
// Nothing is written when the file the page came from could not be read: what it holds was
// never shown, so the page cannot stand for it.
void saveFile(const char* name, const std::string& text, bool unchanged, const LoadedFile& read) {
  if (read.unreadable()) return;
  std::string path = appFile(name);
  const std::string& bytes = unchanged && read.bytes ? *read.bytes : text;
  // A file that holds these bytes already is not written again.
  if (auto now = readFileBytes(path); now && *now == bytes) return;
  writeFileAtomic(path, bytes);
}

// The Office recent-documents folder, offered when there is no list of user-defined folders.
std::vector<std::string> defaultUserFolders() {
  std::string appData = GetRegString(kHkeyCurrentUser, kShellFolders, "AppData");
  if (appData.size() <= 1) return {};
  std::string recent = appData + "\\Microsoft\\Office\\Recent\\";
  if (!isUsablePathLength(recent) || !folderExists(recent)) return {};
  return {recent};
}

bool pathExists(const std::string& path) {
  return !path.empty() && isUsablePathLength(path) && (fileExists(path) || folderExists(path));
}

std::string withoutMark(std::string item) {
  const std::string mark = kInvalidPathMark;
  for (size_t at; (at = item.find(mark)) != std::string::npos;) item.erase(at, mark.size());
  return item;
}

// List boxes, item by item.
void addItem(ListBox& list, const std::string& text) {
  SendMessageW(list.hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}
void fill(ListBox& list, const std::vector<std::string>& items) {
  HWND h = list.hwnd();
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  SendMessageW(h, LB_INITSTORAGE, items.size(), items.size() * 32);
  for (const auto& item : items) addItem(list, item);
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}
std::vector<std::string> itemsOf(const ListBox& list, bool stripMarks = false) {
  std::vector<std::string> items;
  for (size_t i = 0, n = list.count(); i < n; ++i)
    items.push_back(stripMarks ? withoutMark(list.itemText(i)) : list.itemText(i));
  return items;
}
bool IsInList(const ListBox& list, const std::string& text) {
  for (size_t i = 0, n = list.count(); i < n; ++i)
    if (iequals(withoutMark(list.itemText(i)), text)) return true;
  return false;
}
void selectFirst(ListBox& list) {
  if (list.count() > 0) list.select(0);
}
void selectLast(ListBox& list) {
  if (list.count() > 0) list.select(list.count() - 1);
}
// Removes the selected item; true when there was one.
bool removeSelected(ListBox& list) {
  auto selected = list.selectedIndexes();
  if (selected.empty()) return false;
  SendMessageW(list.hwnd(), LB_DELETESTRING, selected.front(), 0);
  return true;
}

// Where a row goes in a list sorted by the column in the order given.
size_t sortedPlace(const ListView& list, size_t column, bool ascending, const std::string& text) {
  std::string key = toLower(text);
  size_t i = 0;
  while (i < list.rowCount()) {
    std::string other = toLower(list.rowText(i, column));
    if (ascending ? key < other : other < key) break;
    ++i;
  }
  return i;
}

std::optional<size_t> rowNamed(const ListView& list, const std::string& name) {
  for (size_t i = 0; i < list.rowCount(); ++i)
    if (iequals(list.rowText(i, 0), name)) return i;
  return std::nullopt;
}

// Characters that would break a line of a list file.
std::string oneLine(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
             text.end());
  return text;
}

// The date texts of many file times: the local offset is asked of the platform once per hour of
// UTC time (daylight saving changes on a whole hour), which the platform answers slowly.
class LocalTimes {
 public:
  std::string text(const FILETIME& time) {
    constexpr std::int64_t kSecond = 10000000, kHour = 3600 * kSecond;
    std::int64_t utc = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    auto it = offsets_.find(utc / kHour);
    if (it == offsets_.end()) {
      DateTime local = FileTimeToLocal(time);
      SYSTEMTIME st{static_cast<WORD>(local.year), static_cast<WORD>(local.month), 0,
                    static_cast<WORD>(local.day), static_cast<WORD>(local.hour),
                    static_cast<WORD>(local.minute), static_cast<WORD>(local.second), 0};
      FILETIME lf;
      if (!SystemTimeToFileTime(&st, &lf)) return formatFileTime(local);
      std::int64_t l = static_cast<std::int64_t>(
          (static_cast<std::uint64_t>(lf.dwHighDateTime) << 32) | lf.dwLowDateTime);
      it = offsets_.emplace(utc / kHour, l - (utc - utc % kSecond)).first;
    }
    std::uint64_t l = static_cast<std::uint64_t>(utc + it->second);
    FILETIME lf{static_cast<DWORD>(l), static_cast<DWORD>(l >> 32)};
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&lf, &st)) return FormatFileTime(time);
    return formatFileTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
  }

 private:
  std::unordered_map<std::int64_t, std::int64_t> offsets_;  // UTC hour -> local less UTC
};

// The cookie files below the folder: every "*.txt" file, the folder's subfolders walked, links
// never entered.
void walkCookies(const std::string& folder, std::vector<ListRow>& rows, LocalTimes& times) {
  for (const FolderEntry& e : listFolder(wide(folder))) {
    std::string name = utf8(e.name);
    std::string path = folder + name;
    if (!isUsablePathLength(path)) continue;
    if (e.isFolder()) {
      if (!e.isLink()) walkCookies(path + "\\", rows, times);
      continue;
    }
    if (name.size() < 4 || !iequals(std::string_view(name).substr(name.size() - 4), ".txt"))
      continue;
    rows.push_back({{std::move(name), std::to_string(e.size), times.text(e.lastWrite), folder}});
  }
}

}  // namespace

// ---- Search ----

SearchPage OptionsWindow::searchPage() const {
  SearchPage p;
  for (size_t i : lstSearch.selectedIndexes()) p.drives.push_back(lstSearch.itemText(i));
  p.fileReference = chkSearchFileReference.checked();
  p.pathReference = chkSearchPathReference.checked();
  p.dateRange = chkSearchDateReference.checked();
  p.firstDate = dtpSearchFirst.value();
  p.secondDate = dtpSearchSecond.value();
  p.size = chkSearchSize.checked();
  int option = sizeOption.chosen();
  p.sizeEquals = option == 0;
  p.sizeAtLeast = option == 1;
  p.sizeAtMost = option == 2;
  p.sizeText = txtSearchSize.text();
  p.readOnly = chkSearchReadOnly.checked();
  p.hidden = chkSearchHidden.checked();
  p.system = chkSearchSystem.checked();
  return p;
}

void OptionsWindow::LoadSearchSettings() {
  srchFile_ = readLoaded(kSearchOptionsFile);
  bool exists = srchFile_.exists;
  std::vector<std::string> items;
  std::vector<size_t> selected;
  std::string windowsDrive = GetWindowsDir();
  windowsDrive = windowsDrive.substr(0, windowsDrive.find('\\'));
  std::string list = GetLogicalDriveList();
  for (const auto& root : split(list, '\0')) {
    if (root.find('\\') == std::string::npos) continue;
    std::string item = toUpper(root.substr(0, root.find('\\'))) + " " + GetDriveTypeName(root);
    if (!exists && !windowsDrive.empty() && toLower(item).find(toLower(windowsDrive)) != std::string::npos)
      selected.push_back(items.size());
    items.push_back(item);
  }
  lstSearch.setItems(items);

  // What the scanner assumes without srch.txt, and today for the dates; the file's lines
  // that read change them.
  SearchPage page;
  page.fileReference = page.pathReference = true;
  page.readOnly = page.hidden = page.system = true;
  DateTime today = localNow();
  today.hour = today.minute = today.second = 0;
  page.firstDate = page.secondDate = today;
  std::string text = textOf(srchFile_);
  auto lines = splitLines(text);
  if (!lines.empty()) {
    auto letters = srchDriveLetters(lines[0]);
    for (size_t i = 0; i < items.size(); ++i)
      if (std::find(letters.begin(), letters.end(), items[i][0]) != letters.end())
        selected.push_back(i);
  }
  applySearchPage(text, page);
  for (size_t i : selected) lstSearch.select(i);

  chkSearchFileReference.setChecked(page.fileReference);
  chkSearchPathReference.setChecked(page.pathReference);
  chkSearchDateReference.setChecked(page.dateRange);
  if (!dtpSearchFirst.setValue(page.firstDate)) dtpSearchFirst.setValue(today);
  if (!dtpSearchSecond.setValue(page.secondDate)) dtpSearchSecond.setValue(today);
  chkSearchSize.setChecked(page.size);
  if (page.sizeEquals) sizeOption.choose(0);
  else if (page.sizeAtLeast) sizeOption.choose(1);
  else if (page.sizeAtMost) sizeOption.choose(2);
  txtSearchSize.setText(page.sizeText);
  chkSearchReadOnly.setChecked(page.readOnly);
  chkSearchHidden.setChecked(page.hidden);
  chkSearchSystem.setChecked(page.system);

  // The page as the file gives it: a rewrite with nothing changed keeps the file's bytes.
  if (exists) {
    SearchPage fromFile = searchPage();
    fromFile.drives = lines.empty() ? std::vector<std::string>{} : srchDriveItems(lines[0]);
    srchLoaded_ = fromFile;
  }
}

void OptionsWindow::SaveSearchSettings() {
  SearchPage page = searchPage();
  saveFile(kSearchOptionsFile, formatSearchFile(page), srchLoaded_ && page == *srchLoaded_,
           srchFile_);
}

// ---- Folder and file lists ----

void OptionsWindow::LoadFolderList(const char* fileName, bool isUDFO) {
  StoredList& stored = isUDFO ? udfo_ : udifo_;
  ListBox& list = isUDFO ? lstUDFO : lstUDIFO;
  stored = {readLoaded(fileName), {}};
  std::vector<std::string> shown;
  if (stored.file.exists) {
    stored.items = parseListFile(textOf(stored.file));
    for (const auto& item : stored.items)
      shown.push_back(pathExists(item) ? item : kInvalidPathMark + item);
  } else if (isUDFO) {
    shown = defaultUserFolders();
  }
  fill(list, shown);
  selectFirst(list);
}

void OptionsWindow::LoadUDFIList() {
  udfi_ = {readLoaded(kUserFilesFile), {}};
  udfi_.items = parseListFile(textOf(udfi_.file));
  fill(lstUDFI, udfi_.items);
  selectFirst(lstUDFI);
}

void OptionsWindow::loadIgnoreList(const char* fileName, const char* defaultName, ListBox& list,
                                   StoredList& stored) {
  LoadedFile file = readLoaded(fileName);
  showIgnoreList(file.exists ? file : readLoaded(defaultName), list, stored);
}

void OptionsWindow::showIgnoreList(const LoadedFile& from, ListBox& list, StoredList& stored) {
  stored = {from, parseListFile(textOf(from))};
  fill(list, stored.items);
  selectFirst(list);
}

void OptionsWindow::SaveLists() {
  struct Save {
    const char* name;
    std::vector<std::string> items;
    const StoredList& stored;
  };
  Save saves[] = {
      {kUserFoldersFile, itemsOf(lstUDFO, true), udfo_},
      {kIgnoreFoldersFile, itemsOf(lstUDIFO, true), udifo_},
      {kUserFilesFile, itemsOf(lstUDFI), udfi_},
      {kIgnoreFilesFile, itemsOf(lstIFI), ifi_},
      {kIgnoreExtFile, itemsOf(lstIE), ie_},
  };
  for (const auto& s : saves)
    step([&] {
      saveFile(s.name, formatListFile(s.items), s.items == s.stored.items, s.stored.file);
    });
}

void OptionsWindow::addFolder(EditBox& entry, ListBox& list) {
  std::string text = entry.text();
  if (text.empty()) return info(hwnd(), "Please enter a folder path.");
  if (!pathExists(text)) {
    info(hwnd(), "The path entered is not correct.");
  } else {
    if (text.back() != '\\') {
      text += '\\';
      entry.setText(text);
    }
    if (IsInList(list, text)) return info(hwnd(), "The folder path is already in the list.");
    addItem(list, text);
  }
  entry.setText("");
  selectLast(list);
}

void OptionsWindow::exploreFolder(ListBox& list) {
  if (list.selectedIndexes().empty()) selectLast(list);
  auto selected = list.selectedIndexes();
  if (selected.empty()) return;
  ShellExecuteOn("Open", "Explorer", "/e," + withoutMark(list.itemText(selected.front())), "",
                 SW_SHOWNORMAL);
}

void OptionsWindow::cmdUDIFOAdd_Click() { addFolder(txtUDIFO, lstUDIFO); }
void OptionsWindow::cmdUDFOAdd_Click() { addFolder(txtUDFOFolder, lstUDFO); }
void OptionsWindow::cmdUDIFOBrowse_Click() { txtUDIFO.setText(BrowseForFolder()); }
void OptionsWindow::cmdUDFOBrowse_Click() { txtUDFOFolder.setText(BrowseForFolder()); }
void OptionsWindow::cmdUDIFOExplore_Click() { exploreFolder(lstUDIFO); }
void OptionsWindow::cmdExploreUDFO_Click() { exploreFolder(lstUDFO); }

void OptionsWindow::cmdUDIFORemove_Click() {
  removeSelected(lstUDIFO);
  selectFirst(lstUDIFO);
}
void OptionsWindow::cmdUDFORemove_Click() {
  removeSelected(lstUDFO);
  selectFirst(lstUDFO);
}
void OptionsWindow::cmdUDFIRemove_Click() {
  removeSelected(lstUDFI);
  selectFirst(lstUDFI);
}
void OptionsWindow::cmdIFIRemove_Click() {
  removeSelected(lstIFI);
  selectLast(lstIFI);
}
void OptionsWindow::cmdIERemove_Click() { removeSelected(lstIE); }

// Defaults put the default list into the page; the user's file changes only on Accept.
void OptionsWindow::cmdUDFODefaults_Click() {
  udfo_ = {};
  udfo_.items = defaultUserFolders();
  fill(lstUDFO, udfo_.items);
  selectFirst(lstUDFO);
}

void OptionsWindow::cmdIFIDefaults_Click() {
  showIgnoreList(readLoaded(kDefIgnoreFilesFile), lstIFI, ifi_);
}

void OptionsWindow::cmdIEDefaults_Click() {
  showIgnoreList(readLoaded(kDefIgnoreExtFile), lstIE, ie_);
}

void OptionsWindow::cmdAdd_Click() {
  FileDialogSpec spec;
  spec.filter = kAllFiles;
  auto chosen = asker().openFile(hwnd(), spec);
  if (!chosen) return;
  std::string name = trim(GetFileNameFromPath(*chosen));
  if (!name.empty()) {
    if (IsInList(lstIFI, name))
      info(hwnd(), "The file is already in the list.");
    else
      addItem(lstIFI, name);
  }
  selectLast(lstIFI);
}

void OptionsWindow::cmdIEAdd_Click() {
  std::string text = trim(txtIE.text());
  txtIE.setText(text);
  if (!text.empty()) {
    text.erase(std::remove(text.begin(), text.end(), '*'), text.end());
    txtIE.setText(text);
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
    txtIE.setText(text);
    if (IsInList(lstIE, text))
      info(hwnd(), "The file extension is already in the list.");
    else
      addItem(lstIE, text);
  }
  txtIE.setText("");
  selectLast(lstIE);
}

void OptionsWindow::cmdUDFIAdd_Click() {
  std::string text = txtUDFI.text();
  if (trim(text).empty()) return info(hwnd(), "Please enter a file path.");
  if (!pathExists(text)) {
    info(hwnd(), "The path entered is not correct.");
  } else {
    if (IsInList(lstUDFI, text)) return info(hwnd(), "The file is already in the list.");
    addItem(lstUDFI, text);
  }
  txtUDFI.setText("");
  selectLast(lstUDFI);
}

void OptionsWindow::cmdUFIBrowse_Click() {
  FileDialogSpec spec;
  spec.filter = kAllFiles;
  if (auto chosen = asker().openFile(hwnd(), spec)) txtUDFI.setText(*chosen);
}

// ---- Unnecessary file types ----

void OptionsWindow::addUnnecessaryRow(const UnnecessaryType& t, bool keepSorted) {
  ListRow row{{t.pattern, t.description}, t.flag == 1};
  row.key = toLower(t.pattern);
  int column = lstvUnnecessaryFiles.sortColumn();
  if (keepSorted && column >= 0)
    lstvUnnecessaryFiles.insertRow(
        sortedPlace(lstvUnnecessaryFiles, static_cast<size_t>(column),
                    lstvUnnecessaryFiles.sortAscending(), row.cells[static_cast<size_t>(column)]),
        std::move(row));
  else
    lstvUnnecessaryFiles.addRow(std::move(row));
}

std::vector<UnnecessaryType> OptionsWindow::unnecessaryTypes() const {
  std::vector<UnnecessaryType> types;
  for (size_t i = 0; i < lstvUnnecessaryFiles.rowCount(); ++i)
    types.push_back({lstvUnnecessaryFiles.rowChecked(i) ? 1 : 0,
                     lstvUnnecessaryFiles.rowText(i, 0), lstvUnnecessaryFiles.rowText(i, 1)});
  return types;
}

void OptionsWindow::LoadUnnecessaryTypes() {
  LoadedFile file = readLoaded(kUnnecessaryFile);
  showUnnecessaryTypes(file.exists ? file : readLoaded(kDefUnnecessaryFile));
}

void OptionsWindow::showUnnecessaryTypes(const LoadedFile& from) {
  lstvUnnecessaryFiles.clear();
  unfiLoaded_.clear();
  unfiFile_ = from;
  // Lines that do not read, and a type met again, are passed over; the rest still loads.
  std::unordered_set<std::string> seen;
  lstvUnnecessaryFiles.beginUpdate();
  for (auto t : parseUnnecessaryFile(textOf(unfiFile_))) {
    if (!seen.insert(toLower(t.pattern)).second) continue;
    t.flag = t.flag == 1 ? 1 : 0;  // ticked exactly when the scanner uses the type
    addUnnecessaryRow(t, false);
    unfiLoaded_.push_back(t);
  }
  lstvUnnecessaryFiles.endUpdate();
}

void OptionsWindow::SaveUNFIList() {
  auto types = unnecessaryTypes();
  bool unchanged = types.size() == unfiLoaded_.size() &&
                   std::equal(types.begin(), types.end(), unfiLoaded_.begin(),
                              [](const UnnecessaryType& a, const UnnecessaryType& b) {
                                return a.flag == b.flag && a.pattern == b.pattern &&
                                       a.description == b.description;
                              });
  saveFile(kUnnecessaryFile, formatUnnecessaryFile(types), unchanged, unfiFile_);
}

void OptionsWindow::cmdUnnecessaryFilesAdd_Click() {
  std::string type = oneLine(txtUnnecessaryFilesFileType.text());
  if (type.find('.') == std::string::npos)
    return info(hwnd(), "Please enter the file type in format\t.log .bak etc");
  if (lstvUnnecessaryFiles.findRow(toLower(type)))
    return info(hwnd(), "File Type already exists in the list.");
  addUnnecessaryRow({1, type, oneLine(txtUnnecessaryFilesDescription.text())}, true);
  txtUnnecessaryFilesFileType.setText("");
  txtUnnecessaryFilesDescription.setText("");
}

void OptionsWindow::cmdUnnecessaryFilesRemove_Click() {
  auto selected = lstvUnnecessaryFiles.selectedRows();
  if (!selected.empty()) lstvUnnecessaryFiles.removeRow(selected.front());
}

void OptionsWindow::cmdUnnecessaryFilesBrowse_Click() {
  FileDialogSpec spec;
  spec.filter = kAllFiles;
  auto chosen = asker().openFile(hwnd(), spec);
  if (!chosen) return;
  std::string name = GetFileNameFromPath(*chosen);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) txtUnnecessaryFilesFileType.setText("*" + name.substr(dot));
}

void OptionsWindow::cmdUnnecessaryFilesDefaults_Click() {
  // The default copy into the page; UNFI.txt itself changes only on Accept.
  showUnnecessaryTypes(readLoaded(kDefUnnecessaryFile));
}

// ---- Cookies ----

void OptionsWindow::LoadCookies() {
  LoadKeepList();
  LoadCookieFiles();
}

void OptionsWindow::LoadKeepList() {
  lstvKeepCookies.clear();
  ckFile_ = readLoaded(kKeepCookiesFile);
  ckLoaded_ = parseKeptCookies(textOf(ckFile_));
  std::vector<KeptCookie> sorted = ckLoaded_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const KeptCookie& a, const KeptCookie& b) {
    return toLower(a.name) < toLower(b.name);
  });
  lstvKeepCookies.beginUpdate();
  for (const auto& k : sorted) lstvKeepCookies.addRow({{k.name, k.folder}});
  lstvKeepCookies.endUpdate();
  ckLoaded_ = sorted;  // the order the page shows and writes
}

void OptionsWindow::LoadCookieFiles() {
  lstvCurrentCookies.clear();
  txtCookies.setText("");
  std::string folder = GetRegString(kHkeyCurrentUser, kShellFolders, "Cookies");
  if (folder.size() <= 1) return;
  if (folder.find('%') != std::string::npos) ExpandSystemRoot(folder);
  if (folder.back() != '\\') folder += '\\';
  if (!isUsablePathLength(folder) || !folderExists(folder)) return;
  txtCookies.setText(folder);
  std::vector<ListRow> rows;
  LocalTimes times;
  walkCookies(folder, rows, times);
  lstvCurrentCookies.beginUpdate();
  for (auto& r : rows) lstvCurrentCookies.addRow(std::move(r));
  lstvCurrentCookies.endUpdate();
  lstvCurrentCookies.sortByColumn(0);
}

std::vector<KeptCookie> OptionsWindow::keptCookies() const {
  std::vector<KeptCookie> kept;
  for (size_t i = 0; i < lstvKeepCookies.rowCount(); ++i)
    kept.push_back({lstvKeepCookies.rowText(i, 1), lstvKeepCookies.rowText(i, 0)});
  return kept;
}

std::string OptionsWindow::selectedCookieFile() const {
  auto selected = lstvCurrentCookies.selectedRows();
  if (selected.empty()) return {};
  return lstvCurrentCookies.rowText(selected.front(), 3) +
         lstvCurrentCookies.rowText(selected.front(), 0);
}

void OptionsWindow::SaveKeepCookies() {
  if (ckFile_.unreadable()) return;
  auto kept = keptCookies();
  if (kept.empty()) {
    DeleteFileW(wide(appFile(kKeepCookiesFile)).c_str());
    return;
  }
  bool unchanged = kept.size() == ckLoaded_.size() &&
                   std::equal(kept.begin(), kept.end(), ckLoaded_.begin(),
                              [](const KeptCookie& a, const KeptCookie& b) {
                                return a.folder == b.folder && a.name == b.name;
                              });
  saveFile(kKeepCookiesFile, formatKeptCookies(kept), unchanged, ckFile_);
}

void OptionsWindow::cmdAddCookie_Click() {
  auto selected = lstvCurrentCookies.selectedRows();
  if (selected.empty()) return;
  std::string name = lstvCurrentCookies.rowText(selected.front(), 0);
  std::string folder = lstvCurrentCookies.rowText(selected.front(), 3);
  if (rowNamed(lstvKeepCookies, name)) return;  // one name is kept once, whatever the folder
  lstvKeepCookies.insertRow(sortedPlace(lstvKeepCookies, 0, true, name), {{name, folder}});
  AutoSizeColumns(lstvKeepCookies);
}

void OptionsWindow::cmdRemoveCookie_Click() {
  auto selected = lstvKeepCookies.selectedRows();
  if (!selected.empty()) lstvKeepCookies.removeRow(selected.front());
}

void OptionsWindow::cmdResetCookies_Click() { lstvKeepCookies.clear(); }

void OptionsWindow::cmdRefreshCookie_Click() { LoadCookies(); }

void OptionsWindow::cmdViewCookie_Click() {
  if (lstvCurrentCookies.selectedRows().empty() || !showCookieViewer) return;
  showCookieViewer(*this);
}

void OptionsWindow::cmdDeleteCookie_Click() {
  std::string path = selectedCookieFile();
  if (path.empty()) return;
  if (isUsablePathLength(path)) DeleteFileW(wide(path).c_str());
  // Only the current files are read again: keep choices not yet accepted stay.
  LoadCookieFiles();
}

}  // namespace glenvask
