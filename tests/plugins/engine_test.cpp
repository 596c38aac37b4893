// The plug-in engine on real files in a scratch folder and a real scratch registry key:
// what each kind of record removes or collects, what it leaves, the records it refuses, the
// passes going on past one another's errors, and a stop in the middle of a walk.
#include "plugins/engine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/plugin_format.h"
#include "base/text.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/scanner.h"
#include "services/settings.h"
#include "services/system.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::ScratchFolder;
using test::ScratchKey;
using Texts = std::vector<std::string>;

// What the main window would be told.
struct Recorder : PluginReporter {
  Recorder() { old = setPluginReporter(this); }
  ~Recorder() override { setPluginReporter(old); }
  void stopOperation(const std::string& text) override { stops.push_back(text); }
  PluginReporter* old = nullptr;
  Texts stops;
};

class PluginEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScanLists();
    bAbort = false;
    PluginRoot.clear();
    BackupZipFile.clear();
  }
  void TearDown() override {
    bAbort = false;
    BackupZipFile.clear();
    ResetScanLists();
    setAppPath("");
  }
};

PluginFilesRecord files(std::string recurse, std::string subfolders, std::string location) {
  return {std::move(recurse), std::move(subfolders), std::move(location)};
}
PluginRegistryRecord registry(std::string deleteSubkey, std::string key, std::string value) {
  return {std::move(deleteSubkey), "No", std::move(key), std::move(value)};
}
PluginIniRecord ini(std::string file, std::string section, std::string deleteSection,
                    std::string value, std::string path) {
  return {std::move(file), std::move(section), std::move(deleteSection), std::move(value),
          std::move(path)};
}

// Writes the plug-in with the program's writer; extra lines (records the writer cannot make,
// such as one with too few fields) go before its text.
std::string writePlugin(const ScratchFolder& dir, const std::string& name,
                        const PluginFile& plugin, const std::string& rawLinesFirst = "") {
  return dir.write(name, rawLinesFirst + writePluginFile(plugin));
}

// arrFiles and arrFolders below the scratch folder, files sorted (the platform decides the
// order of a listing), folders as collected.
Texts relative(const ScratchFolder& dir, const std::vector<std::string>& list, bool sorted) {
  Texts out;
  for (const auto& p : list) {
    std::string prefix = dir.path() + "\\";
    out.push_back(p.rfind(prefix, 0) == 0 ? p.substr(prefix.size()) : "OUTSIDE:" + p);
  }
  if (sorted) std::sort(out.begin(), out.end());
  return out;
}

