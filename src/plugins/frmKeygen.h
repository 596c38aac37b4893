// The key generator of the plug-in editor: a run of registry rows at once, each with a
// number from a chosen range (0 to 255) attached to the subkey or to the value name, so that
// a plug-in can name keys or values that differ only by a trailing number.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/plugin_format.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

// What the rows are made from: the editor's registry fields when Generate is pressed.
struct KeygenSource {
  std::string root;  // "HKEY_CURRENT_USER\" (the editor's getRoot)
  std::string subkey;
  std::string value;
  bool entireSubkey = false;      // "Delete entire subkey" chosen
  bool deleteAllSubkeys = false;  // "Delete all subkeys" checked
};

inline constexpr int kKeygenHighest = 255;
inline constexpr const char* kKeygenRangeMessage = "The To value should be greater than from";

// The rows for the numbers from..to (both within 0 to 255, from not above to); none
// otherwise. padWidth 0 adds no zeros, 1 one "0", 2 "00", whatever the number of digits.
std::vector<PluginRegistryRecord> generateKeyRows(const KeygenSource& source, bool generateSubkeys,
                                                  int from, int to, int padWidth);

class KeygenWindow : public Dialog {
 public:
  // Makes the window (hidden) with its lists filled, when it is not made.
  void load(HWND owner);
  bool build(HWND owner) override;

  void Form_Load();
  void cmdMake_Click();
  void cmdClose_Click();

  // Set by the editor before the window is shown.
  bool GenerateSubkeys = true;
  KeygenSource source;
  // What Generate made; the editor adds these rows once the window has closed.
  std::vector<PluginRegistryRecord> generated;

  Label lblKeyValue;
  ComboBox cmbFrom, cmbTo, cmbPad;
  CheckBox chkPad;
  Button cmdMake, cmdClose;

 protected:
  const wchar_t* className() const override { return ids::kKeygenClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
};

// The one key generator; made, owned by the window given, when it does not exist.
KeygenWindow& frmKeygen(HWND owner = nullptr);

}  // namespace glenvask
