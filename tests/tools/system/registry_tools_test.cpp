// The registry tools on the prefix's keys: reference judge and scanners, startup, uninstall, types.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "services/globals.h"
#include "services/system.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "tools/frmEditAppPath.h"
#include "tools/frmEditFileAssoc.h"
#include "tools/frmEditHelp.h"
#include "tools/frmEditUninstall.h"
#include "tools/frmFileAssoc.h"
#include "tools/frmOrphanedActivex.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/frmOrphanedDll.h"
#include "tools/frmOrphanedFile.h"
#include "tools/frmOrphanedHelp.h"
#include "tools/frmStartup.h"
#include "tools/frmUninstall.h"
#include "tools/regvalue.h"
#include "tools/tools_support.h"

namespace glenvask {
namespace {

TEST(ReferenceJudge, SaysMissingOnlyForAFullPathThatIsNotThere) {
  test::ScratchFolder dir, cd("cdrom");
  std::string d = dir.path();
  for (const char* f : {"app.exe", "lib.dll", "with space\\tool.exe", "Program Files\\x.dll"})
    dir.write(f, "x");
  cd.write("setup.exe", "x");
  test::ScratchDrive cdrom(L'K', cd.path(), DRIVE_CDROM);
  ASSERT_TRUE(cdrom.ready());
  // A file of the current folder is never found by a relative name.
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(wide(d).c_str());
  SetEnvironmentVariableW(L"GLENVASK_TEST_DIR", wide(d).c_str());
  // Cases between "|" or line ends: P present, M missing, U unknown; "@" is the scratch folder.
  const std::string table = R"(
P @\app.exe|M @\missing.exe|M @\gone\deeper\x.dll|P "@\app.exe" -a "@\nothing"
P @\with space\tool.exe -x|P @\lib.dll,-33|P @\lib.dll\2|M @\gone\lib.dll\2|P @;|P   @\app.exe
M @\Program Files (x86)\App\gone.dll|M C:\Program Files (x86)\Glv\gone.dll
M C:\users\Public Files\gone.txt|P %GLENVASK_TEST_DIR%\app.exe|M %GLENVASK_TEST_DIR%\missing.exe
M @\missing.exe %1|M "%GLENVASK_TEST_DIR%\missing.exe" "%1"|M @\missing.exe /a=%L %*
P @\app.exe "%1" %2|P C:\windows\system32\msiexec.exe /i "%1"
U @\missing.exe %NO_SUCH_VARIABLE_HERE%|U %NO_SUCH_VARIABLE_HERE%\x.exe %1|U @\gone%1\x.exe
U app.exe|U shell32.dll,-33|U K:\setup.exe|U R:\missing.exe|U \\server\share\missing.exe
U @\*.tmp|P C:\windows\system32\svchost.exe -k netsvcs|P %SystemRoot%\system32\shell32.dll,-33
P C:\Program Files\Internet Explorer;)";
  ReferenceJudge judge;
  std::string all = table;
  std::replace(all.begin(), all.end(), '\n', '|');
  for (const std::string& line : split(all, '|')) {
    if (line.size() < 3) continue;
    std::string text;
    for (char c : line.substr(2)) text += c == '@' ? d : std::string(1, c);
    EXPECT_EQ(judge.judge(text), FileReference(std::string("UPM").find(line[0]))) << line;
  }
  EXPECT_EQ(judge.judge(d + "\\" + std::string(300, 'a') + ".exe"), FileReference::Unknown);
  SetCurrentDirectoryW(previous);
}

const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER, cr = HKEY_CLASSES_ROOT;
using Rows = std::vector<std::string>;

std::string raw(const std::wstring& w) {
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
}

bool scanned(ReferenceScanner& s) { return s.open() && (s.Timer1_Timer(), true); }

// The rows whose cell holds the mark, as "cell|checked|icon", in list order.
Rows shown(ReferenceScanner& s, size_t col, const std::string& mark) {
  Rows out;
  for (size_t i = 0; i < s.list().rowCount(); ++i)
    if (s.list().rowText(i, col).find(mark) != std::string::npos)
      out.push_back(s.list().rowText(i, col) + "|" + (s.list().rowChecked(i) ? "1" : "0") + "|" +
                    std::to_string(s.list().row(i).image));
  return out;
}

// Cell `col` of the rows whose first cell holds the mark.
Rows column(ToolListView& l, size_t col, const std::string& mark = "") {
  Rows out;
  for (size_t i = 0; i < l.rowCount(); ++i)
    if (l.rowText(i, 0).find(mark) != std::string::npos) out.push_back(l.rowText(i, col));
  return out;
}

TEST(Scanners, SharedDllsMissingFirstDeletedWithTheirFilesOutsideWindows) {
  test::ScratchFolder dir("glvdll");
  test::TestKey key(lm, kSharedDllsKey);
  std::string d = dir.path(), win = "C:\\windows\\glv-scanner-test.dll";
  for (const char* f : {"here.dll", "text.dll", "sub\\f.txt", "Program Files\\x.dll"})
    dir.write(f, "x");
  CloseHandle(CreateFileW(wide(win).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::pair<std::string, DWORD> counts[] = {{d + "\\gone.dll", 3}, {d + "\\here.dll", 0},
      {d + "\\sub", 4}, {win, 2}, {d + "\\Program Files (x86)\\gone.dll", 1}};
  for (const auto& [name, n] : counts) test::setNumber(lm, kSharedDllsKey, name, n);
  test::setText(lm, kSharedDllsKey, d + "\\text.dll", "7");
  test::setBytes(lm, kSharedDllsKey, d + "\\binary.dll", REG_BINARY, "\x05");

  OrphanedDllWindow& w = frmOrphanedDLL();
  ASSERT_TRUE(scanned(w));
  EXPECT_EQ(shown(w, 1, "glvdll"),
            (Rows{d + "\\Program Files (x86)\\gone.dll|1|0", d + "\\gone.dll|1|0",
                  d + "\\here.dll|0|1", d + "\\sub|0|1", d + "\\text.dll|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvOrphanedDLL, 1, "text.dll").at(0).at(0), "7");
  EXPECT_EQ(w.lblStatus.text(), "7 entries, 2 with missing files, 1 with zero usage count");

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    for (const std::string& name : {d + "\\here.dll", win, d + "\\sub"})
      if (w.list().rowText(i, 1) == name) w.list().setRowChecked(i, true);
  w.chkDelete.setChecked(true);
  w.cmdDelete.click();
  for (const std::string& name : {d + "\\gone.dll", d + "\\here.dll", win})
    EXPECT_FALSE(test::hasValue(lm, kSharedDllsKey, name)) << name;
  EXPECT_TRUE(!dir.exists("here.dll") && dir.exists("sub\\f.txt"));  // never a folder
  EmptyRecycleBin("", true, true, true);
  EXPECT_NE(GetFileAttributesW(wide(win).c_str()), INVALID_FILE_ATTRIBUTES);  // Windows: kept
  DeleteFileW(wide(win).c_str());
  EXPECT_EQ(w.lblStatus.text(), "1 entries, 0 with missing files, 0 with zero usage count");
  w.cmdClose.click();
}

TEST(Scanners, AppPathsListedEditedAndDeleted) {
  test::ScratchFolder dir("glvapp");
  std::string d = dir.path(), base = std::string(kAppPathsKey) + "\\glv-";
  dir.write("here.exe", "x");
  const std::pair<std::string, std::string> entries[] = {{"missing.exe", d + "\\missing.exe"},
      {"quoted.exe", "\"" + d + "\\here.exe\""}, {"absent.exe", "R:\\missing.exe"},
      {"percent.exe", "%SystemRoot%\\no-such.exe"}};
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const auto& [name, path] : entries) {
    keys.push_back(std::make_unique<test::TestKey>(lm, base + name));
    test::setText(lm, base + name, "", path);
  }
  // An expandable path with bytes after its end, which an unchanged Save must keep.
  test::setBytes(lm, base + "missing.exe", "", REG_EXPAND_SZ,
                 raw(wide(d + "\\missing.exe") + std::wstring(L"\0tail", 5)));
  InvalidAppPathWindow& w = frmInvalidAppPath();
  ASSERT_TRUE(scanned(w));
  EXPECT_EQ(shown(w, 0, "glv-"),
            (Rows{"glv-missing.exe|1|0", "glv-absent.exe|0|1", "glv-quoted.exe|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "glv-quoted").at(0).at(1), d + "\\here.exe");
  EXPECT_EQ(w.lblStatus.text(), "4 entries, 1 orphaned");  // the prefix's one entry is sound

  test::ScriptedAsker asker;
  size_t size = readRegData(kHkeyLocalMachine, base + "missing.exe", "")->bytes.size();
  for (const std::string& browsed : {std::string(), d + "\\here.exe"}) {  // "": Save alone
    asker.answerModal([&](Dialog& dialog) {
      auto& e = dynamic_cast<EditAppPathDialog&>(dialog);
      EXPECT_EQ(e.lblName.text() + "=" + e.txt.text(), "glv-missing.exe=" + d + "\\missing.exe");
      if (!browsed.empty()) {
        asker.answerFile(browsed);
        e.cmdBrowse.click();
      }
      e.cmdOk.click();
    });
    test::selectOnly(w.list(), 0);
    w.cmdEdit.click();
    w.Timer1_Timer();
    auto stored = readRegData(kHkeyLocalMachine, base + "missing.exe", "");
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_TRUE(!browsed.empty() || stored->bytes.size() == size);  // Save alone writes nothing
  }
  EXPECT_EQ(asker.asked().back().text, "*.exe|*.exe");
  EXPECT_EQ(shown(w, 0, "glv-missing"), Rows{"glv-missing.exe|0|1"});

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    w.list().setRowChecked(i, w.list().rowText(i, 0) == "glv-absent.exe");
  w.cmdDelete.click();
  EXPECT_TRUE(!test::hasKey(lm, base + "absent.exe") && test::hasKey(lm, base + "quoted.exe"));
  w.cmdClose.click();
}

TEST(Scanners, HelpFilesListedEditedAndDeleted) {
  test::ScratchFolder dir("glvhelp");
  std::string d = dir.path();
  dir.write("here.chm", "x");
  test::TestKey help(lm, kHelpKey), html(lm, kHtmlHelpKey);
  test::setText(lm, kHelpKey, "gone.hlp", d);
  test::setText(lm, kHtmlHelpKey, "here.chm", d + "\\");
  test::setText(lm, kHtmlHelpKey, "rel.chm", "help");
  InvalidHelpWindow& w = frmInvalidHelp();
  ASSERT_TRUE(scanned(w));
  EXPECT_EQ(shown(w, 0, "."), (Rows{"gone.hlp|1|0", "here.chm|0|1", "rel.chm|0|1"}));
  EXPECT_EQ(w.list().row(0).cells, (Rows{"gone.hlp", d + "\\", std::string(kHelpKey) + "\\"}));
  EXPECT_EQ(w.lblStatus.text(), "3 entries, 1 orphaned");

  // Browse puts the chosen file's folder in the box; Save writes it.
  test::ScriptedAsker asker;
  asker.answerModal([&](Dialog& dialog) {
    auto& e = dynamic_cast<EditHelpDialog&>(dialog);
    EXPECT_EQ(e.lblName.text(), "gone.hlp");
    asker.answerFile("C:\\elsewhere\\gone.hlp");
    e.cmdBrowse.click();
    EXPECT_EQ(e.txt.text(), "C:\\elsewhere\\");
    e.cmdOk.click();
  });
  test::selectOnly(w.list(), 0);
  w.cmdEdit.click();
  w.Timer1_Timer();
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "gone").at(0).at(1), "C:\\elsewhere\\");

  w.chkDelete.setChecked(true);
  for (size_t i = 0; i < w.list().rowCount(); ++i)
    w.list().setRowChecked(i, w.list().rowText(i, 0) == "here.chm");
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasValue(lm, kHtmlHelpKey, "here.chm") || dir.exists("here.chm"));
  EmptyRecycleBin("", true, true, true);
  EXPECT_TRUE(test::hasValue(lm, kHelpKey, "gone.hlp"));
  w.cmdClose.click();
}

TEST(Scanners, ActiveXComponentsNotInstalledFirstAndDeletedWhole) {
  std::string base = std::string(kInstalledComponentsKey) + "\\{glv-";
  std::vector<std::unique_ptr<test::TestKey>> keys;
  const char* names[] = {"One", "Two", "Three", "", "Five", "Six"};
  for (int i = 0; i < 6; ++i) {
    std::string key = base + std::to_string(i + 1) + "}";
    keys.push_back(std::make_unique<test::TestKey>(lm, key));
    if (*names[i]) test::setText(lm, key, "", std::string("Glv ") + names[i]);
  }
  test::setNumber(lm, base + "1}", "IsInstalled", 1);
  test::setText(lm, base + "1}", "StubPath", "C:\\windows\\system32\\x.exe /s");
  test::setNumber(lm, base + "2}", "IsInstalled", 0);
  test::setText(lm, base + "2}\\sub", "", "below");
  test::setText(lm, base + "3}", "IsInstalled", "1");
  test::setNumber(lm, base + "4}", "IsInstalled", 0);
  test::setBytes(lm, base + "6}", "IsInstalled", REG_BINARY, "\x01");
  InvalidActiveXWindow& w = frmInvalidActivex();
  ASSERT_TRUE(scanned(w));
  EXPECT_EQ(shown(w, 0, "Glv"),
            (Rows{"Glv Five|1|0", "Glv Two|1|0", "Glv One|0|1", "Glv Three|0|1", "Glv Six|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "Glv One").at(0),
            (Rows{"Glv One", "True", "C:\\windows\\system32\\x.exe /s", "{glv-1}"}));
  EXPECT_EQ(w.lblStatus.text(), "8 entries, 2 orphaned");  // the prefix's three are sound
  // Only what the test seeded goes.
  for (size_t i = 0; i < w.list().rowCount(); ++i)
    if (w.list().rowText(i, 0).rfind("Glv ", 0) != 0) w.list().setRowChecked(i, false);
  w.cmdDelete.click();
  w.Timer1_Timer();
  for (const char* n : {"1}", "3}", "4}", "6}"}) EXPECT_TRUE(test::hasKey(lm, base + n)) << n;
  for (const char* n : {"2}", "5}"}) EXPECT_FALSE(test::hasKey(lm, base + n)) << n;
  w.cmdClose.click();
}

TEST(InvalidFileWindow, ListsTheValuesOfMissingFilesAndDeletesTheCheckedOnes) {
  test::ScratchFolder dir;
  test::ScratchKey key;
  std::string d = dir.path(), k = key.subkey(), missing = d + "\\missing.exe";
  dir.write("app.exe", "x");
  const std::tuple<const char*, std::string, DWORD> seeds[] = {{"missing", missing, REG_SZ},
      {"expand", "%SystemRoot%\\no-such-glenvask.exe", REG_EXPAND_SZ},
      {"wert-\xc3\xa4", missing, REG_SZ}, {"long", missing + " " + std::string(10000, 'a'), REG_SZ},
      {"multi", missing, REG_MULTI_SZ}, {"huge", missing + " " + std::string(70000, 'a'), REG_SZ}};
  for (const auto& [name, data, type] : seeds) test::setText(cu, k, name, data, type);
  test::setBytes(cu, k, "binary", REG_BINARY, std::string("C\0:\0\\\0x\0", 8));
  test::setBytes(cu, k, "nul", REG_SZ, raw(wide(d + "\\app.exe") + std::wstring(L"\0C:\\", 4)));
  for (int i = 0; i < 3000; ++i) test::setText(cu, k + "\\many", "v" + std::to_string(i), "x");
  test::setText(cu, k + "\\many", "deep", missing);
  test::setText(cu, k + "\\Wow6432Node", "skipped", missing);

  InvalidFileWindow& w = frmInvalidFile();
  ASSERT_TRUE(scanned(w));
  EXPECT_TRUE(!w.timerOn() && w.cmdDelete.enabled() && !w.cmdStop.enabled());
  EXPECT_GT(w.judgedValues(), 1000u);  // both roots walked
  // Of the prefix as it was made, one value names a missing file.
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "HKEY_LOCAL_MACHINE"),
            (std::vector<Rows>{{"HKEY_LOCAL_MACHINE:Software\\Microsoft\\DirectMusic\\",
                                "GMFilePath", "C:\\windows\\system32\\drivers\\gm.dls"}}));
  EXPECT_EQ(w.lblStatus.text(), "6 invalid references");
  std::string prefix = "HKEY_CURRENT_USER:" + k + "\\";
  EXPECT_EQ(column(w.lstvInvalid, 1, prefix),
            (Rows{"deep", "expand", "long", "missing", "wert-\xc3\xa4"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 1, "deep").at(0).at(0), prefix + "many\\");

  auto rowOf = [&](const std::string& name) { return test::rowOf(w.lstvInvalid, prefix, 1, name); };
  w.lstvInvalid.select(rowOf("missing"));
  EXPECT_EQ(w.txtKey.text() + "|" + w.txtValue.text() + "|" + w.txtPath.text(),
            prefix + "|missing|" + missing);

  for (const char* name : {"missing", "wert-\xc3\xa4", "long"})
    w.lstvInvalid.setRowChecked(rowOf(name), true);
  test::setText(cu, k, "long", "changed since the walk");
  w.cmdDelete.click();
  EXPECT_EQ(test::valueNames(k), (Rows{"binary", "expand", "huge", "long", "multi", "nul"}));
  EXPECT_EQ(column(w.lstvInvalid, 1, prefix), (Rows{"deep", "expand"}));

  // Stop, clicked as the walk starts, ends it before the local machine is walked.
  std::uint64_t whole = w.judgedValues();
  PostMessageW(w.cmdStop.hwnd(), BM_CLICK, 0, 0);
  w.Timer1_Timer();
  EXPECT_TRUE(w.judgedValues() < whole / 2 && w.cmdDelete.enabled()) << w.judgedValues();
  w.cmdClose.click();
}

void clickOn(ListToolWindow& w, const std::string& row, const char* button) {
  test::selectOnly(w.list(), test::rowOf(w.list(), row));
  w.button(button).click();
}

TEST(ListTools, StartupRunValuesAndShortcutsEachRemovedAlone) {
  test::ScratchFolder mine("glvstartup"), common("glvcommon"), elsewhere("glvelsewhere");
  const char* userFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  test::SavedValue shell(cu, kShellFoldersKey, "Startup", mine.path()),
      user(cu, userFolders, "Startup", mine.path()),
      allShell(lm, kShellFoldersKey, "Common Startup", common.path()),
      allUser(lm, userFolders, "Common Startup", common.path());
  for (const char* f : {"a.lnk", "sub\\b.LNK", "note.txt"}) mine.write(f, "x");
  common.write("c.lnk", "x");
  elsewhere.write("linked.lnk", "x");
  test::makeFolderLink(mine.file("link"), elsewhere.path());
  test::SavedValue runUser(cu, kRunKey, "GlvRunUser", "C:\\glv\\user.exe /a"),
      runMachine(lm, kRunKey, "GlvRunMachine", "\"C:\\glv\\machine.exe\"");
  // A run is going on, and was stopped: its lists and flag are none of this window's.
  arrFiles = {"C:\\glv\\the-run's-file.txt"};
  bAbort = true;

  test::ScriptedAsker asker;
  StartupProgramsWindow& w = frmStartupPrograms();
  ASSERT_TRUE(w.open());
  auto& l = w.lstvStartup;
  EXPECT_EQ(column(l, 0), (Rows{"a.lnk", "b.LNK", "c.lnk", "GlvRunMachine", "GlvRunUser"}));
  EXPECT_EQ(column(l, 1),
            (Rows{"Startup Common", "Startup Common", "Startup Common", "HKLM:Run", "HKCU:Run"}));
  EXPECT_EQ(column(l, 2, "b.LNK").at(0), mine.file("sub\\b.LNK"));
  EXPECT_EQ(column(l, 2, "GlvRunUser").at(0), "C:\\glv\\user.exe /a");
  EXPECT_EQ(w.lblStatus.text(), "5 program(s) found");
  EXPECT_EQ(arrFiles, Rows{"C:\\glv\\the-run's-file.txt"});
  bAbort = false;

  w.lstvStartup_ColumnClick(1);  // "Key" sorts by the file, first descending
  EXPECT_EQ(column(l, 0).front() + " " + column(l, 0).back(), "GlvRunUser GlvRunMachine");

  for (int answer : {IDNO, IDYES}) {
    for (const char* n : {"GlvRunUser", "a.lnk"}) l.setRowChecked(test::rowOf(l, n), true);
    asker.answerMessage(answer);
    w.button("cmdDelete").click();
    EXPECT_EQ(asker.asked().back().text, kDeleteStartupQuestion);
    EXPECT_EQ(test::hasValue(cu, kRunKey, "GlvRunUser"), answer == IDNO);
  }
  EXPECT_TRUE(!mine.exists("a.lnk") && mine.exists("sub\\b.LNK") && elsewhere.exists("linked.lnk"));
  EXPECT_EQ(column(l, 0), (Rows{"b.LNK", "c.lnk", "GlvRunMachine"}));
  w.button("cmdOK").click();
}

TEST(ListTools, UninstallStartsProgramAndParametersApartAndEditsKeepTheType) {
  test::ScratchFolder dir("glvuninst");
  dir.write("un inst.exe", "x");
  UninstallWindow& w = frmUninstall();
  ASSERT_TRUE(w.open());
  size_t before = w.lstvUninstall.rowCount();
  std::string base = std::string(kUninstallKey) + "\\Glv", blank = dir.file("un inst.exe");
  // Key, name, command, its type, and what Uninstall starts: "Open|program|parameters".
  const std::tuple<const char*, const char*, std::string, DWORD, std::string> entries[] = {
      {"Quoted", "Glv Quoted", "\"C:\\Program Files\\Glv\\un.exe\" /S /log=\"a b\"", REG_SZ,
       "Open|C:\\Program Files\\Glv\\un.exe|/S /log=\"a b\""},
      {"Blank", "Glv Blank", blank + " -q", REG_SZ, "Open|" + blank + "|-q"},
      {"Expand", "Glv Expand", "%SystemRoot%\\system32\\msiexec.exe /x{GLV}", REG_EXPAND_SZ,
       "Open|C:\\windows\\system32\\msiexec.exe|/x{GLV}"},
      {"Empty", "Glv Empty", "", REG_SZ, ""},
      {"NoName", "", "C:\\x.exe", REG_SZ, ""}};
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const auto& [key, name, command, type, started] : entries) {
    keys.push_back(std::make_unique<test::TestKey>(lm, base + key));
    if (*name) test::setText(lm, base + key, "DisplayName", name);
    test::setText(lm, base + key, "UninstallString", command, type);
  }
  test::setText(lm, base + "Quoted\\sub", "", "below");
  test::setText(lm, base + "Blank", "DisplayVersion", "1.2");

  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  w.GetUnInstallFiles();
  auto& l = w.lstvUninstall;
  EXPECT_EQ(column(l, 0, "Glv"), (Rows{"Glv Blank", "Glv Empty", "Glv Expand", "Glv Quoted"}));
  EXPECT_EQ(l.row(0).cells, (Rows{"Glv Blank", "1.2", blank + " -q", "GlvBlank", ""}));
  for (const auto& [key, name, command, type, started] : entries) {
    if (started.empty()) continue;
    clickOn(w, name, "cmdUnInstall");
    EXPECT_EQ(outside.shellCalls.size() ? outside.shellCalls.back() : "", started);
  }
  clickOn(w, "Glv Empty", "cmdEdit");  // no command: no dialog
  asker.answerModal([](Dialog& d) {
    auto& e = dynamic_cast<EditUninstallDialog&>(d);
    EXPECT_EQ(e.lblName.text(), "Glv Expand");
    e.txt.setText("%SystemRoot%\\system32\\msiexec.exe /x{GLV2}");
    e.cmdOk.click();
  });
  clickOn(w, "Glv Expand", "cmdEdit");
  EXPECT_EQ(column(l, 2, "Glv Expand").at(0), "%SystemRoot%\\system32\\msiexec.exe /x{GLV2}");

  for (const char* name : {"Glv Blank", "Glv Quoted"}) clickOn(w, name, "cmdDelete");
  EXPECT_TRUE(!test::hasKey(lm, base + "Blank") && test::hasKey(lm, base + "Quoted"));  // subkey
  EXPECT_EQ(column(l, 0, "Glv"), (Rows{"Glv Empty", "Glv Expand"}));
  EXPECT_EQ(w.lblStatus.text(), std::to_string(before + 2) + " program(s) found");
  w.button("cmdOK").click();
}

TEST(ListTools, FileAssociationsDeleteTheTypeOnlyWhenItIsTheirsAlone) {
  test::ScriptedAsker asker;
  FileAssociationWindow& w = frmFileAssociation();
  ASSERT_TRUE(w.open());
  ASSERT_TRUE(test::pumpUntil([&] { return !w.timerOn(); }));
  auto& l = w.lstvFileAssociation;
  size_t before = l.rowCount();
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (auto k : {".glva", ".glvb", ".glvc", ".glvd", ".glve", "GlvShared.Type", "GlvOwn.Type"})
    keys.push_back(std::make_unique<test::TestKey>(cr, k));
  for (const char* e : {".glva", ".glvb"}) test::setText(cr, e, "", "GlvShared.Type");
  test::setText(cr, ".glvc", "", "GlvOwn.Type");
  test::setText(cr, ".glve", "", "Folder");
  test::setText(cr, "GlvShared.Type", "", "Glv shared files");
  test::setText(cr, "GlvShared.Type\\shell\\open\\command", "", "notepad.exe \"%1\"",
                REG_EXPAND_SZ);
  test::setText(cr, "GlvOwn.Type", "", "X");
  w.Timer1_Timer();
  EXPECT_EQ(column(l, 1, ".glv"),
            (Rows{"Glv shared files", "Glv shared files", "GlvOwn.Type", "", "Folder"}));
  asker.answerModal([](Dialog& d) {
    auto& e = dynamic_cast<EditFileAssociationDialog&>(d);
    EXPECT_EQ(e.lblName.text() + "|" + e.lblDesc.text() + "|" + e.txt.text(),
              ".glvb|Glv shared files|notepad.exe \"%1\"");
    e.txt.setText("wordpad.exe \"%1\"");
    e.cmdOk.click();
  });
  clickOn(w, ".glvb", "cmdEdit");
  EXPECT_EQ(readRegText(kHkeyClassesRoot, "GlvShared.Type\\shell\\open\\command", "")->text,
            "wordpad.exe \"%1\"");

  for (const char* ext : {".glvb", ".glva", ".glvc", ".glvd", ".glve"}) {
    asker.answerMessage(ext == std::string(".glvb") ? IDNO : IDYES);
    clickOn(w, ext, "cmdDelete");
    EXPECT_EQ(asker.asked().back().text, kDeleteAssociationQuestion);
  }
  EXPECT_EQ(column(l, 0, ".glv"), Rows{".glvb"});
  EXPECT_EQ(w.lblStatus.text(), std::to_string(before + 1) + " registered file extensions");
  for (const char* key : {".glvb", "GlvShared.Type", "Folder"}) EXPECT_TRUE(test::hasKey(cr, key));
  for (const char* key : {".glva", ".glvc", ".glvd", ".glve", "GlvOwn.Type"})
    EXPECT_FALSE(test::hasKey(cr, key)) << key;

  w.button("cmdOK").click();
}

}  // namespace
}  // namespace glenvask
