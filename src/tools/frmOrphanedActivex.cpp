#include "tools/frmOrphanedActivex.h"

#include "services/registry.h"
#include "tools/regvalue.h"

namespace glenvask {

namespace {

// Whether the component's IsInstalled value marks it installed: data whose first byte is 1 (a
// 32-bit 1, a binary 01), a text whose first character has the code 1, or the text "1".
bool markedInstalled(RegRoot root, const std::string& key) {
  auto v = readRegData(root, key, "IsInstalled");
  if (!v || v->bytes.empty()) return false;
  if (v->type == REG_SZ || v->type == REG_EXPAND_SZ) {
    // A text: its first character, or the number 1 written out.
    std::wstring_view text(reinterpret_cast<const wchar_t*>(v->bytes.data()), v->bytes.size() / 2);
    text = text.substr(0, text.find(L'\0'));
    return (!text.empty() && text[0] == 1) || text == L"1";
  }
  return v->bytes[0] == 1;
}

}  // namespace

InvalidActiveXWindow::InvalidActiveXWindow()
    : ReferenceScanner(
          {"Orphaned ActiveX control references",
           "Orphaned ActiveX control references",
           ids::kInvalidActiveXClass,
           "lstvInvalid",
           {{"ActiveX control", 180}, {"IsInstalled", 70}, {"StubPath", 220}, {"SubKey", 200}},
           ids::kActiveXList,
           ids::kActiveXStatus,
           ids::kActiveXStop,
           ids::kActiveXDelete,
           ids::kActiveXClose,
           ids::kActiveXHeading}) {}

void InvalidActiveXWindow::scan() {
  for (const std::string& name : regSubkeyNames(kHkeyLocalMachine, kInstalledComponentsKey)) {
    if (!keepGoing()) return;
    std::string key = std::string(kInstalledComponentsKey) + "\\" + name;
    auto description = readRegText(kHkeyLocalMachine, key, "");
    if (!description || description->text.empty()) continue;
    bool isInstalled = markedInstalled(kHkeyLocalMachine, key);
    auto stub = readRegText(kHkeyLocalMachine, key, "StubPath");
    ListRow row{{description->text, isInstalled ? "True" : "False", stub ? stub->text : "", name}};
    row.key = name;
    if (isInstalled)
      addPresent(std::move(row));
    else
      addMissing(std::move(row));
  }
}

void InvalidActiveXWindow::cmdDelete_Click() {
  ToolListView& l = list();
  for (size_t i = 0; i < l.rowCount(); ++i) {
    if (!l.rowChecked(i) || l.rowKey(i).empty()) continue;
    std::string key = std::string(kInstalledComponentsKey) + "\\" + l.rowKey(i);
    DeleteRegKeyTree(kHkeyLocalMachine, key);
    DeleteRegKey(kHkeyLocalMachine, key);
  }
  rescan();
}

}  // namespace glenvask
