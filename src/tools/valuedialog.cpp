#include "tools/valuedialog.h"

namespace glenvask {

namespace {
constexpr int kWidth = 440, kMargin = 10, kCaptionW = 110, kLineH = 20, kEditH = 22;
constexpr int kButtonW = 80, kButtonH = 26, kGap = 6;
}  // namespace

bool ValueDialog::build(HWND owner) {
  WindowSpec w;
  w.title = spec_.title;
  w.width = kWidth;
  w.height = kMargin + (spec_.descCaption ? 2 : 1) * (kLineH + kGap) + kLineH + kEditH + kGap +
             kButtonH + 2 * kMargin;
  w.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  w.exStyle = WS_EX_DLGMODALFRAME;
  w.owner = owner;
  if (!create(w)) return false;
  RECT area{}, self{};
  if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(hwnd(), &self);
  int cx = self.right - self.left, cy = self.bottom - self.top;
  SetWindowPos(hwnd(), nullptr, (area.left + area.right - cx) / 2,
               (area.top + area.bottom - cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

bool ValueDialog::onCreate() {
  int y = kMargin, valueX = kMargin + kCaptionW, valueW = kWidth - valueX - kMargin;
  addControl(label(spec_.nameCaptionName, -1, spec_.nameCaption, kMargin, y, kCaptionW, kLineH));
  addControl(label(spec_.nameLabelName, spec_.nameId, name.c_str(), valueX, y, valueW, kLineH,
                   SS_NOPREFIX | SS_PATHELLIPSIS));
  lblName.bind(*this, spec_.nameLabelName);
  y += kLineH + kGap;
  if (spec_.descCaption) {
    addControl(label(spec_.descCaptionName, -1, spec_.descCaption, kMargin, y, kCaptionW, kLineH));
    addControl(label(spec_.descLabelName, spec_.descId, description.c_str(), valueX, y, valueW,
                     kLineH, SS_NOPREFIX | SS_ENDELLIPSIS));
    lblDesc.bind(*this, spec_.descLabelName);
    y += kLineH + kGap;
  }
  addControl(label(spec_.textCaptionName, -1, spec_.textCaption, kMargin, y, kWidth - 2 * kMargin,
                   kLineH));
  y += kLineH;
  int editW = kWidth - 2 * kMargin - (spec_.browseId ? kButtonW + kGap : 0);
  addControl(editBox(spec_.textName, spec_.textId, text.c_str(), kMargin, y, editW, kEditH,
                     ES_AUTOHSCROLL));
  txt.bind(*this, spec_.textName);
  SendMessageW(txt.hwnd(), EM_LIMITTEXT, 0, 0);
  txt.setText(text);
  if (spec_.browseId) {
    addControl(button("cmdBrowse", spec_.browseId, "&Browse...", kWidth - kMargin - kButtonW, y - 2,
                      kButtonW, kButtonH));
    cmdBrowse.bind(*this, "cmdBrowse");
  }
  y += kEditH + kGap + kMargin;
  int x = kWidth - kMargin - 2 * kButtonW - kGap;
  addControl(
      button(spec_.saveName, spec_.saveId, "&Save", x, y, kButtonW, kButtonH, BS_DEFPUSHBUTTON));
  cmdOk.bind(*this, spec_.saveName);
  addControl(
      button("cmdClose", spec_.closeId, "&Close", x + kButtonW + kGap, y, kButtonW, kButtonH));
  cmdClose.bind(*this, "cmdClose");
  opening_ = txt.text();
  SetFocus(txt.hwnd());
  return true;
}

void ValueDialog::onCommand(int id, int code, HWND) {
  if (modalEnded()) return;
  if (id == IDCANCEL || id == spec_.closeId) {
    cmdClose_Click();
  } else if (id == IDOK || id == spec_.saveId) {
    cmdOk_Click();
  } else if (spec_.browseId && id == spec_.browseId) {
    cmdBrowse_Click();
  }
}

void ValueDialog::onDestroy() {
  for (Control* c :
       std::initializer_list<Control*>{&lblName, &lblDesc, &txt, &cmdBrowse, &cmdOk, &cmdClose})
    c->attach(nullptr);
}

}  // namespace glenvask
