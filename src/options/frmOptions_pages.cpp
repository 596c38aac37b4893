// The options window's pages of lists and search options: Search, Ignore folders, Ignore
// files, Unnecessary files, User-defined folders and files, Cookies.
#include "options/frmOptions.h"

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
#include "services/host.h"
#include "services/lists.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/regional.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr const char* kAllFiles = "All Files (*.*)|*.*";
constexpr const char* kKeepCookiesFile = "ck.txt";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

void info(HWND owner, std::string_view text) {
  asker().messageBox(owner, text, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

LoadedFile readLoaded(const char* name) {
  LoadedFile f;
  f.name = name;
  std::string path = appFile(name);
  f.exists = fileExists(path);
  if (f.exists) f.bytes = readFileBytes(path);
  return f;
}

std::string textOf(const LoadedFile& f) { return f.bytes ? fromFileText(*f.bytes) : ""; }

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
  constexpr std::string_view mark = kInvalidPathMark;
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
// Removes the selected item, then selects the first or the last item, or none.
enum class Then { SelectNone, SelectFirst, SelectLast };
void removeSelected(ListBox& list, Then then) {
  auto selected = list.selectedIndexes();
  if (!selected.empty()) SendMessageW(list.hwnd(), LB_DELETESTRING, selected.front(), 0);
  if (then == Then::SelectFirst) selectFirst(list);
  if (then == Then::SelectLast) selectLast(list);
}

// The first entry of a file's text (lines, fields between characters 1) that the ANSI code
// page cannot hold.
std::string unheldEntry(const std::string& text) {
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\r' || text[i] == '\n' || text[i] == '\x01') {
      std::string entry = text.substr(start, i - start);
      if (!toAnsiText(entry)) return entry;
      start = i + 1;
    }
  return text;
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
      SYSTEMTIME st{static_cast<WORD>(local.year),
                    static_cast<WORD>(local.month),
                    0,
                    static_cast<WORD>(local.day),
                    static_cast<WORD>(local.hour),
                    static_cast<WORD>(local.minute),
                    static_cast<WORD>(local.second),
                    0};
      FILETIME lf;
      if (!SystemTimeToFileTime(&st, &lf)) return formatFileTime(local, format_);
      std::int64_t l = static_cast<std::int64_t>(
          (static_cast<std::uint64_t>(lf.dwHighDateTime) << 32) | lf.dwLowDateTime);
      it = offsets_.emplace(utc / kHour, l - (utc - utc % kSecond)).first;
    }
    std::uint64_t l = static_cast<std::uint64_t>(utc + it->second);
    FILETIME lf{static_cast<DWORD>(l), static_cast<DWORD>(l >> 32)};
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&lf, &st)) return FormatFileTime(time);
    return formatFileTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond},
                          format_);
  }

 private:
  std::unordered_map<std::int64_t, std::int64_t> offsets_;  // UTC hour -> local less UTC
  RegionalFormat format_ = userRegionalFormat();
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
  if (!made_[kPageSearch]) return searchShown_;
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

namespace {
// A date the page's pickers can show.
bool showableDate(const DateTime& d) {
  SYSTEMTIME st{static_cast<WORD>(d.year), static_cast<WORD>(d.month), 0, static_cast<WORD>(d.day)};
  FILETIME ft;
  return d.year >= 1601 && d.year <= 9999 && isValidDateTime(d) && SystemTimeToFileTime(&st, &ft);
}
}  // namespace

void OptionsWindow::LoadSearchSettings() {
  srchFile_ = readLoaded(kSearchOptionsFile);
  bool exists = srchFile_.exists;
  driveItems_.clear();
  std::vector<size_t> selected;
  std::string windowsDrive = GetWindowsDir();
  windowsDrive = windowsDrive.substr(0, windowsDrive.find('\\'));
  for (const auto& root : split(GetLogicalDriveList(), '\0')) {
    if (root.find('\\') == std::string::npos) continue;
    std::string item = toUpper(root.substr(0, root.find('\\'))) + " " + GetDriveTypeName(root);
    if (!exists && !windowsDrive.empty() &&
        toLower(item).find(toLower(windowsDrive)) != std::string::npos)
      selected.push_back(driveItems_.size());
    driveItems_.push_back(item);
  }

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
    for (size_t i = 0; i < driveItems_.size(); ++i)
      if (std::find(letters.begin(), letters.end(), driveItems_[i][0]) != letters.end())
        selected.push_back(i);
  }
  applySearchPage(text, page, userRegionalFormat());
  for (DateTime* d : {&page.firstDate, &page.secondDate})
    if (!showableDate(*d)) *d = today;
  page.drives.clear();
  for (size_t i = 0; i < driveItems_.size(); ++i)
    if (std::find(selected.begin(), selected.end(), i) != selected.end())
      page.drives.push_back(driveItems_[i]);
  searchShown_ = page;

  // The page as the file gives it: a rewrite with nothing changed keeps the file's bytes.
  srchLoaded_.reset();
  if (exists) {
    page.drives = lines.empty() ? std::vector<std::string>{} : srchDriveItems(lines[0]);
    srchLoaded_ = page;
  }
  if (made_[kPageSearch]) showSearch();
}

