// Invalid file references: a walk of the whole registry of the current user and then of the
// local machine that lists every string value naming a file that is missing (as the shared
// judge of tools/refjudge.h decides). Rows start clear; Delete removes the checked values.
#pragma once

#include <string>
#include <vector>

#include "tools/refjudge.h"
#include "tools/refscan.h"
#include "win/ids.h"

namespace glenvask {

class InvalidFileWindow : public ReferenceScanner {
 public:
  void cmdDelete_Click() override;
  void cmdStop_Click() override;
  void lstvInvalid_ItemClick(size_t row);

  ToolListView& lstvInvalid = list();
  Label lblKeyData;
  EditBox txtKey, txtValue, txtPath;

  // Values judged in the last walk (for the benchmark and the tests).
  std::uint64_t judgedValues() const { return judged_; }

 protected:
  friend InvalidFileWindow& soleInstance<InvalidFileWindow>();
  InvalidFileWindow();
  void scan() override;
  void endScan(bool stopped) override;
  void addExtraControls() override;
  void layoutExtra(int x, int y, int width) override;
  void onDestroy() override;

 private:
  void walk(HKEY root, HKEY key, std::wstring& path, int depth);
  void checkValues(HKEY root, HKEY key, const std::wstring& path);
  void showStatus(const std::wstring& path);
  void showCount();

  std::string prefix_;
  std::vector<wchar_t> nameBuf_;
  std::vector<BYTE> dataBuf_;
  std::uint64_t lastStatus_ = 0;
  std::uint64_t judged_ = 0;
};

inline InvalidFileWindow& frmInvalidFile() { return soleInstance<InvalidFileWindow>(); }

}  // namespace glenvask
