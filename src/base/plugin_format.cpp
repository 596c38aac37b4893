#include "base/plugin_format.h"

#include <initializer_list>

#include "base/text.h"

namespace glenvask {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Splits text into lines ending in CR LF, LF or CR; a last line without an end counts too.
template <typename Fn>
void forEachLine(std::string_view text, Fn&& fn) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      fn(text.substr(start));
      return;
    }
    fn(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

// The fields of a record line, or nothing when the line holds no separator.
std::optional<std::vector<std::string>> recordFields(std::string_view line) {
  if (line.find(kPluginFieldSeparator) == std::string_view::npos) return std::nullopt;
  return split(line, kPluginFieldSeparator);
}

// Field i of a record (empty when missing); `complete` drops to false when it is missing.
std::string field(const std::vector<std::string>& f, size_t i, bool& complete) {
  if (i < f.size()) return f[i];
  complete = false;
  return {};
}

// A record whose cells are fields 1, 2, ... in the order given; `complete` drops to false
// when the line had fewer.
template <class Record, class... Cells>
Record readRecord(const std::vector<std::string>& f, Cells Record::*... cells) {
  Record r;
  size_t i = 1;
  ((r.*cells = field(f, i++, r.complete)), ...);
  return r;
}

// A cell as it can stand in a record: no separator and no line break inside.
void appendField(std::string& out, std::string_view cell) {
  out += kPluginFieldSeparator;
  for (char c : cell) out += (c == kPluginFieldSeparator || c == '\r' || c == '\n') ? ' ' : c;
}

// One line: the first field as it is, then the cells, each after a separator.
void appendRecord(std::string& out, std::string_view first,
                  std::initializer_list<std::string_view> cells) {
  out += first;
  for (std::string_view cell : cells) appendField(out, cell);
  out += kLineEnd;
}

bool isDeviceName(std::string_view name) {
  // The device is named by the text before the first dot, blanks at its end ignored.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (iequals(base, device)) return true;
  if (base.size() < 4 || !(istartsWith(base, "COM") || istartsWith(base, "LPT"))) return false;
  std::string_view digit = base.substr(3);
  if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
  return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";  // superscript 1-3
}

}  // namespace

bool isBareFileName(std::string_view name) {
  if (name.empty()) return false;
  bool onlyDotsAndBlanks = true;
  for (char ch : name) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) return false;
    if (ch != '.' && ch != ' ') onlyDotsAndBlanks = false;
  }
  return !onlyDotsAndBlanks && !isDeviceName(name);
}

bool isYes(std::string_view field) { return field == kYes; }

std::string_view yesNo(bool flag) { return flag ? kYes : kNo; }

std::uint32_t registryRootHandle(std::string_view rootName) {
  struct Root {
    std::string_view name;
    std::uint32_t handle;
  };
  static constexpr Root roots[] = {
      {"HKEY_CLASSES_ROOT", 0x80000000u},     {"HKEY_CURRENT_USER", 0x80000001u},
      {"HKEY_LOCAL_MACHINE", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
      {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"HKEY_CURRENT_CONFIG", 0x80000005u},
      {"HKEY_DYN_DATA", 0x80000006u},
  };
  for (const Root& r : roots)
    if (r.name == rootName) return r.handle;
  return 0;
}

std::string PluginFilesRecord::folder() const {
  size_t slash = location.rfind('\\');
  return slash == std::string::npos ? std::string() : location.substr(0, slash);
}

std::string PluginFilesRecord::specification() const {
  size_t slash = location.rfind('\\');
  return slash == std::string::npos ? location : location.substr(slash + 1);
}

std::string PluginRegistryRecord::rootName() const { return key.substr(0, key.find('\\')); }

std::string PluginRegistryRecord::subkey() const {
  size_t slash = key.find('\\');
  return slash == std::string::npos ? std::string() : key.substr(slash + 1);
}

PluginFile parsePluginFile(std::string_view text) {
  PluginFile plugin;
  forEachLine(text, [&](std::string_view line) {
    auto fields = recordFields(line);
    if (!fields) return;
    const std::vector<std::string>& f = *fields;
    if (f[0] == "D") {
      plugin.description = f[1];  // a line with a separator has two fields at least
    } else if (f[0] == "F") {
      using R = PluginFilesRecord;
      plugin.files.push_back(readRecord<R>(f, &R::recurse, &R::deleteSubfolders, &R::location));
    } else if (f[0] == "R") {
      using R = PluginRegistryRecord;
      plugin.registry.push_back(
          readRecord<R>(f, &R::deleteSubkey, &R::recurseDelete, &R::key, &R::value));
    } else if (f[0] == "I") {
      using R = PluginIniRecord;
      plugin.iniEntries.push_back(readRecord<R>(f, &R::fileName, &R::section, &R::deleteSection,
                                                &R::value, &R::path));
    }
  });
  return plugin;
}

std::string writePluginFile(const PluginFile& plugin) {
  std::string out;
  appendRecord(out, "D", {plugin.description});
  for (const PluginFilesRecord& r : plugin.files)
    appendRecord(out, "F", {r.recurse, r.deleteSubfolders, r.location});
  for (const PluginRegistryRecord& r : plugin.registry)
    appendRecord(out, "R", {r.deleteSubkey, r.recurseDelete, r.key, r.value});
  for (const PluginIniRecord& r : plugin.iniEntries)
    appendRecord(out, "I", {r.fileName, r.section, r.deleteSection, r.value, r.path});
  return out;
}

std::optional<std::string> firstLineDescription(std::string_view text) {
  std::optional<std::string> description;
  bool first = true;
  forEachLine(text, [&](std::string_view line) {
    if (!first) return;
    first = false;
    auto fields = recordFields(line);
    if (fields && (*fields)[0] == "D") description = (*fields)[1];
  });
  return description;
}

std::vector<PluginListEntry> parsePluginList(std::string_view text) {
  std::vector<PluginListEntry> entries;
  forEachLine(text, [&](std::string_view line) {
    auto fields = recordFields(line);
    if (!fields) return;
    const std::vector<std::string>& f = *fields;
    if (!isBareFileName(f[1])) return;
    PluginListEntry e;
    e.checked = parseNumber(f[0]) == 1;
    e.fileName = f[1];
    if (f.size() > 2) e.description = f[2];
    entries.push_back(std::move(e));
  });
  return entries;
}

std::string writePluginList(const std::vector<PluginListEntry>& entries) {
  std::string out;
  for (const PluginListEntry& e : entries) {
    if (!isBareFileName(e.fileName)) continue;
    appendRecord(out, e.checked ? "1" : "0", {e.fileName, e.description});
  }
  return out;
}

}  // namespace glenvask
