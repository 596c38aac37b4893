#include "options/frmOverwrite.h"

#include "options/unzip.h"

namespace glenvask {

namespace {
constexpr int IDC_STATIC = -1;
constexpr int kWidth = 420, kHeight = 150;
constexpr int kButtonW = 80, kButtonH = 24;
}  // namespace

bool OverwriteWindow::build(HWND owner) {
  WindowSpec spec = dialogFrame("Overwrite Confirmation", kWidth, kHeight, owner);
  if (!create(spec)) return false;
  // Centred over the owner, or over the screen.
  RECT area{}, self{};
  if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(hwnd(), &self);
  int w = self.right - self.left, h = self.bottom - self.top;
  SetWindowPos(hwnd(), nullptr, (area.left + area.right - w) / 2, (area.top + area.bottom - h) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

bool OverwriteWindow::onCreate() {
  int y = kHeight - 10 - kButtonH;
  int x = kWidth - 10 - 3 * kButtonW - 12;
  const ControlSpec specs[] = {
      {"imgIcon", WC_STATICW, ids::kOverwriteIcon, "", 12, 12, 32, 32, SS_ICON},
      // A long path breaks where it must, not only at blanks.
      label("lblCaption", ids::kOverwriteCaption, "", 56, 12, kWidth - 68, 66, SS_EDITCONTROL),
      checkBox("chkAllFiles", ids::kOverwriteAllFiles, "&Apply to All Files", 56, 84, 240, 20),
      button("cmdYes", ids::kOverwriteYes, "&Yes", x, y, kButtonW, kButtonH, BS_DEFPUSHBUTTON),
      button("cmdNo", ids::kOverwriteNo, "&No", x + kButtonW + 6, y, kButtonW, kButtonH),
      button("cmdCancel", ids::kOverwriteCancel, "Cancel", x + 2 * (kButtonW + 6), y, kButtonW,
             kButtonH),
  };
  addControls(specs);
  for (auto [control, name] : named()) control->bind(*this, name);
  SendMessageW(child("imgIcon"), STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32514))), 0);
  SetFocus(cmdYes.hwnd());
  Form_Load();
  return true;
}

void OverwriteWindow::Form_Load() {
  Response = 2;
  ApplyToAll = false;
  lblCaption.setText(TheCaption);
}

void OverwriteWindow::answer(std::int32_t response) {
  if (modalEnded()) return;  // a second press queued behind the first
  Response = response;
  ApplyToAll = chkAllFiles.checked();
  dismiss();
}

void OverwriteWindow::cmdYes_Click() { answer(IDYES); }
void OverwriteWindow::cmdNo_Click() { answer(IDNO); }

void OverwriteWindow::cmdCancel_Click() {
  if (modalEnded()) return;
  ApplyToAll = true;
  dismiss();
}

void OverwriteWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ids::kOverwriteYes: cmdYes_Click(); break;
    case ids::kOverwriteNo: cmdNo_Click(); break;
    case ids::kOverwriteCancel:
    case IDCANCEL: cmdCancel_Click(); break;  // Esc
    default: break;
  }
}

void OverwriteWindow::onDestroy() {
  for (auto [control, name] : named()) control->attach(nullptr);
}

std::array<std::pair<Control*, const char*>, 5> OverwriteWindow::named() {
  return {{{&lblCaption, "lblCaption"},
           {&chkAllFiles, "chkAllFiles"},
           {&cmdYes, "cmdYes"},
           {&cmdNo, "cmdNo"},
           {&cmdCancel, "cmdCancel"}}};
}

std::int32_t askOverwrite(HWND owner, const std::string& path) {
  OverwriteWindow question;
  question.TheCaption = "Do you want to overwrite the existing copy of " + path + "?";
  asker().showModal(question, owner);
  if (question.Response == IDYES) return question.ApplyToAll ? kReplyYesToAll : kReplyYes;
  if (question.Response == IDNO) return question.ApplyToAll ? kReplyNoToAll : kReplyNo;
  return kReplyNoToAll;
}

}  // namespace glenvask
