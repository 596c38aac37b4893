// A small modal dialog of labelled edit fields with OK and Cancel, shown through the asker
// (so a test answers it). Enter presses OK and Esc Cancel.
//
//   EditDialog d("Add Key", {{"Key:", ""}, {"Value name:", ""}});
//   if (auto values = d.ask(hwnd())) add((*values)[0], (*values)[1]);
//
// A dialog that checks what was typed derives and overrides accept().
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/controls.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

struct EditField {
  std::string label;  // "Value name:"
  std::string value;  // the text the field starts with
};

class EditDialog : public Dialog {
 public:
  EditDialog(std::string title, std::vector<EditField> fields);

  // Shows the dialog, owned by the window given: the fields' texts, in order, on OK; nothing
  // on Cancel, Esc or the close box. Asked again, it starts from the texts last accepted.
  std::optional<std::vector<std::string>> ask(HWND owner);

  size_t fieldCount() const { return edits_.size(); }
  EditBox& field(size_t i) { return edits_.at(i); }  // while shown
  Button cmdOK, cmdCancel;

  bool build(HWND owner) override;

 protected:
  const wchar_t* className() const override { return ids::kEditDialogClass; }
  // Called on OK with the texts typed; false keeps the dialog open (tell the user why).
  virtual bool accept(const std::vector<std::string>& values) { return true; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;

 private:
  std::string title_;
  std::vector<EditField> fields_;
  std::vector<EditBox> edits_;
  std::optional<std::vector<std::string>> result_;
};

}  // namespace glenvask
