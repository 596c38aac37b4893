// The plug-in engine on real files in a scratch folder and a real scratch registry key.
#include "plugins/engine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>

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

using test::keyExists;
using test::makeKey;
using test::ScratchFolder;
using test::ScratchKey;
using test::setString;
using test::valueNames;
using Texts = std::vector<std::string>;

// What the main window would be told.
using Recorder = test::RecordingHost;

class PluginEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    PluginRoot.clear();
  }
  void TearDown() override {
    bAbort = false;
    BackupZipFile.clear();
    ResetScanLists();
    setAppPath("");
  }
};

PluginRegistryRecord reg(std::string deleteSubkey, std::string key, std::string value) {
  return {std::move(deleteSubkey), "No", std::move(key), std::move(value)};
}

// Writes the plug-in with the program's writer, after raw lines (records the writer cannot
// make), and applies it.
bool run(const ScratchFolder& dir, const PluginFile& plugin, const std::string& rawFirst = "") {
  return RunPlugin(dir.write("p.qvp", rawFirst + writePluginFile(plugin)));
}

// Paths below a folder, sorted (the platform decides a listing's order) or as collected.
Texts relative(const std::string& base, const Texts& list, bool sorted) {
  return test::relativeTo(base + "\\", list, sorted);
}

// The sections of an INI file, as the platform reads them.
Texts iniSections(const std::string& path) {
  wchar_t buf[4096] = {};
  DWORD n = GetPrivateProfileSectionNamesW(buf, 4096, wide(path).c_str());
  Texts out;
  for (const wchar_t* p = buf; p < buf + n && *p; p += wcslen(p) + 1) out.push_back(utf8(p));
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(PluginEngineTest, FileRecordsCollectWhatTheirSpecificationNamesAndNeverEnterALink) {
  ScratchFolder dir;
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
      // Every subfolder's files, each visited folder after its contents, never the record's
      // own, never what a link leads to.
      {"Yes", "Yes", "*.tmp", {"B.TMP", "a.tmp", "h.tmp", "sub\\d.tmp", "sub\\deep\\e.tmp"}, subs},
      {"Yes", "Yes", "*.none", {}, subs},
      // "*.*" is every file, dotted or not; without recursion no folder is taken.
      {"No", "Yes", "*.*",
       {"B.TMP", "a.tmp", "c.tmpx", "file#1.txt", "file11.txt", "h.tmp", "keep.txt"}, {}},
      {"Yes", "No", "keep.*", {"keep.txt", "sub\\keep.log"}, {}},
      // "#" a digit, bracket lists, "?", the plain name; a malformed pattern takes nothing.
      {"No", "No", "file#1.txt", {"file#1.txt", "file11.txt"}, {}},
      {"No", "No", "[ab].tmp", {"B.TMP", "a.tmp"}, {}}, {"No", "No", "[!ab].tmp", {"h.tmp"}, {}},
      {"No", "No", "?.tmp?", {"c.tmpx"}, {}}, {"No", "No", "a.tmp", {"a.tmp"}, {}},
      {"No", "No", "[a.tmp", {}, {}},
  };
  for (const auto& [recurse, subfolders, spec, files, folders] : cases) {
    SCOPED_TRACE(std::string(spec) + " recurse " + recurse);
    ResetScanLists();
    EXPECT_TRUE(run(dir, {.files = {{recurse, subfolders, data + "\\" + spec}}}));
    EXPECT_EQ(relative(data, arrFiles, true), files);
    EXPECT_EQ(relative(data, arrFolders, false), folders);
    EXPECT_EQ(PluginRoot, data);
  }
  EXPECT_TRUE(dir.exists("data\\sub\\deep\\e.tmp"));  // collecting deletes nothing

  // Records add to the lists; the engine never empties them.
  ResetScanLists();
  arrFiles = {"earlier"};
  run(dir, {.files = {{"No", "No", data + "\\a.tmp"}, {"No", "No", data + "\\keep.txt"}}});
  EXPECT_EQ(arrFiles, (Texts{"earlier", data + "\\a.tmp", data + "\\keep.txt"}));
}

