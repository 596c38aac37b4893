// Startup programs, uninstall entries and file associations over their real keys and
// folders of the prefix.
#include <gtest/gtest.h>

#include "services/globals.h"
#include "support/scripted.h"
#include "tools/frmEditFileAssoc.h"
#include "tools/frmEditUninstall.h"
#include "tools/frmFileAssoc.h"
#include "tools/frmStartup.h"
#include "tools/frmUninstall.h"
#include "tools/regvalue.h"
#include "tools/tools_support.h"

namespace glenvask {
namespace {

const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER, cr = HKEY_CLASSES_ROOT;
using Texts = std::vector<std::string>;

// Cell `col` of the rows whose first cell holds the mark.
Texts column(ToolListView& l, size_t col, const std::string& mark = "") {
  Texts out;
  for (size_t i = 0; i < l.rowCount(); ++i)
    if (l.rowText(i, 0).find(mark) != std::string::npos) out.push_back(l.rowText(i, col));
  return out;
}

// Selects the row alone and clicks the button.
void clickOn(ListToolWindow& w, const std::string& row, const char* button) {
  test::selectOnly(w.list(), test::rowOf(w.list(), row));
  w.button(button).click();
}

TEST(ListTools, StartupRunValuesAndShortcutsEachRemovedAlone) {
  test::ScratchFolder mine("glvstartup"), common("glvcommon"), elsewhere("glvelsewhere");
  const char* userFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  test::SavedValue shell(cu, kShellFoldersKey, "Startup", mine.path()),
      user(cu, userFolders, "Startup", mine.path()),
      allShell(lm, kShellFoldersKey, "Common Startup", common.path()),
      allUser(lm, userFolders, "Common Startup", common.path());
  for (const char* f : {"a.lnk", "sub\\b.LNK", "note.txt"}) mine.write(f, "x");
  common.write("c.lnk", "x");
  elsewhere.write("linked.lnk", "x");
  test::makeFolderLink(mine.file("link"), elsewhere.path());
  test::setText(cu, kRunKey, "GlvRunUser", "C:\\glv\\user.exe /a");
  test::setText(lm, kRunKey, "GlvRunMachine", "\"C:\\glv\\machine.exe\"");
  // A run is going on, and was stopped: its lists and flag are none of this window's.
  arrFiles = {"C:\\glv\\the-run's-file.txt"};
  bAbort = true;

  test::ScriptedAsker asker;
  StartupProgramsWindow& w = frmStartupPrograms();
  ASSERT_TRUE(w.open());
  auto& l = w.lstvStartup;
  EXPECT_EQ(column(l, 0), (Texts{"a.lnk", "b.LNK", "c.lnk", "GlvRunMachine", "GlvRunUser"}));
  EXPECT_EQ(column(l, 1), (Texts{"Startup Common", "Startup Common", "Startup Common",
                                 "HKLM:Run", "HKCU:Run"}));
  EXPECT_EQ(column(l, 2, "b.LNK").at(0), mine.file("sub\\b.LNK"));
  EXPECT_EQ(column(l, 2, "GlvRunUser").at(0), "C:\\glv\\user.exe /a");
  EXPECT_EQ(w.lblStatus.text(), "5 program(s) found");
  EXPECT_EQ(arrFiles, Texts{"C:\\glv\\the-run's-file.txt"});
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
  EXPECT_FALSE(test::hasValue(cu, kRunKey, "GlvRunUser"));
  EXPECT_FALSE(mine.exists("a.lnk"));
  EXPECT_TRUE(test::hasValue(lm, kRunKey, "GlvRunMachine"));
  EXPECT_TRUE(mine.exists("sub\\b.LNK") && elsewhere.exists("linked.lnk"));
  EXPECT_EQ(w.lblStatus.text(), "3 program(s) found");
  EXPECT_FALSE(l.rowChecked(0) || l.rowChecked(1) || l.rowChecked(2));
  DeleteRegValues(kHkeyLocalMachine, "GlvRunMachine", kRunKey);
  w.button("cmdOK").click();
  EXPECT_FALSE(w.isOpen());
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
      {"NoName", "", "C:\\x.exe", REG_SZ, ""},
  };
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
  EXPECT_EQ(column(l, 0, "Glv"), (Texts{"Glv Blank", "Glv Empty", "Glv Expand", "Glv Quoted"}));
  EXPECT_EQ(l.row(0).cells, (Texts{"Glv Blank", "1.2", blank + " -q", "GlvBlank", ""}));
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
  EXPECT_FALSE(test::hasKey(lm, base + "Blank"));
  EXPECT_TRUE(test::hasKey(lm, base + "Quoted"));  // it has a subkey
  EXPECT_EQ(column(l, 0, "Glv"), (Texts{"Glv Empty", "Glv Expand"}));
  EXPECT_EQ(w.lblStatus.text(), std::to_string(before + 2) + " program(s) found");
  w.button("cmdOK").click();
}

TEST(ListTools, FileAssociationsDeleteTheTypeOnlyWhenItIsTheirsAlone) {
  test::ScriptedAsker asker;
  FileAssociationWindow& w = frmFileAssociation();
  ASSERT_TRUE(w.open());
  EXPECT_EQ(w.lblStatus.text(), "Please Wait...Loading");
  ASSERT_TRUE(test::pumpUntil([&] { return !w.timerOn(); }));
  auto& l = w.lstvFileAssociation;
  size_t before = l.rowCount();
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const char* k : {".glva", ".glvb", ".glvc", ".glvd", ".glve", "GlvShared.Type", "GlvOwn.Type"})
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
            (Texts{"Glv shared files", "Glv shared files", "GlvOwn.Type", "", "Folder"}));
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
  EXPECT_EQ(column(l, 0, ".glv"), Texts{".glvb"});
  EXPECT_EQ(w.lblStatus.text(), std::to_string(before + 1) + " registered file extensions");
  for (const char* key : {".glvb", "GlvShared.Type", "Folder"}) EXPECT_TRUE(test::hasKey(cr, key));
  for (const char* key : {".glva", ".glvc", ".glvd", ".glve", "GlvOwn.Type"})
    EXPECT_FALSE(test::hasKey(cr, key)) << key;

  w.button("cmdOK").click();
}

}  // namespace
}  // namespace glenvask
