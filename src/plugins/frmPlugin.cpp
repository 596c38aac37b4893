#include "plugins/frmPlugin.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "base/pathtext.h"
#include "base/text.h"
#include "plugins/engine.h"
#include "plugins/frmKeygen.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/settings.h"
#include "services/system.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;
constexpr int kWidth = 640, kHeight = 470;
constexpr const char* kParentEntry = "[..]";
constexpr const char* kIniFilter = "INI FIles ( *.ini )|*.ini";

// The seven root options: control name and caption, in the editor's order.
constexpr std::pair<const char*, std::string_view> kRootOptions[] = {
    {"optLocalMachine", kRegistryRootNames[0]}, {"optClassesRoot", kRegistryRootNames[1]},
    {"optUsers", kRegistryRootNames[2]},        {"optPerformanceData", kRegistryRootNames[3]},
    {"optCurrentUser", kRegistryRootNames[4]},  {"optCurrentConfig", kRegistryRootNames[5]},
    {"optDynData", kRegistryRootNames[6]},
};

// Lines ending in CR LF, LF or CR; a last line without an end counts too.
std::vector<std::string> textLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

std::string fileText(const std::string& path) {
  if (!isUsablePathLength(path)) return {};
  return fromFileText(readFileBytes(path).value_or(""));
}

bool endsWithBackslash(std::string_view s) { return !s.empty() && s.back() == '\\'; }

