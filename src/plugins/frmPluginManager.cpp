#include "plugins/frmPluginManager.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

#include "base/pathtext.h"
#include "base/sizes.h"
#include "base/text.h"
#include "plugins/engine.h"
#include "services/delete.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;
constexpr int kWidth = 520, kHeight = 380;
constexpr const char* kListedWords = "plugin(s) listed";
constexpr const char* kEditorListedWords = "plug-in(s) listed";

HMENU buildMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  auto item = [](HMENU m, int id, const wchar_t* text) { AppendMenuW(m, MF_STRING, id, text); };
  item(file, ids::kCmdPluginNew, L"&New...");
  item(file, ids::kCmdPluginAdd, L"&Add...");
  item(file, ids::kCmdPluginEdit, L"&Edit highlighted");
  item(file, ids::kCmdPluginDelete, L"&Delete highlighted");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  item(file, ids::kCmdPluginProcess, L"&Process highlighted plug-in(s)");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  item(file, ids::kCmdPluginClose, L"&Close");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  HMENU view = CreatePopupMenu();
  item(view, ids::kCmdPluginSelectAll, L"Select &all");
  item(view, ids::kCmdPluginDeselectAll, L"&Deselect all");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  item(view, ids::kCmdPluginCheckAll, L"&Check all");
  item(view, ids::kCmdPluginUncheckAll, L"&Uncheck all");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  return bar;
}

// The full form of a path as the platform resolves it ("." and ".." steps, "/"); "" when it
// cannot be had or is too long.
std::string fullPath(const std::string& path) {
  if (!isUsablePathLength(path)) return {};
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = GetFullPathNameW(wide(path).c_str(), MAX_PATH + 1, buf, nullptr);
  if (n == 0 || n > MAX_PATH) return {};
  return utf8(buf);
}

