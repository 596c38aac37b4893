#include "tools/frmStartup.h"

#include <cwctype>

#include "base/pathtext.h"
#include "base/text.h"
#include "services/folderlist.h"
#include "services/globals.h"
#include "tools/refjudge.h"
#include "tools/regvalue.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

enum Column : size_t { kColName = 0, kColKey, kColFile };
constexpr const char* kStartupCommon = "Startup Common";
constexpr int kDeepest = 32;  // folders below a Startup folder that are still walked

// Row keys: "R" root "|" subkey for a Run value, "F" for a shortcut.
std::string runKey(std::uint32_t root) { return "R" + std::to_string(root) + "|" + kRunKey; }

bool isShortcutName(std::wstring_view name) {
  if (name.size() < 4) return false;
  std::wstring_view ext = name.substr(name.size() - 4);
  return ext[0] == L'.' && std::towlower(ext[1]) == L'l' && std::towlower(ext[2]) == L'n' &&
         std::towlower(ext[3]) == L'k';
}

}  // namespace

StartupProgramsWindow::StartupProgramsWindow()
    : ListToolWindow({ids::kStartupClass,
                      {"Startup Programs",
                       "Startup Programs",
                       "lstvStartup",
                       {{"Name", 160}, {"Key", 110}, {"File", 340}},
                       ids::kStartupList,
                       ids::kStartupStatus,
                       ids::kStartupHeading,
                       "0 program(s)",
                       true,
                       true,
                       640,
                       420},
                      {{"cmdDelete", ids::kStartupDelete, "&Delete"},
                       {"cmdOK", ids::kStartupClose, "&Close"}}}) {}

void StartupProgramsWindow::Form_Load() {
  list().onColumnClick = [this](size_t column) { lstvStartup_ColumnClick(column); };
  LoadStartupPrograms();
}

std::string StartupProgramsWindow::GetHiveName(std::uint32_t root) {
  if (root == kHkeyLocalMachine) return "HKLM";
  if (root == kHkeyCurrentUser) return "HKCU";
  return "";
}

void StartupProgramsWindow::LoadStartupPrograms() {
  ToolListView& l = list();
  l.clear();
  l.beginUpdate();
  LoadRunKey(kHkeyLocalMachine);
  LoadRunKey(kHkeyCurrentUser);
  LoadStartupFolder(kHkeyCurrentUser, "Startup");
  LoadStartupFolder(kHkeyLocalMachine, "Common Startup");
  l.endUpdate();
  l.sortBy(kColName, true);
  lblStatus.setText(std::to_string(l.rowCount()) + " program(s) found");
}

void StartupProgramsWindow::LoadRunKey(std::uint32_t root) {
  for (const RegValueEntry& v : readRegValues(root, kRunKey)) {
    std::string data = v.type == REG_SZ || v.type == REG_EXPAND_SZ ? v.text : "";
    ListRow row{{v.name, GetHiveName(root) + ":Run", data}};
    row.key = runKey(root);
    list().addRow(std::move(row));
  }
}

void StartupProgramsWindow::LoadStartupFolder(std::uint32_t root, const char* value) {
  auto folder = readRegText(root, kShellFoldersKey, value);
  if (!folder || folder->text.empty()) return;
  std::wstring path = expandEnvironment(wide(folder->text)).value_or(wide(folder->text));
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  // Only a full path of usable length is walked; a relative one would name the current folder.
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' || !isUsablePathLength(utf8(path)))
    return;
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return;
  addShortcuts(path, 0);
}

void StartupProgramsWindow::addShortcuts(const std::wstring& folder, int depth) {
  std::vector<FolderEntry> entries = listFolder(folder);
  for (const FolderEntry& e : entries) {
    if (e.isLink()) continue;  // never entered, never listed
    std::wstring path = folder + L"\\" + e.name;
    if (e.isFolder()) {
      if (depth < kDeepest) addShortcuts(path, depth + 1);
    } else if (isShortcutName(e.name) && roundTrips(path)) {
      std::string p = utf8(path);
      if (!isUsablePathLength(p)) continue;
      ListRow row{{utf8(e.name), kStartupCommon, p}};
      row.key = "F";
      list().addRow(std::move(row));
    }
  }
}

void StartupProgramsWindow::lstvStartup_ColumnClick(size_t column) {
  // "Key" sorts by the file: the row's source shows in both.
  list().toggleSort(column == kColKey ? kColFile : column);
}

void StartupProgramsWindow::cmdDelete_Click() {
  ToolListView& l = list();
  if (l.rowCount() == 0) return;
  int answer =
      asker().messageBox(hwnd(), kDeleteStartupQuestion, kAppTitle, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) {
    for (size_t i = 0; i < l.rowCount(); ++i) {
      if (!l.rowChecked(i)) continue;
      const std::string& key = l.rowKey(i);
      if (key.size() > 1 && key[0] == 'R') {
        size_t bar = key.find('|');
        auto root = parseInteger(key.substr(1, bar - 1));
        if (bar == std::string::npos || !root) continue;
        DeleteRegValues(static_cast<std::uint32_t>(*root), l.rowText(i, kColName),
                        key.substr(bar + 1));
      } else if (key == "F") {
        // Still the plain shortcut file that was listed: never a folder or a link.
        std::wstring path = wide(l.rowText(i, kColFile));
        DWORD attrs = GetFileAttributesW(path.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES &&
            !(attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            isShortcutName(path))
          DeleteFileW(path.c_str());
      }
    }
  }
  LoadStartupPrograms();
}

void StartupProgramsWindow::onButton(int id) {
  if (id == ids::kStartupDelete) cmdDelete_Click();
  if (id == ids::kStartupClose) cmdOk_Click();
}

}  // namespace glenvask
