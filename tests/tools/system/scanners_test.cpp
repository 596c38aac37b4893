// The reference scanners over their real keys of the prefix: rows of missing targets first,
// checked, with the first icon; Delete removes exactly the checked entries (and sends an
// existing file to the Recycle Bin only when asked, never from the Windows folder); the edit
// dialogs write only a changed text and keep an expandable string's type. Over the prefix as
// it was made, no scanner lists a value but the one file a new prefix names and lacks. The
// judge of "does this text name a missing file" meets real files of a scratch folder, the
// prefix's own, an absent drive letter and a CD-ROM drive.
#include <gtest/gtest.h>

#include <set>

#include "base/text.h"
#include "services/system.h"
#include "support/drive.h"
#include "support/scripted.h"
#include "tools/frmEditAppPath.h"
#include "tools/frmOrphanedActivex.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/frmOrphanedDll.h"
#include "tools/frmOrphanedFile.h"
#include "tools/frmOrphanedHelp.h"
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
  ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  // A file of the current folder is never found by a relative name.
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(wide(d).c_str());
  SetEnvironmentVariableW(L"GLENVASK_TEST_DIR", wide(d).c_str());
  // One case a line: P present, M missing, U unknown; "@" is the scratch folder.
  const std::string table = R"(P @\app.exe
M @\missing.exe
M "@\missing.exe" /s
M @\gone\deeper\x.dll
P "@\app.exe" -a "@\nothing"
P @\with space\tool.exe -x
P @\lib.dll,-33
P @\lib.dll\2
M @\gone\lib.dll\2
P @;
P   @\app.exe
M @\Program Files (x86)\App\gone.dll
M C:\Program Files (x86)\Glv\gone.dll
M C:\users\Public Files\gone.txt
P %GLENVASK_TEST_DIR%\app.exe
M %GLENVASK_TEST_DIR%\missing.exe
M @\missing.exe %1
M "%GLENVASK_TEST_DIR%\missing.exe" "%1"
M @\missing.exe /a=%L %*
P @\app.exe "%1" %2
P C:\windows\system32\msiexec.exe /i "%1"
U @\missing.exe %NO_SUCH_VARIABLE_HERE%
U %NO_SUCH_VARIABLE_HERE%\x.exe %1
U @\gone%1\x.exe
U missing.exe
U shell32.dll,-33
U K:\setup.exe
U R:\missing.exe
U \\server\share\missing.exe
U @\*.tmp
P C:\windows\system32\svchost.exe -k netsvcs
P %SystemRoot%\system32\shell32.dll,-33
P C:\Program Files\Internet Explorer;)";
  ReferenceJudge judge;
  const std::pair<char, FileReference> marks[] = {
      {'P', FileReference::Present}, {'M', FileReference::Missing}, {'U', FileReference::Unknown}};
  for (const std::string& line : split(table, '\n')) {
    std::string text;
    for (char c : line.substr(2)) text += c == '@' ? d : std::string(1, c);
    for (auto [mark, want] : marks)
      if (line[0] == mark) EXPECT_EQ(judge.judge(text), want) << line;
  }
  EXPECT_EQ(judge.judge(d + "\\" + std::string(300, 'a') + ".exe"), FileReference::Unknown);
  EXPECT_EQ(judge.judge(""), FileReference::Unknown);
  SetCurrentDirectoryW(previous);
}