void OptionsWindow::showSearch() {
  const SearchPage& page = searchShown_;
  lstSearch.setItems(driveItems_);
  for (size_t i = 0; i < driveItems_.size(); ++i)
    if (std::find(page.drives.begin(), page.drives.end(), driveItems_[i]) != page.drives.end())
      lstSearch.select(i);
  chkSearchFileReference.setChecked(page.fileReference);
  chkSearchPathReference.setChecked(page.pathReference);
  chkSearchDateReference.setChecked(page.dateRange);
  dtpSearchFirst.setValue(page.firstDate);
  dtpSearchSecond.setValue(page.secondDate);
  chkSearchSize.setChecked(page.size);
  if (page.sizeEquals)
    sizeOption.choose(0);
  else if (page.sizeAtLeast)
    sizeOption.choose(1);
  else if (page.sizeAtMost)
    sizeOption.choose(2);
  txtSearchSize.setText(page.sizeText);
  chkSearchReadOnly.setChecked(page.readOnly);
  chkSearchHidden.setChecked(page.hidden);
  chkSearchSystem.setChecked(page.system);
}

void OptionsWindow::SaveSearchSettings() {
  SearchPage page = searchPage();
  // Without srch.txt, the page as it opened is what the scanner assumes: no file is needed.
  if (page != (srchLoaded_ ? *srchLoaded_ : searchShown_))
    saveFile(kSearchOptionsFile, formatSearchFile(page, userRegionalFormat()), srchFile_);
}

// ---- Folder and file lists ----

void OptionsWindow::fillList(ListBox& list, const StoredList& stored) {
  fill(list, stored.shown);
  selectFirst(list);
}

std::vector<std::string> OptionsWindow::currentItems(size_t page, const ListBox& list,
                                                     const StoredList& stored) const {
  return made_[page] ? itemsOf(list, true) : stored.items;
}

void OptionsWindow::LoadFolderList(const char* fileName, bool isUDFO) {
  StoredList& stored = isUDFO ? udfo_ : udifo_;
  stored = {readLoaded(fileName), {}, {}};
  if (isUDFO) udfoDefaults_.reset();
  if (stored.file.exists) {
    stored.items = parseListFile(textOf(stored.file));
    for (const auto& item : stored.items)
      stored.shown.push_back(pathExists(item) ? item : kInvalidPathMark + item);
  } else if (isUDFO) {
    stored.items = stored.shown = defaultUserFolders();
  }
  size_t page = isUDFO ? kPageUserFolders : kPageIgnoreFolders;
  if (made_[page]) fillList(isUDFO ? lstUDFO : lstUDIFO, stored);
}

void OptionsWindow::LoadUDFIList() {
  udfi_ = {readLoaded(kUserFilesFile), {}, {}};
  udfi_.items = udfi_.shown = parseListFile(textOf(udfi_.file));
  if (made_[kPageUserFiles]) fillList(lstUDFI, udfi_);
}

void OptionsWindow::loadIgnoreList(const char* fileName, const char* defaultName,
                                   StoredList& stored) {
  LoadedFile file = readLoaded(fileName);
  stored.file = file.exists ? file : readLoaded(defaultName);
  stored.items = stored.shown = parseListFile(textOf(stored.file));
}

void OptionsWindow::notSaved(const char* name, const std::string& why) {
  notSaved_.push_back(std::string(name) + ": " + why);
}

void OptionsWindow::saveFile(const char* name, const std::string& text, const LoadedFile& read) {
  // What an unreadable file holds was never shown, so the page cannot stand for it.
  if (read.unreadable() && iequals(read.name, name))
    return notSaved(name, "it could not be read when the window opened, so it was left as it is.");
  auto ansi = toAnsiText(text);
  if (!ansi)
    return notSaved(name, "\"" + unheldEntry(text) +
                              "\" holds characters that this system's code page cannot store.");
  if (!writeFileAtomic(appFile(name), *ansi)) notSaved(name, kNotWritten);
}

