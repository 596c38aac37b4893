#include "base/plugin_format.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace glenvask {
namespace {

// Test texts write the field separator (the character 1) as "|".
std::string P(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '|') c = kPluginFieldSeparator;
  return out;
}
// Lines, each ending in CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view l : lines) out += P(l) + "\r\n";
  return out;
}

TEST(PluginFormat, PluginFileRoundTripsByteForByte) {
  const std::string viewer = "C:\\Program Files\\Viewer\\";
  std::pair<PluginFile, std::string> cases[] = {
      {{}, Lines({"D|"})},
      {{"Cleans the viewer",
        {{"Yes", "Yes", "%WINDIR%\\Temp\\*.*"}, {"No", "No", "C:\\Data\\a.log"}},
        {{"No", "No", "HKEY_CURRENT_USER\\Software\\Viewer\\Recent", "File1"},
         {"Yes", "Yes", "HKEY_LOCAL_MACHINE\\Software\\Viewer", ""}},
        {{"viewer.ini", "Recent", "No", "File1", viewer},
         {"viewer.ini", "History", "Yes", "", viewer}}},
       Lines({"D|Cleans the viewer", "F|Yes|Yes|%WINDIR%\\Temp\\*.*", "F|No|No|C:\\Data\\a.log",
              "R|No|No|HKEY_CURRENT_USER\\Software\\Viewer\\Recent|File1",
              "R|Yes|Yes|HKEY_LOCAL_MACHINE\\Software\\Viewer|",
              "I|viewer.ini|Recent|No|File1|" + viewer, "I|viewer.ini|History|Yes||" + viewer})},
      // Cells as they stand: no case or quoting changed.
      {{"Caf\xC3\xA9 \"quoted\" ", {{"yes", "maybe", "rel\\x"}}, {}, {}},
       Lines({"D|Caf\xC3\xA9 \"quoted\" ", "F|yes|maybe|rel\\x"})},
  };
  for (const auto& [plugin, text] : cases) {
    EXPECT_EQ(writePluginFile(plugin), text);
    EXPECT_EQ(parsePluginFile(text), plugin) << text;
  }
}

TEST(PluginFormat, PluginFileReading) {
  std::tuple<const char*, std::string, PluginFile> cases[] = {
      {"nothing", "", {}},
      {"LF and CR line ends, no end on the last line",
       P("D|d\nF|No|No|C:\\a\\x\rF|Yes|No|C:\\b\\y"),
       {"d", {{"No", "No", "C:\\a\\x"}, {"Yes", "No", "C:\\b\\y"}}, {}, {}}},
      {"blank lines between records", Lines({"", "D|d", "", "", "R|No|No|HKEY_USERS\\x|v", ""}),
       {"d", {}, {{"No", "No", "HKEY_USERS\\x", "v"}}, {}}},
      {"trailing empty fields are fields", Lines({"R|No|No|HKEY_USERS\\x|", "I|a.ini|s|Yes||"}),
       {"", {}, {{"No", "No", "HKEY_USERS\\x", ""}}, {{"a.ini", "s", "Yes", "", ""}}}},
      {"too few fields keep the cells present", Lines({"F|Yes", "R|Yes|No", "I"}),
       {"", {{"Yes", "", "", false}}, {{"Yes", "No", "", "", false}}, {}}},
      {"extra fields are ignored", Lines({"D|d|extra", "F|No|No|C:\\a\\b|x|"}),
       {"d", {{"No", "No", "C:\\a\\b"}}, {}, {}}},
      {"unknown kinds, lower case and lines without a separator are skipped",
       Lines({"X|a", "f|No|No|C:\\a\\b", "D", "F No No C:\\a\\b", "|D", "D |spaced", "D|kept"}),
       {"kept", {}, {}, {}}},
      {"the last D record gives the description", Lines({"D|first", "D|second"}),
       {"second", {}, {}, {}}},
      {"a UTF-8 byte order mark is not part of the first record",
       "\xEF\xBB\xBF" + Lines({"D|marked"}), {"marked", {}, {}, {}}},
      {"a malformed record between good ones",
       Lines({"F|No|No|C:\\a\\1", "F|No", "Q|", "F|No|No|C:\\a\\2"}),
       {"", {{"No", "No", "C:\\a\\1"}, {"No", "", "", false}, {"No", "No", "C:\\a\\2"}}, {}, {}}},
      {"a null character is an ordinary character", P(std::string_view("D|a\0b\r\n", 8)),
       {std::string("a\0b", 3), {}, {}, {}}},
  };
  for (const auto& [name, text, want] : cases) EXPECT_EQ(parsePluginFile(text), want) << name;
}

