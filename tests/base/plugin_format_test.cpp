#include "base/plugin_format.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

// "\x01" followed by a letter or digit would be read as one hex escape; S keeps them apart.
std::string S(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view p : parts) s += p;
  return s;
}
constexpr std::string_view k1 = "\x01";
constexpr std::string_view kCrLf = "\r\n";

PluginFilesRecord F(std::string r, std::string d, std::string loc, bool complete = true) {
  return {std::move(r), std::move(d), std::move(loc), complete};
}
PluginRegistryRecord R(std::string d, std::string r, std::string key, std::string value,
                       bool complete = true) {
  return {std::move(d), std::move(r), std::move(key), std::move(value), complete};
}
PluginIniRecord I(std::string file, std::string section, std::string del, std::string value,
                  std::string path, bool complete = true) {
  return {std::move(file), std::move(section), std::move(del), std::move(value),
          std::move(path), complete};
}

TEST(PluginFormat, PluginFileRoundTripsByteForByte) {
  struct Case {
    const char* name;
    PluginFile plugin;
    std::string text;
  } cases[] = {
      {"empty", {}, S({"D", k1, kCrLf})},
      {"all kinds",
       {"Cleans the viewer",
        {F("Yes", "Yes", "%WINDIR%\\Temp\\*.*"), F("No", "No", "C:\\Data\\a.log")},
        {R("No", "No", "HKEY_CURRENT_USER\\Software\\Viewer\\Recent", "File1"),
         R("Yes", "Yes", "HKEY_LOCAL_MACHINE\\Software\\Viewer", "")},
        {I("viewer.ini", "Recent", "No", "File1", "C:\\Program Files\\Viewer\\"),
         I("viewer.ini", "History", "Yes", "", "C:\\Program Files\\Viewer\\")}},
       S({"D", k1, "Cleans the viewer", kCrLf,                                   //
          "F", k1, "Yes", k1, "Yes", k1, "%WINDIR%\\Temp\\*.*", kCrLf,           //
          "F", k1, "No", k1, "No", k1, "C:\\Data\\a.log", kCrLf,                 //
          "R", k1, "No", k1, "No", k1, "HKEY_CURRENT_USER\\Software\\Viewer\\Recent", k1,
          "File1", kCrLf,                                                        //
          "R", k1, "Yes", k1, "Yes", k1, "HKEY_LOCAL_MACHINE\\Software\\Viewer", k1, kCrLf,
          "I", k1, "viewer.ini", k1, "Recent", k1, "No", k1, "File1", k1,
          "C:\\Program Files\\Viewer\\", kCrLf,                                  //
          "I", k1, "viewer.ini", k1, "History", k1, "Yes", k1, k1,
          "C:\\Program Files\\Viewer\\", kCrLf})},
      {"every cell empty",
       {"", {F("", "", "")}, {R("", "", "", "")}, {I("", "", "", "", "")}},
       S({"D", k1, kCrLf, "F", k1, k1, k1, kCrLf, "R", k1, k1, k1, k1, kCrLf, "I", k1, k1, k1,
          k1, k1, kCrLf})},
      {"cells as they stand",
       {"Caf\xC3\xA9 \"quoted\" ", {F("yes", "maybe", "rel\\x")}, {}, {}},
       S({"D", k1, "Caf\xC3\xA9 \"quoted\" ", kCrLf, "F", k1, "yes", k1, "maybe", k1, "rel\\x",
          kCrLf})},
  };
  for (const auto& c : cases) {
    std::string written = writePluginFile(c.plugin);
    EXPECT_EQ(written, c.text) << c.name;
    PluginFile read = parsePluginFile(written);
    EXPECT_EQ(read, c.plugin) << c.name;
    EXPECT_EQ(writePluginFile(read), written) << c.name;
  }
}