TEST_F(PluginEngineTest, PathVariablesExpandInAnyCase) {
  const PluginPathFolders all{"P:\\Programs", "C:\\Win\\Sys", "C:\\Win"},
      noProgramFiles{"", "D:\\Win\\Sys", "D:\\Win"}, nothing{"", "", ""},
      oddSystem{"", "\\\\server\\sys", "C:\\Win"};
  std::tuple<const char*, PluginPathFolders, const char*> cases[] = {
      {"%progdir%\\a\\%ProgDir%", all, "P:\\Programs\\a\\P:\\Programs"},
      {"%SYSDIR%\\x", all, "C:\\Win\\Sys\\x"},
      {"%WinDir%\\Temp\\%windir%", all, "C:\\Win\\Temp\\C:\\Win"},
      {"%PROGDIR%\\%SYSDIR%\\%WINDIR%", all, "P:\\Programs\\C:\\Win\\Sys\\C:\\Win"},
      // The Program Files folder unknown: the system folder's drive stands in.
      {"%PROGDIR%\\App", noProgramFiles, "D:\\Program Files\\App"},
      {"%PROGDIR%\\App", oddSystem, ""}, {"%PROGDIR%\\App", nothing, ""},
      {"%SYSDIR%", nothing, ""}, {"%WINDIR%\\x", nothing, ""},
      // Unknown variables stay as they are.
      {"%TEMP%\\x", nothing, "%TEMP%\\x"}, {"C:\\x%WINDIR", all, "C:\\x%WINDIR"},
  };
  for (const auto& [folder, folders, expanded] : cases)
    EXPECT_EQ(ExpandPluginPath(folder, folders), expanded) << folder;
  EXPECT_EQ(ExpandPluginPath("%windir%\\%SysDir%"), GetWindowsDir() + "\\" + GetSystemDir());
  EXPECT_EQ(ExpandPluginPath("%PROGDIR%"), GetProgramFilesDir());

  // Single named files of the Windows and system folders are collected (never deleted here).
  run(ScratchFolder(), {.files = {{"No", "No", "%windir%\\win.ini"},
                                  {"No", "No", "%SYSDIR%\\KERNEL32.DLL"},
                                  {"No", "No", "%WINDIR%\\no-such-folder-here\\*.*"}}});
  Texts got;
  for (const auto& p : arrFiles) got.push_back(toLower(p));
  EXPECT_EQ(got, (Texts{toLower(GetWindowsDir() + "\\win.ini"),
                        toLower(GetSystemDir() + "\\kernel32.dll")}));
  EXPECT_TRUE(arrFolders.empty());
}

