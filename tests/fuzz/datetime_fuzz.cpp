// Date texts: the first line a short date picture, the rest a text to read under it. A date
// read is a valid one, and what it is written as reads back to the same moment.
#include <cstdlib>

#include "base/datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view in(reinterpret_cast<const char*>(data), size);
  size_t nl = in.find('\n');
  RegionalFormat f;
  if (nl != std::string_view::npos) f.shortDate = std::string(in.substr(0, nl));
  std::string_view text = nl == std::string_view::npos ? in : in.substr(nl + 1);
  auto t = parseDateTime(text, f);
  if (t && !isValidDateTime(*t)) std::abort();
  // The American pictures write every field: their texts always read back.
  RegionalFormat us;
  if (t && parseDateTime(formatFileTime(*t, us), us) != t) std::abort();
  formatGeneralDate(t.value_or(DateTime{}), f);
  return 0;
}