TEST(PluginFormat, PluginFileReading) {
  struct Case {
    const char* name;
    std::string text;
    PluginFile expected;
  } cases[] = {
      {"nothing", "", {}},
      {"no D record", S({"F", k1, "No", k1, "No", k1, "C:\\a\\*.tmp", kCrLf}),
       {"", {F("No", "No", "C:\\a\\*.tmp")}, {}, {}}},
      {"LF and CR line ends, no end on the last line",
       S({"D", k1, "d\n", "F", k1, "No", k1, "No", k1, "C:\\a\\x\r", "F", k1, "Yes", k1, "No", k1,
          "C:\\b\\y"}),
       {"d", {F("No", "No", "C:\\a\\x"), F("Yes", "No", "C:\\b\\y")}, {}, {}}},
      {"blank lines between records",
       S({kCrLf, "D", k1, "d", kCrLf, kCrLf, kCrLf, "R", k1, "No", k1, "No", k1,
          "HKEY_USERS\\x", k1, "v", kCrLf, kCrLf}),
       {"d", {}, {R("No", "No", "HKEY_USERS\\x", "v")}, {}}},
      {"trailing empty fields are fields",
       S({"R", k1, "No", k1, "No", k1, "HKEY_USERS\\x", k1, kCrLf, "I", k1, "a.ini", k1, "s", k1,
          "Yes", k1, k1, kCrLf}),
       {"", {}, {R("No", "No", "HKEY_USERS\\x", "")}, {I("a.ini", "s", "Yes", "", "")}}},
      {"too few fields keep the cells present",
       S({"F", k1, "Yes", kCrLf, "R", k1, "Yes", k1, "No", kCrLf, "I", kCrLf}),
       {"", {F("Yes", "", "", false)}, {R("Yes", "No", "", "", false)}, {}}},
      {"extra fields are ignored",
       S({"D", k1, "d", k1, "extra", kCrLf, "F", k1, "No", k1, "No", k1, "C:\\a\\b", k1, "x", k1,
          kCrLf}),
       {"d", {F("No", "No", "C:\\a\\b")}, {}, {}}},
      {"unknown kinds, lower case and lines without a separator are skipped",
       S({"X", k1, "a", kCrLf, "f", k1, "No", k1, "No", k1, "C:\\a\\b", kCrLf, "D", kCrLf,
          "F No No C:\\a\\b", kCrLf, k1, "D", kCrLf, "D ", k1, "spaced", kCrLf, "D", k1, "kept",
          kCrLf}),
       {"kept", {}, {}, {}}},
      {"the last D record gives the description",
       S({"D", k1, "first", kCrLf, "D", k1, "second", kCrLf}), {"second", {}, {}, {}}},
      {"a UTF-8 byte order mark is not part of the first record",
       S({"\xEF\xBB\xBF", "D", k1, "marked", kCrLf}), {"marked", {}, {}, {}}},
      {"a malformed record between good ones",
       S({"F", k1, "No", k1, "No", k1, "C:\\a\\1", kCrLf, "F", k1, "No", kCrLf, "Q", k1, kCrLf,
          "F", k1, "No", k1, "No", k1, "C:\\a\\2", kCrLf}),
       {"",
        {F("No", "No", "C:\\a\\1"), F("No", "", "", false), F("No", "No", "C:\\a\\2")},
        {},
        {}}},
      {"a null character is an ordinary character",
       S({"D", k1, std::string_view("a\0b", 3), kCrLf}), {std::string("a\0b", 3), {}, {}, {}}},
  };
  for (const auto& c : cases) EXPECT_EQ(parsePluginFile(c.text), c.expected) << c.name;
}

TEST(PluginFormat, WriterKeepsEachCellInItsRecord) {
  // A cell holding a separator or a line break must not become fields or records of its own.
  PluginFile plugin;
  plugin.description = S({"x\r\nF", k1, "Yes", k1, "Yes", k1, "C:\\*.*"});
  plugin.registry = {R("No", "No", "HKEY_USERS\\a\nb", S({"v", k1, "w\r"}))};
  std::string written = writePluginFile(plugin);
  EXPECT_EQ(written, S({"D", k1, "x  F Yes Yes C:\\*.*", kCrLf, "R", k1, "No", k1, "No", k1,
                        "HKEY_USERS\\a b", k1, "v w ", kCrLf}));
  PluginFile read = parsePluginFile(written);
  EXPECT_TRUE(read.files.empty());
  ASSERT_EQ(read.registry.size(), 1u);
  EXPECT_EQ(writePluginFile(read), written);
}