void OptionsWindow::removeFile(const char* name) {
  if (!DeleteFileW(wide(appFile(name)).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    notSaved(name, "it could not be removed (another program may hold it open).");
}

void OptionsWindow::SaveLists() {
  struct Save {
    const char* name;
    std::vector<std::string> items;
    const StoredList& stored;
  };
  Save saves[] = {
      {kUserFoldersFile, currentItems(kPageUserFolders, lstUDFO, udfo_), udfo_},
      {kIgnoreFoldersFile, currentItems(kPageIgnoreFolders, lstUDIFO, udifo_), udifo_},
      {kUserFilesFile, currentItems(kPageUserFiles, lstUDFI, udfi_), udfi_},
      {kIgnoreFilesFile, currentItems(kPageIgnoreFiles, lstIFI, ifi_), ifi_},
      {kIgnoreExtFile, currentItems(kPageIgnoreFiles, lstIE, ie_), ie_},
  };
  for (const auto& s : saves)
    step([&] {
      // The user-defined folders' defaults are no list at all: the category then empties the
      // temporary folders besides the offered one.
      if (&s.stored == &udfo_ && udfoDefaults_ && s.items == *udfoDefaults_)
        return removeFile(s.name);
      if (s.items != s.stored.items) saveFile(s.name, formatListFile(s.items), s.stored.file);
    });
}

bool OptionsWindow::storable(const std::string& text) {
  if (toAnsiText(text)) return true;
  info(hwnd(), "\"" + text + "\" holds characters that this system's code page cannot store.");
  return false;
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
    if (!storable(text)) return;
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

void OptionsWindow::cmdUDIFORemove_Click() { removeSelected(lstUDIFO, Then::SelectFirst); }
void OptionsWindow::cmdUDFORemove_Click() { removeSelected(lstUDFO, Then::SelectFirst); }
void OptionsWindow::cmdUDFIRemove_Click() { removeSelected(lstUDFI, Then::SelectFirst); }
void OptionsWindow::cmdIFIRemove_Click() { removeSelected(lstIFI, Then::SelectLast); }
void OptionsWindow::cmdIERemove_Click() { removeSelected(lstIE, Then::SelectNone); }

// Defaults put the default list into the page; the user's file changes only on Accept.
void OptionsWindow::cmdUDFODefaults_Click() {
  udfoDefaults_ = defaultUserFolders();
  fill(lstUDFO, *udfoDefaults_);
  selectFirst(lstUDFO);
}

void OptionsWindow::cmdIFIDefaults_Click() {
  fill(lstIFI, parseListFile(textOf(readLoaded(kDefIgnoreFilesFile))));
  selectFirst(lstIFI);
}

void OptionsWindow::cmdIEDefaults_Click() {
  fill(lstIE, parseListFile(textOf(readLoaded(kDefIgnoreExtFile))));
  selectFirst(lstIE);
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
    else if (storable(name))
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
    else if (storable(text))
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
    if (!storable(text)) return;
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
  if (!made_[kPageUnnecessary]) return unfiLoaded_;
  std::vector<UnnecessaryType> types;
  for (size_t i = 0; i < lstvUnnecessaryFiles.rowCount(); ++i)
    types.push_back({lstvUnnecessaryFiles.rowChecked(i) ? 1 : 0, lstvUnnecessaryFiles.rowText(i, 0),
                     lstvUnnecessaryFiles.rowText(i, 1)});
  return types;
}

void OptionsWindow::LoadUnnecessaryTypes() {
  LoadedFile file = readLoaded(kUnnecessaryFile);
  unfiFile_ = file.exists ? file : readLoaded(kDefUnnecessaryFile);
  unfiLoaded_ = readUnnecessaryTypes(unfiFile_);
  if (made_[kPageUnnecessary]) showUnnecessary(unfiLoaded_);
}

std::vector<UnnecessaryType> OptionsWindow::readUnnecessaryTypes(const LoadedFile& from) {
  // Lines that do not read, and a type met again, are passed over; the rest still loads.
  std::vector<UnnecessaryType> types;
  std::unordered_set<std::string> seen;
  for (auto t : parseUnnecessaryFile(textOf(from))) {
    if (!seen.insert(toLower(t.pattern)).second) continue;
    t.flag = t.flag == 1 ? 1 : 0;  // ticked exactly when the scanner uses the type
    types.push_back(std::move(t));
  }
  return types;
}

void OptionsWindow::showUnnecessary(const std::vector<UnnecessaryType>& types) {
  lstvUnnecessaryFiles.clear();
  lstvUnnecessaryFiles.beginUpdate();
  for (const auto& t : types) addUnnecessaryRow(t, false);
  lstvUnnecessaryFiles.endUpdate();
}

void OptionsWindow::SaveUNFIList() {
  auto types = unnecessaryTypes();
  if (types != unfiLoaded_) saveFile(kUnnecessaryFile, formatUnnecessaryFile(types), unfiFile_);
}

void OptionsWindow::cmdUnnecessaryFilesAdd_Click() {
  std::string type = oneLine(txtUnnecessaryFilesFileType.text());
  if (type.find('.') == std::string::npos)
    return info(hwnd(), "Please enter the file type in format\t.log .bak etc");
  if (lstvUnnecessaryFiles.findRow(toLower(type)))
    return info(hwnd(), "File Type already exists in the list.");
  std::string description = oneLine(txtUnnecessaryFilesDescription.text());
  if (!storable(type) || !storable(description)) return;
  addUnnecessaryRow({1, type, description}, true);
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
  showUnnecessary(readUnnecessaryTypes(readLoaded(kDefUnnecessaryFile)));
}

// ---- Cookies ----

void OptionsWindow::LoadCookies() {
  LoadKeepList();
  if (made_[kPageCookies]) LoadCookieFiles();
}

void OptionsWindow::LoadKeepList() {
  ckFile_ = readLoaded(kKeepCookiesFile);
  ckLoaded_ = parseKeptCookies(textOf(ckFile_));
  std::stable_sort(
      ckLoaded_.begin(), ckLoaded_.end(),
      [](const KeptCookie& a, const KeptCookie& b) { return toLower(a.name) < toLower(b.name); });
  if (made_[kPageCookies]) showKeepList();
}

void OptionsWindow::showKeepList() {
  lstvKeepCookies.clear();
  lstvKeepCookies.beginUpdate();
  for (const auto& k : ckLoaded_) lstvKeepCookies.addRow({{k.name, k.folder}});
  lstvKeepCookies.endUpdate();
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
  lstvCurrentCookies.sortBy(0, true);
}

std::vector<KeptCookie> OptionsWindow::keptCookies() const {
  if (!made_[kPageCookies]) return ckLoaded_;
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
  auto kept = keptCookies();
  if (kept == ckLoaded_) return;
  if (kept.empty()) return removeFile(kKeepCookiesFile);
  saveFile(kKeepCookiesFile, formatKeptCookies(kept), ckFile_);
}

void OptionsWindow::cmdAddCookie_Click() {
  auto selected = lstvCurrentCookies.selectedRows();
  if (selected.empty()) return;
  std::string name = lstvCurrentCookies.rowText(selected.front(), 0);
  std::string folder = lstvCurrentCookies.rowText(selected.front(), 3);
  if (rowNamed(lstvKeepCookies, name)) return;  // one name is kept once, whatever the folder
  if (!storable(folder + name)) return;
  lstvKeepCookies.insertRow(sortedPlace(lstvKeepCookies, 0, true, name), {{name, folder}});
  AutoSizeColumns(lstvKeepCookies);
}

void OptionsWindow::cmdRemoveCookie_Click() {
  auto selected = lstvKeepCookies.selectedRows();
  if (!selected.empty()) lstvKeepCookies.removeRow(selected.front());
}

void OptionsWindow::cmdResetCookies_Click() { lstvKeepCookies.clear(); }

void OptionsWindow::cmdRefreshCookie_Click() { LoadCookies(); }

// The viewer sits in the tools layer above this window: the main window opens it.
void OptionsWindow::cmdViewCookie_Click() {
  std::string path = selectedCookieFile();
  if (!path.empty()) cleaningHost().showCookieFile(path, hwnd());
}

void OptionsWindow::cmdDeleteCookie_Click() {
  std::string path = selectedCookieFile();
  if (path.empty()) return;
  if (isUsablePathLength(path)) DeleteFileW(wide(path).c_str());
  // Only the current files are read again: keep choices not yet accepted stay.
  LoadCookieFiles();
}

}  // namespace glenvask
