// The edit dialogs of the tool windows share one shape: what is edited, named in a label (and
// described in a second one, for a file type), a text box with its label, an optional
// Browse..., then Save and Close. Save writes only a text the user changed.
#pragma once

#include <windows.h>

#include <string>

#include "win/controls.h"
#include "win/seams.h"

namespace glenvask {

struct ValueDialogSpec {
  const char* title;
  const wchar_t* windowClass;
  // The name of what is edited: caption label, then the label that shows it.
  const char* nameCaptionName;
  const char* nameCaption;
  const char* nameLabelName;
  int nameId;
  // A second line (the file type's description); null when there is none.
  const char* descCaptionName;
  const char* descCaption;
  const char* descLabelName;
  int descId;
  // The text box and its caption.
  const char* textCaptionName;
  const char* textCaption;
  const char* textName;
  int textId;
  int browseId;          // 0: no Browse button
  const char* saveName;  // "cmdOk" or "cmdOK"
  int saveId, closeId;
};

class ValueDialog : public Dialog {
 public:
  // What the dialog shows when it opens: set before it is shown.
  std::string name, description, text;

  bool build(HWND owner) override;

  virtual void cmdOk_Click() = 0;  // Save
  void cmdClose_Click() { dismiss(); }
  virtual void cmdBrowse_Click() {}

  Label lblName, lblDesc;
  EditBox txt;
  Button cmdBrowse, cmdOk, cmdClose;

  // The text as the user left it, and whether it differs from the text at opening.
  std::string typed() const { return txt.text(); }
  bool changed() const { return txt.text() != opening_; }

 protected:
  explicit ValueDialog(ValueDialogSpec spec) : spec_(spec) {}
  const wchar_t* className() const override { return spec_.windowClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  // Ends the dialog after a save.
  void saved() { endModal(IDOK); }

 private:
  ValueDialogSpec spec_;
  std::string opening_;
};

}  // namespace glenvask
