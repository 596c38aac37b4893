// The files the options window rewrites, from any bytes: settings.ini text reads a value back
// as set, ck.txt's entries and srch.txt's page write and read back alike.
#include <cstdlib>

#include "base/ini.h"
#include "base/lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view text(reinterpret_cast<const char*>(data), size);

  std::string ini(text);
  std::string value = "v\\x" + std::to_string(size);
  setIniValue(ini, "General", "Key", value);
  std::string again = ini;  // the value reads as set: a second change changes nothing
  if (setIniValue(again, "general", " key ", value) || again != ini) std::abort();

  auto kept = parseKeptCookies(text);
  if (parseKeptCookies(formatKeptCookies(kept)) != kept) std::abort();

  const RegionalFormat format;  // the American one
  SearchPage page;
  applySearchPage(text, page, format);
  std::string srch = formatSearchFile(page, format);
  SearchPage read;
  applySearchPage(srch, read, format);
  read.drives = page.drives;
  bool plainSize =
      page.sizeText.find_first_of(" \r\n") == std::string::npos && !page.sizeText.empty();
  if (plainSize && !(read == page)) std::abort();
  srchDriveItems(text);
  return 0;
}