TEST(PluginFormat, WriterKeepsEachCellInItsRecord) {
  // A cell holding a separator or a line break must not become fields or records of its own.
  PluginFile plugin{
      P("x\r\nF|Yes|Yes|C:\\*.*"), {}, {{"No", "No", "HKEY_USERS\\a\nb", P("v|w\r")}}};
  std::string written = writePluginFile(plugin);
  EXPECT_EQ(written, Lines({"D|x  F Yes Yes C:\\*.*", "R|No|No|HKEY_USERS\\a b|v w "}));
  PluginFile read = parsePluginFile(written);
  EXPECT_TRUE(read.files.empty());
  ASSERT_EQ(read.registry.size(), 1u);
  EXPECT_EQ(writePluginFile(read), written);
}

TEST(PluginFormat, FlagsAndWhatTheEngineCanApply) {
  // Recurses, deletes subfolders, folder, specification, usable.
  using FilesWant = std::tuple<bool, bool, std::string, std::string, bool>;
  std::pair<PluginFilesRecord, FilesWant> files[] = {
      {{"Yes", "Yes", "%WINDIR%\\Temp\\*.tmp"}, {true, true, "%WINDIR%\\Temp", "*.tmp", true}},
      {{"yes", "YES", "C:\\a\\b\\c.txt"}, {false, false, "C:\\a\\b", "c.txt", true}},
      {{"No", "No", "C:\\"}, {false, false, "C:", "", true}},
      {{"No", "No", "*.tmp"}, {false, false, "", "*.tmp", false}},    // no backslash
      {{"No", "No", "\\*.tmp"}, {false, false, "", "*.tmp", false}},  // no folder
      {{"Yes", "", "", false}, {true, false, "", "", false}},
  };
  for (const auto& [r, want] : files)
    EXPECT_EQ(FilesWant(r.recurses(), r.deletesSubfolders(), r.folder(), r.specification(),
                        r.usable()), want) << r.location;

  // Root name, subkey, root handle, usable.
  using KeyWant = std::tuple<std::string, std::string, std::uint32_t, bool>;
  std::pair<PluginRegistryRecord, KeyWant> keys[] = {
      {{"Yes", "No", "HKEY_CURRENT_USER\\Software\\A", ""},
       {"HKEY_CURRENT_USER", "Software\\A", 0x80000001u, true}},
      {{"No", "No", "hkey_current_user\\Software", "v"},
       {"hkey_current_user", "Software", 0u, true}},
      {{"Yes", "No", "HKEY_CURRENT_USER\\", ""}, {"HKEY_CURRENT_USER", "", 0x80000001u, false}},
      {{"Yes", "No", "HKEY_CURRENT_USER\\\\\\", ""},
       {"HKEY_CURRENT_USER", "\\\\", 0x80000001u, false}},
      {{"Yes", "No", "HKEY_CURRENT_USER", ""}, {"HKEY_CURRENT_USER", "", 0x80000001u, false}},
      {{"No", "No", "HKEY_USERS\\x", "", false}, {"HKEY_USERS", "x", 0x80000003u, false}},
  };
  for (const auto& [r, want] : keys)
    EXPECT_EQ(KeyWant(r.rootName(), r.subkey(), r.rootHandle(), r.usable()), want) << r.key;
  std::uint32_t expected[] = {0x80000002u, 0x80000000u, 0x80000003u, 0x80000004u,
                              0x80000001u, 0x80000005u, 0x80000006u};
  for (size_t i = 0; i < kRegistryRootNames.size(); ++i)
    EXPECT_EQ(registryRootHandle(kRegistryRootNames[i]), expected[i]) << kRegistryRootNames[i];

  // Full path, deletes the section, usable.
  using IniWant = std::tuple<std::string, bool, bool>;
  std::pair<PluginIniRecord, IniWant> inis[] = {
      {{"a.ini", "S", "Yes", "k", "C:\\x\\"}, {"C:\\x\\a.ini", true, true}},
      {{"a.ini", "S", "yes", "k", "C:\\x\\"}, {"C:\\x\\a.ini", false, true}},
      {{"win.ini", "S", "Yes", "", ""}, {"win.ini", true, false}},  // the Windows folder's
      {{"a.ini", "S", "No", "k", "C:\\x"}, {"C:\\xa.ini", false, false}},
      {{"a.ini", "S", "No", "k", "", false}, {"a.ini", false, false}},
  };
  for (const auto& [r, want] : inis)
    EXPECT_EQ(IniWant(r.fullPath(), r.deletesSection(), r.usable()), want) << r.fileName;
}

