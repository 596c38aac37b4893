#include "tools/frmOrphanedFile.h"

#include <cwctype>

#include "services/registry.h"
#include "tools/refjudge.h"
#include "tools/regvalue.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {

namespace {

enum Column : size_t { kColKey = 0, kColValue, kColReference };

constexpr DWORD kNameChars = 16384;
constexpr DWORD kDataBytes = 4096;
// A longer string is read whole only up to this size; beyond it the value is not judged.
constexpr DWORD kLongestJudged = 65536;
constexpr std::uint64_t kStatusEveryMs = 100;
// The registry holds no deeper tree; a link that leads back up ends here.
constexpr int kDeepestKey = 512;

constexpr const char* kCurrentUser = "HKEY_CURRENT_USER";
constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE";

bool ieq(std::wstring_view a, const wchar_t* b) {
  size_t n = wcslen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

// Whether a subkey's subtree is left out of the walk: the same keys that the judge leaves.
bool skipSubkey(HKEY root, std::wstring_view name, int depth) {
  if (ieq(name, L"Wow6432Node")) return true;
  return depth == 0 && root == HKEY_LOCAL_MACHINE &&
         (ieq(name, L"SYSTEM") || ieq(name, L"SAM") || ieq(name, L"SECURITY") ||
          ieq(name, L"HARDWARE"));
}

// The row's locator: the root's letter, then the key path without its last backslash.
std::string locator(HKEY root, const std::wstring& path) {
  std::wstring p = path;
  if (!p.empty() && p.back() == L'\\') p.pop_back();
  return (root == HKEY_CURRENT_USER ? "U" : "M") + utf8(p);
}

}  // namespace

InvalidFileWindow::InvalidFileWindow()
    : ReferenceScanner(
          {"Orphaned file/path reference",
           "Orphaned File/Path Reference",
           ids::kInvalidFileClass,
           "lstvInvalid",
           {{"Registry Key", 260}, {"String Value", 140}, {"File/path reference", 260}},
           ids::kInvalidFileList,
           ids::kInvalidFileStatus,
           ids::kInvalidFileStop,
           ids::kInvalidFileDelete,
           ids::kInvalidFileClose,
           ids::kInvalidFileHeading,
           0,
           0,
           0,
           680,
           500,
           108,
           true}) {}

void InvalidFileWindow::addExtraControls() {
  addControl(label("lblKeyData", -1, "Data for the highlighted key", 0, 0, 300, 18));
  lblKeyData.bind(*this, "lblKeyData");
  const std::pair<const char*, int> boxes[] = {{"txtKey", ids::kInvalidFileKey},
                                               {"txtValue", ids::kInvalidFileValue},
                                               {"txtPath", ids::kInvalidFilePath}};
  for (const auto& [name, id] : boxes)
    addControl(editBox(name, id, "", 0, 0, 300, 22, ES_AUTOHSCROLL | ES_READONLY));
  txtKey.bind(*this, "txtKey");
  txtValue.bind(*this, "txtValue");
  txtPath.bind(*this, "txtPath");
  list().onItemClick = [this](size_t row) { lstvInvalid_ItemClick(row); };
  list().onColumnClick = [this](size_t column) { list().toggleSort(column); };
}

void InvalidFileWindow::layoutExtra(int x, int y, int width) {
  MoveWindow(lblKeyData.hwnd(), x, y, width, scale(18), TRUE);
  y += scale(22);
  for (EditBox* box : {&txtKey, &txtValue, &txtPath}) {
    MoveWindow(box->hwnd(), x, y, width, scale(22), TRUE);
    y += scale(28);
  }
}

void InvalidFileWindow::onDestroy() {
  for (Control* c : std::initializer_list<Control*>{&lblKeyData, &txtKey, &txtValue, &txtPath})
    c->attach(nullptr);
  ReferenceScanner::onDestroy();
}

void InvalidFileWindow::lstvInvalid_ItemClick(size_t row) {
  if (row >= list().rowCount()) return;
  txtKey.setText(list().rowText(row, kColKey));
  txtValue.setText(list().rowText(row, kColValue));
  txtPath.setText(list().rowText(row, kColReference));
}

void InvalidFileWindow::scan() {
  judged_ = 0;
  lastStatus_ = 0;
  nameBuf_.assign(kNameChars, L'\0');
  dataBuf_.assign(kDataBytes + sizeof(wchar_t), 0);
  const std::pair<HKEY, const char*> roots[] = {{HKEY_CURRENT_USER, kCurrentUser},
                                                {HKEY_LOCAL_MACHINE, kLocalMachine}};
  for (const auto& [root, name] : roots) {
    prefix_ = std::string(name) + ":";
    std::wstring path;
    walk(root, root, path, 0);
  }
  nameBuf_ = {};
  dataBuf_ = {};
}

void InvalidFileWindow::showStatus(const std::wstring& path) {
  std::uint64_t now = GetTickCount64();
  if (lastStatus_ != 0 && now - lastStatus_ < kStatusEveryMs) return;
  lastStatus_ = now;
  lblStatus.setText("Analyzing: " + prefix_ + utf8(path));
}

void InvalidFileWindow::walk(HKEY root, HKEY key, std::wstring& path, int depth) {
  if (stopRequested()) return;
  showStatus(path);
  if (!keepGoing()) return;
  checkValues(root, key, path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD len = 256;
    LONG rc = RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) break;  // the end, or the key went away meanwhile
    if (!keepGoing()) return;
    std::wstring_view sub(name, len);
    if (depth >= kDeepestKey || skipSubkey(root, sub, depth) ||
        sub.find(L'\0') != std::wstring_view::npos)
      continue;
    KeyHandle child;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, child.put()) != ERROR_SUCCESS) continue;
    size_t old = path.size();
    path.append(sub);
    path.push_back(L'\\');
    walk(root, child.get(), path, depth + 1);
    path.resize(old);
    if (stopRequested()) return;
  }
}

