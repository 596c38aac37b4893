#include "base/webpage.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

// A page as lines: "h1:Text", "p:Text", "li:Text", "pre:Text"; links as "[text](href)".
std::vector<std::string> shape(const WebPage& page) {
  std::vector<std::string> out;
  const char* kinds[] = {"p:", "h", "li:", "pre:"};
  for (const PageBlock& b : page.blocks) {
    std::string s = kinds[b.kind] + (b.level ? std::to_string(b.level) + ":" : "");
    for (const PageRun& r : b.runs)
      s += r.link.empty() ? r.text : "[" + r.text + "](" + r.link + ")";
    out.push_back(s);
  }
  return out;
}

TEST(WebPage, HtmlAddressesAndLinks) {
  std::pair<const char*, std::vector<std::string>> cases[] = {
      {"<html><head><title>T</title><style>p{}</style></head><body><h1>Help</h1>"
       "<p>Read   the\n<a href=\"topic.htm\">topic</a>, then <b>go</b>.</p></body></html>",
       {"h1:Help", "p:Read the [topic](topic.htm), then go."}},
      {"<ul><li>one<li>two &amp; &lt;three&gt; &#233;&#x41;</ul>",
       {"li:one",
        "li:two & <three> \xC3\xA9"
        "A"}},
      {"line<br>next<script>alert('<p>x</p>')</script> end", {"p:line\nnext end"}},
      {"<pre>  a\r\n   b</pre><h7>x</h7>", {"pre:  a\n   b", "p:x"}},
      {"<!-- <p>hidden</p> --><A HREF='x.htm'>X</A> 3 < 4 &bogus;", {"p:[X](x.htm) 3 < 4 &bogus;"}},
      {"<p>cut <a href=\"y", {"p:cut"}},
      {"<p>unclosed <script>never ends", {"p:unclosed"}},
  };
  for (const auto& [html, blocks] : cases) EXPECT_EQ(shape(parseHtml(html)), blocks) << html;
  EXPECT_EQ(parseHtml("<title> A &amp; B </title>").title, "A & B");
  EXPECT_EQ(shape(plainTextPage("a\r\nb\r\n")), std::vector<std::string>{"pre:a\nb"});
  EXPECT_TRUE(looksLikeHtml("\xEF\xBB\xBF  <!DOCTYPE html>") && looksLikeHtml("text <HTML>"));
  EXPECT_FALSE(looksLikeHtml("plain text") || looksLikeText(std::string("MZ\0\0", 4)));

  std::tuple<const char*, bool, const char*, const char*> addresses[] = {  // web, scheme, local
      {"HTTPS://a.test", true, "https", ""},
      {"ftp://f.test/file", true, "ftp", ""},
      {"http://a.test/x\" --flag", false, "http", ""},
      {"http:///nohost", false, "http", ""},
      {"file:///C:/a%20b/help.htm#top", false, "file", "C:\\a b\\help.htm"},
      {"file://server/share/x.htm", false, "file", "\\\\server\\share\\x.htm"},
      {"C:\\Windows\\notepad.exe", false, "", "C:\\Windows\\notepad.exe"},
      {"javascript:alert(1)", false, "javascript", ""},
  };
  for (const auto& [address, web, scheme, local] : addresses)
    EXPECT_EQ(std::tuple(isWebAddress(address), addressScheme(address), localPathOf(address)),
              std::tuple(web, scheme, local)) << address;
  const char* links[][3] = {  // base, link, where it leads
      {"http://a.test/d/p.htm?q=1", "x.htm", "http://a.test/d/x.htm"},
      {"http://a.test/d/p.htm", "../../x.htm?y#f", "http://a.test/x.htm?y"},
      {"http://a.test/d/p.htm", "/r.htm", "http://a.test/r.htm"},
      {"https://a.test/d/", "//b.test/z", "https://b.test/z"},
      {"http://a.test/d/", "mailto:x@y", "mailto:x@y"},
      {"C:\\prog\\Help\\help.htm", "../../../a%20b/x.htm#part", "C:\\a b\\x.htm"},
      {"file:///C:/prog/help.htm", "/root.htm", "C:\\root.htm"},
      {"C:\\prog\\help.htm", "#top", ""},
  };
  for (const auto& [base, link, to] : links)
    EXPECT_EQ(resolveLink(base, link), to) << base << " " << link;
}

}  // namespace
}  // namespace glenvask