TEST_F(PluginEngineTest, FileRecordsThatReachTooFarCollectNothing) {
  ScratchFolder dir;
  dir.write("data\\a.tmp", "x");
  dir.write("data\\sub\\b.tmp", "x");
  const std::string data = dir.file("data"), windows = GetWindowsDir();
  const std::string programFiles = GetProgramFilesDir(), profile = test::env("USERPROFILE");
  ASSERT_FALSE(profile.empty());
  wchar_t buf[MAX_PATH] = {};
  GetShortPathNameW(wide(programFiles).c_str(), buf, MAX_PATH);

  std::pair<const char*, std::string> cases[] = {
      // Every file of a drive root, the Windows, system, Program Files or profile folder...
      {"Yes", "C:\\*.*"}, {"Yes", "C:\\\\*.*"}, {"No", "C:\\*.*"}, {"Yes", "%WINDIR%\\*.*"},
      {"No", "%windir%\\*.*"}, {"Yes", "%SYSDIR%\\*.*"}, {"Yes", "%PROGDIR%\\*.*"},
      {"Yes", "%PROGDIR%\\*"}, {"Yes", windows + "\\*.*"},
      {"Yes", toUpper(GetSystemDir()) + "\\\\*.*"},
      {"Yes", windows + ".\\*.*"},  // the platform drops the dot
      {"Yes", programFiles + "\\*.*"}, {"Yes", utf8(buf) + "\\*.*"}, {"Yes", profile + "\\*.*"},
      // ...or of a folder that holds one of them.
      {"Yes", profile.substr(0, profile.rfind('\\')) + "\\*.*"},
      // Relative folders, "." and ".." steps, raw device names, unknown variables.
      {"Yes", "data\\*.tmp"}, {"Yes", "C:data\\*.tmp"}, {"Yes", "\\glenvask-tests\\*.tmp"},
      {"No", data + "\\..\\data\\*.tmp"}, {"No", data + "\\.\\*.tmp"},
      {"No", data + "\\sub\\.. \\*.tmp"}, {"Yes", "\\\\?\\" + data + "\\*.tmp"},
      {"Yes", "\\\\?\\C:\\*.*"}, {"Yes", "C:/windows\\*.*"}, {"Yes", "\\\\server\\*.*"},
      {"Yes", "%NOSUCH%\\*.*"},
  };
  for (const auto& [recurse, location] : cases) {
    SCOPED_TRACE(location);
    ResetScanLists();
    run(dir, {.files = {{recurse, "Yes", location}}});
    EXPECT_TRUE(arrFiles.empty()) << arrFiles.size() << " files, first " << arrFiles[0];
    EXPECT_TRUE(arrFolders.empty());
  }

  // A refused record does not end the pass: the next one is applied.
  ResetScanLists();
  run(dir, {.files = {{"Yes", "Yes", "%WINDIR%\\*.*"}, {"No", "No", data + "\\*.tmp"}}});
  EXPECT_EQ(relative(data, arrFiles, true), Texts{"a.tmp"});
}

TEST_F(PluginEngineTest, WhatAFolderMayBeTakenFrom) {
  const std::string windows = GetWindowsDir();
  std::tuple<std::string, const char*, bool> cases[] = {  // folder, file pattern, allowed
      // Inside a protected folder, or not every file of it: allowed.
      {windows + "\\Temp", "*.*", true}, {windows, "*.tmp", true}, {GetSystemDir(), "*.log", true},
      {windows + "\\Temp", "*.tmp", true}, {"C:", "*.tmp", true},
      {"C:\\glenvask-tests\\x", "*.*", true}, {"\\\\server\\share\\folder", "*.*", true},
      // Every file of one of them, or of a folder that holds one.
      {windows, "*.*", false}, {windows, "**", false}, {"C:", "*.*", false},
      {"c:\\", "*.*", false}, {"C:\\users", "*.*", false}, {"\\\\server\\share", "*.*", false},
      // Relative or stepping aside, whatever the file pattern.
      {"", "a.txt", false}, {"temp", "a.txt", false}, {"C:temp", "a.txt", false},
      {"C:\\a\\..\\b", "a.txt", false}, {"C:\\a\\.", "a.txt", false},
      {"C:\\a\\...", "a.txt", false}, {"\\\\?\\C:\\a", "a.txt", false},
      {"\\\\.\\C:", "a.txt", false}, {"\\\\server", "a.txt", false},
  };
  for (const auto& [folder, spec, safe] : cases)
    EXPECT_EQ(isSafePluginFolder(folder, spec), safe) << folder << " " << spec;
}

