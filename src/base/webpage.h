// Pages for the program's own page view: an HTML (or plain) text read into its headings,
// paragraphs, list items and links, and the addresses the links point to. Scripts, styles,
// images and forms are not shown; nothing here runs or fetches anything.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace glenvask {

// The most of a page's file that is read.
inline constexpr size_t kMaxPageBytes = 4 * 1024 * 1024;

struct PageRun {
  std::string text;
  std::string link;  // the href as written; "" for plain text
};

struct PageBlock {
  enum Kind { Paragraph, Heading, ListItem, Preformatted };
  Kind kind = Paragraph;
  int level = 0;  // 1 to 6 for a heading
  std::vector<PageRun> runs;
};

struct WebPage {
  std::string title;
  std::vector<PageBlock> blocks;
};

// Reads an HTML text: blanks collapse (but in <pre>), entities are decoded, <a href> gives a
// link run. Any bytes give a page.
WebPage parseHtml(std::string_view html);
// A plain text: one preformatted block.
WebPage plainTextPage(std::string_view text);
// A page of one paragraph.
WebPage messagePage(std::string_view text);
// Whether a file's bytes read as HTML: they open with a tag, after blanks and a byte-order
// mark, or hold "<html" anywhere in their first kilobytes.
bool looksLikeHtml(std::string_view bytes);
// Whether the bytes hold no character 0 in their first kilobytes: text, not binary.
bool looksLikeText(std::string_view bytes);

// The scheme of an address in lower case ("http", "file", "about"...), "" when it has none.
// A drive letter ("C:\...") is no scheme.
std::string addressScheme(std::string_view address);
// Whether the address may be handed to the shell: http, https or ftp, "://" and a host, and
// no blank, quote or control character in it.
bool isWebAddress(std::string_view address);
// The local path of a file address ("file:///C:/a%20b/x.htm" is "C:\a b\x.htm"; a path
// without scheme is itself); "" for any other address.
std::string localPathOf(std::string_view address);
// The address a link of the page at `base` points to, its fragment ("#...") cut. A link of
// a web page resolves against its host and folder; a link of a local page against its
// folder, giving a path.
std::string resolveLink(std::string_view base, std::string_view link);

}  // namespace glenvask
