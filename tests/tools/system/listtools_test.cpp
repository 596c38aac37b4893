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

std::vector<std::string> column(ToolListView& l, size_t col, const std::string& mark) {
  std::vector<std::string> out;
  for (size_t i = 0; i < l.rowCount(); ++i)
    if (l.rowText(i, 0).find(mark) != std::string::npos) out.push_back(l.rowText(i, col));
  return out;
}

void check(ToolListView& l, std::initializer_list<const char*> names) {
  for (const char* n : names) l.setRowChecked(test::rowOf(l, n), true);
}

// A Shell Folders value pointed at a scratch folder for one test, put back at the end.
struct MovedFolder {
  MovedFolder(HKEY root, const char* value, const std::string& folder)
      : shell(root, kShellFoldersKey, value, folder),
        user(root, kUserShellFolders, value, folder) {}
  static constexpr const char* kUserShellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  test::SavedValue shell, user;
};

TEST(ListTools, StartupRunValuesAndShortcutsEachRemovedAlone) {
  test::ScratchFolder mine("glvstartup"), common("glvcommon"), elsewhere("glvelsewhere");
  MovedFolder user(cu, "Startup", mine.path()), all(lm, "Common Startup", common.path());
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
  EXPECT_EQ(w.text(), "Startup Programs");
  auto& l = w.lstvStartup;
  EXPECT_EQ(column(l, 0, ""),
            (std::vector<std::string>{"a.lnk", "b.LNK", "c.lnk", "GlvRunMachine", "GlvRunUser"}));
  EXPECT_EQ(column(l, 1, ""), (std::vector<std::string>{"Startup Common", "Startup Common",
                                                        "Startup Common", "HKLM:Run", "HKCU:Run"}));
  EXPECT_EQ(column(l, 2, "b.LNK").at(0), mine.file("sub\\b.LNK"));
  EXPECT_EQ(column(l, 2, "GlvRunUser").at(0), "C:\\glv\\user.exe /a");
  EXPECT_EQ(w.lblStatus.text(), "5 program(s) found");
  EXPECT_EQ(arrFiles, std::vector<std::string>{"C:\\glv\\the-run's-file.txt"});
  bAbort = false;

  w.lstvStartup_ColumnClick(1);  // "Key" sorts by the file, first descending
  EXPECT_EQ(column(l, 0, "")[0], "GlvRunUser");
  EXPECT_EQ(column(l, 0, "").back(), "GlvRunMachine");  // its file starts with a quote

  check(l, {"GlvRunUser", "a.lnk"});
  asker.answerMessage(IDNO);
  w.button("cmdDelete").click();
  EXPECT_EQ(asker.asked().back().text, kDeleteStartupQuestion);
  EXPECT_EQ(l.rowCount(), 5u);
  EXPECT_FALSE(l.rowChecked(0) || l.rowChecked(4));
  check(l, {"GlvRunUser", "a.lnk"});
  asker.answerMessage(IDYES);
  w.button("cmdDelete").click();
  EXPECT_FALSE(test::hasValue(cu, kRunKey, "GlvRunUser"));
  EXPECT_FALSE(mine.exists("a.lnk"));
  EXPECT_TRUE(test::hasValue(lm, kRunKey, "GlvRunMachine"));
  EXPECT_TRUE(mine.exists("sub\\b.LNK"));
  EXPECT_TRUE(elsewhere.exists("linked.lnk"));
  EXPECT_EQ(w.lblStatus.text(), "3 program(s) found");
  DeleteRegValues(kHkeyLocalMachine, "GlvRunMachine", kRunKey);
  w.button("cmdOK").click();
  EXPECT_FALSE(w.isOpen());
}

TEST(ListTools, UninstallStartsProgramAndParametersApartAndEditsKeepTheType) {
  test::ScratchFolder dir("glvuninst");
  dir.write("un inst.exe", "x");
  std::string base = std::string(kUninstallKey) + "\\Glv";
  struct Entry {
    const char* key;
    const char* name;
    std::string command;
    DWORD type;
    std::string started;  // "Open|program|parameters"
  } entries[] = {
      {"Quoted", "Glv Quoted", "\"C:\\Program Files\\Glv\\un.exe\" /S /log=\"a b\"", REG_SZ,
       "Open|C:\\Program Files\\Glv\\un.exe|/S /log=\"a b\""},
      {"Blank", "Glv Blank", dir.file("un inst.exe") + " -q", REG_SZ,
       "Open|" + dir.file("un inst.exe") + "|-q"},
      {"Expand", "Glv Expand", "%SystemRoot%\\system32\\msiexec.exe /x{GLV}", REG_EXPAND_SZ,
       "Open|C:\\windows\\system32\\msiexec.exe|/x{GLV}"},
      {"Empty", "Glv Empty", "", REG_SZ, ""},
      {"NoName", "", "C:\\x.exe", REG_SZ, ""},
  };
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const Entry& e : entries) {
    keys.push_back(std::make_unique<test::TestKey>(lm, base + e.key));
    if (*e.name) test::setText(lm, base + e.key, "DisplayName", e.name);
    test::setText(lm, base + e.key, "UninstallString", e.command, e.type);
  }
  test::setText(lm, base + "Quoted\\sub", "", "below");
  test::setText(lm, base + "Blank", "DisplayVersion", "1.2");

  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  UninstallWindow& w = frmUninstall();
  ASSERT_TRUE(w.open());
  auto& l = w.lstvUninstall;
  EXPECT_EQ(column(l, 0, "Glv"),
            (std::vector<std::string>{"Glv Blank", "Glv Empty", "Glv Expand", "Glv Quoted"}));
  EXPECT_EQ(l.row(0).cells,
            (std::vector<std::string>{"Glv Blank", "1.2", dir.file("un inst.exe") + " -q",
                                      "GlvBlank", ""}));
  for (const Entry& e : entries) {
    if (e.started.empty()) continue;
    test::selectOnly(l, test::rowOf(l, e.name));
    w.button("cmdUnInstall").click();
    ASSERT_FALSE(outside.shellCalls.empty());
    EXPECT_EQ(outside.shellCalls.back(), e.started);
  }
  test::selectOnly(l, test::rowOf(l, "Glv Empty"));
  w.button("cmdEdit").click();  // no command: no dialog
  asker.answerModal([](Dialog& d) {
    auto& e = dynamic_cast<EditUninstallDialog&>(d);
    EXPECT_EQ(e.lblName.text(), "Glv Expand");
    e.txt.setText("%SystemRoot%\\system32\\msiexec.exe /x{GLV2}");
    e.cmdOk.click();
  });
  test::selectOnly(l, test::rowOf(l, "Glv Expand"));
  w.button("cmdEdit").click();
  auto saved = readRegText(kHkeyLocalMachine, base + "Expand", "UninstallString");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(column(l, 2, "Glv Expand").at(0), "%SystemRoot%\\system32\\msiexec.exe /x{GLV2}");

  for (const char* name : {"Glv Blank", "Glv Quoted"}) {
    test::selectOnly(l, test::rowOf(l, name));
    w.button("cmdDelete").click();
  }
  EXPECT_FALSE(test::hasKey(lm, base + "Blank"));
  EXPECT_TRUE(test::hasKey(lm, base + "Quoted"));  // it has a subkey
  EXPECT_EQ(test::rowOf(l, "Glv Quoted"), size_t(-1));
  EXPECT_EQ(w.lblStatus.text(), std::to_string(l.rowCount()) + " program(s) found");
  w.button("cmdOK").click();
}

