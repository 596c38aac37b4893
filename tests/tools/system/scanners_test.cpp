// The reference scanners over their real keys of the prefix: rows of missing targets first,
// checked, with the first icon; Delete removes exactly the checked entries and sends an
// existing file to the Recycle Bin only when asked and never from the Windows folder; the
// edit dialogs write only a changed text and keep an expandable string's type.
#include <gtest/gtest.h>

#include "services/system.h"
#include "support/scripted.h"
#include "tools/frmEditAppPath.h"
#include "tools/frmEditHelp.h"
#include "tools/frmOrphanedActivex.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/frmOrphanedDll.h"
#include "tools/frmOrphanedHelp.h"
#include "tools/tools_support.h"

namespace glenvask {
namespace {

const HKEY lm = HKEY_LOCAL_MACHINE;

// The rows as "name|checked|icon", in list order.
std::vector<std::string> shown(ReferenceScanner& s, size_t col, const std::string& mark) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.list().rowCount(); ++i)
    if (s.list().rowText(i, col).find(mark) != std::string::npos)
      out.push_back(s.list().rowText(i, col) + "|" + (s.list().rowChecked(i) ? "1" : "0") + "|" +
                    std::to_string(s.list().row(i).image));
  return out;
}

void scan(ReferenceScanner& s) {
  ASSERT_TRUE(s.open());
  s.Timer1_Timer();
}

