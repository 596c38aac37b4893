#include "base/webpage.h"

#include <algorithm>
#include <cstdint>

#include "base/text.h"

namespace glenvask {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isAlpha(c) || isDigit(c) || c == '-' || c == ':'; }

// Kilobytes looked at to tell what a file holds.
constexpr size_t kSniffBytes = 4096;

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The entity at text[i] ("&amp;", "&#233;", "&#x41;"): appends what it stands for and returns
// the bytes it took; 0 when it is none (the "&" is then plain text).
size_t decodeEntity(std::string_view text, size_t i, std::string& out) {
  size_t end = text.find(';', i);
  if (end == std::string_view::npos || end - i > 12) return 0;
  std::string_view name = text.substr(i + 1, end - i - 1);
  if (name.size() > 1 && name[0] == '#') {
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return 0;
    std::uint32_t cp = 0;
    for (char c : digits) {
      int d = isDigit(c)                    ? c - '0'
              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                            : -1;
      if (d < 0) return 0;
      cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    appendUtf8(out, cp);
    return end - i + 1;
  }
  static constexpr std::pair<std::string_view, std::uint32_t> kNamed[] = {
      {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},
      {"apos", '\''},    {"nbsp", 0xA0},     {"copy", 0xA9},    {"reg", 0xAE},
      {"trade", 0x2122}, {"hellip", 0x2026}, {"mdash", 0x2014}, {"ndash", 0x2013},
      {"laquo", 0xAB},   {"raquo", 0xBB},    {"bull", 0x2022},  {"middot", 0xB7}};
  for (const auto& [n, cp] : kNamed) {
    if (name == n) {
      appendUtf8(out, cp);
      return end - i + 1;
    }
  }
  return 0;
}

std::string decodeEntities(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '&') {
      if (size_t n = decodeEntity(text, i, out)) {
        i += n;
        continue;
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

std::string collapse(std::string_view text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (isSpace(c)) {
      space = !out.empty();
      continue;
    }
    if (space) out.push_back(' ');
    space = false;
    out.push_back(c);
  }
  return out;
}

struct Tag {
  std::string name;  // lower case
  bool closing = false;
  std::string href;
};

// Reads the tag that opens at html[i] ('<'); returns the index after its '>', or i when the
// '<' opens no tag.
size_t readTag(std::string_view html, size_t i, Tag& tag) {
  size_t p = i + 1;
  if (p < html.size() && html[p] == '/') {
    tag.closing = true;
    ++p;
  }
  size_t nameStart = p;
  while (p < html.size() && isNameChar(html[p])) ++p;
  if (p == nameStart || !isAlpha(html[nameStart])) return i;
  tag.name = toLower(html.substr(nameStart, p - nameStart));
  // The attributes, up to the '>' that is not inside quotes.
  while (p < html.size() && html[p] != '>') {
    if (isSpace(html[p]) || html[p] == '/') {
      ++p;
      continue;
    }
    size_t an = p;
    while (p < html.size() && !isSpace(html[p]) && html[p] != '=' && html[p] != '>') ++p;
    std::string attr = toLower(html.substr(an, p - an));
    while (p < html.size() && isSpace(html[p])) ++p;
    if (p >= html.size() || html[p] != '=') continue;
    ++p;
    while (p < html.size() && isSpace(html[p])) ++p;
    std::string_view value;
    if (p < html.size() && (html[p] == '"' || html[p] == '\'')) {
      char q = html[p++];
      size_t end = html.find(q, p);
      if (end == std::string_view::npos) end = html.size();
      value = html.substr(p, end - p);
      p = std::min(end + 1, html.size());
    } else {
      size_t vs = p;
      while (p < html.size() && !isSpace(html[p]) && html[p] != '>') ++p;
      value = html.substr(vs, p - vs);
    }
    if (attr == "href") tag.href = trim(decodeEntities(value));
  }
  return std::min(p + 1, html.size());
}

// Where the lower-case needle next occurs from `from` on, in any case; npos when nowhere.
size_t ifind(std::string_view text, std::string_view lowerNeedle, size_t from) {
  if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) return std::string_view::npos;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < lowerNeedle.size() && lower(text[i + k]) == lowerNeedle[k]) ++k;
    if (k == lowerNeedle.size()) return i;
  }
  return std::string_view::npos;
}

