#include "options/backups.h"

#include <algorithm>

#include "base/pathtext.h"
#include "base/text.h"
#include "options/frmOverwrite.h"
#include "options/frmUnzip.h"
#include "options/unzip.h"
#include "services/globals.h"
#include "services/host.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/pump.h"
#include "win/regional.h"
#include "win/seams.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int kButtonW = 90, kButtonH = 26, kGap = 8;

// Keeps the main window disabled for a restore, so that its auto-clean timer starts no run
// meanwhile, inside an overwrite question either (whose end enables its owner again).
class MainWindowHold {
 public:
  MainWindowHold() : main_(cleaningHost().ownerWindow()) {
    held_ = main_ && IsWindowEnabled(main_);
    again();
  }
  ~MainWindowHold() {
    if (held_) EnableWindow(main_, TRUE);
  }
  MainWindowHold(const MainWindowHold&) = delete;
  MainWindowHold& operator=(const MainWindowHold&) = delete;
  void again() {
    if (held_) EnableWindow(main_, FALSE);
  }

 private:
  HWND main_;
  bool held_ = false;
};

}  // namespace

OverwriteRule overwriteRuleOf(int chosenOption) {
  switch (chosenOption) {
    case 0: return OverwriteRule::Always;
    case 1: return OverwriteRule::Newer;
    case 2: return OverwriteRule::Prompt;
    default: return OverwriteRule::Never;  // no option asks to replace a file
  }
}

void applyOverwriteRule(cUnZip& unzip, OverwriteRule rule) {
  unzip.OverwriteExisting = rule == OverwriteRule::Always;
  unzip.ExtractOnlyNewer = rule == OverwriteRule::Newer;
  unzip.PromptToOverwrite = rule == OverwriteRule::Prompt;
}

bool BackupList::create(Window& parent, const RECT& area) {
  parent_ = &parent;
  int listW = std::max(0, static_cast<int>(area.right - area.left) - kButtonW - kGap);
  lstvZip.setColumns({
      {"Date", 150, SortKind::Date},
      {"File Name", 200},
      {"Bytes", 100, SortKind::Number, true},
  });
  if (!lstvZip.create(parent, "lstvZip", ids::kBackupList, area.left, area.top, listW,
                      area.bottom - area.top, false))
    return false;
  lstvZip.onActivate = [this](size_t) { cmdBackupView_Click(); };
  int x = area.left + listW + kGap, y = area.top;
  cmdBackupView.attach(
      parent.addControl(button("cmdBackupView", ids::kBackupView, "View", x, y, kButtonW, kButtonH)));
  cmdBackupDelete.attach(parent.addControl(button("cmdBackupDelete", ids::kBackupDelete, "Delete",
                                                  x, y + kButtonH + kGap, kButtonW, kButtonH)));
  cmdBackupRestore.attach(
      parent.addControl(button("cmdBackupRestore", ids::kBackupRestore, "Restore", x,
                               y + 2 * (kButtonH + kGap), kButtonW, kButtonH)));
  return cmdBackupView && cmdBackupDelete && cmdBackupRestore;
}

void BackupList::detach() {
  for (Control* c : std::initializer_list<Control*>{&lstvZip, &cmdBackupView, &cmdBackupDelete,
                                                     &cmdBackupRestore})
    c->attach(nullptr);
  lstvZip.clear();
}

void BackupList::LoadBackupList(std::string_view folder) {
  lstvZip.clear();
  std::string dir(folder);
  if (dir.empty() || !isUsablePathLength(dir) || !folderExists(dir)) return;
  if (dir.back() != '\\') dir += '\\';
  WIN32_FIND_DATAW fd;
  FindHandle find(FindFirstFileW(wide(dir + "*.zip").c_str(), &fd));
  if (!find) return;
  RegionalFormat format = userRegionalFormat();
  lstvZip.beginUpdate();
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string name = utf8(fd.cFileName);
    // The pattern matches short names too: "a.zipx" may stand behind "A~1.ZIP".
    if (name.size() < 4 || !iequals(std::string_view(name).substr(name.size() - 4), ".zip"))
      continue;
    std::string path = dir + name;
    if (!isUsablePathLength(path)) continue;
    std::uint64_t size = static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32 | fd.nFileSizeLow;
    ListRow row;
    row.cells = {formatGeneralDate(FileTimeToLocal(fd.ftLastWriteTime), format), name,
                 std::to_string(size)};
    row.key = std::move(path);
    lstvZip.addRow(std::move(row));
  } while (FindNextFileW(find.get(), &fd));
  lstvZip.endUpdate();
}

