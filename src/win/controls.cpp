#include "win/controls.h"

#include <algorithm>

#include <commctrl.h>

#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {

std::string windowText(HWND h) {
  if (!h) return {};
  int n = GetWindowTextLengthW(h);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, buf.data(), n + 1);
  buf.resize(static_cast<size_t>(n > 0 ? n : 0));
  return utf8(buf);
}

void Control::bind(Window& parent, std::string_view name) {
  parent_ = &parent;
  h_ = parent.child(name);
  if (h_) parent.route(h_, this);
}

void Control::setText(std::string_view text) {
  if (h_) SetWindowTextW(h_, wide(text).c_str());
}

bool Control::enabled() const { return h_ && IsWindowEnabled(h_); }
void Control::setEnabled(bool on) {
  if (h_) EnableWindow(h_, on);
}
bool Control::visible() const { return h_ && (GetWindowLongPtrW(h_, GWL_STYLE) & WS_VISIBLE); }
void Control::setVisible(bool on) {
  if (h_) ShowWindow(h_, on ? SW_SHOWNA : SW_HIDE);
}

HMENU oneMenuBar(const wchar_t* caption,
                 std::initializer_list<std::pair<int, const wchar_t*>> items) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  for (const auto& [id, text] : items)
    AppendMenuW(popup, id ? MF_STRING : MF_SEPARATOR, static_cast<UINT_PTR>(id), text);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
  return bar;
}

void detachAll(std::initializer_list<Control*> controls) {
  for (Control* c : controls) c->attach(nullptr);
}

int placeRow(const std::vector<Control*>& controls, int right, int top, int width, int height,
             int gap, int minLeft) {
  int n = static_cast<int>(controls.size());
  int x = std::max(minLeft, right - n * width - std::max(0, n - 1) * gap);
  int left = x;
  for (Control* c : controls) {
    MoveWindow(c->hwnd(), x, top, width, height, TRUE);
    x += width + gap;
  }
  return left;
}

void Button::click() {
  if (!h_ || !IsWindowEnabled(h_)) return;
  // A click toggles an automatic check box, then tells the parent.
  LONG_PTR style = GetWindowLongPtrW(h_, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_AUTOCHECKBOX) {
    bool on = SendMessageW(h_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageW(h_, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
  } else if (style == BS_AUTORADIOBUTTON) {
    SendMessageW(h_, BM_SETCHECK, BST_CHECKED, 0);
  }
  HWND parent = GetParent(h_);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h_), BN_CLICKED),
               reinterpret_cast<LPARAM>(h_));
}

int CheckBox::value() const {
  return h_ && SendMessageW(h_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}
void CheckBox::setValue(int v) {
  if (h_) SendMessageW(h_, BM_SETCHECK, v == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ProgressBar::setRange(int min, int max) {
  if (h_) SendMessageW(h_, PBM_SETRANGE32, min, max);
}
int ProgressBar::min() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETRANGE, TRUE, 0)) : 0;
}
int ProgressBar::max() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETRANGE, FALSE, 0)) : 0;
}
int ProgressBar::value() const {
  return h_ ? static_cast<int>(SendMessageW(h_, PBM_GETPOS, 0, 0)) : 0;
}
void ProgressBar::setValue(int v) {
  if (h_) SendMessageW(h_, PBM_SETPOS, v, 0);
}

namespace {

// The item messages of a combo box and a list box.
struct ItemMessages {
  UINT reset, add, count, textLength, text, selChange;
};
constexpr ItemMessages kComboItems{CB_RESETCONTENT, CB_ADDSTRING,    CB_GETCOUNT,
                                   CB_GETLBTEXTLEN, CB_GETLBTEXT,    CBN_SELCHANGE};
constexpr ItemMessages kListItems{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCOUNT,
                                  LB_GETTEXTLEN,   LB_GETTEXT,   LBN_SELCHANGE};

}  // namespace