// The index just past the closing tag of `name` from i on; the end of the text when there is
// none.
size_t skipPast(std::string_view html, size_t i, std::string_view name) {
  size_t at = ifind(html, "</" + std::string(name), i);
  if (at == std::string_view::npos) return html.size();
  size_t gt = html.find('>', at);
  return gt == std::string_view::npos ? html.size() : gt + 1;
}

bool isBlockTag(std::string_view n) {
  static constexpr std::string_view kBlocks[] = {
      "p",       "div",     "ul",     "ol",      "li",         "dl",    "dt",   "dd",
      "table",   "tr",      "td",     "th",      "blockquote", "pre",   "hr",   "center",
      "section", "article", "header", "footer",  "nav",        "aside", "form", "fieldset",
      "address", "main",    "figure", "caption", "body",       "html",  "h1",   "h2",
      "h3",      "h4",      "h5",     "h6",      "title",      "head"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), n) != std::end(kBlocks);
}

class Builder {
 public:
  WebPage page;

  void startBlock(PageBlock::Kind kind, int level = 0) {
    endBlock();
    current_.kind = kind;
    current_.level = level;
  }
  void endBlock() {
    trimEnd();
    if (!current_.runs.empty()) page.blocks.push_back(std::move(current_));
    current_ = PageBlock{};
    space_ = false;
  }
  void setLink(std::string link) { link_ = std::move(link); }
  void text(std::string_view s) {
    bool pre = current_.kind == PageBlock::Preformatted;
    for (size_t i = 0; i < s.size(); ++i) {
      char c = s[i];
      if (pre) {
        if (c == '\r') continue;
        put(std::string_view(&c, 1));
        continue;
      }
      if (isSpace(c)) {
        space_ = hasText();
        continue;
      }
      put(std::string_view(&c, 1));
    }
  }
  void lineBreak() {
    if (!hasText()) return;
    space_ = false;
    trimEnd();
    put("\n");
    lineStart_ = true;
  }

 private:
  bool hasText() const { return !current_.runs.empty() && !lineStart_; }
  void put(std::string_view s) {
    if (space_) {
      // A blank between plain text and a link belongs to the plain text.
      space_ = false;
      if (!current_.runs.empty() && current_.runs.back().link.empty())
        current_.runs.back().text += ' ';
      else
        append(" ");
    }
    lineStart_ = false;
    append(s);
  }
  void append(std::string_view s) {
    if (current_.runs.empty() || current_.runs.back().link != link_)
      current_.runs.push_back({"", link_});
    current_.runs.back().text += s;
  }
  void trimEnd() {
    while (!current_.runs.empty()) {
      std::string& t = current_.runs.back().text;
      while (!t.empty() &&
             (t.back() == ' ' || (t.back() == '\n' && current_.kind != PageBlock::Preformatted)))
        t.pop_back();
      if (!t.empty()) break;
      current_.runs.pop_back();
    }
    lineStart_ = false;
  }

  PageBlock current_;
  std::string link_;
  bool space_ = false;
  bool lineStart_ = false;
};

}  // namespace