void InvalidFileWindow::checkValues(HKEY root, HKEY key, const std::wstring& path) {
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = kNameChars, type = REG_NONE, dataLen = kDataBytes;
    LONG rc =
        RegEnumValueW(key, i, nameBuf_.data(), &nameLen, nullptr, &type, dataBuf_.data(), &dataLen);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    std::wstring_view name(nameBuf_.data(), nameLen);
    if (name.find(L'\0') != std::wstring_view::npos) continue;
    std::wstring data;
    if (rc == ERROR_MORE_DATA) {
      // Either the name or the data did not fit; a long string is read whole when it is not
      // huge, and otherwise left alone.
      if (nameLen >= kNameChars || dataLen > kLongestJudged) continue;
      std::vector<BYTE> whole(dataLen + sizeof(wchar_t), 0);
      DWORD got = dataLen;
      std::wstring n(name);
      if (RegQueryValueExW(key, n.c_str(), nullptr, &type, whole.data(), &got) != ERROR_SUCCESS ||
          (type != REG_SZ && type != REG_EXPAND_SZ))
        continue;
      data.assign(reinterpret_cast<const wchar_t*>(whole.data()), got / sizeof(wchar_t));
    } else {
      data.assign(reinterpret_cast<const wchar_t*>(dataBuf_.data()), dataLen / sizeof(wchar_t));
    }
    data.resize(std::min(data.size(), data.find(L'\0')));
    if (data.size() < 3) continue;
    ++judged_;
    if (judge().judge(data) != FileReference::Missing) continue;
    if (!roundTrips(name) || !roundTrips(path) || !roundTrips(data)) continue;
    ListRow row{{prefix_ + utf8(path), utf8(name), utf8(data)}};
    row.key = locator(root, path);
    list().addRow(std::move(row));
  }
}

void InvalidFileWindow::endScan(bool stopped) {
  list().sortBy(kColValue, true);
  showCount();
}

void InvalidFileWindow::showCount() {
  lblStatus.setText(std::to_string(list().rowCount()) + " invalid references");
}

void InvalidFileWindow::cmdStop_Click() {
  requestStop();
  cmdStop.setEnabled(false);
  cmdDelete.setEnabled(false);
  showCount();
}

void InvalidFileWindow::cmdDelete_Click() {
  ToolListView& l = list();
  for (size_t i = l.rowCount(); i-- > 0;) {
    if (!l.rowChecked(i)) continue;
    const std::string& key = l.rowKey(i);
    if (key.empty()) continue;
    RegRoot root = key[0] == 'U' ? kHkeyCurrentUser : kHkeyLocalMachine;
    std::string subkey = key.substr(1), name = l.rowText(i, kColValue);
    // Only the value as it was listed goes: one changed since the walk stays.
    auto now = readRegText(root, subkey, name);
    if (now && now->text == l.rowText(i, kColReference)) DeleteRegValues(root, name, subkey);
    l.removeRow(i);
  }
  showCount();
}

}  // namespace glenvask
