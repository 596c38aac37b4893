#include "plugins/frmKeygen.h"

#include <algorithm>
#include <cstdint>

#include "base/text.h"
#include "services/globals.h"

namespace glenvask {

namespace {

constexpr int IDC_STATIC = -1;

constexpr const char* kHelpText =
    "Keys or values can be generated with a number attached to them. The number ranges from 0 "
    "to 255 and may be padded with leading zeros.";

int comboNumber(const ComboBox& box) {
  auto n = parseInteger(box.selectedText());
  return n ? static_cast<int>(std::clamp<std::int64_t>(*n, -1, kKeygenHighest + 1)) : -1;
}

}  // namespace

std::vector<PluginRegistryRecord> generateKeyRows(const KeygenSource& source, bool generateSubkeys,
                                                  int from, int to, int padWidth) {
  std::vector<PluginRegistryRecord> rows;
  if (from < 0 || to > kKeygenHighest || from > to) return rows;
  std::string zeros(padWidth <= 0 ? 0 : padWidth == 1 ? 1 : 2, '0');
  for (int i = from; i <= to; ++i) {
    std::string suffix = zeros + std::to_string(i);
    PluginRegistryRecord r;
    r.deleteSubkey = yesNo(source.entireSubkey);
    r.recurseDelete = yesNo(source.deleteAllSubkeys);
    r.key = source.root + source.subkey + (generateSubkeys ? suffix : "");
    r.value = source.value + (generateSubkeys ? "" : suffix);
    rows.push_back(std::move(r));
  }
  return rows;
}

KeygenWindow& frmKeygen(HWND owner) {
  KeygenWindow& window = soleInstance<KeygenWindow>();
  if (!window.isOpen() && !window.isModal()) window.load(owner);
  return window;
}

void KeygenWindow::load(HWND owner) {
  if (isOpen()) return;
  GenerateSubkeys = true;
  source = {};
  generated.clear();
  create(dialogFrame("Generate keys", 380, 210, owner));
}

bool KeygenWindow::build(HWND owner) {
  load(owner);
  return isOpen();
}

bool KeygenWindow::onCreate() {
  const ControlSpec specs[] = {
      label("lblAppend", IDC_STATIC, "Append numbers to:", 12, 12, 120, 18),
      label("lblKeyValue", ids::kKeygenKeyValue, "", 136, 12, 232, 18, SS_ENDELLIPSIS),
      label("lblFrom", IDC_STATIC, "Generate numbers from", 12, 44, 140, 18),
      comboBox("cmbFrom", ids::kKeygenFrom, 156, 40, 70, 220),
      label("lblTo", IDC_STATIC, "to", 236, 44, 20, 18),
      comboBox("cmbTo", ids::kKeygenTo, 260, 40, 70, 220),
      checkBox("chkPad", ids::kKeygenPad, "Pad with leading zeros", 12, 74, 170, 20),
      comboBox("cmbPad", ids::kKeygenPadList, 190, 72, 50, 120),
      label("lblHelp", IDC_STATIC, kHelpText, 12, 104, 356, 48),
      button("cmdMake", ids::kKeygenGenerate, "&Generate", 176, 172, 92, 26, BS_DEFPUSHBUTTON),
      button("cmdClose", ids::kKeygenClose, "&Close", 276, 172, 92, 26),
  };
  addControls(specs);
  lblKeyValue.bind(*this, "lblKeyValue");
  cmbFrom.bind(*this, "cmbFrom");
  cmbTo.bind(*this, "cmbTo");
  chkPad.bind(*this, "chkPad");
  cmbPad.bind(*this, "cmbPad");
  cmdMake.bind(*this, "cmdMake");
  cmdClose.bind(*this, "cmdClose");
  Form_Load();
  return true;
}

void KeygenWindow::Form_Load() {
  std::vector<std::string> numbers;
  for (int i = 0; i <= kKeygenHighest; ++i) numbers.push_back(std::to_string(i));
  cmbFrom.setItems(numbers);
  cmbTo.setItems(numbers);
  cmbFrom.select(0);
  cmbTo.select(0);
  cmbPad.setItems({"1", "2"});
  cmbPad.select(0);
}

void KeygenWindow::cmdMake_Click() {
  int from = comboNumber(cmbFrom), to = comboNumber(cmbTo);
  // Only the listed numbers are taken: anything else would make a range of no use, or one
  // of millions of rows.
  if (from < 0 || to < 0 || from > kKeygenHighest || to > kKeygenHighest || from > to) {
    asker().messageBox(hwnd(), kKeygenRangeMessage, kAppTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  int pad = chkPad.checked() ? (cmbPad.selectedText() == "1" ? 1 : 2) : 0;
  generated = generateKeyRows(source, GenerateSubkeys, from, to, pad);
  dismiss();
}

void KeygenWindow::cmdClose_Click() {
  generated.clear();
  dismiss();
}

void KeygenWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kKeygenGenerate: cmdMake_Click(); break;
    case ids::kKeygenClose:
    case IDCANCEL: cmdClose_Click(); break;
    default: break;
  }
}

void KeygenWindow::onDestroy() {
  for (Control* c : std::initializer_list<Control*>{&lblKeyValue, &cmbFrom, &cmbTo, &cmbPad,
                                                    &chkPad, &cmdMake, &cmdClose})
    c->attach(nullptr);
}

}  // namespace glenvask