WebPage parseHtml(std::string_view html) {
  Builder b;
  std::string pending;  // text not yet handed to the builder, entities decoded
  auto flush = [&] {
    b.text(pending);
    pending.clear();
  };
  size_t i = 0;
  // A byte-order mark is no text.
  if (html.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  while (i < html.size()) {
    char c = html[i];
    if (c == '&') {
      if (size_t n = decodeEntity(html, i, pending)) {
        i += n;
        continue;
      }
      pending.push_back(c);
      ++i;
      continue;
    }
    if (c != '<') {
      pending.push_back(c);
      ++i;
      continue;
    }
    if (html.substr(i, 4) == "<!--") {
      size_t end = html.find("-->", i + 4);
      i = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    if (i + 1 < html.size() && (html[i + 1] == '!' || html[i + 1] == '?')) {
      size_t end = html.find('>', i);
      i = end == std::string_view::npos ? html.size() : end + 1;
      continue;
    }
    Tag tag;
    size_t next = readTag(html, i, tag);
    if (next == i) {
      pending.push_back(c);
      ++i;
      continue;
    }
    flush();
    i = next;
    const std::string& n = tag.name;
    if (!tag.closing && (n == "script" || n == "style" || n == "noscript" || n == "template" ||
                         n == "object" || n == "iframe")) {
      i = skipPast(html, i, n);
      continue;
    }
    if (!tag.closing && n == "title") {
      size_t end = skipPast(html, i, "title");
      std::string_view inner = html.substr(i, end - i);
      size_t lt = inner.rfind('<');
      if (lt != std::string_view::npos) inner = inner.substr(0, lt);
      if (b.page.title.empty()) b.page.title = collapse(decodeEntities(inner));
      i = end;
      continue;
    }
    if (n == "a") {
      b.setLink(tag.closing ? std::string() : tag.href);
      continue;
    }
    if (n == "br") {
      b.lineBreak();
      continue;
    }
    if (n == "img" || n == "input") {
      b.text(" ");
      continue;
    }
    if (!isBlockTag(n)) {
      if (n == "td" || n == "th" || n == "span") b.text(" ");
      continue;
    }
    if (tag.closing) {
      b.endBlock();
    } else if (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6') {
      b.startBlock(PageBlock::Heading, n[1] - '0');
    } else if (n == "li" || n == "dt") {
      b.startBlock(PageBlock::ListItem);
    } else if (n == "pre") {
      b.startBlock(PageBlock::Preformatted);
    } else {
      b.startBlock(PageBlock::Paragraph);
    }
  }
  flush();
  b.endBlock();
  return std::move(b.page);
}

WebPage plainTextPage(std::string_view text) {
  WebPage page;
  PageBlock block;
  block.kind = PageBlock::Preformatted;
  std::string t;
  t.reserve(text.size());
  for (char c : text)
    if (c != '\r') t.push_back(c);
  while (!t.empty() && t.back() == '\n') t.pop_back();
  if (!t.empty()) {
    block.runs.push_back({std::move(t), ""});
    page.blocks.push_back(std::move(block));
  }
  return page;
}

WebPage messagePage(std::string_view text) {
  WebPage page;
  PageBlock block;
  block.runs.push_back({std::string(text), ""});
  page.blocks.push_back(std::move(block));
  return page;
}

bool looksLikeHtml(std::string_view bytes) {
  std::string_view head = bytes.substr(0, kSniffBytes);
  size_t i = head.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < head.size() && isSpace(head[i])) ++i;
  if (i < head.size() && head[i] == '<') return true;
  return ifind(head, "<html", 0) != std::string_view::npos;
}

bool looksLikeText(std::string_view bytes) {
  return bytes.substr(0, kSniffBytes).find('\0') == std::string_view::npos;
}

std::string addressScheme(std::string_view address) {
  std::string_view a = address;
  while (!a.empty() && isSpace(a.front())) a.remove_prefix(1);
  if (a.empty() || !isAlpha(a[0])) return "";
  size_t i = 1;
  while (i < a.size() &&
         (isAlpha(a[i]) || isDigit(a[i]) || a[i] == '+' || a[i] == '-' || a[i] == '.'))
    ++i;
  if (i >= a.size() || a[i] != ':' || i == 1) return "";  // one letter: a drive
  return toLower(a.substr(0, i));
}

bool isWebAddress(std::string_view address) {
  std::string scheme = addressScheme(address);
  if (scheme != "http" && scheme != "https" && scheme != "ftp") return false;
  if (address.substr(scheme.size(), 3) != "://") return false;
  size_t host = scheme.size() + 3;
  if (host >= address.size() || address[host] == '/' || address[host] == '\\') return false;
  for (char c : address) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '"' || c == '<' || c == '>') return false;
  }
  return true;
}