TEST(PluginFormat, FlagsAndWhatTheEngineCanApply) {
  struct FilesCase {
    PluginFilesRecord r;
    bool recurses, deletes;
    const char* folder;
    const char* spec;
    bool usable;
  } files[] = {
      {F("Yes", "Yes", "%WINDIR%\\Temp\\*.tmp"), true, true, "%WINDIR%\\Temp", "*.tmp", true},
      {F("yes", "YES", "C:\\a\\b\\c.txt"), false, false, "C:\\a\\b", "c.txt", true},
      {F("No", "No", "C:\\"), false, false, "C:", "", true},
      {F("No", "No", "*.tmp"), false, false, "", "*.tmp", false},   // no backslash
      {F("No", "No", "\\*.tmp"), false, false, "", "*.tmp", false},  // no folder
      {F("Yes", "", "", false), true, false, "", "", false},
  };
  for (const auto& c : files) {
    EXPECT_EQ(c.r.recurses(), c.recurses) << c.r.location;
    EXPECT_EQ(c.r.deletesSubfolders(), c.deletes) << c.r.location;
    EXPECT_EQ(c.r.folder(), c.folder) << c.r.location;
    EXPECT_EQ(c.r.specification(), c.spec) << c.r.location;
    EXPECT_EQ(c.r.usable(), c.usable) << c.r.location;
  }

  struct RegistryCase {
    PluginRegistryRecord r;
    const char* root;
    const char* subkey;
    std::uint32_t handle;
    bool usable;
  } keys[] = {
      {R("Yes", "No", "HKEY_CURRENT_USER\\Software\\A", ""), "HKEY_CURRENT_USER", "Software\\A",
       0x80000001u, true},
      {R("No", "No", "HKEY_CLASSES_ROOT\\.xyz", "v"), "HKEY_CLASSES_ROOT", ".xyz", 0x80000000u,
       true},
      {R("No", "No", "HKEY_DYN_DATA\\x", "v"), "HKEY_DYN_DATA", "x", 0x80000006u, true},
      {R("No", "No", "hkey_current_user\\Software", "v"), "hkey_current_user", "Software", 0u,
       true},
      {R("Yes", "No", "HKEY_CURRENT_USER\\", ""), "HKEY_CURRENT_USER", "", 0x80000001u, false},
      {R("Yes", "No", "HKEY_CURRENT_USER\\\\\\", ""), "HKEY_CURRENT_USER", "\\\\", 0x80000001u,
       false},
      {R("Yes", "No", "HKEY_CURRENT_USER", ""), "HKEY_CURRENT_USER", "", 0x80000001u, false},
      {R("No", "No", "HKEY_USERS\\x", "", false), "HKEY_USERS", "x", 0x80000003u, false},
  };
  for (const auto& c : keys) {
    EXPECT_EQ(c.r.rootName(), c.root) << c.r.key;
    EXPECT_EQ(c.r.subkey(), c.subkey) << c.r.key;
    EXPECT_EQ(c.r.rootHandle(), c.handle) << c.r.key;
    EXPECT_EQ(c.r.usable(), c.usable) << c.r.key;
  }
  std::uint32_t expected[] = {0x80000002u, 0x80000000u, 0x80000003u, 0x80000004u,
                              0x80000001u, 0x80000005u, 0x80000006u};
  for (size_t i = 0; i < kRegistryRootNames.size(); ++i)
    EXPECT_EQ(registryRootHandle(kRegistryRootNames[i]), expected[i]) << kRegistryRootNames[i];

  struct IniCase {
    PluginIniRecord r;
    const char* fullPath;
    bool deletes, usable;
  } inis[] = {
      {I("a.ini", "S", "Yes", "k", "C:\\x\\"), "C:\\x\\a.ini", true, true},
      {I("a.ini", "S", "yes", "k", "C:\\x\\"), "C:\\x\\a.ini", false, true},
      {I("win.ini", "S", "Yes", "", ""), "win.ini", true, false},  // would reach the Windows folder
      {I("a.ini", "S", "No", "k", "C:\\x"), "C:\\xa.ini", false, false},
      {I("a.ini", "S", "No", "k", "", false), "a.ini", false, false},
  };
  for (const auto& c : inis) {
    EXPECT_EQ(c.r.fullPath(), c.fullPath);
    EXPECT_EQ(c.r.deletesSection(), c.deletes) << c.fullPath;
    EXPECT_EQ(c.r.usable(), c.usable) << c.fullPath;
  }
  EXPECT_EQ(yesNo(true), "Yes");
  EXPECT_EQ(yesNo(false), "No");
}

