#include "base/plugin_format.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

// Test texts write the field separator (the character 1) as "|". Lines each end in CR LF.
std::string P(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '|') c = kPluginFieldSeparator;
  return out;
}
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view l : lines) out += P(l) + "\r\n";
  return out;
}

TEST(PluginFormat, PluginFileReadingAndWriting) {
  const std::string viewer = "C:\\Program Files\\Viewer\\";
  std::pair<PluginFile, std::string> cases[] = {
      {{}, Lines({"D|"})},
      {{"Cleans the viewer",
        {{"Yes", "Yes", "%WINDIR%\\Temp\\*.*"}, {"No", "No", "C:\\Data\\a.log"}},
        {{"No", "No", "HKEY_CURRENT_USER\\Software\\Viewer", "File1"},
         {"Yes", "Yes", "HKEY_LOCAL_MACHINE\\Software\\Viewer", ""}},
        {{"viewer.ini", "Recent", "No", "File1", viewer}}},
       Lines({"D|Cleans the viewer", "F|Yes|Yes|%WINDIR%\\Temp\\*.*", "F|No|No|C:\\Data\\a.log",
              "R|No|No|HKEY_CURRENT_USER\\Software\\Viewer|File1",
              "R|Yes|Yes|HKEY_LOCAL_MACHINE\\Software\\Viewer|",
              "I|viewer.ini|Recent|No|File1|" + viewer})},
      // Cells as they stand: no case or quoting changed.
      {{"Caf\xC3\xA9 \"quoted\" ", {{"yes", "maybe", "rel\\x"}}, {}, {}},
       Lines({"D|Caf\xC3\xA9 \"quoted\" ", "F|yes|maybe|rel\\x"})},
  };
  for (const auto& [plugin, text] : cases)
    EXPECT_EQ(std::pair(writePluginFile(plugin), parsePluginFile(text)), std::pair(text, plugin));

  std::tuple<const char*, std::string, PluginFile> reads[] = {
      {"LF and CR line ends, blank lines, no end on the last line",
       P("\nD|d\n\nF|No|No|C:\\a\\x\rF|Yes|No|C:\\b\\y"),
       {"d", {{"No", "No", "C:\\a\\x"}, {"Yes", "No", "C:\\b\\y"}}, {}, {}}},
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
      {"a null character is an ordinary character", P(std::string_view("D|a\0b\r\n", 8)),
       {std::string("a\0b", 3), {}, {}, {}}},
  };
  for (const auto& [name, text, want] : reads) EXPECT_EQ(parsePluginFile(text), want) << name;

  // A cell holding a separator or a line break must not become fields or records of its own.
  PluginFile plugin{
      P("x\r\nF|Yes|Yes|C:\\*.*"), {}, {{"No", "No", "HKEY_USERS\\a\nb", P("v|w\r")}}};
  std::string written = writePluginFile(plugin);
  EXPECT_EQ(written, Lines({"D|x  F Yes Yes C:\\*.*", "R|No|No|HKEY_USERS\\a b|v w "}));
  EXPECT_EQ(writePluginFile(parsePluginFile(written)), written);

  std::pair<std::string, std::optional<std::string>> firsts[] = {
      {Lines({"D|Viewer", "F|No|No|C:\\a\\b"}), "Viewer"}, {Lines({"D|"}), ""},
      {P("D|no line end"), "no line end"}, {Lines({"D|a|b"}), "a"},
      {Lines({"F|No|No|C:\\a\\b", "D|late"}), {}}, {Lines({"", "D|after a blank line"}), {}},
      {Lines({"D"}), {}}, {"", {}}};
  for (const auto& [text, want] : firsts) EXPECT_EQ(firstLineDescription(text), want) << text;
}

TEST(PluginFormat, PluginListAndBareFileNames) {
  for (const char* bare : {"viewer.qvp", "My plug-in.qvp", ".hidden.qvp", "a..b.qvp", "x.qvp.",
                           "Caf\xC3\xA9.qvp", "console.qvp", "COM10.qvp", "nul1.qvp"})
    EXPECT_TRUE(isBareFileName(bare)) << bare;
  for (const char* not_bare :
       {"", ".", "..", "...", ".. ", " ", "..\\x.qvp", "sub\\x.qvp", "../x.qvp", "C:x.qvp",
        "C:\\x.qvp", "\\\\srv\\s\\x.qvp", "x.qvp:stream", "a*.qvp", "a?.qvp", "a|b.qvp",
        "a<b>.qvp", "a\"b.qvp", "a\tb.qvp", "CON", "nul.qvp", "Aux .qvp", "com1.qvp", "LPT9",
        "conin$", "COM\xC2\xB9.qvp"})
    EXPECT_FALSE(isBareFileName(not_bare)) << not_bare;

  // Lines read, and what the writer makes of them.
  std::tuple<std::string, std::vector<PluginListEntry>, std::string> cases[] = {
      {"", {}, ""},
      {Lines({"0|a.qvp|First", "1|b.qvp", "1|c.qvp|", "1|d.qvp|d|more"}),
       {{false, "a.qvp", "First"}, {true, "b.qvp", ""}, {true, "c.qvp", ""}, {true, "d.qvp", "d"}},
       Lines({"0|a.qvp|First", "1|b.qvp|", "1|c.qvp|", "1|d.qvp|d"})},
      // Flags read as numbers; the same name twice stays twice.
      {Lines({" 1 |a.qvp", "01|a.qvp", "2|c.qvp", "|d.qvp", "yes|e.qvp"}),
       {{true, "a.qvp", ""}, {true, "a.qvp", ""}, {false, "c.qvp", ""}, {false, "d.qvp", ""},
        {false, "e.qvp", ""}},
       Lines({"1|a.qvp|", "1|a.qvp|", "0|c.qvp|", "0|d.qvp|", "0|e.qvp|"})},
      // Blank lines, lines without a separator and names that leave the folder are skipped;
      // LF, CR and a last line without an end.
      {P("\n1 a.qvp\n1\r\n1|..\\..\\Windows\\x.qvp\r1|C:\\x.qvp\n1|../x\n1|..\n1|\n1|CON\n1|ok|k"),
       {{true, "ok", "k"}}, Lines({"1|ok|k"})},
  };
  for (const auto& [text, entries, written] : cases)
    EXPECT_EQ(std::pair(parsePluginList(text), writePluginList(entries)),
              std::pair(entries, written)) << text;
  // The writer leaves out names that are not bare, and blanks line breaks and separators.
  EXPECT_EQ(writePluginList({{true, "..\\x.qvp", "bad"}, {false, "", ""},
                             {true, "a.qvp", P("one\r\ntwo|three")}}),
            Lines({"1|a.qvp|one  two three"}));
}

}  // namespace
}  // namespace glenvask