TEST(ReferenceJudge, LeavesTheSystemHivesAndThe32BitViewAlone) {
  const std::tuple<HKEY, const wchar_t*, bool> table[] = {
      {HKEY_LOCAL_MACHINE, L"system", true},
      {HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION", true},
      {HKEY_LOCAL_MACHINE, L"Software\\Classes\\WOW6432NODE", true},
      {HKEY_CURRENT_USER, L"Software\\Wow6432Node", true},
      {HKEY_CURRENT_USER, L"System", false},
      {HKEY_LOCAL_MACHINE, L"Software\\System", false},
  };
  for (const auto& [root, path, unjudged] : table)
    EXPECT_EQ(isUnjudgedRegistryPath(root, path), unjudged) << utf8(path);
}

const HKEY lm = HKEY_LOCAL_MACHINE;
using Rows = std::vector<std::string>;

// The rows whose cell holds the mark, as "cell|checked|icon", in list order.
Rows shown(ReferenceScanner& s, size_t col, const std::string& mark) {
  Rows out;
  for (size_t i = 0; i < s.list().rowCount(); ++i)
    if (s.list().rowText(i, col).find(mark) != std::string::npos)
      out.push_back(s.list().rowText(i, col) + "|" + (s.list().rowChecked(i) ? "1" : "0") + "|" +
                    std::to_string(s.list().row(i).image));
  return out;
}

TEST(Scanners, SharedDllsMissingFirstDeletedWithTheirFilesOutsideWindows) {
  test::ScratchFolder dir("glvdll");
  test::TestKey key(lm, kSharedDllsKey);
  std::string d = dir.path(), win = "C:\\windows\\glv-scanner-test.dll";
  for (const char* f : {"here.dll", "text.dll", "sub\\f.txt", "Program Files\\x.dll"})
    dir.write(f, "x");
  CloseHandle(CreateFileW(wide(win).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::pair<std::string, DWORD> counts[] = {
      {d + "\\gone.dll", 3}, {d + "\\here.dll", 0},       {d + "\\sub", 4},
      {win, 2},              {"R:\\glvdll\\gone.dll", 1}, {"glvdll-relative.dll", 1},
      {d + "\\Program Files (x86)\\gone.dll", 1}};
  for (const auto& [name, n] : counts) test::setNumber(lm, kSharedDllsKey, name, n);
  test::setText(lm, kSharedDllsKey, d + "\\text.dll", "7");
  test::setBytes(lm, kSharedDllsKey, d + "\\binary.dll", REG_BINARY, "\x05");

  OrphanedDllWindow& w = frmOrphanedDLL();
  ASSERT_TRUE(w.open());
  w.Timer1_Timer();
  EXPECT_EQ(shown(w, 1, "glvdll"),
            (Rows{d + "\\Program Files (x86)\\gone.dll|1|0", d + "\\gone.dll|1|0",
                  d + "\\here.dll|0|1", d + "\\sub|0|1", d + "\\text.dll|0|1",
                  "glvdll-relative.dll|0|1", "R:\\glvdll\\gone.dll|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvOrphanedDLL, 1, "text.dll").at(0).at(0), "7");
  EXPECT_EQ(w.lblStatus.text(), "9 entries, 2 with missing files, 1 with zero usage count");

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    for (const std::string& name : {d + "\\here.dll", win, d + "\\sub"})
      if (w.list().rowText(i, 1) == name) w.list().setRowChecked(i, true);
  w.chkDelete.setChecked(true);
  w.cmdDelete.click();
  for (const std::string& name : {d + "\\gone.dll", d + "\\here.dll", win})
    EXPECT_FALSE(test::hasValue(lm, kSharedDllsKey, name)) << name;
  EXPECT_FALSE(dir.exists("here.dll"));
  EXPECT_TRUE(dir.exists("sub\\f.txt"));  // a folder is never sent away
  EmptyRecycleBin("", true, true, true);
  EXPECT_NE(GetFileAttributesW(wide(win).c_str()), INVALID_FILE_ATTRIBUTES);  // Windows: kept
  DeleteFileW(wide(win).c_str());
  EXPECT_TRUE(test::hasValue(lm, kSharedDllsKey, d + "\\binary.dll"));
  EXPECT_EQ(w.lblStatus.text(), "3 entries, 0 with missing files, 0 with zero usage count");
  w.cmdClose.click();
}

TEST(Scanners, AppPathsListedEditedAndDeleted) {
  test::ScratchFolder dir("glvapp");
  std::string d = dir.path(), base = std::string(kAppPathsKey) + "\\glv-";
  dir.write("here.exe", "x");
  const std::pair<std::string, std::string> entries[] = {
      {"missing.exe", d + "\\missing.exe"},         {"quoted.exe", "\"" + d + "\\here.exe\""},
      {"args.exe", d + "\\here.exe /x"},            {"absent.exe", "R:\\missing.exe"},
      {"percent.exe", "%SystemRoot%\\no-such.exe"}};
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const auto& [name, path] : entries) {
    keys.push_back(std::make_unique<test::TestKey>(lm, base + name));
    test::setText(lm, base + name, "", path);
  }
  // An expandable path with bytes after its end, which an unchanged Save must keep.
  std::wstring tail = wide(d + "\\missing.exe") + std::wstring(L"\0tail", 5);
  test::setBytes(lm, base + "missing.exe", "", REG_EXPAND_SZ,
                 std::string(reinterpret_cast<const char*>(tail.c_str()), tail.size() * 2));
  InvalidAppPathWindow& w = frmInvalidAppPath();
  ASSERT_TRUE(w.open());
  w.Timer1_Timer();
  EXPECT_EQ(shown(w, 0, "glv-"), (Rows{"glv-missing.exe|1|0", "glv-absent.exe|0|1",
                                       "glv-args.exe|0|1", "glv-quoted.exe|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "glv-quoted").at(0).at(1), d + "\\here.exe");

  test::ScriptedAsker asker;
  size_t raw = readRegData(kHkeyLocalMachine, base + "missing.exe", "")->bytes.size();
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
    EXPECT_TRUE(w.timerOn());
    w.Timer1_Timer();
    auto stored = readRegData(kHkeyLocalMachine, base + "missing.exe", "");
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_EXPAND_SZ));
    if (browsed.empty()) EXPECT_EQ(stored->bytes.size(), raw);  // nothing written
  }
  EXPECT_EQ(asker.asked().back().text, "*.exe|*.exe");
  EXPECT_EQ(shown(w, 0, "glv-missing"), Rows{"glv-missing.exe|0|1"});

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    w.list().setRowChecked(i, w.list().rowText(i, 0) == "glv-absent.exe");
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasKey(lm, base + "absent.exe"));
  EXPECT_TRUE(test::hasKey(lm, base + "args.exe"));
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
  ASSERT_TRUE(w.open());
  w.Timer1_Timer();
  EXPECT_EQ(shown(w, 0, "."), (Rows{"gone.hlp|1|0", "here.chm|0|1", "rel.chm|0|1"}));
  EXPECT_EQ(w.list().row(0).cells, (Rows{"gone.hlp", d + "\\", std::string(kHelpKey) + "\\"}));
  EXPECT_EQ(w.lblStatus.text(), "3 entries, 1 orphaned");
  w.chkDelete.setChecked(true);
  for (size_t i = 0; i < w.list().rowCount(); ++i)
    w.list().setRowChecked(i, w.list().rowText(i, 0) == "here.chm");
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasValue(lm, kHtmlHelpKey, "here.chm"));
  EXPECT_FALSE(dir.exists("here.chm"));
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
  ASSERT_TRUE(w.open());
  w.Timer1_Timer();
  EXPECT_EQ(shown(w, 0, "Glv"), (Rows{"Glv Five|1|0", "Glv Two|1|0", "Glv One|0|1",
                                      "Glv Three|0|1", "Glv Six|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "Glv One").at(0),
            (Rows{"Glv One", "True", "C:\\windows\\system32\\x.exe /s", "{glv-1}"}));
  // Only what the test seeded goes.
  for (size_t i = 0; i < w.list().rowCount(); ++i)
    if (w.list().rowText(i, 0).rfind("Glv ", 0) != 0) w.list().setRowChecked(i, false);
  w.cmdDelete.click();
  w.Timer1_Timer();
  for (const char* n : {"1}", "3}", "4}", "6}"}) EXPECT_TRUE(test::hasKey(lm, base + n)) << n;
  for (const char* n : {"2}", "5}"}) EXPECT_FALSE(test::hasKey(lm, base + n)) << n;
  w.cmdClose.click();
}

TEST(FreshPrefix, NoScannerListsAMissingReference) {
  InvalidFileWindow& files = frmInvalidFile();
  ASSERT_TRUE(files.open());
  files.Timer1_Timer();
  EXPECT_GT(files.judgedValues(), 1000u);  // both roots walked
  std::vector<std::string> listed;
  for (size_t i = 0; i < files.lstvInvalid.rowCount(); ++i)
    listed.push_back(files.lstvInvalid.rowText(i, 0) + files.lstvInvalid.rowText(i, 1) + "=" +
                     files.lstvInvalid.rowText(i, 2));
  EXPECT_EQ(listed, std::vector<std::string>{"HKEY_LOCAL_MACHINE:Software\\Microsoft\\DirectMusic\\"
                                             "GMFilePath=C:\\windows\\system32\\drivers\\gm.dls"});
  EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\system32\\drivers\\gm.dls"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(files.lblStatus.text(), "1 invalid references");
  files.cmdClose.click();

  const std::pair<ReferenceScanner*, const char*> scanners[] = {
      {&frmOrphanedDLL(), "0 entries, 0 with missing files, 0 with zero usage count"},
      {&frmInvalidAppPath(), "1 entries, 0 orphaned"},
      {&frmInvalidHelp(), "0 entries, 0 orphaned"},
      {&frmInvalidActivex(), "3 entries, 0 orphaned"}};
  for (auto [s, status] : scanners) {
    ASSERT_TRUE(s->open());
    s->Timer1_Timer();
    EXPECT_EQ(s->lblStatus.text(), status) << s->text();
    s->cmdClose.click();
  }
}

TEST(InvalidFileWindow, ListsTheValuesOfMissingFilesAndDeletesTheCheckedOnes) {
  test::ScratchFolder dir;
  test::ScratchKey key;
  std::string d = dir.path(), k = key.subkey();
  dir.write("app.exe", "x");
  HKEY cu = HKEY_CURRENT_USER;
  std::string missing = d + "\\missing.exe";
  const std::tuple<const char*, std::string, DWORD> seeds[] = {
      {"missing", missing, REG_SZ},
      {"wert-\xc3\xa4", missing, REG_SZ},
      {"long", missing + " " + std::string(10000, 'a'), REG_SZ},
      {"multi", missing, REG_MULTI_SZ},
      {"huge", missing + " " + std::string(70000, 'a'), REG_SZ},
  };
  for (const auto& [name, data, type] : seeds) test::setText(cu, k, name, data, type);
  test::setBytes(cu, k, "binary", REG_BINARY, std::string("C\0:\0\\\0x\0", 8));
  test::setBytes(cu, k, "nul", REG_SZ,
                 std::string(reinterpret_cast<const char*>(wide(d + "\\app.exe").c_str()),
                             2 * (d.size() + 8)) +
                     std::string("\0\0C\0:\0\\\0", 8));
  for (int i = 0; i < 3000; ++i) test::setText(cu, k + "\\many", "v" + std::to_string(i), "x");
  test::setText(cu, k + "\\many", "deep", missing);
  test::setText(cu, k + "\\Wow6432Node", "skipped", missing);

  InvalidFileWindow& w = frmInvalidFile();
  ASSERT_TRUE(w.open());
  w.Timer1_Timer();
  EXPECT_TRUE(!w.timerOn() && w.cmdDelete.enabled() && !w.cmdStop.enabled());
  std::string prefix = "HKEY_CURRENT_USER:" + k + "\\";
  auto mine = test::rowsWith(w.lstvInvalid, 0, prefix);
  std::set<std::string> listed;
  for (const auto& cells : mine) listed.insert(cells[1]);
  EXPECT_EQ(listed, (std::set<std::string>{"deep", "long", "missing", "wert-\xc3\xa4"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 1, "deep").at(0).at(0), prefix + "many\\");
  for (size_t i = 1; i < w.lstvInvalid.rowCount(); ++i)
    EXPECT_LE(toLower(w.lstvInvalid.rowText(i - 1, 1)), toLower(w.lstvInvalid.rowText(i, 1)));

  auto rowOf = [&](const std::string& name) { return test::rowOf(w.lstvInvalid, prefix, 1, name); };
  w.lstvInvalid.select(rowOf("missing"));
  EXPECT_EQ(w.txtKey.text() + "|" + w.txtValue.text() + "|" + w.txtPath.text(),
            prefix + "|missing|" + missing);

  auto before = test::valueNames(k);
  for (const char* name : {"missing", "wert-\xc3\xa4", "long"})
    w.lstvInvalid.setRowChecked(rowOf(name), true);
  test::setText(cu, k, "long", "changed since the walk");
  w.cmdDelete.click();
  std::erase(before, "missing");
  std::erase(before, "wert-\xc3\xa4");
  EXPECT_EQ(test::valueNames(k), before);
  EXPECT_EQ(rowOf("missing"), size_t(-1));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 1, "deep").size(), 1u);

  // Stop, clicked as the walk starts, ends it before the local machine is walked.
  std::uint64_t whole = w.judgedValues();
  PostMessageW(w.cmdStop.hwnd(), BM_CLICK, 0, 0);
  w.Timer1_Timer();
  EXPECT_LT(w.judgedValues(), whole / 2);
  EXPECT_TRUE(w.cmdDelete.enabled());
  w.cmdClose.click();
}

}  // namespace
}  // namespace glenvask
