#include "tools/frmUninstall.h"

#include "base/text.h"
#include "services/registry.h"
#include "tools/frmEditUninstall.h"
#include "tools/refjudge.h"
#include "tools/regvalue.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

enum Column : size_t { kColApplication = 0, kColVersion, kColCommand, kColKey, kColPath };

// Only a full path is looked for: a relative one would name a file of the current folder.
bool isFile(const std::string& path) {
  if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return false;
  DWORD attrs = GetFileAttributesW(wide(path).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

SplitCommand splitCommandLine(const std::string& command) {
  std::string s = trim(command);
  if (!s.empty() && s.front() == '"') {
    size_t close = s.find('"', 1);
    if (close == std::string::npos) return {s.substr(1), ""};
    return {s.substr(1, close - 1), trim(s.substr(close + 1))};
  }
  for (size_t blank = s.find(' '); blank != std::string::npos; blank = s.find(' ', blank + 1))
    if (isFile(s.substr(0, blank))) return {s.substr(0, blank), trim(s.substr(blank + 1))};
  if (isFile(s)) return {s, ""};
  size_t blank = s.find(' ');
  if (blank == std::string::npos) return {s, ""};
  return {s.substr(0, blank), trim(s.substr(blank + 1))};
}

UninstallWindow::UninstallWindow()
    : ListToolWindow({ids::kUninstallClass,
                      {"Uninstall Programs",
                       "Uninstall Programs",
                       "lstvUninstall",
                       {{"Application", 200},
                        {"Version", 80},
                        {"UnInstall Command", 240},
                        {"Registry Key", 160},
                        {"Install Path", 200}},
                       ids::kUninstallList,
                       ids::kUninstallStatus,
                       ids::kUninstallHeading,
                       "0 program(s)",
                       false,
                       true,
                       720,
                       420},
                      {{"cmdUnInstall", ids::kUninstallStart, "&Uninstall"},
                       {"cmdEdit", ids::kUninstallEdit, "&Edit"},
                       {"cmdDelete", ids::kUninstallDelete, "&Delete"},
                       {"cmdOK", ids::kUninstallClose, "&Close"}}}) {}

void UninstallWindow::showCount() {
  lblStatus.setText(std::to_string(list().rowCount()) + " program(s) found");
}

void UninstallWindow::GetUnInstallFiles() {
  ToolListView& l = list();
  l.clear();
  l.beginUpdate();
  for (const std::string& name : regSubkeyNames(kHkeyLocalMachine, kUninstallKey)) {
    std::string key = std::string(kUninstallKey) + "\\" + name;
    auto text = [&](const char* value) {
      auto v = readRegText(kHkeyLocalMachine, key, value);
      return v ? v->text : std::string();
    };
    std::string display = text("DisplayName");
    if (display.empty()) continue;
    ListRow row{
        {display, text("DisplayVersion"), text("UnInstallString"), name, text("InstallLocation")}};
    row.key = name;
    l.addRow(std::move(row));
  }
  l.endUpdate();
  l.sortBy(kColApplication, true);
  showCount();
}

void UninstallWindow::cmdDelete_Click() {
  auto row = list().selectedRow();
  if (!row) return;
  if (!list().rowKey(*row).empty())
    DeleteRegKey(kHkeyLocalMachine, std::string(kUninstallKey) + "\\" + list().rowKey(*row));
  list().removeRow(*row);
  showCount();
}

void UninstallWindow::cmdEdit_Click() {
  auto row = list().selectedRow();
  if (!row || list().rowText(*row, kColCommand).empty()) return;
  EditUninstallDialog& d = frmEditUnInstall();
  d.setUnInstall(list().rowText(*row, kColApplication), list().rowText(*row, kColCommand),
                 list().rowKey(*row));
  asker().showModal(d, hwnd());
}

void UninstallWindow::cmdUnInstall_Click() {
  auto row = list().selectedRow();
  if (!row) return;
  std::string command = list().rowText(*row, kColCommand);
  if (trim(command).empty()) return;
  // An expandable command names its program through the environment.
  auto stored =
      readRegText(kHkeyLocalMachine, std::string(kUninstallKey) + "\\" + list().rowKey(*row),
                  "UnInstallString");
  if (stored && stored->type == REG_EXPAND_SZ && stored->text == command)
    command = utf8(expandEnvironment(wide(command)).value_or(wide(command)));
  SplitCommand split = splitCommandLine(command);
  if (split.program.empty()) return;
  outside().shellExecute(hwnd(), "Open", split.program, split.parameters, "", SW_SHOWNORMAL);
}

void UninstallWindow::onButton(int id) {
  switch (id) {
    case ids::kUninstallStart: cmdUnInstall_Click(); break;
    case ids::kUninstallEdit: cmdEdit_Click(); break;
    case ids::kUninstallDelete: cmdDelete_Click(); break;
    case ids::kUninstallClose: cmdOk_Click(); break;
    default: break;
  }
}

}  // namespace glenvask
