#include "help/pageview.h"

#include <richedit.h>

#include <algorithm>

#include "base/pathtext.h"
#include "base/text.h"
#include "services/settings.h"
#include "services/urlcache.h"
#include "win/unicode.h"
#include "win/window.h"

namespace glenvask {

namespace {

constexpr size_t kMaxHistory = 100;
constexpr LONG kTextLimit = 64 * 1024 * 1024;

// A page of the file's bytes as its kind reads: HTML, plain text, or nothing to show but the
// address.
WebPage pageOfBytes(const std::string& bytes, std::string_view address, bool html) {
  if (!looksLikeText(bytes)) return messagePage(address);
  std::string text = fromFileText(bytes);
  return html ? parseHtml(text) : plainTextPage(text);
}

bool hasExtension(std::string_view path, std::string_view ext) {
  return path.size() > ext.size() && iequals(path.substr(path.size() - ext.size()), ext);
}

}  // namespace

WebPage loadPage(std::string_view address) {
  std::string a = trim(address);
  if (a.empty() || iequals(a, kBlankPage)) return {};
  std::string scheme = addressScheme(a);
  if (scheme == "http" || scheme == "https" || scheme == "ftp") {
    // Offline: the copy in the URL cache, when there is one.
    std::string file = utf8(CachedFileOf(wide(a)));
    std::optional<std::string> bytes;
    if (!file.empty() && isUsablePathLength(file)) bytes = readFileStart(file, kMaxPageBytes);
    if (!bytes) {
      WebPage page = messagePage(kNotOfflineText);
      page.blocks.push_back(messagePage(a).blocks.front());
      return page;
    }
    return pageOfBytes(*bytes, a, looksLikeHtml(*bytes));
  }
  std::string path = localPathOf(a);
  bool html = hasExtension(path, ".htm") || hasExtension(path, ".html");
  if (path.empty() || !(html || hasExtension(path, ".txt"))) return messagePage(a);
  std::optional<std::string> bytes;
  if (isUsablePathLength(path)) bytes = readFileStart(path, kMaxPageBytes);
  if (!bytes) {
    WebPage page = messagePage(kNotFoundText);
    page.blocks.push_back(messagePage(a).blocks.front());
    return page;
  }
  return pageOfBytes(*bytes, a, html);
}

bool PageView::create(Window& parent, const char* name, int id, int x, int y, int w, int h) {
  static HMODULE richEdit = LoadLibraryW(L"riched20.dll");
  if (!richEdit) return false;
  DWORD style = WS_VSCROLL | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
  h_ = parent.addControl({name, RICHEDIT_CLASSW, id, "", x, y, w, h, style, 0});
  if (!h_) return false;
  parent_ = &parent;
  SendMessageW(h_, EM_EXLIMITTEXT, 0, kTextLimit);
  SendMessageW(h_, EM_AUTOURLDETECT, FALSE, 0);
  SendMessageW(h_, EM_SETEVENTMASK, 0, ENM_LINK);
  parent.route(h_, this);
  history_.clear();
  pos_ = 0;
  page_ = {};
  links_.clear();
  return true;
}

void PageView::pushHistory(std::string_view address) {
  if (!history_.empty()) history_.resize(pos_ + 1);
  history_.emplace_back(trim(address));
  if (history_.size() > kMaxHistory) history_.erase(history_.begin());
  pos_ = history_.size() - 1;
}

void PageView::navigate(std::string_view address) {
  pushHistory(address);
  show();
}

void PageView::showHtml(std::string_view address, std::string_view html) {
  pushHistory(address);
  page_ = parseHtml(html);
  render();
  if (onNavigated) onNavigated();
}

void PageView::refresh() {
  if (!history_.empty()) show();
}

bool PageView::goBack() {
  if (!canGoBack()) return false;
  --pos_;
  show();
  return true;
}

bool PageView::goForward() {
  if (!canGoForward()) return false;
  ++pos_;
  show();
  return true;
}

std::string PageView::address() const { return history_.empty() ? "" : history_[pos_]; }

std::string PageView::linkAddress(size_t i) const {
  return i < links_.size() ? links_[i].target : "";
}

void PageView::followLink(size_t i) {
  if (i >= links_.size() || links_[i].target.empty()) return;
  std::string target = links_[i].target;
  navigate(target);
}

void PageView::show() {
  page_ = loadPage(address());
  render();
  if (onNavigated) onNavigated();
}

void PageView::render() {
  links_.clear();
  std::wstring text;
  struct Span {
    LONG start, end;
    int heading;  // 0: a link
  };
  std::vector<Span> spans;
  const std::string base = address();
  const PageBlock* previous = nullptr;
  for (const PageBlock& block : page_.blocks) {
    if (previous) {
      bool tight = previous->kind == PageBlock::ListItem && block.kind == PageBlock::ListItem;
      text += tight ? L"\r" : L"\r\r";
    }
    previous = &block;
    LONG blockStart = static_cast<LONG>(text.size());
    if (block.kind == PageBlock::ListItem) text += L"\x2022 ";
    for (const PageRun& run : block.runs) {
      std::wstring w = wide(run.text);
      std::replace(w.begin(), w.end(), L'\n', L'\r');
      std::replace(w.begin(), w.end(), L'\0', L' ');
      LONG start = static_cast<LONG>(text.size());
      text += w;
      if (!run.link.empty()) {
        links_.push_back({start, static_cast<LONG>(text.size()), resolveLink(base, run.link)});
        spans.push_back({start, static_cast<LONG>(text.size()), 0});
      }
    }
    if (block.kind == PageBlock::Heading)
      spans.push_back({blockStart, static_cast<LONG>(text.size()), block.level});
  }
  if (!h_) return;
  SendMessageW(h_, WM_SETREDRAW, FALSE, 0);
  SetWindowTextW(h_, text.c_str());
  for (const Span& s : spans) {
    CHARRANGE range{s.start, s.end};
    SendMessageW(h_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    if (s.heading > 0) {
      static constexpr int kPoints[] = {0, 18, 15, 13, 11, 10, 9};
      format.dwMask = CFM_BOLD | CFM_SIZE;
      format.dwEffects = CFE_BOLD;
      format.yHeight = kPoints[std::clamp(s.heading, 1, 6)] * 20;
    } else {
      format.dwMask = CFM_LINK | CFM_UNDERLINE | CFM_COLOR;
      format.dwEffects = CFE_LINK | CFE_UNDERLINE;
      format.crTextColor = RGB(0, 0, 204);
    }
    SendMessageW(h_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  CHARRANGE top{0, 0};
  SendMessageW(h_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&top));
  SendMessageW(h_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h_, nullptr, TRUE);
}

std::string PageView::shownText() const {
  std::string t = text();
  std::string out;
  out.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < t.size() && t[i + 1] == '\n') ++i;
    } else {
      out.push_back(t[i]);
    }
  }
  return out;
}

bool PageView::onNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->code != EN_LINK) return false;
  auto* link = reinterpret_cast<ENLINK*>(hdr);
  result = 0;
  if (link->msg != WM_LBUTTONUP) return true;
  for (size_t i = 0; i < links_.size(); ++i) {
    if (link->chrg.cpMin < links_[i].end && link->chrg.cpMax > links_[i].start) {
      result = 1;
      followLink(i);
      break;
    }
  }
  return true;
}

}  // namespace glenvask