TEST(PluginFormat, FirstLineDescription) {
  std::pair<std::string, std::optional<std::string>> cases[] = {
      {Lines({"D|Viewer", "F|No|No|C:\\a\\b"}), "Viewer"}, {Lines({"D|"}), ""},
      {P("D|last line without an end"), "last line without an end"}, {Lines({"D|a|b"}), "a"},
      {Lines({"F|No|No|C:\\a\\b", "D|late"}), {}}, {Lines({"", "D|after a blank line"}), {}},
      {Lines({"D"}), {}}, {"", {}}};
  for (const auto& [text, want] : cases) EXPECT_EQ(firstLineDescription(text), want) << text;
}

TEST(PluginFormat, BareFileNames) {
  for (const char* bare : {"viewer.qvp", "My plug-in.qvp", ".hidden.qvp", "a..b.qvp", "x.qvp.",
                           "Caf\xC3\xA9.qvp", "console.qvp", "COM10.qvp", "nul1.qvp"})
    EXPECT_TRUE(isBareFileName(bare)) << bare;
  for (const char* not_bare :
       {"", ".", "..", "...", ".. ", " ", "..\\x.qvp", "sub\\x.qvp", "../x.qvp", "C:x.qvp",
        "C:\\x.qvp", "\\\\srv\\s\\x.qvp", "x.qvp:stream", "a*.qvp", "a?.qvp", "a|b.qvp",
        "a<b>.qvp", "a\"b.qvp", "a\tb.qvp", "CON", "nul.qvp", "Aux .qvp", "com1.qvp", "LPT9",
        "conin$", "COM\xC2\xB9.qvp"})
    EXPECT_FALSE(isBareFileName(not_bare)) << not_bare;
}

TEST(PluginFormat, PluginListReading) {
  std::tuple<const char*, std::string, std::vector<PluginListEntry>> cases[] = {
      {"empty file", "", {}},
      {"checked, unchecked, missing, empty and extra fields",
       Lines({"0|a.qvp|First", "1|b.qvp", "1|c.qvp|", "1|d.qvp|d|more"}),
       {{false, "a.qvp", "First"}, {true, "b.qvp", ""}, {true, "c.qvp", ""}, {true, "d.qvp", "d"}}},
      {"flags read as numbers",
       Lines({" 1 |a.qvp", "01|b.qvp", "2|c.qvp", "|d.qvp", "yes|e.qvp", "-1|f.qvp"}),
       {{true, "a.qvp", ""}, {true, "b.qvp", ""}, {false, "c.qvp", ""}, {false, "d.qvp", ""},
        {false, "e.qvp", ""}, {false, "f.qvp", ""}}},
      {"the same name twice stays twice", Lines({"1|a.qvp|x", "0|a.qvp|y"}),
       {{true, "a.qvp", "x"}, {false, "a.qvp", "y"}}},
      {"blank lines and lines without a separator are skipped",
       Lines({"", "1 a.qvp", "1", "1|a.qvp", ""}), {{true, "a.qvp", ""}}},
      {"names that leave the Plugins folder are skipped, the rest loads",
       Lines({"1|..\\..\\Windows\\x.qvp", "1|C:\\x.qvp", "1|../x.qvp", "1|..", "1|.", "1|",
              "1|CON", "1|ok.qvp|kept"}),
       {{true, "ok.qvp", "kept"}}},
      {"LF, CR and a last line without an end", P("1|a.qvp|A\n0|b.qvp|B\r1|c.qvp"),
       {{true, "a.qvp", "A"}, {false, "b.qvp", "B"}, {true, "c.qvp", ""}}},
  };
  for (const auto& [name, text, want] : cases) EXPECT_EQ(parsePluginList(text), want) << name;
}

TEST(PluginFormat, PluginListWriting) {
  std::pair<std::vector<PluginListEntry>, std::string> cases[] = {
      {{}, ""},
      // Rows in order; an empty description is kept as a field.
      {{{true, "b.qvp", "Second"}, {false, "a.qvp", ""}}, Lines({"1|b.qvp|Second", "0|a.qvp|"})},
      // Names that are not bare are left out.
      {{{true, "..\\x.qvp", "bad"}, {true, "ok.qvp", "d"}, {false, "", ""}},
       Lines({"1|ok.qvp|d"})},
      // Line breaks and separators in a description are blanks.
      {{{true, "a.qvp", P("one\r\ntwo|three")}}, Lines({"1|a.qvp|one  two three"})},
  };
  for (const auto& [entries, text] : cases) {
    EXPECT_EQ(writePluginList(entries), text);
    EXPECT_EQ(writePluginList(parsePluginList(text)), text);
  }
}

}  // namespace
}  // namespace glenvask