TEST(Scanners, SharedDllsMissingFirstDeletedWithTheirFilesOutsideWindows) {
  test::ScratchFolder dir("glvdll");
  test::TestKey key(lm, kSharedDllsKey);
  std::string d = dir.path(), win = "C:\\windows\\glv-scanner-test.dll";
  dir.write("here.dll", "x");
  dir.write("text.dll", "x");
  dir.write("sub\\f.txt", "x");
  HANDLE h = CreateFileW(wide(win).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  const std::pair<std::string, DWORD> counts[] = {
      {d + "\\gone.dll", 3},       {d + "\\here.dll", 0},     {d + "\\sub", 4}, {win, 2},
      {"R:\\glvdll\\gone.dll", 1}, {"glvdll-relative.dll", 1}};
  for (const auto& [name, n] : counts) test::setNumber(lm, kSharedDllsKey, name, n);
  test::setText(lm, kSharedDllsKey, d + "\\text.dll", "7");
  test::setBytes(lm, kSharedDllsKey, d + "\\binary.dll", REG_BINARY, "\x05");

  OrphanedDllWindow& w = frmOrphanedDLL();
  scan(w);
  EXPECT_EQ(w.text(), "Orphaned shared DLLs");
  EXPECT_EQ(shown(w, 1, "glvdll"),
            (std::vector<std::string>{d + "\\gone.dll|1|0", d + "\\here.dll|0|1", d + "\\sub|0|1",
                                      d + "\\text.dll|0|1", "glvdll-relative.dll|0|1",
                                      "R:\\glvdll\\gone.dll|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvOrphanedDLL, 1, "text.dll").at(0).at(0), "7");
  EXPECT_EQ(w.lblStatus.text(), "8 entries, 1 with missing files, 1 with zero usage count");

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    if (w.list().rowText(i, 1) == d + "\\here.dll" || w.list().rowText(i, 1) == win ||
        w.list().rowText(i, 1) == d + "\\sub")
      w.list().setRowChecked(i, true);
  w.chkDelete.setChecked(true);
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasValue(lm, kSharedDllsKey, d + "\\gone.dll"));
  EXPECT_FALSE(test::hasValue(lm, kSharedDllsKey, d + "\\here.dll"));
  EXPECT_FALSE(test::hasValue(lm, kSharedDllsKey, win));
  EXPECT_FALSE(dir.exists("here.dll"));
  EXPECT_TRUE(dir.exists("sub\\f.txt"));  // a folder is never sent away
  EmptyRecycleBin("", true, true, true);
  EXPECT_NE(GetFileAttributesW(wide(win).c_str()), INVALID_FILE_ATTRIBUTES);  // Windows: kept
  DeleteFileW(wide(win).c_str());
  EXPECT_TRUE(test::hasValue(lm, kSharedDllsKey, d + "\\binary.dll"));
  EXPECT_TRUE(test::hasValue(lm, kSharedDllsKey, "glvdll-relative.dll"));
  EXPECT_EQ(w.lblStatus.text(), "3 entries, 0 with missing files, 0 with zero usage count");
  w.cmdClose.click();
}

TEST(Scanners, AppPathsListedEditedAndDeleted) {
  test::ScratchFolder dir("glvapp");
  std::string d = dir.path();
  dir.write("here.exe", "x");
  std::string base = std::string(kAppPathsKey) + "\\glv-";
  const std::pair<std::string, std::string> entries[] = {
      {"missing.exe", d + "\\missing.exe"},
      {"quoted.exe", "\"" + d + "\\here.exe\""},
      {"args.exe", d + "\\here.exe /x"},
      {"percent.exe", "%SystemRoot%\\no-such.exe"},
      {"absent.exe", "R:\\missing.exe"}};
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const auto& [name, path] : entries) {
    keys.push_back(std::make_unique<test::TestKey>(lm, base + name));
    test::setText(lm, base + name, "", path, name == "missing.exe" ? REG_EXPAND_SZ : REG_SZ);
  }
  InvalidAppPathWindow& w = frmInvalidAppPath();
  scan(w);
  EXPECT_EQ(shown(w, 0, "glv-"),
            (std::vector<std::string>{"glv-missing.exe|1|0", "glv-absent.exe|0|1",
                                      "glv-args.exe|0|1", "glv-quoted.exe|0|1"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 0, "glv-quoted").at(0).at(1), d + "\\here.exe");
  EXPECT_EQ(w.lblStatus.text(), std::to_string(w.list().rowCount()) + " entries, 1 orphaned");

  // Save unchanged writes nothing; Browse, then Save, writes the file chosen.
  test::ScriptedAsker asker;
  auto edit = [&](std::optional<std::string> browsed) {
    asker.answerModal([&](Dialog& dialog) {
      auto& e = dynamic_cast<EditAppPathDialog&>(dialog);
      EXPECT_EQ(e.lblName.text(), "glv-missing.exe");
      EXPECT_EQ(e.txt.text(), d + "\\missing.exe");
      if (browsed) {
        asker.answerFile(browsed);
        e.cmdBrowse.click();
      }
      e.cmdOk.click();
    });
    test::selectOnly(w.list(), 0);
    w.cmdEdit.click();
    EXPECT_TRUE(w.timerOn());
    w.Timer1_Timer();
  };
  test::setBytes(lm, base + "missing.exe", "", REG_EXPAND_SZ,
                 std::string(reinterpret_cast<const char*>(wide(d + "\\missing.exe").c_str()),
                             2 * (d.size() + 12)) +
                     std::string("\0\0t\0a\0i\0l\0", 10));
  auto rawSize = [&] {
    DWORD size = 0;
    HKEY k = test::makeKey(lm, base + "missing.exe");
    RegQueryValueExW(k, L"", nullptr, nullptr, nullptr, &size);
    RegCloseKey(k);
    return size;
  };
  DWORD before = rawSize();
  edit(std::nullopt);
  EXPECT_EQ(rawSize(), before);  // the bytes after the text's end are still there
  edit(d + "\\here.exe");
  EXPECT_EQ(asker.asked().back().text, "*.exe|*.exe");
  DWORD type = 0;
  RegGetValueW(lm, wide(base + "missing.exe").c_str(), nullptr, RRF_RT_ANY | RRF_NOEXPAND, &type,
               nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(shown(w, 0, "glv-missing"), std::vector<std::string>{"glv-missing.exe|0|1"});

  for (size_t i = 0; i < w.list().rowCount(); ++i)
    w.list().setRowChecked(i, w.list().rowText(i, 0) == "glv-absent.exe");
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasKey(lm, base + "absent.exe"));
  EXPECT_TRUE(test::hasKey(lm, base + "args.exe"));
  EXPECT_TRUE(test::hasKey(lm, std::string(kAppPathsKey) + "\\iexplore.exe"));
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
  scan(w);
  EXPECT_EQ(shown(w, 0, "."),
            (std::vector<std::string>{"gone.hlp|1|0", "here.chm|0|1", "rel.chm|0|1"}));
  EXPECT_EQ(w.list().row(0).cells,
            (std::vector<std::string>{"gone.hlp", d + "\\", std::string(kHelpKey) + "\\"}));
  EXPECT_EQ(w.lblStatus.text(), "3 entries, 1 orphaned");

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
  EXPECT_FALSE(test::hasValue(lm, kHtmlHelpKey, "here.chm"));
  EXPECT_FALSE(dir.exists("here.chm"));
  EmptyRecycleBin("", true, true, true);
  EXPECT_TRUE(test::hasValue(lm, kHelpKey, "gone.hlp"));
  EXPECT_TRUE(test::hasValue(lm, kHtmlHelpKey, "rel.chm"));
  w.cmdClose.click();
}

TEST(Scanners, ActiveXComponentsNotInstalledFirstAndDeletedWhole) {
  std::string base = std::string(kInstalledComponentsKey) + "\\{glv-";
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const char* n : {"1}", "2}", "3}", "4}", "5}"})
    keys.push_back(std::make_unique<test::TestKey>(lm, base + n));
  test::setText(lm, base + "1}", "", "Glv One");
  test::setNumber(lm, base + "1}", "IsInstalled", 1);
  test::setText(lm, base + "1}", "StubPath", "C:\\windows\\system32\\x.exe /s");
  test::setText(lm, base + "2}", "", "Glv Two");
  test::setNumber(lm, base + "2}", "IsInstalled", 0);
  test::setText(lm, base + "2}\\sub", "", "below");
  test::setText(lm, base + "3}", "", "Glv Three");
  test::setText(lm, base + "3}", "IsInstalled", "1");
  test::setNumber(lm, base + "4}", "IsInstalled", 0);
  test::setText(lm, base + "5}", "", "Glv Five");
  InvalidActiveXWindow& w = frmInvalidActivex();
  scan(w);
  EXPECT_EQ(shown(w, 0, "Glv"), (std::vector<std::string>{"Glv Five|1|0", "Glv Two|1|0",
                                                          "Glv One|0|1", "Glv Three|0|1"}));
  EXPECT_EQ(
      test::rowsWith(w.lstvInvalid, 0, "Glv One").at(0),
      (std::vector<std::string>{"Glv One", "True", "C:\\windows\\system32\\x.exe /s", "{glv-1}"}));
  EXPECT_EQ(test::rowsWith(w.lstvInvalid, 1, "True").size() + 2, w.list().rowCount());
  w.cmdDelete.click();
  EXPECT_FALSE(test::hasKey(lm, base + "2}"));
  EXPECT_FALSE(test::hasKey(lm, base + "5}"));
  for (const char* n : {"1}", "3}", "4}"}) EXPECT_TRUE(test::hasKey(lm, base + n)) << n;
  w.Timer1_Timer();
  EXPECT_EQ(w.lblStatus.text(), std::to_string(w.list().rowCount()) + " entries, 0 orphaned");
  w.cmdClose.click();
}

}  // namespace
}  // namespace glenvask
