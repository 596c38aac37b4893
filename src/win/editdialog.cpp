#include "win/editdialog.h"

#include <string>

namespace glenvask {

namespace {
// Layout, in 96-dpi pixels.
constexpr int kMargin = 10, kLabelWidth = 110, kEditWidth = 250, kRow = 30, kLineHeight = 22;
constexpr int kButtonWidth = 75, kButtonHeight = 24;
constexpr int kWidth = kMargin + kLabelWidth + 5 + kEditWidth + kMargin;
}  // namespace

EditDialog::EditDialog(std::string title, std::vector<EditField> fields)
    : title_(std::move(title)), fields_(std::move(fields)), edits_(fields_.size()) {}

bool EditDialog::build(HWND owner) {
  WindowSpec spec = dialogFrame(
      title_, kWidth, kMargin + kRow * static_cast<int>(fields_.size()) + kButtonHeight + kMargin,
      owner);
  if (!create(spec)) return false;
  // Centred over the owner, or over the screen.
  RECT area{}, self{};
  if (!owner || !GetWindowRect(owner, &area))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(hwnd(), &self);
  int w = self.right - self.left, h = self.bottom - self.top;
  SetWindowPos(hwnd(), nullptr, (area.left + area.right - w) / 2,
               (area.top + area.bottom - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

std::optional<std::vector<std::string>> EditDialog::ask(HWND owner) {
  result_.reset();
  if (asker().showModal(*this, owner) != IDOK) return std::nullopt;
  return result_;
}

bool EditDialog::onCreate() {
  int y = kMargin;
  for (size_t i = 0; i < fields_.size(); ++i, y += kRow) {
    int n = static_cast<int>(i);
    std::string lbl = "lblField" + std::to_string(i), txt = "txtField" + std::to_string(i);
    addControl(label(lbl.c_str(), ids::kEditDialogLabelBase + n, fields_[i].label.c_str(), kMargin,
                     y + 3, kLabelWidth, kLineHeight));
    edits_[i].attach(
        addControl(editBox(txt.c_str(), ids::kEditDialogFieldBase + n, fields_[i].value.c_str(),
                           kWidth - kMargin - kEditWidth, y, kEditWidth, kLineHeight)));
  }
  int x = kWidth - kMargin - 2 * kButtonWidth - 6;
  cmdOK.attach(addControl(button("cmdOK", IDOK, "OK", x, y, kButtonWidth, kButtonHeight,
                                 BS_DEFPUSHBUTTON)));
  cmdCancel.attach(addControl(button("cmdCancel", IDCANCEL, "Cancel", x + kButtonWidth + 6, y,
                                     kButtonWidth, kButtonHeight)));
  if (!edits_.empty() && edits_[0]) {
    SetFocus(edits_[0].hwnd());
    SendMessageW(edits_[0].hwnd(), EM_SETSEL, 0, -1);
  }
  return true;
}

void EditDialog::onCommand(int id, int, HWND) {
  if (modalEnded()) return;  // a second key press queued behind the first
  if (id == IDCANCEL) {
    endModal(IDCANCEL);
  } else if (id == IDOK) {
    std::vector<std::string> values;
    for (const auto& e : edits_) values.push_back(e.text());
    if (!accept(values)) return;
    for (size_t i = 0; i < values.size(); ++i) fields_[i].value = values[i];
    result_ = std::move(values);
    endModal(IDOK);
  }
}

}  // namespace glenvask