TEST_F(PluginEngineTest, IniRecordsRemoveKeysAndSections) {
  ScratchFolder dir;
  const char* text =
      "[keep]\r\na=1\r\nb=2\r\n[drop]\r\nx=1\r\ny=2\r\n[partial]\r\nk1=1\r\nk2=2\r\n";
  std::string path = dir.write("app\\app.ini", text), other = dir.write("app\\other.ini", text);
  std::string folder = dir.file("app") + "\\";
  auto value = [](const std::string& file, const char* section, const char* key) {
    return readIni(file, section, key, "<none>");
  };
  EXPECT_TRUE(run(dir, {.iniEntries = {
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
  EXPECT_EQ(iniSections(path), (Texts{"keep", "partial"}));
  EXPECT_EQ(value(path, "keep", "a") + value(path, "keep", "b"), "12");
  EXPECT_EQ(value(path, "partial", "k1") + value(path, "partial", "k2"), "<none>2");
  EXPECT_FALSE(dir.exists("app\\missing.ini"));
  EXPECT_EQ(iniSections(other), (Texts{"drop", "keep", "partial"}));
  EXPECT_EQ(value(other, "drop", "x") + value(other, "drop", "y"), "<none>2");
  EXPECT_EQ(value(other, "keep", "a"), "1");
}

TEST_F(PluginEngineTest, RegistryRecordsRemoveValuesAndSubkeys) {
  ScratchKey key;
  const std::string base = key.subkey(), hkcu = "HKEY_CURRENT_USER\\";
  for (const char* v : {"v1", "v2", ""}) setString(base + "\\vals", v, "1");
  setString(base + "\\tree", "t", "kept");
  setString(base + "\\tree\\s1\\s1a", "deep", "x");
  makeKey(base + "\\tree\\s2");
  setString(base + "\\case", "v", "1");
  makeKey(base + "\\case\\sub");

  EXPECT_TRUE(run(ScratchFolder(), {.registry = {
      reg("No", hkcu + base + "\\vals", "v1"),
      reg("No", hkcu + base + "\\vals", ""),  // the default value
      reg("Yes", hkcu + base + "\\tree", "ignored"),  // every subkey; the key and values stay
      // Roots are compared exactly: a lower-case root names nothing.
      reg("No", "hkey_current_user\\" + base + "\\case", "v"),
      reg("Yes", "HKEY_Current_User\\" + base + "\\case", ""),
      reg("No", "HKCU\\" + base + "\\case", "v"),
      // Missing keys and values change nothing.
      reg("No", hkcu + base + "\\nosuch", "v"), reg("Yes", hkcu + base + "\\nosuch", ""),
  }}));
  EXPECT_EQ(valueNames(base + "\\vals"), Texts{"v2"});
  EXPECT_EQ(valueNames(base + "\\tree"), Texts{"t"});
  EXPECT_FALSE(keyExists(base + "\\tree\\s1") || keyExists(base + "\\tree\\s2"));
  EXPECT_EQ(valueNames(base + "\\case"), Texts{"v"});
  EXPECT_TRUE(keyExists(base + "\\case\\sub"));
  EXPECT_FALSE(keyExists(base + "\\nosuch"));
}

TEST_F(PluginEngineTest, RegistryRecordsWithoutARealSubkeyDoNothing) {
  ScratchKey key;
  const std::string base = key.subkey(), hkcu = "HKEY_CURRENT_USER\\";
  setString(base, "v", "1");
  makeKey(base + "\\child");
  setString(base + "\\later", "gone", "1");
  // Each would reach the root itself (or, on some platforms, the scratch key by a path the
  // record does not spell); a refused record does not end the pass.
  run(ScratchFolder(), {.registry = {
      reg("Yes", hkcu, ""), reg("No", hkcu, "v"), reg("Yes", hkcu + " ", ""),
      reg("Yes", hkcu + "\\", ""), reg("Yes", hkcu + "\\" + base, ""),
      reg("No", hkcu + "\\" + base, "v"), reg("No", hkcu + base + "\\later", "gone"),
  }});
  EXPECT_EQ(valueNames(base), Texts{"v"});
  EXPECT_TRUE(keyExists(base + "\\child") && keyExists("Software"));
  EXPECT_TRUE(valueNames(base + "\\later").empty());

  // Under Wine the names above open nothing anyway, so the rule itself is checked here.
  std::pair<const char*, bool> subkeys[] = {
      {"Software\\App", true}, {"Software\\App\\", true}, {"x", true}, {" Software", true},
      {"", false}, {" ", false}, {"\t \\ ", false}, {"\\", false}, {"\\\\", false},
      {"\\Software\\App", false}, {"\\ Software", false},
  };
  for (const auto& [subkey, safe] : subkeys)
    EXPECT_EQ(isSafeRegistrySubkey(subkey), safe) << subkey;
}

TEST_F(PluginEngineTest, AnErrorEndsOnlyItsOwnPass) {
  ScratchFolder dir;
  ScratchKey key;
  dir.write("data\\a.tmp", "x");
  dir.write("data\\b.log", "x");
  // Lines with the error, before the writer's records; whether the INI, files and registry
  // passes are applied.
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
    EXPECT_TRUE(run(dir,
                    {.files = {{"No", "No", dir.file("data") + "\\*.tmp"}},
                     .registry = {reg("No", "HKEY_CURRENT_USER\\" + key.subkey(), "v")},
                     .iniEntries = {{"s.ini", "s", "No", "k1", dir.path() + "\\"}}},
                    rawFirst));
    EXPECT_EQ(readIni(iniPath, "s", "k1", "<none>") == "<none>", iniApplied);
    EXPECT_EQ(readIni(iniPath, "s", "k2", "<none>"), "2");
    EXPECT_EQ(relative(dir.path(), arrFiles, true),
              filesApplied ? Texts{"data\\a.tmp"} : Texts{});
    EXPECT_EQ(valueNames(key.subkey()).empty(), registryApplied);
  }

  // A missing file, none, or a folder is no plug-in; an empty one applies nothing.
  ResetScanLists();
  EXPECT_FALSE(RunPlugin(dir.file("none.qvp")) || RunPlugin("") || RunPlugin(dir.path()));
  EXPECT_TRUE(RunPlugin(dir.write("empty.qvp", "")));
  EXPECT_TRUE(run(dir, {}));
  EXPECT_TRUE(arrFiles.empty() && arrFolders.empty());
}

TEST_F(PluginEngineTest, AStopBeforeTheWalkEndsEveryFileRecordButNotTheOtherPasses) {
  ScratchFolder dir;
  ScratchKey key;
  dir.write("data\\a.tmp", "x");
  std::string iniPath = dir.write("s.ini", "[s]\r\nk=1\r\n");
  setString(key.subkey(), "v", "1");
  Recorder rec;
  bAbort = true;
  EXPECT_TRUE(run(dir, {.files = {{"Yes", "Yes", dir.file("data") + "\\*.*"},
                                  {"No", "No", dir.file("data") + "\\a.tmp"}},
                        .registry = {reg("No", "HKEY_CURRENT_USER\\" + key.subkey(), "v")},
                        .iniEntries = {{"s.ini", "s", "Yes", "", dir.path() + "\\"}}}));
  EXPECT_TRUE(arrFiles.empty());
  EXPECT_EQ(rec.stops, (Texts{"Aborted by user", "Aborted by user"}));
  EXPECT_EQ(iniSections(iniPath), Texts{});
  EXPECT_TRUE(valueNames(key.subkey()).empty());
}

// A clock for the event pump that presses Stop at its n-th reading.
int g_readings = 0;
int g_stopAt = 0;
std::uint64_t stoppingClock() {
  if (++g_readings == g_stopAt) bAbort = true;
  return static_cast<std::uint64_t>(g_readings) * 1000;
}

TEST_F(PluginEngineTest, AStopInsideAWalkEndsItAtEveryLevel) {
  ScratchFolder dir;
  const int kFiles = 40;
  for (int i = 0; i < kFiles; ++i) dir.write("data\\a\\f" + std::to_string(i) + ".tmp", "x");
  Recorder rec;
  g_readings = 0;
  g_stopAt = 30;  // some way into the files of data\a
  EventPump::setClock(&stoppingClock);
  run(dir, {.files = {{"Yes", "Yes", dir.file("data") + "\\*.tmp"},
                      {"No", "No", dir.file("data\\a") + "\\f1.tmp"}}});
  EventPump::setClock(nullptr);
  EXPECT_GT(arrFiles.size(), 0u);
  EXPECT_LT(arrFiles.size(), static_cast<size_t>(kFiles));
  // The level that saw the stop between entries, then the next record on entering.
  EXPECT_EQ(rec.stops, (Texts{"Aborted by User", "Aborted by user"}));
  EXPECT_TRUE(arrFolders.empty());  // a stopped walk takes no folder
}

// The plug-in list beside a scratch copy of the program.
TEST_F(PluginEngineTest, RunsTheCheckedPluginsOfTheListInOrder) {
  ScratchFolder dir;
  ScratchKey key;
  const std::string base = key.subkey();
  setAppPath(dir.path());
  EXPECT_EQ(pluginFolderPath(), dir.path() + "\\Plugins\\");
  // A missing or empty list runs nothing.
  std::vector<Texts> collected;
  auto collect = [&] { collected.push_back(relative(dir.path(), arrFiles, true)); };
  EXPECT_TRUE(RunCheckedPlugins(collect));
  dir.write("plg.txt", "");
  EXPECT_TRUE(RunCheckedPlugins(collect));
  EXPECT_TRUE(collected.empty());

  dir.write("t1\\x.tmp", "x");
  dir.write("t3\\y.tmp", "x");
  for (const char* v : {"byTwo", "byThree", "byOutside", "byUnlisted"}) setString(base, v, "1");
  auto removes = [&](const char* value, const std::string& folder) {
    PluginFile p{value, {}, {reg("No", "HKEY_CURRENT_USER\\" + base, value)}, {}};
    if (!folder.empty()) p.files = {{"No", "No", dir.file(folder) + "\\*.tmp"}};
    return writePluginFile(p);
  };
  dir.write("Plugins\\one.qvp", removes("none", "t1"));
  dir.write("Plugins\\two.qvp", removes("byTwo", ""));
  dir.write("Plugins\\three.qvp", removes("byThree", "t3"));
  dir.write("Plugins\\unlisted.qvp", removes("byUnlisted", ""));
  dir.write("outside.qvp", removes("byOutside", ""));
  std::string text = writePluginList({{true, "one.qvp", "first"},
                                      {false, "two.qvp", "unchecked"},
                                      {true, "missing.qvp", "no such file"},
                                      {true, "three.qvp", ""}});
  // Names that are not bare file names reach outside the Plugins folder: never run.
  text += "1\x01..\\outside.qvp\x01up\r\n1\x01" + dir.file("outside.qvp") + "\x01" "full\r\n";
  text += "1\x01../outside.qvp\r\nx\x01unlisted.qvp\r\n";  // "x" is no number: unchecked
  dir.write("plg.txt", text);

  Recorder rec;
  EXPECT_TRUE(RunCheckedPlugins(collect));
  // The lists are emptied before each plug-in.
  EXPECT_EQ(collected, (std::vector<Texts>{{"t1\\x.tmp"}, {"t3\\y.tmp"}}));
  EXPECT_EQ(valueNames(base), (Texts{"byOutside", "byTwo", "byUnlisted"}));
  EXPECT_TRUE(rec.stops.empty());

  // A stop before a line ends the run there.
  setString(base, "byThree", "1");
  bAbort = true;
  collected.clear();
  EXPECT_FALSE(RunCheckedPlugins(collect));
  EXPECT_TRUE(collected.empty());
  EXPECT_EQ(rec.stops, Texts{"Aborted by user"});
  EXPECT_EQ(valueNames(base), (Texts{"byOutside", "byThree", "byTwo", "byUnlisted"}));
}

}  // namespace
}  // namespace glenvask
