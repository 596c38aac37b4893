// Plug-in lists from any bytes: only bare names come out, and they write and read back alike.
#include <cstdlib>

#include "base/plugin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<PluginListEntry> entries = parsePluginList(text);
  for (const PluginListEntry& e : entries)
    if (!isBareFileName(e.fileName)) std::abort();

  std::string written = writePluginList(entries);
  // Fields read from a line hold no separator or line break, so they come back unchanged.
  std::vector<PluginListEntry> again = parsePluginList(written);
  if (again != entries || writePluginList(again) != written) std::abort();
  return 0;
}
