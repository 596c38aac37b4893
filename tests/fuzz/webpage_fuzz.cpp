// Pages (a page of the cache is anyone's) and links from any bytes: no block is left empty.
#include <cstdlib>

#include "base/webpage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  WebPage page = parseHtml(text);
  for (const PageBlock& b : page.blocks) {
    if (b.runs.empty()) std::abort();
    for (const PageRun& r : b.runs) {
      if (r.text.empty()) std::abort();
      resolveLink("http://a.test/d/p.htm", r.link);
      resolveLink("C:\\prog\\help.htm", r.link);
    }
  }
  size_t half = size / 2;
  resolveLink(text.substr(0, half), text.substr(half));
  isWebAddress(text);
  localPathOf(text);
  return 0;
}