TEST(PluginFormat, FirstLineDescription) {
  struct Case {
    std::string text;
    std::optional<std::string> expected;
  } cases[] = {
      {S({"D", k1, "Viewer", kCrLf, "F", k1, "No", k1, "No", k1, "C:\\a\\b", kCrLf}), "Viewer"},
      {S({"D", k1, kCrLf}), ""},
      {S({"D", k1, "last line without an end"}), "last line without an end"},
      {S({"D", k1, "a", k1, "b", kCrLf}), "a"},
      {S({"F", k1, "No", k1, "No", k1, "C:\\a\\b", kCrLf, "D", k1, "late", kCrLf}), std::nullopt},
      {S({kCrLf, "D", k1, "after a blank line", kCrLf}), std::nullopt},
      {S({"D", kCrLf}), std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(firstLineDescription(c.text), c.expected) << c.text;
}

TEST(PluginFormat, BareFileNames) {
  struct Case {
    const char* name;
    bool bare;
  } cases[] = {
      {"viewer.qvp", true},     {"My plug-in.qvp", true},  {".hidden.qvp", true},
      {"a..b.qvp", true},       {"x.qvp.", true},          {"Caf\xC3\xA9.qvp", true},
      {"console.qvp", true},    {"COM10.qvp", true},       {"nul1.qvp", true},
      {"", false},              {".", false},              {"..", false},
      {"...", false},           {".. ", false},            {" ", false},
      {"..\\x.qvp", false},     {"sub\\x.qvp", false},     {"../x.qvp", false},
      {"C:x.qvp", false},       {"C:\\x.qvp", false},      {"\\\\srv\\s\\x.qvp", false},
      {"x.qvp:stream", false},  {"a*.qvp", false},         {"a?.qvp", false},
      {"a|b.qvp", false},       {"a<b>.qvp", false},       {"a\"b.qvp", false},
      {"a\tb.qvp", false},      {"CON", false},            {"nul.qvp", false},
      {"Aux .qvp", false},      {"com1.qvp", false},       {"LPT9", false},
      {"conin$", false},        {"COM\xC2\xB9.qvp", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isBareFileName(c.name), c.bare) << c.name;
}

TEST(PluginFormat, PluginListReading) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<PluginListEntry> expected;
  } cases[] = {
      {"empty file", "", {}},
      {"checked and unchecked",
       S({"0", k1, "a.qvp", k1, "First", kCrLf, "1", k1, "b.qvp", k1, "Second", kCrLf}),
       {{false, "a.qvp", "First"}, {true, "b.qvp", "Second"}}},
      {"no description field", S({"1", k1, "a.qvp", kCrLf}), {{true, "a.qvp", ""}}},
      {"empty description field", S({"1", k1, "a.qvp", k1, kCrLf}), {{true, "a.qvp", ""}}},
      {"extra fields ignored", S({"1", k1, "a.qvp", k1, "d", k1, "more", kCrLf}),
       {{true, "a.qvp", "d"}}},
      {"flags read as numbers",
       S({" 1 ", k1, "a.qvp", kCrLf, "01", k1, "b.qvp", kCrLf, "2", k1, "c.qvp", kCrLf, "", k1,
          "d.qvp", kCrLf, "yes", k1, "e.qvp", kCrLf, "-1", k1, "f.qvp", kCrLf}),
       {{true, "a.qvp", ""},
        {true, "b.qvp", ""},
        {false, "c.qvp", ""},
        {false, "d.qvp", ""},
        {false, "e.qvp", ""},
        {false, "f.qvp", ""}}},
      {"the same name twice stays twice",
       S({"1", k1, "a.qvp", k1, "x", kCrLf, "0", k1, "a.qvp", k1, "y", kCrLf}),
       {{true, "a.qvp", "x"}, {false, "a.qvp", "y"}}},
      {"blank lines and lines without a separator are skipped",
       S({kCrLf, "1 a.qvp", kCrLf, "1", kCrLf, "1", k1, "a.qvp", kCrLf, kCrLf}),
       {{true, "a.qvp", ""}}},
      {"names that leave the Plugins folder are skipped, the rest loads",
       S({"1", k1, "..\\..\\Windows\\x.qvp", kCrLf, "1", k1, "C:\\x.qvp", kCrLf, "1", k1,
          "../x.qvp", kCrLf, "1", k1, "..", kCrLf, "1", k1, ".", kCrLf, "1", k1, "", kCrLf, "1",
          k1, "CON", kCrLf, "1", k1, "ok.qvp", k1, "kept", kCrLf}),
       {{true, "ok.qvp", "kept"}}},
      {"LF, CR and a last line without an end",
       S({"1", k1, "a.qvp", k1, "A\n", "0", k1, "b.qvp", k1, "B\r", "1", k1, "c.qvp"}),
       {{true, "a.qvp", "A"}, {false, "b.qvp", "B"}, {true, "c.qvp", ""}}},
  };
  for (const auto& c : cases) EXPECT_EQ(parsePluginList(c.text), c.expected) << c.name;
}

TEST(PluginFormat, PluginListWriting) {
  struct Case {
    const char* name;
    std::vector<PluginListEntry> entries;
    std::string text;
  } cases[] = {
      {"no rows", {}, ""},
      {"rows in order, empty description kept as a field",
       {{true, "b.qvp", "Second"}, {false, "a.qvp", ""}},
       S({"1", k1, "b.qvp", k1, "Second", kCrLf, "0", k1, "a.qvp", k1, kCrLf})},
      {"non-bare names are left out",
       {{true, "..\\x.qvp", "bad"}, {true, "ok.qvp", "d"}, {false, "", ""}},
       S({"1", k1, "ok.qvp", k1, "d", kCrLf})},
      {"line breaks and separators in a description",
       {{true, "a.qvp", S({"one\r\ntwo", k1, "three"})}},
       S({"1", k1, "a.qvp", k1, "one  two three", kCrLf})},
  };
  for (const auto& c : cases) {
    std::string written = writePluginList(c.entries);
    EXPECT_EQ(written, c.text) << c.name;
    EXPECT_EQ(writePluginList(parsePluginList(written)), written) << c.name;
  }
}

}  // namespace
}  // namespace glenvask
