// Plug-in files from any bytes: what the writer makes of them reads back to the same text.
#include <cstdlib>

#include "base/plugin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  PluginFile plugin = parsePluginFile(text);
  (void)firstLineDescription(text);
  for (const PluginFilesRecord& r : plugin.files) (void)(r.folder() + r.specification());
  for (const PluginRegistryRecord& r : plugin.registry) (void)(r.subkey(), r.rootHandle());
  std::string written = writePluginFile(plugin);
  PluginFile again = parsePluginFile(written);
  if (writePluginFile(again) != written) std::abort();
  // Cells read from a file hold no separator or line break, so they come back unchanged; only
  // the records that lacked fields come back complete.
  for (auto& r : plugin.files) r.complete = true;
  for (auto& r : plugin.registry) r.complete = true;
  for (auto& r : plugin.iniEntries) r.complete = true;
  if (!(again == plugin)) std::abort();
  return 0;
}