std::string joinPath(const std::string& folder, const std::string& name) {
  return endsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

bool lessNoCase(const std::string& a, const std::string& b) { return toLower(a) < toLower(b); }

// The shown subfolders and files of a folder (no hidden or system ones, no links), each
// sorted by name.
void listPickerFolder(const std::string& folder, std::vector<std::string>& folders,
                      std::vector<std::string>& files) {
  folders.clear();
  files.clear();
  if (folder.empty() || !isUsablePathLength(joinPath(folder, "*"))) return;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(wide(joinPath(folder, "*")).c_str(), FindExInfoBasic, &fd,
                              FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(utf8(name));
    } else {
      files.push_back(utf8(name));
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(folders.begin(), folders.end(), lessNoCase);
  std::sort(files.begin(), files.end(), lessNoCase);
}

ControlSpec dropDownCombo(const char* name, int id, int x, int y, int w, int h) {
  return {name,
          WC_COMBOBOXW,
          id,
          "",
          x,
          y,
          w,
          h,
          CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
}

ControlSpec singleListBox(const char* name, int id, int x, int y, int w, int h) {
  return {name,
          WC_LISTBOXW,
          id,
          "",
          x,
          y,
          w,
          h,
          LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
          WS_EX_CLIENTEDGE};
}

}  // namespace

std::vector<std::string> iniSections(std::string_view text) {
  std::vector<std::string> sections;
  for (const std::string& line : textLines(text)) {
    std::wstring w = wide(line);
    if (w.size() > 2 && w[0] == L'[') sections.push_back(utf8(w.substr(1, w.size() - 2)));
  }
  return sections;
}

std::vector<std::string> iniSectionKeys(std::string_view text, std::string_view section) {
  std::vector<std::string> keys;
  std::string header = "[" + std::string(section);
  bool inSection = false;
  for (const std::string& line : textLines(text)) {
    if (inSection) {
      if (line.find('[') != std::string::npos) break;
      size_t eq = line.find('=');
      if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    } else if (wide(line).size() > 1 && line[0] != ';' && line.find(header) != std::string::npos) {
      inSection = true;
    }
  }
  return keys;
}

PluginEditorWindow& frmPlugin(HWND owner) {
  PluginEditorWindow& window = soleInstance<PluginEditorWindow>();
  if (!window.isOpen() && !window.isModal()) window.load(owner);
  return window;
}

void PluginEditorWindow::load(HWND owner) {
  if (isOpen()) return;
  PluginFile = kNewPluginName;
  NewPlugin = true;
  listHost = nullptr;
  listRow.clear();
  create(dialogFrame(kEditorTitle, kWidth, kHeight, owner));
}

bool PluginEditorWindow::build(HWND owner) {
  load(owner);
  return isOpen();
}

bool PluginEditorWindow::onCreate() {
  const ControlSpec top[] = {
      label("lblDescription", IDC_STATIC, "Plugin description:", 10, 14, 110, 18),
      editBox("txtDescription", ids::kPluginDescription, "", 124, 10, 366, 22),
      button("cmdSave", ids::kPluginSave, "&Save", 500, 8, 62, 26),
      button("cmdClose", ids::kPluginClose, "&Close", 568, 8, 62, 26),
      tabControl("sstPlugin", ids::kPluginTabs, 10, 42, 620, 418),
      // Files tab.
      label("lblFilePath", IDC_STATIC, "Path:", 22, 76, 40, 18),
      editBox("txtFilePath", ids::kPluginFilePath, "", 66, 72, 360, 22),
      button("cmdFileBrowse", ids::kPluginFileBrowse, "...", 430, 72, 30, 22),
      label("lblFileExt", IDC_STATIC, "File:", 22, 104, 40, 18),
      editBox("txtFileExt", ids::kPluginFileSpec, "", 66, 100, 150, 22),
      checkBox("chkFileRecurse", ids::kPluginFileRecurse, "Recurse subfolders", 226, 101, 130, 20),
      checkBox("chkFileDeletesubFolders", ids::kPluginFileDeleteSubfolders, "Delete subfolders",
               360, 101, 120, 20),
      button("cmdFilesAdd", ids::kPluginFilesAdd, "Add", 540, 98, 76, 26),
      comboBox("drvFileAlternate", ids::kPluginDriveList, 22, 134, 200, 200),
      label("lblPickerFolder", ids::kPluginFolderPath, "", 232, 138, 300, 18, SS_PATHELLIPSIS),
      singleListBox("dirFileAlternate", ids::kPluginFolderList, 22, 160, 200, 116),
      singleListBox("flFileAlternate", ids::kPluginFileList, 232, 160, 300, 116),
      button("cmdFileAddAlternate", ids::kPluginFileAddPicked, "Add", 540, 160, 76, 26),
      // Registry tab.
      groupBox("fraRegistryKey", IDC_STATIC, "Registry Key", 22, 72, 250, 194),
      label("lblSubkey", IDC_STATIC, "Subkey:", 284, 78, 80, 18),
      editBox("txtRegistrySubkey", ids::kPluginSubkey, "", 370, 74, 246, 22),
      label("lblValue", IDC_STATIC, "String Value:", 284, 106, 80, 18),
      editBox("txtRegistryValue", ids::kPluginValue, "", 370, 102, 246, 22),
      groupBox("fraMethod", IDC_STATIC, "Method", 284, 130, 332, 98),
      checkBox("chkDeleteAllSubkeys", ids::kPluginDeleteAllSubkeys, "Delete all subkeys", 296, 198,
               200, 20),
      button("cmdRegistryAdd", ids::kPluginRegistryAdd, "Add", 284, 238, 76, 26),
      button("cmdGeneratesubkeys", ids::kPluginGenerateSubkeys, "Generate subkeys", 366, 238, 122,
             26),
      button("cmdGenerateValues", ids::kPluginGenerateValues, "Generate values", 494, 238, 122, 26),
      // INI files tab.
      label("lblINIFileName", IDC_STATIC, "Filename:", 22, 78, 70, 18),
      editBox("txtINIFileName", ids::kPluginIniFileName, "", 96, 74, 430, 22),
      button("cmdINIBrowse", ids::kPluginIniBrowse, "...", 530, 74, 30, 22),
      label("lblINISection", IDC_STATIC, "Section:", 22, 108, 70, 18),
      dropDownCombo("cmbINISections", ids::kPluginIniSections, 96, 104, 250, 220),
      label("lblINIValue", IDC_STATIC, "Value:", 22, 138, 70, 18),
      dropDownCombo("cmbINIValues", ids::kPluginIniValues, 96, 134, 250, 220),
      checkBox("chkINIEraseSection", ids::kPluginIniEraseSection, "Erase section", 360, 105, 150,
               20),
      button("cmdINIAdd", ids::kPluginIniAdd, "Add", 360, 132, 76, 26),
      // The lists' Remove buttons, one per tab.
      button("cmdFileRemove", ids::kPluginFileRemove, "Remove", 540, 284, 76, 26),
      button("cmdRegistryRemove", ids::kPluginRegistryRemove, "Remove", 540, 284, 76, 26),
      button("cmdINIRemove", ids::kPluginIniRemove, "Remove", 540, 284, 76, 26),
  };
  addControls(top);
  for (size_t i = 0; i < std::size(kRootOptions); ++i) {
    std::string caption(kRootOptions[i].second);
    addControl(optionButton(kRootOptions[i].first, ids::kPluginRootBase + static_cast<int>(i),
                            caption.c_str(), 34, 92 + static_cast<int>(i) * 24, 230, 20, i == 0));
  }
  addControl(optionButton("optDeleteValue", ids::kPluginDeleteValue,
                          "Delete a value within the subkey", 296, 148, 300, 20, true));
  addControl(optionButton("optEntireSubkey", ids::kPluginEntireSubkey, "Delete entire subkey", 296,
                          172, 300, 20));

  lstvFiles.setColumns({{"Recurse", 70}, {"Delete Subfolders", 110}, {"Location", 320}});
  lstvRegistry.setColumns(
      {{"Del subkey", 70}, {"Recurse delete", 90}, {"key", 250}, {"value", 90}});
  lstvINI.setColumns(
      {{"FileName", 90}, {"Section", 90}, {"Delete Section", 90}, {"Value", 90}, {"Path", 140}});
  const std::tuple<ListView*, const char*, int> lists[] = {
      {&lstvFiles, "lstvFiles", ids::kPluginFilesList},
      {&lstvRegistry, "lstvRegistry", ids::kPluginRegistryList},
      {&lstvINI, "lstvINI", ids::kPluginIniList}};
  for (auto [list, name, id] : lists) {
    if (!list->create(*this, name, id, 22, 284, 510, 164, false, false)) return false;
    HWND h = list->hwnd();
    SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | LVS_SINGLESEL);
  }

  txtDescription.bind(*this, "txtDescription");
  cmdSave.bind(*this, "cmdSave");
  cmdClose.bind(*this, "cmdClose");
  sstPlugin.bind(*this, "sstPlugin");
  txtFilePath.bind(*this, "txtFilePath");
  txtFileExt.bind(*this, "txtFileExt");
  cmdFileBrowse.bind(*this, "cmdFileBrowse");
  cmdFilesAdd.bind(*this, "cmdFilesAdd");
  cmdFileAddAlternate.bind(*this, "cmdFileAddAlternate");
  cmdFileRemove.bind(*this, "cmdFileRemove");
  chkFileRecurse.bind(*this, "chkFileRecurse");
  chkFileDeletesubFolders.bind(*this, "chkFileDeletesubFolders");
  drvFileAlternate.bind(*this, "drvFileAlternate");
  dirFileAlternate.bind(*this, "dirFileAlternate");
  flFileAlternate.bind(*this, "flFileAlternate");
  lblPickerFolder.bind(*this, "lblPickerFolder");
  optRoot.bind(*this, {"optLocalMachine", "optClassesRoot", "optUsers", "optPerformanceData",
                       "optCurrentUser", "optCurrentConfig", "optDynData"});
  optMethod.bind(*this, {"optDeleteValue", "optEntireSubkey"});
  txtRegistrySubkey.bind(*this, "txtRegistrySubkey");
  txtRegistryValue.bind(*this, "txtRegistryValue");
  chkDeleteAllSubkeys.bind(*this, "chkDeleteAllSubkeys");
  cmdRegistryAdd.bind(*this, "cmdRegistryAdd");
  cmdGeneratesubkeys.bind(*this, "cmdGeneratesubkeys");
  cmdGenerateValues.bind(*this, "cmdGenerateValues");
  cmdRegistryRemove.bind(*this, "cmdRegistryRemove");
  txtINIFileName.bind(*this, "txtINIFileName");
  cmdINIBrowse.bind(*this, "cmdINIBrowse");
  cmdINIAdd.bind(*this, "cmdINIAdd");
  cmdINIRemove.bind(*this, "cmdINIRemove");
  cmbINISections.bind(*this, "cmbINISections");
  cmbINIValues.bind(*this, "cmbINIValues");
  chkINIEraseSection.bind(*this, "chkINIEraseSection");

  sstPlugin.addPage(
      "Files",
      {"lblFilePath", "txtFilePath", "cmdFileBrowse", "lblFileExt", "txtFileExt", "chkFileRecurse",
       "chkFileDeletesubFolders", "cmdFilesAdd", "drvFileAlternate", "lblPickerFolder",
       "dirFileAlternate", "flFileAlternate", "cmdFileAddAlternate", "lstvFiles", "cmdFileRemove"});
  sstPlugin.addPage(
      "Registry",
      {"fraRegistryKey",     "optLocalMachine",    "optClassesRoot",    "optUsers",
       "optPerformanceData", "optCurrentUser",     "optCurrentConfig",  "optDynData",
       "lblSubkey",          "txtRegistrySubkey",  "lblValue",          "txtRegistryValue",
       "fraMethod",          "optDeleteValue",     "optEntireSubkey",   "chkDeleteAllSubkeys",
       "cmdRegistryAdd",     "cmdGeneratesubkeys", "cmdGenerateValues", "lstvRegistry",
       "cmdRegistryRemove"});
  sstPlugin.addPage("INI files", {"lblINIFileName", "txtINIFileName", "cmdINIBrowse",
                                  "lblINISection", "cmbINISections", "lblINIValue", "cmbINIValues",
                                  "chkINIEraseSection", "cmdINIAdd", "lstvINI", "cmdINIRemove"});

  optMethod.onChange = [this] {
    if (entireSubkey())
      optEntireSubkey_Click();
    else
      optDeleteValue_Click();
  };
  cmbINISections.onChange = [this] { cmbINISections_Click(); };
  // The controls of the page left may have stood over a frame that paints no background.
  sstPlugin.onChange = [this] {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  };

  // The choices the window opens with.
  chkFileDeletesubFolders.setEnabled(false);
  optRoot.choose(0);
  optMethod.choose(0);
  optDeleteValue_Click();

  std::vector<std::string> drives;
  std::string list = GetLogicalDriveList();
  for (const std::string& d : split(list, '\0'))
    if (!d.empty()) drives.push_back(d);
  drvFileAlternate.setItems(drives);
  // The picker starts in the program's folder, its drive chosen in the list.
  std::string start = appPath();
  if (start.empty() && !drives.empty()) start = drives.front();
  drvFileAlternate.selectText(start.substr(0, 3));
  drvFileAlternate.onChange = [this] { drvFileAlternate_Change(); };
  setPickerFolder(start);
  return true;
}

void PluginEditorWindow::info(const char* text) {
  asker().messageBox(hwnd(), text, kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void PluginEditorWindow::addRows(ListView& list,
                                 const std::vector<std::vector<std::string>>& rows) {
  list.beginUpdate();
  for (const auto& cells : rows) list.addRow({cells});
  list.endUpdate();
}

void PluginEditorWindow::removeSelected(ListView& list) {
  auto selected = list.selectedRows();
  if (!selected.empty()) list.removeRow(selected.front());
}

std::string PluginEditorWindow::getRoot() const {
  int i = optRoot.chosen();
  if (i < 0) return {};
  return std::string(kRootOptions[static_cast<size_t>(i)].second) + "\\";
}

// ---- Files tab ----

void PluginEditorWindow::chkFileRecurse_Click() {
  chkFileDeletesubFolders.setEnabled(chkFileRecurse.checked());
}

void PluginEditorWindow::cmdFileBrowse_Click() { txtFilePath.setText(BrowseForFolder()); }

void PluginEditorWindow::cmdFilesAdd_Click() {
  std::string path = txtFilePath.text(), spec = txtFileExt.text();
  if (path.empty()) return info(kMsgProvidePath);
  if (spec.empty()) return info(kMsgProvideSpec);
  std::string location = joinPath(path, spec);
  if (!isUsablePathLength(location)) return info(kMsgPathTooLong);
  if (spec != "*.*") chkFileDeletesubFolders.setChecked(false);
  addRows(lstvFiles, {{std::string(yesNo(chkFileRecurse.checked())),
                       std::string(yesNo(chkFileDeletesubFolders.checked())), location}});
  txtFilePath.setText("");
  txtFileExt.setText("");
}

void PluginEditorWindow::cmdFileAddAlternate_Click() {
  if (flFileAlternate.count() == 0) return info(kMsgNoFilesToAdd);
  auto chosen = flFileAlternate.selectedIndexes();
  if (chosen.empty() || chosen.front() >= pickerFiles_.size()) return info(kMsgSelectFile);
  std::string location = joinPath(pickerFolder_, pickerFiles_[chosen.front()]);
  if (!isUsablePathLength(location)) return info(kMsgPathTooLong);
  addRows(lstvFiles, {{std::string(yesNo(chkFileRecurse.checked())),
                       std::string(yesNo(chkFileDeletesubFolders.checked())), location}});
}

void PluginEditorWindow::setPickerFolder(const std::string& folder) {
  pickerFolder_ = folder;
  std::vector<std::string> names;
  listPickerFolder(folder, names, pickerFiles_);
  pickerFolders_.clear();
  // A folder below a drive root (or a share) has a way up.
  bool isRoot = folder.size() <= 3 && folder.find(':') == 1;
  if (!folder.empty() && !isRoot) pickerFolders_.push_back("");
  for (auto& n : names) pickerFolders_.push_back(std::move(n));
  std::vector<std::string> shown;
  for (const auto& f : pickerFolders_) shown.push_back(f.empty() ? kParentEntry : f);
  dirFileAlternate.setItems(shown);
  flFileAlternate.setItems(pickerFiles_);
  lblPickerFolder.setText(folder);
}

void PluginEditorWindow::drvFileAlternate_Change() {
  std::string drive = drvFileAlternate.selectedText();
  if (!drive.empty()) setPickerFolder(drive);
}

void PluginEditorWindow::dirFileAlternate_DblClick() {
  auto chosen = dirFileAlternate.selectedIndexes();
  if (chosen.empty() || chosen.front() >= pickerFolders_.size()) return;
  const std::string& entry = pickerFolders_[chosen.front()];
  if (!entry.empty()) return setPickerFolder(joinPath(pickerFolder_, entry));
  std::string up = pickerFolder_;
  while (endsWithBackslash(up)) up.pop_back();
  size_t slash = up.rfind('\\');
  if (slash == std::string::npos) return;
  up.resize(slash);
  if (up.size() == 2 && up[1] == ':') up += '\\';  // a drive root keeps its backslash
  setPickerFolder(up);
}

void PluginEditorWindow::cmdFileRemove_Click() { removeSelected(lstvFiles); }

// ---- Registry tab ----

void PluginEditorWindow::optDeleteValue_Click() {
  chkDeleteAllSubkeys.setEnabled(false);
  SendMessageW(txtRegistryValue.hwnd(), EM_SETREADONLY, FALSE, 0);
  cmdGenerateValues.setEnabled(true);
}

void PluginEditorWindow::optEntireSubkey_Click() {
  chkDeleteAllSubkeys.setEnabled(true);
  SendMessageW(txtRegistryValue.hwnd(), EM_SETREADONLY, TRUE, 0);
  txtRegistryValue.setText("");
  cmdGenerateValues.setEnabled(false);
}

void PluginEditorWindow::cmdRegistryAdd_Click() {
  std::string subkey = txtRegistrySubkey.text();
  if (subkey.empty()) return info(kMsgEnterSubkey);
  addRows(lstvRegistry,
          {{std::string(yesNo(entireSubkey())), std::string(yesNo(chkDeleteAllSubkeys.checked())),
            getRoot() + subkey, txtRegistryValue.text()}});
}

void PluginEditorWindow::generate(bool subkeys) {
  KeygenSource source{getRoot(), txtRegistrySubkey.text(), txtRegistryValue.text(), entireSubkey(),
                      chkDeleteAllSubkeys.checked()};
  if (source.subkey.empty()) return info(kMsgEnterSubkey);
  if (!source.entireSubkey && source.value.empty()) return info(kMsgEnterValue);
  KeygenWindow& keygen = frmKeygen(hwnd());
  keygen.GenerateSubkeys = subkeys;
  keygen.source = source;
  keygen.generated.clear();
  keygen.lblKeyValue.setText(subkeys ? source.subkey : source.value);
  asker().showModal(keygen, hwnd());
  std::vector<std::vector<std::string>> rows;
  for (const PluginRegistryRecord& r : std::exchange(keygen.generated, {}))
    rows.push_back({r.deleteSubkey, r.recurseDelete, r.key, r.value});
  addRows(lstvRegistry, rows);
}

void PluginEditorWindow::cmdRegistryRemove_Click() { removeSelected(lstvRegistry); }

// ---- INI files tab ----

void PluginEditorWindow::cmdINIBrowse_Click() {
  FileDialogSpec spec;
  spec.filter = kIniFilter;
  auto chosen = asker().openFile(hwnd(), spec);
  if (!chosen) return;
  if (!isUsablePathLength(*chosen)) return info(kMsgPathTooLong);
  txtINIFileName.setText(*chosen);
  cmbINISections.clear();
  cmbINIValues.clear();
  cmbINISections.setItems(iniSections(fileText(*chosen)));
}

void PluginEditorWindow::cmbINISections_Click() {
  cmbINIValues.clear();
  std::string file = txtINIFileName.text();
  if (cmbINISections.selected() < 0 || !isUsablePathLength(file) || !fileExists(file)) return;
  cmbINIValues.setItems(iniSectionKeys(fileText(file), cmbINISections.selectedText()));
}

void PluginEditorWindow::chkINIEraseSection_Click() {
  cmbINIValues.setEnabled(!chkINIEraseSection.checked());
}

void PluginEditorWindow::cmdINIAdd_Click() {
  std::string file = txtINIFileName.text();
  size_t slash = file.rfind('\\');
  if (slash == std::string::npos) return info(kMsgIniPathInvalid);
  std::string section = cmbINISections.text();
  if (section.empty()) return info(kMsgSelectSection);
  bool erase = chkINIEraseSection.checked();
  std::string value = cmbINIValues.text();
  if (cmbINIValues.enabled() && value.empty()) return info(kMsgEnterValue);
  if (!isUsablePathLength(file)) return info(kMsgPathTooLong);
  addRows(lstvINI, {{file.substr(slash + 1), section, std::string(yesNo(erase)),
                     erase ? std::string() : value, file.substr(0, slash + 1)}});
  txtINIFileName.setText("");
}

void PluginEditorWindow::cmdINIRemove_Click() { removeSelected(lstvINI); }

// ---- the plug-in file ----

glenvask::PluginFile PluginEditorWindow::contents() const {
  glenvask::PluginFile p;
  p.description = txtDescription.text();
  auto cell = [](const ListView& list, size_t row, size_t col) { return list.rowText(row, col); };
  for (size_t i = 0; i < lstvFiles.rowCount(); ++i)
    p.files.push_back({cell(lstvFiles, i, 0), cell(lstvFiles, i, 1), cell(lstvFiles, i, 2)});
  for (size_t i = 0; i < lstvRegistry.rowCount(); ++i)
    p.registry.push_back({cell(lstvRegistry, i, 0), cell(lstvRegistry, i, 1),
                          cell(lstvRegistry, i, 2), cell(lstvRegistry, i, 3)});
  for (size_t i = 0; i < lstvINI.rowCount(); ++i)
    p.iniEntries.push_back({cell(lstvINI, i, 0), cell(lstvINI, i, 1), cell(lstvINI, i, 2),
                            cell(lstvINI, i, 3), cell(lstvINI, i, 4)});
  return p;
}

bool PluginEditorWindow::getPlugin() {
  if (PluginFile.empty()) return true;
  std::optional<std::string> text = readPluginText(PluginFile);
  if (!text) return false;
  glenvask::PluginFile p = parsePluginFile(*text);
  txtDescription.setText(p.description);
  std::vector<std::vector<std::string>> files, registry, ini;
  for (const auto& r : p.files) files.push_back({r.recurse, r.deleteSubfolders, r.location});
  for (const auto& r : p.registry)
    registry.push_back({r.deleteSubkey, r.recurseDelete, r.key, r.value});
  for (const auto& r : p.iniEntries)
    ini.push_back({r.fileName, r.section, r.deleteSection, r.value, r.path});
  addRows(lstvFiles, files);
  addRows(lstvRegistry, registry);
  addRows(lstvINI, ini);
  return true;
}

bool PluginEditorWindow::SavePlugin(const std::string& path) {
  if (!isUsablePathLength(path)) return false;
  // The folder is made when it is missing.
  std::string folder = path.substr(0, path.rfind('\\') + 1);
  if (!folder.empty() && !folderExists(folder)) CreateDirectoryW(wide(folder).c_str(), nullptr);
  return writePluginText(path, writePluginFile(contents())) == PluginSave::Saved;
}

void PluginEditorWindow::cmdSave_Click() {
  std::string description = txtDescription.text();
  // Stored in the system's code page: a text it cannot hold is not saved at all.
  if (!toAnsiText(writePluginFile(contents()))) return info(kMsgNotInCodePage);
  if (!NewPlugin) {
    if (!SavePlugin(PluginFile)) return info(kMsgPluginNotSaved);
    if (listHost && !listRow.empty()) listHost->setPluginDescription(listRow, description);
    return;
  }
  auto answer = asker().inputBox(hwnd(), kMsgPluginFileName, kAppTitle, "");
  if (!answer || answer->empty()) return;
  std::string name = *answer + std::string(kPluginExtension);
  std::string path = pluginFolderPath() + name;
  // The name must stay a file of the Plugins folder.
  if (!isBareFileName(name) || !isUsablePathLength(path)) return info(kMsgBadPluginName);
  if (!toAnsiText(name)) return info(kMsgNotInCodePage);  // plg.txt could not list it
  if (fileExists(path) && asker().messageBox(hwnd(), kMsgOverwritePlugin, kAppTitle,
                                             MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (!SavePlugin(path)) return info(kMsgPluginNotSaved);
  setText("Plugin: " + name);
  PluginFile = path;
  NewPlugin = false;
  if (listHost) listRow = listHost->addPluginRow(name, description);
}

void PluginEditorWindow::cmdClose_Click() { dismiss(); }

void PluginEditorWindow::onCommand(int id, int code, HWND) {
  switch (id) {
    case ids::kPluginSave: cmdSave_Click(); break;
    case ids::kPluginClose:
    case IDCANCEL: cmdClose_Click(); break;
    case ids::kPluginFileRecurse: chkFileRecurse_Click(); break;
    case ids::kPluginFileBrowse: cmdFileBrowse_Click(); break;
    case ids::kPluginFilesAdd: cmdFilesAdd_Click(); break;
    case ids::kPluginFileAddPicked: cmdFileAddAlternate_Click(); break;
    case ids::kPluginFolderList:
      if (code == LBN_DBLCLK) dirFileAlternate_DblClick();
      break;
    case ids::kPluginFileRemove: cmdFileRemove_Click(); break;
    case ids::kPluginRegistryAdd: cmdRegistryAdd_Click(); break;
    case ids::kPluginGenerateSubkeys: cmdGeneratesubkeys_Click(); break;
    case ids::kPluginGenerateValues: cmdGenerateValues_Click(); break;
    case ids::kPluginRegistryRemove: cmdRegistryRemove_Click(); break;
    case ids::kPluginIniBrowse: cmdINIBrowse_Click(); break;
    case ids::kPluginIniEraseSection: chkINIEraseSection_Click(); break;
    case ids::kPluginIniAdd: cmdINIAdd_Click(); break;
    case ids::kPluginIniRemove: cmdINIRemove_Click(); break;
    default: break;
  }
}

COLORREF PluginEditorWindow::pageColor() {
  if (pageColor_ != CLR_INVALID) return pageColor_;
  pageColor_ = GetSysColor(COLOR_BTNFACE);
  HWND tab = sstPlugin.hwnd();
  RECT r{};
  if (!tab || !GetClientRect(tab, &r) || r.right <= 0 || r.bottom <= 0) return pageColor_;
  // One pixel of the page as the strip draws it (a themed strip paints its pages white).
  HDC screen = GetDC(tab);
  HDC dc = CreateCompatibleDC(screen);
  GdiHandle bitmap(CreateCompatibleBitmap(screen, r.right, r.bottom));
  ReleaseDC(tab, screen);
  HGDIOBJ old = SelectObject(dc, bitmap.get());
  SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  RECT page = r;
  TabCtrl_AdjustRect(tab, FALSE, &page);
  COLORREF c = GetPixel(dc, page.left + (page.right - page.left) / 2, page.bottom - 4);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (c != CLR_INVALID) pageColor_ = c;
  return pageColor_;
}

std::optional<LRESULT> PluginEditorWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!sstPlugin.hwnd()) return std::nullopt;
  if (!pageBrush_) pageBrush_.reset(CreateSolidBrush(pageColor()));
  if (msg == WM_ERASEBKGND) {
    // The page under the frames, which the strip leaves to this window.
    HDC dc = reinterpret_cast<HDC>(wp);
    RECT all{}, page{};
    GetClientRect(hwnd(), &all);
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    GetWindowRect(sstPlugin.hwnd(), &page);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&page), 2);
    TabCtrl_AdjustRect(sstPlugin.hwnd(), FALSE, &page);
    FillRect(dc, &page, static_cast<HBRUSH>(pageBrush_.get()));
    return 1;
  }
  if (msg != WM_CTLCOLORSTATIC) return std::nullopt;
  // Labels, check boxes, option buttons and frames on a page take the page's colour; edits
  // (a read-only one too) keep theirs.
  HWND ctl = reinterpret_cast<HWND>(lp);
  wchar_t cls[16] = {};
  GetClassNameW(ctl, cls, 16);
  RECT c{}, tab{};
  GetWindowRect(ctl, &c);
  GetWindowRect(sstPlugin.hwnd(), &tab);
  if (lstrcmpiW(cls, WC_EDITW) == 0 || c.top < tab.top + scale(20)) return std::nullopt;
  SetBkColor(reinterpret_cast<HDC>(wp), pageColor());
  return reinterpret_cast<LRESULT>(pageBrush_.get());
}

void PluginEditorWindow::onDestroy() {
  for (Control* c : std::initializer_list<Control*>{
           &txtDescription,      &cmdSave,           &cmdClose,
           &sstPlugin,           &txtFilePath,       &txtFileExt,
           &cmdFileBrowse,       &cmdFilesAdd,       &cmdFileAddAlternate,
           &cmdFileRemove,       &chkFileRecurse,    &chkFileDeletesubFolders,
           &drvFileAlternate,    &dirFileAlternate,  &flFileAlternate,
           &lblPickerFolder,     &txtRegistrySubkey, &txtRegistryValue,
           &chkDeleteAllSubkeys, &cmdRegistryAdd,    &cmdGeneratesubkeys,
           &cmdGenerateValues,   &cmdRegistryRemove, &txtINIFileName,
           &cmdINIBrowse,        &cmdINIAdd,         &cmdINIRemove,
           &cmbINISections,      &cmbINIValues,      &chkINIEraseSection})
    c->attach(nullptr);
  for (ListView* l : {&lstvFiles, &lstvRegistry, &lstvINI}) {
    l->clear();
    l->attach(nullptr);
  }
  sstPlugin = TabControl();  // its pages were this window's controls
  pageBrush_.reset();
  pageColor_ = CLR_INVALID;
  pickerFolder_.clear();
  pickerFiles_.clear();
  pickerFolders_.clear();
}

}  // namespace glenvask