void ChoiceList::setItems(const std::vector<std::string>& items) {
  if (!h_) return;
  const ItemMessages& m = combo_ ? kComboItems : kListItems;
  SendMessageW(h_, m.reset, 0, 0);
  for (const auto& item : items)
    SendMessageW(h_, m.add, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
}

size_t ChoiceList::count() const {
  LRESULT n = h_ ? SendMessageW(h_, (combo_ ? kComboItems : kListItems).count, 0, 0) : 0;
  return n > 0 ? static_cast<size_t>(n) : 0;
}

std::string ChoiceList::itemText(size_t i) const {
  if (i >= count()) return {};
  const ItemMessages& m = combo_ ? kComboItems : kListItems;
  LRESULT n = SendMessageW(h_, m.textLength, i, 0);
  if (n <= 0) return {};
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(h_, m.text, i, reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return utf8(buf);
}

bool ChoiceList::onCommand(int code) {
  if (code != static_cast<int>((combo_ ? kComboItems : kListItems).selChange)) return false;
  if (onChange) onChange();
  return true;
}

int ComboBox::selected() const {
  return h_ ? static_cast<int>(SendMessageW(h_, CB_GETCURSEL, 0, 0)) : -1;
}

void ComboBox::select(int i) {
  if (!h_ || i < -1 || i >= static_cast<int>(count()) || i == selected()) return;
  SendMessageW(h_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);  // sends no notice
  if (onChange) onChange();
}

bool ComboBox::selectText(std::string_view text) {
  if (!h_) return false;
  LRESULT i = SendMessageW(h_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(wide(text).c_str()));
  if (i == CB_ERR) return false;
  select(static_cast<int>(i));
  return true;
}

bool ListBox::multi() const {
  return h_ && (GetWindowLongPtrW(h_, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

std::vector<size_t> ListBox::selectedIndexes() const {
  std::vector<size_t> out;
  if (!h_) return out;
  if (!multi()) {
    LRESULT i = SendMessageW(h_, LB_GETCURSEL, 0, 0);
    if (i >= 0) out.push_back(static_cast<size_t>(i));
    return out;
  }
  LRESULT n = SendMessageW(h_, LB_GETSELCOUNT, 0, 0);
  if (n <= 0) return out;
  std::vector<int> items(static_cast<size_t>(n));
  n = SendMessageW(h_, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
  for (LRESULT k = 0; k < n; ++k) out.push_back(static_cast<size_t>(items[k]));
  return out;
}

bool ListBox::isSelected(size_t i) const {
  return h_ && SendMessageW(h_, LB_GETSEL, i, 0) > 0;
}

void ListBox::select(size_t i, bool on) {
  if (i >= count() || isSelected(i) == on) return;
  if (multi())
    SendMessageW(h_, LB_SETSEL, on, static_cast<LPARAM>(i));
  else
    SendMessageW(h_, LB_SETCURSEL, on ? i : static_cast<WPARAM>(-1), 0);
  if (onChange) onChange();
}

DateTime DatePicker::value() const {
  SYSTEMTIME st{};
  if (!h_ || SendMessageW(h_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
    return {};
  return {st.wYear, st.wMonth, st.wDay};
}

bool DatePicker::setValue(const DateTime& date) {
  DateTime day{date.year, date.month, date.day};
  if (!h_ || !isValidDateTime(day)) return false;
  // Through a file time, which refuses what SYSTEMTIME cannot hold and gives the weekday.
  SYSTEMTIME st{static_cast<WORD>(day.year), static_cast<WORD>(day.month), 0,
                static_cast<WORD>(day.day)};
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return false;
  DateTime before = value();
  setting_ = true;  // a notice the control may send for this is not a user's change
  bool ok = SendMessageW(h_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
  setting_ = false;
  if (ok && value() != before && onChange) onChange();
  return ok;
}

bool DatePicker::onNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code != DTN_DATETIMECHANGE) return false;
  if (!setting_ && onChange) onChange();
  result = 0;
  return true;
}

bool OptionGroup::bind(Window& parent, std::initializer_list<std::string_view> names) {
  options_.clear();
  bool all = true;
  for (auto name : names) {
    auto option = std::make_unique<Option>();
    option->bind(parent, name);
    all &= option->hwnd() != nullptr;
    option->group = this;
    option->index = static_cast<int>(options_.size());
    options_.push_back(std::move(option));
  }
  last_ = chosen();
  return all;
}

int OptionGroup::chosen() const {
  for (size_t i = 0; i < options_.size(); ++i)
    if (options_[i]->hwnd() && SendMessageW(options_[i]->hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED)
      return static_cast<int>(i);
  return -1;
}

void OptionGroup::choose(int i) {
  if (i < 0 || i >= static_cast<int>(options_.size())) return;
  for (size_t k = 0; k < options_.size(); ++k)
    if (HWND h = options_[k]->hwnd())
      SendMessageW(h, BM_SETCHECK, static_cast<int>(k) == i ? BST_CHECKED : BST_UNCHECKED, 0);
  if (i == last_) return;
  last_ = i;
  if (onChange) onChange();
}

bool OptionGroup::Option::onCommand(int code) {
  if (code != BN_CLICKED || !group) return false;
  group->choose(index);
  return true;
}

bool TabControl::addPage(std::string_view caption,
                         std::initializer_list<std::string_view> controls) {
  return addPage(caption, std::vector<std::string>(controls.begin(), controls.end()));
}

bool TabControl::addPage(std::string_view caption, const std::vector<std::string>& controls) {
  if (!h_ || !parent_) return false;
  Page page{std::string(caption), {}};
  for (const std::string& name : controls) {
    HWND c = parent_->child(name);
    if (!c) return false;
    page.controls.push_back(c);
  }
  std::wstring text = wide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  if (TabCtrl_InsertItem(h_, static_cast<int>(pages_.size()), &item) < 0) return false;
  // The pages' controls lie over the strip: below them, it neither hides nor catches them.
  if (pages_.empty())
    SetWindowPos(h_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pages_.push_back(std::move(page));
  if (shown_ < 0) shown_ = 0;
  showPage();
  return true;
}

std::string TabControl::caption(size_t i) const {
  return i < pages_.size() ? pages_[i].caption : std::string();
}

void TabControl::select(size_t i) {
  if (!h_ || i >= pages_.size()) return;
  if (TabCtrl_GetCurSel(h_) != static_cast<int>(i)) TabCtrl_SetCurSel(h_, static_cast<int>(i));
  bool changed = shown_ != static_cast<int>(i);
  shown_ = static_cast<int>(i);
  showPage();
  if (changed && onChange) onChange();
}

void TabControl::showPage() {
  HWND focus = GetFocus();
  auto holdsFocus = [focus](HWND c) { return focus && (c == focus || IsChild(c, focus)); };
  bool focusHidden = false, focusShown = false;
  // The other pages first: a control on two pages stays shown.
  for (size_t p = 0; p < pages_.size(); ++p) {
    if (static_cast<int>(p) == shown_) continue;
    for (HWND c : pages_[p].controls) {
      focusHidden |= holdsFocus(c);
      ShowWindow(c, SW_HIDE);
    }
  }
  if (shown_ >= 0)
    for (HWND c : pages_[static_cast<size_t>(shown_)].controls) {
      focusShown |= holdsFocus(c);
      ShowWindow(c, SW_SHOWNA);
    }
  if (focusHidden && !focusShown) SetFocus(h_);  // keys never go to a hidden control
}

bool TabControl::onNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code != TCN_SELCHANGE) return false;
  int i = TabCtrl_GetCurSel(h_);
  if (i >= 0) select(static_cast<size_t>(i));
  result = 0;
  return true;
}

}  // namespace glenvask