std::string BackupList::selectedArchive() const {
  auto rows = lstvZip.selectedRows();
  return rows.empty() ? std::string() : lstvZip.rowKey(rows.front());
}

bool BackupList::onCommand(int id, OverwriteRule rule) {
  switch (id) {
    case ids::kBackupView: cmdBackupView_Click(); return true;
    case ids::kBackupDelete: cmdBackupDelete_Click(); return true;
    case ids::kBackupRestore: cmdBackupRestore_Click(rule); return true;
    default: return false;
  }
}

void BackupList::cmdBackupView_Click() {
  std::string archive = selectedArchive();
  ZipViewWindow& viewer = frmUnzip();
  if (restoring_ || archive.empty() || viewer.isOpen()) return;
  viewer.ZipFile = archive;
  asker().showModal(viewer, parent_ ? parent_->hwnd() : nullptr);
}

void BackupList::cmdBackupDelete_Click() {
  auto rows = lstvZip.selectedRows();
  if (restoring_ || rows.empty()) return;
  if (DeleteFileW(wide(lstvZip.rowKey(rows.front())).c_str()))
    lstvZip.removeRow(rows.front());
  else
    asker().messageBox(parent_ ? parent_->hwnd() : nullptr, kDeleteErrorText, kAppTitle,
                       MB_OK | MB_ICONERROR);
}

void BackupList::setEnabled(bool on) {
  for (Control* c : std::initializer_list<Control*>{&lstvZip, &cmdBackupView, &cmdBackupDelete,
                                                     &cmdBackupRestore})
    c->setEnabled(on);
}

void BackupList::cmdBackupRestore_Click(OverwriteRule rule) {
  std::string archive = selectedArchive();
  if (restoring_ || !parent_ || archive.empty()) return;
  restoring_ = true;
  bool ok = false;
  {
    // A close asked for meanwhile waits for the restore's end (and ends it early).
    Window::BusyScope busy(*parent_);
    setEnabled(false);
    HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ok = restore(archive, rule);
    SetCursor(cursor);
    asker().messageBox(parent_->hwnd(), ok ? kRestoreDoneText : kRestoreErrorText, kAppTitle,
                       MB_OK | MB_ICONINFORMATION);
    setEnabled(true);
  }
  restoring_ = false;
}

bool BackupList::restore(const std::string& archive, OverwriteRule rule) {
  // The drive of the archive's files: its name's first letter, when that drive is there.
  std::string name = GetFileNameFromPath(archive);
  if (name.empty() || !((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
    return false;
  std::string root = toUpper(name.substr(0, 1)) + ":\\";
  DWORD a = GetFileAttributesW(wide(root).c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;

  MainWindowHold hold;
  HWND owner = parent_->hwnd();
  cUnZip unzip;
  unzip.setZipFile(archive);
  unzip.Directory();
  if (unzip.FileCount() <= 0) return false;  // unreadable, or nothing to restore
  applyOverwriteRule(unzip, rule);
  unzip.UseFolderNames = true;
  unzip.setUnzipFolder(root);
  unzip.LastOverwriteResponse = 0;
  unzip.OverWritePrompt = [&](const std::string& path, std::int32_t& reply) {
    reply = askOverwrite(owner, path);
    hold.again();
  };
  unzip.Cancel = [this](const std::string&, bool& cancel) {
    doEvents();
    cancel = parent_->closePending();
  };
  return unzip.Unzip();
}

}  // namespace glenvask