// Registry preparation and checks below HKEY_CURRENT_USER.
void makeKey(const std::string& subkey) {
  KeyHandle k;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
            ERROR_SUCCESS);
}
void setValue(const std::string& subkey, const std::string& name, const std::string& data) {
  makeKey(subkey);
  SetRegString(kHkeyCurrentUser, subkey, name, data);
}
bool keyExists(const std::string& subkey) {
  KeyHandle k;
  return RegOpenKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, KEY_READ, k.put()) ==
         ERROR_SUCCESS;
}
Texts valueNames(const std::string& subkey) {
  std::string list = GetRegValueNames(kHkeyCurrentUser, subkey);
  Texts v;
  size_t start = 0;
  while (!list.empty() && start <= list.size()) {
    size_t end = std::min(list.find('\0', start), list.size());
    v.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  std::sort(v.begin(), v.end());
  return v;
}

// The sections and keys of an INI file, as the platform reads them.
Texts iniSections(const std::string& path) {
  wchar_t buf[4096] = {};
  DWORD n = GetPrivateProfileSectionNamesW(buf, 4096, wide(path).c_str());
  Texts out;
  for (const wchar_t* p = buf; p < buf + n && *p; p += wcslen(p) + 1) out.push_back(utf8(p));
  std::sort(out.begin(), out.end());
  return out;
}
std::string iniValue(const std::string& path, const std::string& section, const std::string& key) {
  return readIni(path, section, key, "<none>");
}

TEST_F(PluginEngineTest, FileRecordsCollectWhatTheirSpecificationNames) {
  ScratchFolder dir;
  for (const char* f : {"data\\a.tmp", "data\\B.TMP", "data\\c.tmpx", "data\\keep.txt",
                        "data\\file#1.txt", "data\\file11.txt", "data\\sub\\d.tmp",
                        "data\\sub\\deep\\e.tmp", "data\\sub\\keep.log"})
    dir.write(f, "x");
  std::string hidden = dir.write("data\\h.tmp", "x");
  SetFileAttributesW(wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                               FILE_ATTRIBUTE_READONLY);
  std::string data = dir.file("data");

  struct Case {
    const char* recurse;
    const char* subfolders;
    std::string spec;
    Texts files, folders;
  } cases[] = {
      // Lower-cased names against the lower-cased specification; ".tmpx" is not ".tmp".
      {"No", "No", "*.tmp", {"data\\B.TMP", "data\\a.tmp", "data\\h.tmp"}, {}},
      {"No", "No", "*.TMP", {"data\\B.TMP", "data\\a.tmp", "data\\h.tmp"}, {}},
      // Recursing: every subfolder's files, each visited folder after its contents, the
      // record's own folder never.
      {"Yes",
       "Yes",
       "*.tmp",
       {"data\\B.TMP", "data\\a.tmp", "data\\h.tmp", "data\\sub\\d.tmp",
        "data\\sub\\deep\\e.tmp"},
       {"data\\sub\\deep", "data\\sub"}},
      // "*.*" is every file, dotted or not; without recursion no folder is taken.
      {"No",
       "Yes",
       "*.*",
       {"data\\B.TMP", "data\\a.tmp", "data\\c.tmpx", "data\\file#1.txt", "data\\file11.txt",
        "data\\h.tmp", "data\\keep.txt"},
       {}},
      {"Yes", "No", "keep.*", {"data\\keep.txt", "data\\sub\\keep.log"}, {}},
      // Patterns: "#" a digit, a bracket list; and the name itself, whatever it holds.
      {"No", "No", "file#1.txt", {"data\\file#1.txt", "data\\file11.txt"}, {}},
      {"No", "No", "[ab].tmp", {"data\\B.TMP", "data\\a.tmp"}, {}},
      {"No", "No", "[!ab].tmp", {"data\\h.tmp"}, {}},
      {"No", "No", "?.tmp?", {"data\\c.tmpx"}, {}},
      {"No", "No", "a.tmp", {"data\\a.tmp"}, {}},
      {"No", "No", "[a.tmp", {}, {}},  // malformed: nothing
      {"Yes", "Yes", "*.none", {}, {"data\\sub\\deep", "data\\sub"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec + " recurse " + c.recurse);
    ResetScanLists();
    PluginFile plugin;
    plugin.files = {files(c.recurse, c.subfolders, data + "\\" + c.spec)};
    EXPECT_TRUE(RunPlugin(writePlugin(dir, "p.qvp", plugin)));
    EXPECT_EQ(relative(dir, arrFiles, true), c.files);
    EXPECT_EQ(relative(dir, arrFolders, false), c.folders);
    EXPECT_EQ(PluginRoot, data);
  }
  // Collecting deletes nothing.
  EXPECT_TRUE(dir.exists("data\\sub\\deep\\e.tmp"));

  // Records add to the lists; the engine never empties them.
  ResetScanLists();
  arrFiles = {"earlier"};
  PluginFile two;
  two.files = {files("No", "No", data + "\\a.tmp"), files("No", "No", data + "\\keep.txt")};
  RunPlugin(writePlugin(dir, "p.qvp", two));
  EXPECT_EQ(arrFiles, (Texts{"earlier", data + "\\a.tmp", data + "\\keep.txt"}));
}

TEST_F(PluginEngineTest, PathVariablesExpandInAnyCase) {
  PluginPathFolders all{"P:\\Programs", "C:\\Win\\Sys", "C:\\Win"};
  PluginPathFolders noProgramFiles{"", "D:\\Win\\Sys", "D:\\Win"};
  PluginPathFolders nothing{"", "", ""};
  PluginPathFolders oddSystem{"", "\\\\server\\sys", "C:\\Win"};
  struct Case {
    std::string folder;
    const PluginPathFolders* folders;
    std::string expanded;
  } cases[] = {
      {"%PROGDIR%\\App", &all, "P:\\Programs\\App"},
      {"%progdir%\\a\\%ProgDir%", &all, "P:\\Programs\\a\\P:\\Programs"},
      {"%SYSDIR%\\x", &all, "C:\\Win\\Sys\\x"},
      {"%WinDir%\\Temp\\%windir%", &all, "C:\\Win\\Temp\\C:\\Win"},
      {"%PROGDIR%\\%SYSDIR%\\%WINDIR%", &all, "P:\\Programs\\C:\\Win\\Sys\\C:\\Win"},
      // The Program Files folder unknown: the system folder's drive stands in.
      {"%PROGDIR%\\App", &noProgramFiles, "D:\\Program Files\\App"},
      {"%PROGDIR%\\App", &oddSystem, ""},
      {"%PROGDIR%\\App", &nothing, ""},
      {"%SYSDIR%", &nothing, ""},
      {"%WINDIR%\\x", &nothing, ""},
      // Unknown variables stay as they are; so does a text without any.
      {"%TEMP%\\x", &nothing, "%TEMP%\\x"},
      {"C:\\x%WINDIR", &all, "C:\\x%WINDIR"},
      {"C:\\plain", &nothing, "C:\\plain"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandPluginPath(c.folder, *c.folders), c.expanded) << c.folder;

  // The system's own folders.
  EXPECT_EQ(ExpandPluginPath("%windir%\\%SysDir%"), GetWindowsDir() + "\\" + GetSystemDir());
  EXPECT_EQ(ExpandPluginPath("%PROGDIR%"), GetProgramFilesDir());
}

TEST_F(PluginEngineTest, FileRecordsReachTheSystemFoldersThroughTheirVariables) {
  // Single named files of the Windows and system folders are collected (never deleted here).
  ScratchFolder dir;
  PluginFile plugin;
  plugin.files = {files("No", "No", "%windir%\\win.ini"),
                  files("No", "No", "%SYSDIR%\\KERNEL32.DLL"),
                  files("No", "No", "%WINDIR%\\no-such-folder-here\\*.*")};
  RunPlugin(writePlugin(dir, "p.qvp", plugin));
  Texts expected = {GetWindowsDir() + "\\win.ini", GetSystemDir() + "\\kernel32.dll"};
  Texts got = arrFiles;
  for (auto& p : got) p = toLower(p);
  for (auto& p : expected) p = toLower(p);
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(arrFolders.empty());
}

TEST_F(PluginEngineTest, FileRecordsThatReachTooFarCollectNothing) {
  ScratchFolder dir;
  dir.write("data\\a.tmp", "x");
  dir.write("data\\sub\\b.tmp", "x");
  std::string data = dir.file("data");
  std::string windows = GetWindowsDir(), system = GetSystemDir();
  std::string programFiles = GetProgramFilesDir();
  wchar_t profileBuf[MAX_PATH] = {};
  GetEnvironmentVariableW(L"USERPROFILE", profileBuf, MAX_PATH);
  std::string profile = utf8(profileBuf);
  ASSERT_FALSE(profile.empty());
  std::string profilesParent = profile.substr(0, profile.rfind('\\'));
  wchar_t shortBuf[MAX_PATH] = {};
  GetShortPathNameW(wide(programFiles).c_str(), shortBuf, MAX_PATH);
  std::string programFilesShort = utf8(shortBuf);

  struct Case {
    const char* recurse;
    std::string location;
  } cases[] = {
      // Every file of a drive root, the Windows, system, Program Files or profile folder.
      {"Yes", "C:\\*.*"},
      {"Yes", "C:\\\\*.*"},
      {"No", "C:\\*.*"},
      {"Yes", "%WINDIR%\\*.*"},
      {"No", "%windir%\\*.*"},
      {"Yes", "%SYSDIR%\\*.*"},
      {"Yes", "%PROGDIR%\\*.*"},
      {"Yes", "%PROGDIR%\\*"},
      {"Yes", windows + "\\*.*"},
      {"Yes", toUpper(system) + "\\\\*.*"},
      {"Yes", windows + ".\\*.*"},  // the platform drops the dot
      {"Yes", programFiles + "\\*.*"},
      {"Yes", programFilesShort + "\\*.*"},
      {"Yes", profile + "\\*.*"},
      // ...or of a folder that holds one of them.
      {"Yes", profilesParent + "\\*.*"},
      // Relative folders, "." and ".." steps, raw device names.
      {"Yes", "data\\*.tmp"},
      {"Yes", "C:data\\*.tmp"},
      {"Yes", "\\glenvask-tests\\*.tmp"},
      {"No", data + "\\..\\data\\*.tmp"},
      {"No", data + "\\.\\*.tmp"},
      {"No", data + "\\sub\\.. \\*.tmp"},
      {"Yes", "\\\\?\\" + data + "\\*.tmp"},
      {"Yes", "\\\\?\\C:\\*.*"},
      {"Yes", "C:/windows\\*.*"},
      {"Yes", "\\\\server\\*.*"},
      // Unknown variables leave a folder that does not exist.
      {"Yes", "%NOSUCH%\\*.*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.location);
    ResetScanLists();
    PluginFile plugin;
    plugin.files = {files(c.recurse, "Yes", c.location)};
    RunPlugin(writePlugin(dir, "p.qvp", plugin));
    EXPECT_TRUE(arrFiles.empty()) << arrFiles.size() << " files, first " << arrFiles[0];
    EXPECT_TRUE(arrFolders.empty());
  }

  // A refused record does not end the pass: the next one is applied.
  ResetScanLists();
  PluginFile plugin;
  plugin.files = {files("Yes", "Yes", "%WINDIR%\\*.*"), files("No", "No", data + "\\*.tmp")};
  RunPlugin(writePlugin(dir, "p.qvp", plugin));
  EXPECT_EQ(relative(dir, arrFiles, true), Texts{"data\\a.tmp"});
}

TEST_F(PluginEngineTest, WhatAFolderMayBeTakenFrom) {
  std::string windows = GetWindowsDir(), system = GetSystemDir();
  struct Case {
    std::string folder, spec;
    bool safe;
  } cases[] = {
      // Inside a protected folder, or not every file of it: allowed.
      {windows + "\\Temp", "*.*", true},
      {windows, "*.tmp", true},
      {system, "*.log", true},
      {windows + "\\Temp", "*.tmp", true},
      {"C:", "*.tmp", true},
      {"C:\\glenvask-tests\\x", "*.*", true},
      {"\\\\server\\share\\folder", "*.*", true},
      // Every file of one of them, or of a folder that holds one.
      {windows, "*.*", false},
      {windows, "**", false},
      {"C:", "*.*", false},
      {"c:\\", "*.*", false},
      {"C:\\users", "*.*", false},
      {"\\\\server\\share", "*.*", false},
      // Relative or stepping aside, whatever the file pattern.
      {"", "a.txt", false},
      {"temp", "a.txt", false},
      {"C:temp", "a.txt", false},
      {"C:\\a\\..\\b", "a.txt", false},
      {"C:\\a\\.", "a.txt", false},
      {"C:\\a\\...", "a.txt", false},
      {"\\\\?\\C:\\a", "a.txt", false},
      {"\\\\.\\C:", "a.txt", false},
      {"\\\\server", "a.txt", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isSafePluginFolder(c.folder, c.spec), c.safe) << c.folder << " " << c.spec;
}

TEST_F(PluginEngineTest, TheCollectorNeverEntersALink) {
  ScratchFolder dir;
  dir.write("data\\real\\x.tmp", "x");
  dir.write("outside\\y.tmp", "x");
  dir.write("outside\\deeper\\z.tmp", "x");
  test::makeFolderLink(dir.file("data\\link"), dir.file("outside"));
  test::makeFolderLink(dir.file("data\\real\\loop"), dir.file("data"));

  PluginFile plugin;
  plugin.files = {files("Yes", "Yes", dir.file("data") + "\\*.*")};
  RunPlugin(writePlugin(dir, "p.qvp", plugin));
  EXPECT_EQ(relative(dir, arrFiles, true), Texts{"data\\real\\x.tmp"});
  EXPECT_EQ(relative(dir, arrFolders, false), Texts{"data\\real"});
}

TEST_F(PluginEngineTest, IniRecordsRemoveKeysAndSections) {
  ScratchFolder dir;
  const char* text =
      "[keep]\r\na=1\r\nb=2\r\n"
      "[drop]\r\nx=1\r\ny=2\r\n"
      "[partial]\r\nk1=1\r\nk2=2\r\n";
  std::string path = dir.write("app\\app.ini", text);
  std::string other = dir.write("app\\other.ini", text);
  std::string folder = dir.file("app") + "\\";

  PluginFile plugin;
  plugin.iniEntries = {
      // The whole section, whatever the Value field holds.
      ini("app.ini", "drop", "Yes", "x", folder),
      ini("app.ini", "partial", "No", "k1", folder),
      // Missing sections, keys and files change nothing; no file is made.
      ini("app.ini", "nosuch", "Yes", "", folder),
      ini("app.ini", "keep", "No", "nosuch", folder),
      ini("missing.ini", "keep", "Yes", "", folder),
      // An empty key name is no key: the section stays.
      ini("app.ini", "keep", "No", "", folder),
      // "yes" is not "Yes": only the key goes.
      ini("other.ini", "drop", "yes", "x", folder),
      // A folder that is not a full path ending in a backslash is refused.
      ini("other.ini", "keep", "Yes", "", dir.file("app")),
      ini("other.ini", "keep", "Yes", "", ""),
      ini("other.ini", "keep", "Yes", "", "app\\"),
  };
  EXPECT_TRUE(RunPlugin(writePlugin(dir, "p.qvp", plugin)));

  EXPECT_EQ(iniSections(path), (Texts{"keep", "partial"}));
  EXPECT_EQ(iniValue(path, "keep", "a"), "1");
  EXPECT_EQ(iniValue(path, "keep", "b"), "2");
  EXPECT_EQ(iniValue(path, "partial", "k1"), "<none>");
  EXPECT_EQ(iniValue(path, "partial", "k2"), "2");
  EXPECT_FALSE(dir.exists("app\\missing.ini"));

  EXPECT_EQ(iniSections(other), (Texts{"drop", "keep", "partial"}));
  EXPECT_EQ(iniValue(other, "drop", "x"), "<none>");
  EXPECT_EQ(iniValue(other, "drop", "y"), "2");
  EXPECT_EQ(iniValue(other, "keep", "a"), "1");
}

TEST_F(PluginEngineTest, RegistryRecordsRemoveValuesAndSubkeys) {
  ScratchKey key;
  const std::string base = key.subkey();
  const std::string hkcu = "HKEY_CURRENT_USER\\";
  setValue(base + "\\vals", "v1", "1");
  setValue(base + "\\vals", "v2", "2");
  setValue(base + "\\vals", "", "default");
  setValue(base + "\\tree", "t", "kept");
  setValue(base + "\\tree\\s1\\s1a", "deep", "x");
  makeKey(base + "\\tree\\s2");
  setValue(base + "\\case", "v", "1");
  makeKey(base + "\\case\\sub");

  PluginFile plugin;
  plugin.registry = {
      registry("No", hkcu + base + "\\vals", "v1"),
      registry("No", hkcu + base + "\\vals", ""),  // the default value
      // Every subkey below the key; the key and its values stay.
      registry("Yes", hkcu + base + "\\tree", "ignored"),
      // Roots are compared exactly: a lower-case root names nothing.
      registry("No", "hkey_current_user\\" + base + "\\case", "v"),
      registry("Yes", "HKEY_Current_User\\" + base + "\\case", ""),
      registry("No", "HKCU\\" + base + "\\case", "v"),
      // Missing keys and values change nothing.
      registry("No", hkcu + base + "\\nosuch", "v"),
      registry("Yes", hkcu + base + "\\nosuch", ""),
  };
  EXPECT_TRUE(RunPlugin(writePlugin(ScratchFolder(), "p.qvp", plugin)));

  EXPECT_EQ(valueNames(base + "\\vals"), Texts{"v2"});
  EXPECT_TRUE(keyExists(base + "\\tree"));
  EXPECT_EQ(valueNames(base + "\\tree"), Texts{"t"});
  EXPECT_FALSE(keyExists(base + "\\tree\\s1"));
  EXPECT_FALSE(keyExists(base + "\\tree\\s2"));
  EXPECT_EQ(valueNames(base + "\\case"), Texts{"v"});
  EXPECT_TRUE(keyExists(base + "\\case\\sub"));
  EXPECT_FALSE(keyExists(base + "\\nosuch"));
}

TEST_F(PluginEngineTest, RegistryRecordsWithoutARealSubkeyDoNothing) {
  ScratchKey key;
  const std::string base = key.subkey();
  setValue(base, "v", "1");
  makeKey(base + "\\child");
  setValue(base + "\\later", "gone", "1");

  PluginFile plugin;
  plugin.registry = {
      // Each of these would reach the root itself (or, on some platforms, the scratch key
      // by a path the record does not spell).
      registry("Yes", "HKEY_CURRENT_USER\\", ""),
      registry("No", "HKEY_CURRENT_USER\\", "v"),
      registry("Yes", "HKEY_CURRENT_USER\\ ", ""),
      registry("Yes", "HKEY_CURRENT_USER\\\\", ""),
      registry("Yes", "HKEY_CURRENT_USER\\\\" + base, ""),
      registry("No", "HKEY_CURRENT_USER\\\\" + base, "v"),
      // A refused record does not end the pass.
      registry("No", "HKEY_CURRENT_USER\\" + base + "\\later", "gone"),
  };
  RunPlugin(writePlugin(ScratchFolder(), "p.qvp", plugin));
  EXPECT_EQ(valueNames(base), Texts{"v"});
  EXPECT_TRUE(keyExists(base + "\\child"));
  EXPECT_TRUE(keyExists("Software"));
  EXPECT_TRUE(valueNames(base + "\\later").empty());
}

TEST_F(PluginEngineTest, WhatSubkeyARegistryRecordMayActOn) {
  // Under Wine the refused names above open nothing anyway, so that test cannot tell a
  // refusal from a failed call; the rule itself is checked here.
  struct Case {
    std::string subkey;
    bool safe;
  } cases[] = {
      {"Software\\App", true}, {"Software\\App\\", true}, {"x", true}, {" Software", true},
      {"", false}, {" ", false}, {"\t \\ ", false}, {"\\", false}, {"\\\\", false},
      {"\\Software\\App", false}, {"\\ Software", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isSafeRegistrySubkey(c.subkey), c.safe) << c.subkey;
}

TEST_F(PluginEngineTest, AnErrorEndsOnlyItsOwnPass) {
  ScratchFolder dir;
  ScratchKey key;
  const std::string base = key.subkey();
  dir.write("data\\a.tmp", "x");
  dir.write("data\\b.log", "x");
  std::string data = dir.file("data");
  std::string iniFolder = dir.path() + "\\";
  std::string iniPath = dir.write("s.ini", "[s]\r\nk1=1\r\nk2=2\r\n");

  struct Case {
    std::string name;
    std::string rawFirst;    // lines with the error, before the writer's records
    bool iniApplied, filesApplied, registryApplied;
  } cases[] = {
      {"I record with too few fields", "I\x01s.ini\x01s\r\n", false, true, true},
      {"F record with too few fields", "F\x01No\r\n", true, false, true},
      {"F location without a backslash", "F\x01No\x01No\x01*.tmp\r\n", true, false, true},
      {"R record with too few fields", "R\x01No\x01No\x01HKEY_CURRENT_USER\\x\r\n", true, true,
       false},
      {"R key without a backslash", "R\x01No\x01No\x01HKEY_CURRENT_USER\x01v\r\n", true, true,
       false},
      {"lines that are no records", "X\x01y\r\nF\r\n\r\nR no separator\r\n", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.write("s.ini", "[s]\r\nk1=1\r\nk2=2\r\n");
    setValue(base, "v", "1");
    ResetScanLists();

    PluginFile plugin;
    plugin.iniEntries = {ini("s.ini", "s", "No", "k1", iniFolder)};
    plugin.files = {files("No", "No", data + "\\*.tmp")};
    plugin.registry = {registry("No", "HKEY_CURRENT_USER\\" + base, "v")};
    EXPECT_TRUE(RunPlugin(writePlugin(dir, "p.qvp", plugin, c.rawFirst)));

    EXPECT_EQ(iniValue(iniPath, "s", "k1") == "<none>", c.iniApplied);
    EXPECT_EQ(iniValue(iniPath, "s", "k2"), "2");
    EXPECT_EQ(relative(dir, arrFiles, true),
              c.filesApplied ? Texts{"data\\a.tmp"} : Texts{});
    EXPECT_EQ(valueNames(base).empty(), c.registryApplied);
  }
}

TEST_F(PluginEngineTest, MissingAndEmptyPluginFiles) {
  ScratchFolder dir;
  EXPECT_FALSE(RunPlugin(dir.file("none.qvp")));
  EXPECT_FALSE(RunPlugin(""));
  EXPECT_FALSE(RunPlugin(dir.path()));  // a folder is no plug-in
  EXPECT_TRUE(RunPlugin(dir.write("empty.qvp", "")));
  EXPECT_TRUE(RunPlugin(dir.write("d.qvp", writePluginFile(PluginFile{}))));
  EXPECT_TRUE(arrFiles.empty());
  EXPECT_TRUE(arrFolders.empty());
}

TEST_F(PluginEngineTest, AStopBeforeTheWalkEndsEveryFileRecordButNotTheOtherPasses) {
  ScratchFolder dir;
  ScratchKey key;
  dir.write("data\\a.tmp", "x");
  std::string iniPath = dir.write("s.ini", "[s]\r\nk=1\r\n");
  setValue(key.subkey(), "v", "1");

  PluginFile plugin;
  plugin.iniEntries = {ini("s.ini", "s", "Yes", "", dir.path() + "\\")};
  plugin.files = {files("Yes", "Yes", dir.file("data") + "\\*.*"),
                  files("No", "No", dir.file("data") + "\\a.tmp")};
  plugin.registry = {registry("No", "HKEY_CURRENT_USER\\" + key.subkey(), "v")};

  Recorder rec;
  bAbort = true;
  EXPECT_TRUE(RunPlugin(writePlugin(dir, "p.qvp", plugin)));
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
  PluginFile plugin;
  plugin.files = {files("Yes", "Yes", dir.file("data") + "\\*.tmp"),
                  files("No", "No", dir.file("data\\a") + "\\f1.tmp")};

  Recorder rec;
  g_readings = 0;
  g_stopAt = 30;  // some way into the files of data\a
  EventPump::setClock(&stoppingClock);
  RunPlugin(writePlugin(dir, "p.qvp", plugin));
  EventPump::setClock(nullptr);

  EXPECT_GT(arrFiles.size(), 0u);
  EXPECT_LT(arrFiles.size(), static_cast<size_t>(kFiles));
  // The level that saw the stop between entries, then the next record on entering.
  EXPECT_EQ(rec.stops, (Texts{"Aborted by User", "Aborted by user"}));
  // A stopped walk takes no folder.
  EXPECT_TRUE(arrFolders.empty());
}

// The plug-in list beside a scratch copy of the program.
class PluginListTest : public PluginEngineTest {};

TEST_F(PluginListTest, RunsTheCheckedPluginsOfTheListInOrder) {
  ScratchFolder dir;
  ScratchKey key;
  const std::string base = key.subkey();
  setAppPath(dir.path());
  dir.write("t1\\x.tmp", "x");
  dir.write("t3\\y.tmp", "x");
  for (const char* v : {"byTwo", "byThree", "byOutside", "byUnlisted"}) setValue(base, v, "1");
  auto removes = [&](const char* value, const std::string& folder) {
    PluginFile p;
    p.description = value;
    p.registry = {registry("No", "HKEY_CURRENT_USER\\" + base, value)};
    if (!folder.empty()) p.files = {files("No", "No", dir.file(folder) + "\\*.tmp")};
    return writePluginFile(p);
  };
  dir.write("Plugins\\one.qvp", removes("none", "t1"));
  dir.write("Plugins\\two.qvp", removes("byTwo", ""));
  dir.write("Plugins\\three.qvp", removes("byThree", "t3"));
  dir.write("Plugins\\unlisted.qvp", removes("byUnlisted", ""));
  dir.write("outside.qvp", removes("byOutside", ""));

  std::vector<PluginListEntry> list = {
      {true, "one.qvp", "first"},
      {false, "two.qvp", "unchecked"},
      {true, "missing.qvp", "no such file"},
      {true, "three.qvp", ""},
  };
  std::string text = writePluginList(list);
  // Names that are not bare file names reach outside the Plugins folder: never run.
  text += "1\x01..\\outside.qvp\x01up\r\n";
  text += "1\x01" + dir.file("outside.qvp") + "\x01" "full path\r\n";
  text += "1\x01../outside.qvp\r\n";
  text += "x\x01unlisted.qvp\r\n";  // not a number: unchecked
  dir.write("plg.txt", text);

  Recorder rec;
  std::vector<Texts> collected;
  EXPECT_TRUE(RunCheckedPlugins([&] { collected.push_back(relative(dir, arrFiles, true)); }));
  // The lists are emptied before each plug-in.
  EXPECT_EQ(collected, (std::vector<Texts>{{"t1\\x.tmp"}, {"t3\\y.tmp"}}));
  EXPECT_EQ(valueNames(base), (Texts{"byOutside", "byTwo", "byUnlisted"}));
  EXPECT_TRUE(rec.stops.empty());

  // A stop before a line ends the run there.
  setValue(base, "byThree", "1");
  bAbort = true;
  collected.clear();
  EXPECT_FALSE(RunCheckedPlugins([&] { collected.push_back(arrFiles); }));
  EXPECT_TRUE(collected.empty());
  EXPECT_EQ(rec.stops, Texts{"Aborted by user"});
  EXPECT_EQ(valueNames(base), (Texts{"byOutside", "byThree", "byTwo", "byUnlisted"}));
}

TEST_F(PluginListTest, AMissingOrEmptyListRunsNothing) {
  ScratchFolder dir;
  setAppPath(dir.path());
  int calls = 0;
  EXPECT_TRUE(RunCheckedPlugins([&] { ++calls; }));
  dir.write("plg.txt", "");
  EXPECT_TRUE(RunCheckedPlugins([&] { ++calls; }));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(pluginFolderPath(), dir.path() + "\\Plugins\\");
}

}  // namespace
}  // namespace glenvask