namespace {

std::string percentDecode(std::string_view s) {
  auto hex = [](char c) {
    return isDigit(c)               ? c - '0'
           : (c >= 'a' && c <= 'f') ? c - 'a' + 10
           : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                    : -1;
  };
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      int hi = hex(s[i + 1]), lo = hex(s[i + 2]);
      // "%00" stays as written: a path never holds a character 0.
      if (hi >= 0 && lo >= 0 && (hi || lo)) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

// Takes out "." and ".." segments of the part after `keep` characters, separated by `sep`.
std::string normalizeSegments(std::string_view path, size_t keep, char sep) {
  std::string head(path.substr(0, keep));
  std::vector<std::string> parts = split(path.substr(keep), sep);
  std::vector<std::string> out;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& p = parts[i];
    bool last = i + 1 == parts.size();
    if (p == ".") {
      if (last) out.emplace_back();
    } else if (p == "..") {
      if (!out.empty()) out.pop_back();
      if (last) out.emplace_back();
    } else {
      out.push_back(p);
    }
  }
  std::string joined = head;
  for (size_t i = 0; i < out.size(); ++i) {
    if (i > 0) joined.push_back(sep);
    joined += out[i];
  }
  return joined;
}

bool isDrivePath(std::string_view s) {
  return s.size() >= 3 && isAlpha(s[0]) && s[1] == ':' && (s[2] == '\\' || s[2] == '/');
}

}  // namespace

std::string localPathOf(std::string_view address) {
  std::string scheme = addressScheme(address);
  if (scheme.empty()) {
    std::string path(address);
    std::replace(path.begin(), path.end(), '/', '\\');
    return isDrivePath(path) || path.substr(0, 2) == "\\\\" ? path : "";
  }
  if (scheme != "file") return "";
  std::string_view rest = address.substr(5);
  std::string path;
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    // "file:///C:/x" and "file://localhost/C:/x": a drive; "file://server/share": a share.
    if (!rest.empty() && rest[0] == '/') {
      rest.remove_prefix(1);
    } else if (istartsWith(rest, "localhost/")) {
      rest.remove_prefix(10);
    } else {
      path = "\\\\";
    }
  }
  path += percentDecode(rest);
  std::replace(path.begin(), path.end(), '/', '\\');
  if (size_t q = path.find_first_of("?#"); q != std::string::npos) path.erase(q);
  return isDrivePath(path) || path.substr(0, 2) == "\\\\" ? path : "";
}

std::string resolveLink(std::string_view base, std::string_view link) {
  std::string l = trim(link);
  if (size_t hash = l.find('#'); hash != std::string::npos) l.erase(hash);
  if (l.empty()) return "";
  if (!addressScheme(l).empty() || isDrivePath(l) || l.substr(0, 2) == "\\\\") return l;
  std::string scheme = addressScheme(base);
  if (scheme == "http" || scheme == "https" || scheme == "ftp") {
    std::string b(base);
    if (size_t cut = b.find_first_of("?#"); cut != std::string::npos) b.erase(cut);
    size_t hostStart = scheme.size() + 3;
    if (b.substr(scheme.size(), 3) != "://") return l;
    size_t pathStart = b.find('/', hostStart);
    std::string origin = b.substr(0, pathStart);
    std::string path = pathStart == std::string::npos ? "/" : b.substr(pathStart);
    if (l.substr(0, 2) == "//") return scheme + ":" + l;
    std::string query;
    if (size_t q = l.find('?'); q != std::string::npos) {
      query = l.substr(q);
      l.erase(q);
    }
    std::string joined;
    if (l.empty()) {
      joined = path;
    } else if (l[0] == '/') {
      joined = l;
    } else {
      joined = path.substr(0, path.rfind('/') + 1) + l;
    }
    return origin + normalizeSegments(joined, 1, '/') + query;
  }
  std::string basePath = localPathOf(base);
  if (basePath.empty()) return l;
  std::string rel = percentDecode(l);
  std::replace(rel.begin(), rel.end(), '/', '\\');
  if (size_t q = rel.find('?'); q != std::string::npos) rel.erase(q);
  std::string joined;
  size_t keep = 3;                        // "C:\"
  if (basePath.substr(0, 2) == "\\\\") {  // "\\server\share\"
    size_t server = basePath.find('\\', 2);
    size_t share = server == std::string::npos ? server : basePath.find('\\', server + 1);
    keep = share == std::string::npos ? basePath.size() : share + 1;
  }
  if (!rel.empty() && rel[0] == '\\') {
    joined = basePath.substr(0, keep) + rel.substr(1);
  } else {
    joined = basePath.substr(0, basePath.rfind('\\') + 1) + rel;
  }
  if (joined.size() < keep) return joined;
  return normalizeSegments(joined, keep, '\\');
}

}  // namespace glenvask
