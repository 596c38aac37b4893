// Cookie files from any bytes: every record has a domain, a complete one's source holds it.
#include <cstdlib>

#include "base/cookiefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const CookieRecord& r : parseCookieFile(text)) {
    if (r.domain.empty()) std::abort();
    if (r.complete && r.source.find(r.domain) == std::string::npos) std::abort();
    if (!r.complete && !r.source.empty()) std::abort();
  }
  return 0;
}