bool sameText(const std::string& a, const std::string& b) {
  return CompareStringOrdinal(wide(a).c_str(), -1, wide(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

PluginManagerWindow& frmPluginManager() { return loadedInstance<PluginManagerWindow>(); }

void PluginManagerWindow::load(HWND owner) {
  if (isOpen()) return;
  WindowSpec spec =
      dialogFrame(kManagerTitle, kWidth, kHeight, owner ? owner : cleaningHost().ownerWindow());
  spec.menu = buildMenu();
  spec.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (create(spec)) Form_Load();
}

bool PluginManagerWindow::build(HWND owner) {
  load(owner);
  return isOpen();
}

bool PluginManagerWindow::onCreate() {
  const ControlSpec specs[] = {
      {"Image1", WC_STATICW, IDC_STATIC, "", 12, 8, 32, 32, SS_ICON},
      label("Label1", IDC_STATIC, kManagerTitle, 52, 16, 300, 20),
      label("lblStatus", ids::kManagerStatus, "", 12, 346, 380, 18, SS_ENDELLIPSIS),
      button("cmdClose", ids::kManagerClose, "&Close", 418, 342, 90, 26, BS_DEFPUSHBUTTON),
  };
  addControls(specs);
  HICON picture = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (!picture) picture = LoadIconW(nullptr, IDI_APPLICATION);
  SendMessageW(child("Image1"), STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
  lblStatus.bind(*this, "lblStatus");
  cmdClose.bind(*this, "cmdClose");
  lstvPlugin.setColumns({{"Plug-in", 160}, {"Description", 320}});
  if (!lstvPlugin.create(*this, "lstvPlugin", ids::kManagerList, 12, 46, kWidth - 24, 288, true))
    return false;
  lstvPlugin.onColumnClick = [this](size_t column) { lstvPlugin_ColumnClick(column); };
  lstvPlugin.onActivate = [this](size_t) { lstvPlugin_DblClick(); };
  return true;
}

void PluginManagerWindow::Form_Load() {
  loaded_ = true;
  processing_ = false;
  LoadPluginList();
  showCount(kListedWords);
}

void PluginManagerWindow::showCount(const char* words) {
  lblStatus.setText(std::to_string(lstvPlugin.rowCount()) + " " + words);
}

size_t PluginManagerWindow::addRow(const std::string& name, const std::string& description,
                                   bool checked) {
  ListRow row;
  row.cells = {name, description};
  row.checked = checked;
  row.key = "row" + std::to_string(++nextKey_);
  return lstvPlugin.addRow(std::move(row));
}

void PluginManagerWindow::LoadPluginList() {
  lstvPlugin.clear();
  std::optional<std::string> text = readPluginText(appFile(kPluginListFileName));
  listUnreadable_ = !text;
  if (listUnreadable_) info(kMsgPluginListUnreadable);
  if (!text || text->empty()) return;
  lstvPlugin.beginUpdate();
  std::string folder = pluginFolderPath();
  for (const PluginListEntry& e : parsePluginList(*text))
    if (isUsablePathLength(folder + e.fileName) && fileExists(folder + e.fileName))
      addRow(e.fileName, e.description, e.checked);
  lstvPlugin.endUpdate();
  lstvPlugin.sortBy(0, true);
  ascending_ = true;
}

std::vector<PluginListEntry> PluginManagerWindow::entries() const {
  std::vector<PluginListEntry> out;
  for (size_t i = 0; i < lstvPlugin.rowCount(); ++i)
    out.push_back({lstvPlugin.rowChecked(i), lstvPlugin.rowText(i, 0), lstvPlugin.rowText(i, 1)});
  return out;
}

void PluginManagerWindow::SavePluginList() {
  // A list that could not be read was never shown: the rows cannot stand for it.
  if (listUnreadable_) return;
  if (writePluginText(appFile(kPluginListFileName), writePluginList(entries())) ==
      PluginSave::NotInCodePage)
    info(kMsgPluginListNotInCodePage);
}

void PluginManagerWindow::info(const char* text) {
  asker().messageBox(hwnd(), text, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void PluginManagerWindow::Form_Unload() {
  if (!loaded_) return;
  loaded_ = false;
  SavePluginList();
}

bool PluginManagerWindow::onClose() {
  Form_Unload();
  return true;
}

// A close during Process stops it at its next file; the window closes once it has returned.
void PluginManagerWindow::onCloseWhileBusy() { bAbort = true; }

void PluginManagerWindow::onDestroy() {
  Form_Unload();  // destroyed from outside: the list is kept as a close keeps it
  lstvPlugin.clear();
  for (Control* c : std::initializer_list<Control*>{&lstvPlugin, &lblStatus, &cmdClose})
    c->attach(nullptr);
}

void PluginManagerWindow::lstvPlugin_ColumnClick(size_t column) {
  if (processing_ || column > 1) return;
  ascending_ = !ascending_;
  lstvPlugin.sortBy(column, ascending_);
}

void PluginManagerWindow::lstvPlugin_DblClick() {
  if (!lstvPlugin.selectedRows().empty()) mnuEdit_Click();
}

// ---- menus ----

void PluginManagerWindow::setMenuEnabled(int id, bool on) {
  if (HMENU menu = isOpen() ? GetMenu(hwnd()) : nullptr)
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

bool PluginManagerWindow::menuItemEnabled(int id) const {
  HMENU menu = isOpen() ? GetMenu(hwnd()) : nullptr;
  if (!menu) return false;
  UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void PluginManagerWindow::mnuFile_Click() {
  bool any = !lstvPlugin.selectedRows().empty();
  for (int id : {ids::kCmdPluginEdit, ids::kCmdPluginDelete, ids::kCmdPluginProcess})
    setMenuEnabled(id, any);
}

void PluginManagerWindow::mnuView_Click() {
  setMenuEnabled(ids::kCmdPluginDeselectAll, !lstvPlugin.selectedRows().empty());
}

void PluginManagerWindow::mnuSelectAll_Click() {
  for (size_t i = 0; i < lstvPlugin.rowCount(); ++i) lstvPlugin.select(i, true);
}

void PluginManagerWindow::mnuDeselectAll_Click() {
  for (size_t i : lstvPlugin.selectedRows()) lstvPlugin.select(i, false);
}

void PluginManagerWindow::mnuCheckAll_Click() {
  for (size_t i = 0; i < lstvPlugin.rowCount(); ++i) lstvPlugin.setRowChecked(i, true);
}

void PluginManagerWindow::mnuUncheckAll_Click() {
  for (size_t i = 0; i < lstvPlugin.rowCount(); ++i) lstvPlugin.setRowChecked(i, false);
}

// ---- the editor ----

void PluginManagerWindow::mnuCreate_Click() {
  PluginEditorWindow& editor = frmPlugin(hwnd());
  editor.setText(std::string(kEditorTitle) + " - " + kNewPluginName);
  editor.PluginFile = kNewPluginName;
  editor.NewPlugin = true;
  editor.listHost = this;
  editor.listRow.clear();
  asker().showModal(editor, hwnd());
}

void PluginManagerWindow::mnuEdit_Click() {
  auto selected = lstvPlugin.selectedRows();
  if (selected.empty()) return;
  size_t row = selected.front();
  PluginEditorWindow& editor = frmPlugin(hwnd());
  editor.PluginFile = pluginFolderPath() + lstvPlugin.rowText(row, 0);
  editor.NewPlugin = false;
  editor.listHost = this;
  editor.listRow = lstvPlugin.rowKey(row);
  if (!editor.getPlugin()) {
    editor.destroy();
    return info(kMsgPluginUnreadable);
  }
  asker().showModal(editor, hwnd());
}

std::string PluginManagerWindow::addPluginRow(const std::string& name,
                                              const std::string& description) {
  size_t i = addRow(name, description, true);
  showCount(kEditorListedWords);
  return lstvPlugin.rowKey(i);
}

void PluginManagerWindow::setPluginDescription(const std::string& rowKey,
                                               const std::string& description) {
  if (auto i = lstvPlugin.findRow(rowKey)) lstvPlugin.setRowText(*i, 1, description);
}

// ---- Add, Delete ----

void PluginManagerWindow::mnuAdd_Click() {
  FileDialogSpec spec;
  spec.filter = kPluginsFilter;
  spec.initialDir = pluginFolderPath();
  auto chosen = asker().openFile(hwnd(), spec);
  if (!chosen) return;
  // The file's own folder, whatever way the path was written.
  std::string path = fullPath(*chosen);
  std::string folder = pluginFolderPath();
  std::string resolvedFolder = fullPath(folder);
  size_t slash = path.rfind('\\');
  std::string name = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  if (path.empty() || resolvedFolder.empty() ||
      !sameText(path.substr(0, slash + 1), resolvedFolder) || !isBareFileName(name)) {
    return info((std::string(kMsgPluginFolder) + "\r\n" + folder).c_str());
  }
  if (!fileExists(path)) return;
  std::optional<std::string> text = readPluginText(path);
  if (!text) return;  // an error while reading ends the command
  std::optional<std::string> description = firstLineDescription(*text);
  if (!description) return info(kMsgPluginLoadError);
  // plg.txt is stored in the system's code page: a description it cannot hold is refused.
  if (!toAnsiText(*description)) return info(kMsgNotInCodePage);
  addRow(name, *description, true);
}

void PluginManagerWindow::mnuDelete_Click() {
  if (asker().messageBox(hwnd(), kMsgDeletePlugins, kAppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  auto selected = lstvPlugin.selectedRows();
  if (!selected.empty()) {
    std::string folder = pluginFolderPath();
    for (size_t i : selected) {
      std::string name = lstvPlugin.rowText(i, 0);
      // Only a file of the Plugins folder; a failed deletion leaves the file.
      if (isBareFileName(name) && isUsablePathLength(folder + name))
        DeleteFileW(wide(folder + name).c_str());
    }
    lstvPlugin.beginUpdate();
    for (size_t k = selected.size(); k-- > 0;) lstvPlugin.removeRow(selected[k]);
    lstvPlugin.endUpdate();
  }
  showCount(kListedWords);
}

// ---- Process ----

void PluginManagerWindow::setBusy(bool busy) {
  processing_ = busy;
  lstvPlugin.setEnabled(!busy);
  if (HMENU menu = isOpen() ? GetMenu(hwnd()) : nullptr) {
    for (UINT i = 0, n = static_cast<UINT>(GetMenuItemCount(menu)); i < n; ++i)
      EnableMenuItem(menu, i, MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
    DrawMenuBar(hwnd());
  }
}

void PluginManagerWindow::processPlugin(const std::string& name) {
  std::string path = pluginFolderPath() + name;
  if (!isBareFileName(name) || !isUsablePathLength(path) || !fileExists(path)) return;
  // The engine's three passes; a close during the file walk leaves the registry as it is.
  RunPluginINI(path);
  RunPluginFiles(path);
  if (bAbort) return;
  RunPluginRegistry(path);
}

void PluginManagerWindow::mnuProcess_Click() {
  if (processing_) return;
  std::vector<std::string> names;
  for (size_t i : lstvPlugin.selectedRows()) names.push_back(lstvPlugin.rowText(i, 0));

  setBusy(true);
  {
    BusyScope busy(*this);
    CleaningHost& host = cleaningHost();
    // A run of its own: a stop deletes only an archive that this run started.
    bAbort = false;
    BackedUpCount = 0;
    LastBackupDrive.clear();
    BackupZipFile.clear();
    host.clearCategoryCounters();
    for (const std::string& name : names) {
      if (bAbort) break;
      ResetScanLists();
      lblStatus.setText("Processing plugin " + name);
      processPlugin(name);
      if (bAbort) break;
      host.deleteFiles();
      if (bAbort) break;
      host.deleteFolders();
    }
    ResetScanLists();
    if (bAbort)
      DeleteBackupZip();
    else
      FinishBackupZip();
    lblStatus.setText("Processed selected plugin(s) Total Files Deleted:  " +
                      std::to_string(host.categoryFileCount()) + "  none none  " +
                      kilobytesText(host.categorySpace(), numberStyle().decimalSeparator) + "  KB");
  }
  setBusy(false);
}

void PluginManagerWindow::onCommand(int id, int code, HWND) {
  // While Process runs only a close is heard; it stops the run first.
  if (processing_ && id != ids::kManagerClose && id != ids::kCmdPluginClose && id != IDCANCEL)
    return;
  switch (id) {
    case ids::kCmdPluginNew: mnuCreate_Click(); break;
    case ids::kCmdPluginAdd: mnuAdd_Click(); break;
    case ids::kCmdPluginEdit: mnuEdit_Click(); break;
    case ids::kCmdPluginDelete: mnuDelete_Click(); break;
    case ids::kCmdPluginProcess: mnuProcess_Click(); break;
    case ids::kCmdPluginClose: mnuExit_Click(); break;
    case ids::kCmdPluginSelectAll: mnuSelectAll_Click(); break;
    case ids::kCmdPluginDeselectAll: mnuDeselectAll_Click(); break;
    case ids::kCmdPluginCheckAll: mnuCheckAll_Click(); break;
    case ids::kCmdPluginUncheckAll: mnuUncheckAll_Click(); break;
    case ids::kManagerClose:
    case IDCANCEL: cmdClose_Click(); break;
    default: break;
  }
}

std::optional<LRESULT> PluginManagerWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITMENUPOPUP && HIWORD(lp) == 0 && isOpen()) {
    HMENU popup = reinterpret_cast<HMENU>(wp);
    HMENU bar = GetMenu(hwnd());
    if (popup == GetSubMenu(bar, 0)) mnuFile_Click();
    if (popup == GetSubMenu(bar, 1)) mnuView_Click();
  }
  return std::nullopt;
}

}  // namespace glenvask
