// The plug-in engine on real files in a scratch folder and a real scratch registry key.
#include "plugins/engine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/plugin_format.h"
#include "base/text.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "support/host.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::keyExists, test::setString, test::valueNames;
using Texts = std::vector<std::string>;

class PluginEngineTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir;
  test::ScratchKey key;
  test::RecordingHost rec;
  void SetUp() override { TearDown(), PluginRoot.clear(); }
  void TearDown() override {
    bAbort = false;
    BackupZipFile.clear();
    ResetScanLists();
    setAppPath("");
  }
  // Writes the plug-in (after raw lines the writer cannot make) and applies it.
  bool run(const PluginFile& plugin, const std::string& rawFirst = "") {
    return RunPlugin(dir.write("p.qvp", rawFirst + writePluginFile(plugin)));
  }
};

TEST_F(PluginEngineTest, FileRecordsCollectWhatTheirSpecificationNamesAndNeverEnterALink) {
  for (const char* f : {"a.tmp", "B.TMP", "c.tmpx", "keep.txt", "file#1.txt", "file11.txt",
                        "sub\\d.tmp", "sub\\deep\\e.tmp", "sub\\keep.log"})
    dir.write(std::string("data\\") + f, "x");
  SetFileAttributesW(wide(dir.write("data\\h.tmp", "x")).c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  dir.write("outside\\y.tmp", "x");
  dir.write("outside\\deeper\\z.tmp", "x");
  test::makeFolderLink(dir.file("data\\link"), dir.file("outside"));
  test::makeFolderLink(dir.file("data\\sub\\loop"), dir.file("data"));
  const std::string data = dir.file("data");
  const Texts tmps = {"B.TMP", "a.tmp", "h.tmp"}, subs = {"sub\\deep", "sub"};
  // Recurse, delete subfolders, the file pattern; the files and folders collected.
  std::tuple<const char*, const char*, const char*, Texts, Texts> cases[] = {
      // Lower-cased names against the lower-cased specification; ".tmpx" is not ".tmp".
      {"No", "No", "*.tmp", tmps, {}}, {"No", "No", "*.TMP", tmps, {}},
      // Subfolders' files, each folder after its contents, never its own nor a link's.
      {"Yes", "Yes", "*.tmp", {"B.TMP", "a.tmp", "h.tmp", "sub\\d.tmp", "sub\\deep\\e.tmp"}, subs},
      {"Yes", "Yes", "*.none", {}, subs},
      // "*.*" is every file, dotted or not; without recursion no folder is taken.
      {"No", "Yes", "*.*",
       {"B.TMP", "a.tmp", "c.tmpx", "file#1.txt", "file11.txt", "h.tmp", "keep.txt"}, {}},
      {"Yes", "No", "keep.*", {"keep.txt", "sub\\keep.log"}, {}},
      // "#" a digit, bracket lists; a malformed pattern takes nothing.
      {"No", "No", "file#1.txt", {"file#1.txt", "file11.txt"}, {}},
      {"No", "No", "[!ab].tmp", {"h.tmp"}, {}}, {"No", "No", "[a.tmp", {}, {}}};
  for (const auto& [recurse, subfolders, spec, files, folders] : cases) {
    SCOPED_TRACE(std::string(spec) + " recurse " + recurse);
    ResetScanLists();
    EXPECT_TRUE(run({.files = {{recurse, subfolders, data + "\\" + spec}}}));
    EXPECT_EQ(test::relativeTo(data + "\\", arrFiles, true), files);
    EXPECT_EQ(test::relativeTo(data + "\\", arrFolders, false), folders);
    EXPECT_EQ(PluginRoot, data);
  }
  EXPECT_TRUE(dir.exists("data\\sub\\deep\\e.tmp"));  // collecting deletes nothing
}

TEST_F(PluginEngineTest, PathVariablesExpandInAnyCase) {
  const PluginPathFolders all{"P:\\Programs", "C:\\Win\\Sys", "C:\\Win"},
      noProgramFiles{"", "D:\\Win\\Sys", "D:\\Win"}, nothing{"", "", ""},
      oddSystem{"", "\\\\server\\sys", "C:\\Win"};
  std::tuple<const char*, PluginPathFolders, const char*> cases[] = {
      {"%progdir%\\a\\%ProgDir%", all, "P:\\Programs\\a\\P:\\Programs"},
      {"%PROGDIR%\\%SYSDIR%\\%WinDir%", all, "P:\\Programs\\C:\\Win\\Sys\\C:\\Win"},
      // The Program Files folder unknown: the system folder's drive stands in.
      {"%PROGDIR%\\App", noProgramFiles, "D:\\Program Files\\App"},
      {"%PROGDIR%\\App", oddSystem, ""}, {"%SYSDIR%", nothing, ""}, {"%WINDIR%\\x", nothing, ""},
      // Unknown variables stay as they are.
      {"%TEMP%\\x", nothing, "%TEMP%\\x"}, {"C:\\x%WINDIR", all, "C:\\x%WINDIR"}};
  for (const auto& [folder, folders, expanded] : cases)
    EXPECT_EQ(ExpandPluginPath(folder, folders), expanded) << folder;

  // Single named files of the Windows and system folders are collected (never deleted here).
  run({.files = {{"No", "No", "%windir%\\win.ini"}, {"No", "No", "%SYSDIR%\\KERNEL32.DLL"},
                 {"No", "No", "%WINDIR%\\no-such-folder-here\\*.*"}}});
  Texts got;
  for (const auto& p : arrFiles) got.push_back(toLower(p));
  EXPECT_EQ(got, (Texts{"c:\\windows\\win.ini", "c:\\windows\\system32\\kernel32.dll"}));
  EXPECT_TRUE(arrFolders.empty());
}

TEST_F(PluginEngineTest, FileRecordsThatReachTooFarCollectNothing) {
  dir.write("data\\a.tmp", "x");
  const std::string data = dir.file("data"), windows = GetWindowsDir();
  const std::string profile = test::env("USERPROFILE");
  ASSERT_FALSE(profile.empty());
  // Roots, system, program and profile folders or their parents; relative paths; dot steps.
  std::pair<const char*, std::string> cases[] = {
      {"Yes", "C:\\\\*.*"}, {"No", "%windir%\\*.*"}, {"Yes", "%SYSDIR%\\*.*"}, {"Yes", "%PROGDIR%\\*"},
      {"Yes", windows + ".\\*.*"},  // the platform drops the dot
      {"Yes", profile.substr(0, profile.rfind('\\')) + "\\*.*"}, {"Yes", "data\\*.tmp"},
      {"No", data + "\\..\\data\\*.tmp"}, {"Yes", "\\\\?\\" + data + "\\*.tmp"},
      {"Yes", "C:/windows\\*.*"}, {"Yes", "%NOSUCH%\\*.*"}};
  for (const auto& [recurse, location] : cases) {
    ResetScanLists();
    run({.files = {{recurse, "Yes", location}}});
    EXPECT_TRUE(arrFiles.empty() && arrFolders.empty()) << location << " " << arrFiles.size();
  }
  // A refused record does not end the pass: the next one is applied.
  run({.files = {{"Yes", "Yes", "%WINDIR%\\*.*"}, {"No", "No", data + "\\*.tmp"}}});
  EXPECT_EQ(test::relativeTo(data + "\\", arrFiles, true), Texts{"a.tmp"});

  std::tuple<std::string, const char*, bool> rules[] = {  // folder, file pattern, allowed
      {windows + "\\Temp", "*.*", true}, {windows, "*.tmp", true}, {"C:", "*.tmp", true},
      {"\\\\server\\share\\folder", "*.*", true}, {windows, "**", false},
      {"\\\\server\\share", "*.*", false}, {"C:temp", "a.txt", false},
      {"C:\\a\\...", "a.txt", false}, {"\\\\.\\C:", "a.txt", false}, {"\\\\server", "a.txt", false},
  };
  for (const auto& [folder, spec, safe] : rules)
    EXPECT_EQ(isSafePluginFolder(folder, spec), safe) << folder << " " << spec;
}

TEST_F(PluginEngineTest, IniAndRegistryRecordsRemoveWhatTheyName) {
  const char* text =
      "[keep]\r\na=1\r\nb=2\r\n[drop]\r\nx=1\r\ny=2\r\n[partial]\r\nk1=1\r\nk2=2\r\n";
  std::string path = dir.write("app\\app.ini", text), other = dir.write("app\\other.ini", text);
  std::string folder = dir.file("app") + "\\";
  auto value = [](const std::string& file, const char* section, const char* key) {
    return readIni(file, section, key, "<none>");
  };
  EXPECT_TRUE(run({.iniEntries = {
      {"app.ini", "drop", "Yes", "x", folder},  // the whole section, whatever the Value holds
      {"app.ini", "partial", "No", "k1", folder},
      // Missing sections, keys and files change nothing; no file is made.
      {"app.ini", "nosuch", "Yes", "", folder}, {"app.ini", "keep", "No", "nosuch", folder},
      {"missing.ini", "keep", "Yes", "", folder},
      {"app.ini", "keep", "No", "", folder},     // an empty key name is no key: the section stays
      {"other.ini", "drop", "yes", "x", folder},  // "yes" is not "Yes": only the key goes
      // A folder that is not a full path ending in a backslash is refused.
      {"other.ini", "keep", "Yes", "", dir.file("app")}, {"other.ini", "keep", "Yes", "", ""},
      {"other.ini", "keep", "Yes", "", "app\\"},
  }}));
  std::string left;
  for (const std::string& file : {path, other})
    for (const char* at : {"keep a", "keep b", "drop x", "drop y", "partial k1", "partial k2"})
      left += value(file, split(at, ' ')[0].c_str(), split(at, ' ')[1].c_str()) + " ";
  EXPECT_EQ(left + std::to_string(dir.exists("app\\missing.ini")),
            "1 2 <none> <none> <none> 2 1 2 <none> 2 1 2 0");

  const std::string base = key.subkey(), hkcu = "HKEY_CURRENT_USER\\";
  for (const char* v : {"v1", "v2", ""}) setString(base + "\\vals", v, "1");
  setString(base + "\\tree", "t", "kept");
  setString(base + "\\tree\\s1\\s1a", "deep", "x");
  test::makeKey(base + "\\tree\\s2");
  setString(base + "\\case", "v", "1");
  test::makeKey(base + "\\case\\sub");
  EXPECT_TRUE(run({.registry = {
      {"No", "No", hkcu + base + "\\vals", "v1"},
      {"No", "No", hkcu + base + "\\vals", ""},  // the default value
      {"Yes", "No", hkcu + base + "\\tree", "ignored"},  // every subkey; the key and values stay
      // Roots are compared exactly: a lower-case root names nothing.
      {"No", "No", "hkey_current_user\\" + base + "\\case", "v"},
      {"Yes", "No", "HKEY_Current_User\\" + base + "\\case", ""},
      {"Yes", "No", hkcu + base + "\\nosuch", ""},
      // Records that would reach the root itself do nothing, and do not end the pass.
      {"Yes", "No", hkcu, ""}, {"No", "No", hkcu, "v"}, {"Yes", "No", hkcu + " ", ""},
      {"Yes", "No", hkcu + "\\" + base, ""}, {"No", "No", hkcu + base + "\\vals", "v2"},
  }}));
  EXPECT_EQ(std::pair(valueNames(base + "\\vals"), valueNames(base + "\\tree")),
            std::pair(Texts{}, Texts{"t"}));
  EXPECT_FALSE(keyExists(base + "\\tree\\s1") || keyExists(base + "\\tree\\s2"));
  EXPECT_EQ(valueNames(base + "\\case"), Texts{"v"});
  EXPECT_TRUE(keyExists(base + "\\case\\sub") && keyExists("Software"));
  EXPECT_FALSE(keyExists(base + "\\nosuch"));

  // Under Wine the names above open nothing anyway, so the rule itself is checked here.
  std::pair<const char*, bool> subkeys[] = {
      {"Software\\App\\", true}, {" Software", true}, {"", false}, {"\t \\ ", false},
      {"\\\\", false}, {"\\Software\\App", false}};
  for (const auto& [subkey, safe] : subkeys)
    EXPECT_EQ(isSafeRegistrySubkey(subkey), safe) << subkey;
}

TEST_F(PluginEngineTest, AnErrorEndsOnlyItsOwnPass) {
  dir.write("data\\a.tmp", "x");
  dir.write("data\\b.log", "x");
  // Raw lines before the records; whether the INI, files and registry passes are applied.
  std::tuple<const char*, bool, bool, bool> cases[] = {
      {"I\x01s.ini\x01s\r\n", false, true, true},                          // too few fields
      {"F\x01No\r\n", true, false, true},                                   // too few fields
      {"F\x01No\x01No\x01*.tmp\r\n", true, false, true},                    // no backslash
      {"R\x01No\x01No\x01HKEY_CURRENT_USER\\x\r\n", true, true, false},     // too few fields
      {"R\x01No\x01No\x01HKEY_CURRENT_USER\x01v\r\n", true, true, false},   // no backslash
      {"X\x01y\r\nF\r\n\r\nR no separator\r\n", true, true, true},          // no records
  };
  for (const auto& [rawFirst, iniApplied, filesApplied, registryApplied] : cases) {
    SCOPED_TRACE(rawFirst);
    std::string iniPath = dir.write("s.ini", "[s]\r\nk1=1\r\nk2=2\r\n");
    setString(key.subkey(), "v", "1");
    ResetScanLists();
    EXPECT_TRUE(run({.files = {{"No", "No", dir.file("data") + "\\*.tmp"}},
                     .registry = {{"No", "No", "HKEY_CURRENT_USER\\" + key.subkey(), "v"}},
                     .iniEntries = {{"s.ini", "s", "No", "k1", dir.path() + "\\"}}},
                    rawFirst));
    EXPECT_EQ(readIni(iniPath, "s", "k1", "<none>") == "<none>", iniApplied);
    EXPECT_EQ(readIni(iniPath, "s", "k2", "<none>"), "2");
    EXPECT_EQ(test::relativeTo(dir.path() + "\\", arrFiles, true),
              filesApplied ? Texts{"data\\a.tmp"} : Texts{});
    EXPECT_EQ(valueNames(key.subkey()).empty(), registryApplied);
  }

  // A missing file, none, or a folder is no plug-in; an empty one applies nothing.
  ResetScanLists();
  EXPECT_FALSE(RunPlugin(dir.file("none.qvp")) || RunPlugin("") || RunPlugin(dir.path()));
  EXPECT_TRUE(RunPlugin(dir.write("empty.qvp", "")) && run({}));
  EXPECT_TRUE(arrFiles.empty() && arrFolders.empty());
}

int g_readings = 0, g_stopAt = 0;
std::uint64_t stoppingClock() {
  if (++g_readings == g_stopAt) bAbort = true;
  return static_cast<std::uint64_t>(g_readings) * 1000;
}

TEST_F(PluginEngineTest, AStopEndsTheFileRecordsButNotTheOtherPasses) {
  for (int i = 0; i < 40; ++i) dir.write("data\\a\\f" + std::to_string(i) + ".tmp", "x");
  std::string iniPath = dir.write("s.ini", "[s]\r\nk=1\r\n");
  setString(key.subkey(), "v", "1");
  const PluginFile plugin{.files = {{"Yes", "Yes", dir.file("data") + "\\*.tmp"},
                                    {"No", "No", dir.file("data\\a") + "\\f1.tmp"}},
                          .registry = {{"No", "No", "HKEY_CURRENT_USER\\" + key.subkey(), "v"}},
                          .iniEntries = {{"s.ini", "s", "Yes", "", dir.path() + "\\"}}};
  bAbort = true;  // before the walk: no file record collects anything
  EXPECT_TRUE(run(plugin));
  EXPECT_EQ(std::tuple(arrFiles, rec.stops, readIni(iniPath, "s", "k", "<none>"),
                       valueNames(key.subkey())),
            std::tuple(Texts{}, Texts{"Aborted by user", "Aborted by user"}, "<none>", Texts{}));

  // Inside the walk, some way into the files of data\a: each level ends.
  bAbort = false;
  rec.stops.clear();
  g_readings = 0;
  g_stopAt = 30;
  EventPump::setClock(&stoppingClock);
  run(plugin);
  EventPump::setClock(nullptr);
  EXPECT_TRUE(!arrFiles.empty() && arrFiles.size() < 40u) << arrFiles.size();
  // The level that saw the stop between entries, then the next record on entering.
  EXPECT_EQ(rec.stops, (Texts{"Aborted by User", "Aborted by user"}));
  EXPECT_TRUE(arrFolders.empty());  // a stopped walk takes no folder
}

}  // namespace
}  // namespace glenvask