TEST(ListTools, FileAssociationsDeleteTheTypeOnlyWhenItIsTheirsAlone) {
  std::vector<std::unique_ptr<test::TestKey>> keys;
  for (const char* k :
       {".glva", ".glvb", ".glvc", ".glvd", ".glve", "GlvShared.Type", "GlvOwn.Type"})
    keys.push_back(std::make_unique<test::TestKey>(cr, k));
  for (const char* e : {".glva", ".glvb"}) test::setText(cr, e, "", "GlvShared.Type");
  test::setText(cr, ".glvc", "", "GlvOwn.Type");
  test::setText(cr, ".glve", "", "Folder");
  test::setText(cr, "GlvShared.Type", "", "Glv shared files");
  test::setText(cr, "GlvShared.Type\\shell\\open\\command", "", "notepad.exe \"%1\"",
                REG_EXPAND_SZ);
  test::setText(cr, "GlvOwn.Type", "", "X");
  RegCloseKey(test::makeKey(cr, ".glvd"));

  test::ScriptedAsker asker;
  FileAssociationWindow& w = frmFileAssociation();
  ASSERT_TRUE(w.open());
  EXPECT_EQ(w.lblStatus.text(), "Please Wait...Loading");
  ASSERT_TRUE(test::pumpUntil([&] { return !w.timerOn(); }));
  auto& l = w.lstvFileAssociation;
  EXPECT_EQ(column(l, 1, ".glv"), (std::vector<std::string>{"Glv shared files", "Glv shared files",
                                                            "GlvOwn.Type", "", "Folder"}));
  EXPECT_EQ(w.lblStatus.text(), std::to_string(l.rowCount()) + " registered file extensions");
  asker.answerModal([](Dialog& d) {
    auto& e = dynamic_cast<EditFileAssociationDialog&>(d);
    EXPECT_EQ(e.lblName.text(), ".glvb");
    EXPECT_EQ(e.lblDesc.text(), "Glv shared files");
    EXPECT_EQ(e.txt.text(), "notepad.exe \"%1\"");
    e.txt.setText("wordpad.exe \"%1\"");
    e.cmdOk.click();
  });
  test::selectOnly(l, test::rowOf(l, ".glvb"));
  w.button("cmdEdit").click();
  auto command = readRegText(kHkeyClassesRoot, "GlvShared.Type\\shell\\open\\command", "");
  EXPECT_EQ(command->text, "wordpad.exe \"%1\"");
  EXPECT_EQ(command->type, static_cast<DWORD>(REG_EXPAND_SZ));

  const std::pair<const char*, int> answers[] = {
      {".glvb", IDNO}, {".glva", IDYES}, {".glvc", IDYES}, {".glvd", IDYES}, {".glve", IDYES}};
  for (const auto& [ext, answer] : answers) {
    asker.answerMessage(answer);
    test::selectOnly(l, test::rowOf(l, ext));
    w.button("cmdDelete").click();
    EXPECT_EQ(asker.asked().back().text, kDeleteAssociationQuestion);
    EXPECT_EQ(test::rowOf(l, ext) != size_t(-1), answer == IDNO) << ext;
  }
  std::pair<const char*, bool> after[] = {
      {".glva", false}, {".glvb", true},          {".glvc", false},       {".glvd", false},
      {".glve", false}, {"GlvShared.Type", true}, {"GlvOwn.Type", false}, {"Folder", true}};
  for (const auto& [key, there] : after) EXPECT_EQ(test::hasKey(cr, key), there) << key;

  l.onColumnClick(0);  // the first header click sorts descending
  EXPECT_GT(l.rowText(0, 0), l.rowText(l.rowCount() - 1, 0));
  w.button("cmdOK").click();
}

}  // namespace
}  // namespace glenvask
