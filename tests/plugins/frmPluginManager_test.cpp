// The plug-in manager on real files and a scratch key: plg.txt, Add, Delete, Edit, Process.
#include "plugins/frmPluginManager.h"

#include <gtest/gtest.h>

#include "services/delete.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/registry.h"
#include "support/host.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Texts = std::vector<std::string>;

// One line of a plug-in file or of plg.txt: the fields joined by the character 1.
std::string rec(std::initializer_list<std::string> fields) {
  std::string line;
  for (const auto& f : fields) line += (line.empty() ? "" : "\x01") + f;
  return line + "\r\n";
}

// The main window's part in Process: deletes what was collected, counting as a category.
class DeletingHost : public test::RecordingHost {
 public:
  std::function<void()> afterEachFile;
  std::int64_t files = 0, space = 0;
  void deleteFiles() override {
    for (size_t i = 0; i < arrFiles.size(); ++i) {
      doEvents();
      if (bAbort) return stopOperation("Aborted by user");
      std::int64_t n = 0;
      if (DeleteJunkFile(arrFiles[i], &n)) ++files, space += n;
      if (afterEachFile) afterEachFile();
    }
  }
  std::int64_t categoryFileCount() const override { return files; }
  std::int64_t categorySpace() const override { return space; }
  void clearCategoryCounters() override { files = space = 0; }
};

class ManagerTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  test::ScriptedAsker asker;
  DeletingHost host;
  std::uint64_t slice_ = EventPump::sliceMs();

  void SetUp() override {
    setAppPath(app.path());
    EventPump::setSliceMs(0);  // every pump dispatches: a posted close is seen at once
    DeleteMethod = kDeletePlain;
  }
  void TearDown() override {
    frmPluginManager().destroy();
    EventPump::setSliceMs(slice_);
    bAbort = false;
    setAppPath("");
  }
  void plugin(const std::string& name, const std::string& s) { app.write("Plugins\\" + name, s); }
  FileHandle hold(const char* name) {
    return FileHandle(CreateFileW(wide(app.file(name)).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  }
  Texts rows(PluginManagerWindow& m) {
    Texts out;
    for (const auto& e : m.entries())
      out.push_back((e.checked ? "1 " : "0 ") + e.fileName + " " + e.description);
    return out;
  }
  Texts messages() {
    Texts out;
    for (const auto& q : asker.asked())
      if (q.kind == "message") out.push_back(q.text);
    return out;
  }
};

TEST_F(ManagerTest, ListsExistingPluginsSortedAndWritesThemBackOnClose) {
  for (const char* n : {"b.qvp", "A.qvp", "c.qvp"}) plugin(n, rec({"D", ""}));
  app.write("plg.txt", rec({"1", "b.qvp", "B"}) + rec({"0", "A.qvp", "Caf\xC3\xA9"}) +
                           rec({"1", "missing.qvp", "gone"}) + rec({"1", "c.qvp"}) +
                           rec({"yes", "b.qvp", "odd"}));
  PluginManagerWindow& m = frmPluginManager();
  EXPECT_EQ(rows(m), (Texts{"0 A.qvp Caf\xC3\xA9", "1 b.qvp B", "0 b.qvp odd", "1 c.qvp "}));
  EXPECT_EQ(m.lblStatus.text(), "4 plugin(s) listed");
  // Each header click reverses the order, whichever column it is.
  m.lstvPlugin_ColumnClick(0);
  m.lstvPlugin_ColumnClick(1);
  EXPECT_EQ(rows(m), (Texts{"1 c.qvp ", "1 b.qvp B", "0 A.qvp Caf\xC3\xA9", "0 b.qvp odd"}));
  m.lstvPlugin.setRowChecked(0, false);
  m.cmdClose.click();
  // Written in the system's code page (1252 here).
  EXPECT_EQ(app.read("plg.txt"), rec({"0", "c.qvp", ""}) + rec({"1", "b.qvp", "B"}) +
                                     rec({"0", "A.qvp", "Caf\xE9"}) + rec({"0", "b.qvp", "odd"}));
  app.write("plg.txt", "");
  frmPluginManager().mnuExit_Click();
  EXPECT_EQ(app.read("plg.txt"), "");
}

TEST_F(ManagerTest, AFileThatCannotBeReadOrStoredIsLeftAsItIs) {
  const std::string list = rec({"1", "a.qvp", "A"}), a = rec({"D", "A"});
  plugin("a.qvp", a);
  plugin("far.qvp", rec({"D", "\xE6\x97\xA5"}));  // a character code page 1252 lacks
  app.write("plg.txt", list);
  asker.answerMessage(IDOK);
  EXPECT_TRUE(hold("plg.txt") && frmPluginManager().lstvPlugin.rowCount() == 0);  // held meanwhile
  frmPluginManager().mnuExit_Click();
  EXPECT_EQ(app.read("plg.txt"), list);

  PluginManagerWindow& m = frmPluginManager();
  m.lstvPlugin.select(0);
  asker.answerMessage(IDOK);
  if (FileHandle held = hold("Plugins\\a.qvp")) m.mnuEdit_Click();  // no editor is shown
  EXPECT_EQ(app.read("Plugins\\a.qvp"), a);
  asker.answerFile(app.file("Plugins\\far.qvp"));
  asker.answerMessage(IDOK);
  m.mnuAdd_Click();
  m.setPluginDescription(m.lstvPlugin.rowKey(0), "\xE6\x97\xA5");
  asker.answerMessage(IDOK);
  m.mnuExit_Click();
  EXPECT_EQ(app.read("plg.txt"), list);
  EXPECT_EQ(messages(), (Texts{kMsgPluginListUnreadable, kMsgPluginUnreadable, kMsgNotInCodePage,
                               kMsgPluginListNotInCodePage}));
}

TEST_F(ManagerTest, AddTakesOnlyDescribedFilesOfThePluginsFolder) {
  plugin("d.qvp", rec({"D", "described"}) + rec({"F", "No", "No", "C:\\x\\*.tmp"}));
  plugin("f.qvp", rec({"F", "No", "No", "C:\\x\\*.tmp"}) + rec({"D", "late"}));
  app.write("other\\x.qvp", rec({"D", "elsewhere"}));
  const std::string outside = std::string(kMsgPluginFolder) + "\r\n" + app.path() + "\\Plugins\\";
  // Outside (directly, through ".."), inside (through "..", in capitals), undescribed, none.
  for (const char* chosen : {"other\\x.qvp", "Plugins\\..\\other\\x.qvp",
                             "other\\..\\Plugins\\d.qvp", "PLUGINS\\d.qvp", "Plugins\\f.qvp", ""})
    asker.answerFile(*chosen ? std::optional(app.file(chosen)) : std::nullopt);
  for (int i = 0; i < 3; ++i) asker.answerMessage(IDOK);
  PluginManagerWindow& m = frmPluginManager();
  for (int i = 0; i < 6; ++i) m.mnuAdd_Click();
  EXPECT_EQ(messages(), (Texts{outside, outside, kMsgPluginLoadError}));
  EXPECT_EQ(rows(m), (Texts{"1 d.qvp described", "1 d.qvp described"}));
  EXPECT_EQ(asker.asked().front().text, kPluginsFilter);
}

TEST_F(ManagerTest, MenusFollowTheHighlightAndDeleteRemovesOnlyHighlightedPlugins) {
  for (const char* n : {"a.qvp", "b.qvp", "c.qvp"}) plugin(n, rec({"D", n}));
  app.write("plg.txt", rec({"1", "a.qvp"}) + rec({"0", "b.qvp"}) + rec({"1", "c.qvp"}));
  PluginManagerWindow& m = frmPluginManager();
  for (bool highlighted : {false, true}) {
    if (highlighted) m.mnuSelectAll_Click();
    m.mnuFile_Click();
    m.mnuView_Click();
    EXPECT_EQ(m.menuItemEnabled(ids::kCmdPluginDelete) + m.menuItemEnabled(ids::kCmdPluginDeselectAll),
              2 * highlighted);
  }
  m.mnuCheckAll_Click();  // b.qvp was unchecked
  m.mnuDeselectAll_Click();
  for (size_t i : {0, 2}) m.lstvPlugin.select(i);
  asker.answerMessage(IDNO);
  asker.answerMessage(IDYES);
  m.mnuDelete_Click();
  EXPECT_EQ(m.lstvPlugin.rowCount(), 3u);
  m.mnuDelete_Click();
  EXPECT_EQ(messages(), Texts(2, kMsgDeletePlugins));
  EXPECT_TRUE(rows(m) == Texts{"1 b.qvp "} && m.lblStatus.text() == "1 plugin(s) listed");
  EXPECT_FALSE(app.exists("Plugins\\a.qvp") || app.exists("Plugins\\c.qvp") ||
               !app.exists("Plugins\\b.qvp"));
}

TEST_F(ManagerTest, CloseDuringProcessStopsItAndNothingRunsAfter) {
  test::ScratchKey key;
  std::string data = app.path() + "\\data";
  plugin("p1.qvp", rec({"F", "No", "No", data + "\\one\\*.*"}) +
                       rec({"R", "No", "No", "HKEY_CURRENT_USER\\" + key.subkey(), "v"}));
  plugin("p2.qvp", rec({"F", "No", "No", data + "\\two\\*.*"}));
  app.write("plg.txt", rec({"1", "p1.qvp"}) + rec({"1", "p2.qvp"}));
  // Closed before the walk, or after the first file deleted: files left, value left.
  using Case = std::tuple<bool, int, bool>;
  for (auto [closeBeforeWalk, filesLeft, valueLeft] : {Case{true, 3, true}, Case{false, 2, false}}) {
    SCOPED_TRACE(closeBeforeWalk);
    for (const char* f : {"one\\a", "one\\b", "one\\c", "two\\d"})
      app.write("data\\" + std::string(f), "x");
    SetRegString(kHkeyCurrentUser, key.subkey(), "v", "1");
    host.stops.clear();
    PluginManagerWindow& m = frmPluginManager();
    m.mnuSelectAll_Click();
    host.afterEachFile = [&m] {
      // Meanwhile the list and menus are off, and a command that reaches the window is not run.
      EXPECT_FALSE(m.lstvPlugin.enabled());
      EXPECT_TRUE(GetMenuState(GetMenu(m.hwnd()), 0, MF_BYPOSITION) & MF_GRAYED);
      SendMessageW(m.hwnd(), WM_COMMAND, ids::kCmdPluginDelete, 0);
      PostMessageW(m.hwnd(), WM_CLOSE, 0, 0);
    };
    if (closeBeforeWalk) PostMessageW(m.hwnd(), WM_CLOSE, 0, 0);
    m.mnuProcess_Click();
    EXPECT_TRUE(m.isOpen()) << "the close waits for the loop";
    EXPECT_TRUE(test::pumpUntil([&] { return !m.isOpen(); }));
    EXPECT_EQ(app.exists("data\\one\\a") + app.exists("data\\one\\b") + app.exists("data\\one\\c"),
              filesLeft);
    EXPECT_TRUE(app.exists("data\\two\\d")) << "the next plug-in never ran";
    EXPECT_EQ(GetRegString(kHkeyCurrentUser, key.subkey(), "v") == "1", valueLeft);
    EXPECT_EQ(host.stops, Texts{"Aborted by user"});
    EXPECT_EQ(app.read("plg.txt"), rec({"1", "p1.qvp", ""}) + rec({"1", "p2.qvp", ""}));
    host.afterEachFile = nullptr;
  }
  // A run stopped before does not stop the next; the highlighted plug-ins only.
  PluginManagerWindow& m = frmPluginManager();
  m.lstvPlugin.select(1);
  m.mnuProcess_Click();
  EXPECT_EQ(m.lblStatus.text(), "Processed selected plugin(s) Total Files Deleted:  1  none none  "
                                "0  KB");
  EXPECT_TRUE(app.exists("data\\one\\c") && !app.exists("data\\two\\d"));
  EXPECT_TRUE(m.lstvPlugin.enabled() && m.menuItemEnabled(ids::kCmdPluginNew));
}

TEST_F(ManagerTest, EditorSavesIntoItsOwnRow) {
  plugin("a.qvp", rec({"D", "first"}));
  plugin("b.qvp", rec({"D", "s\xE9" "cond"}));  // not UTF-8: read in the code page
  app.write("plg.txt", rec({"1", "a.qvp", "first"}) + rec({"0", "b.qvp", "second"}));
  PluginManagerWindow& m = frmPluginManager();
  asker.answerModal([&](Dialog& d) {
    auto& ed = dynamic_cast<PluginEditorWindow&>(d);
    EXPECT_EQ(ed.text(), "Plugins - NoName");
    ed.txtDescription.setText("new one");
    asker.answerInput("new");
    ed.cmdSave.click();
    ed.cmdClose.click();
  });
  m.mnuCreate_Click();
  EXPECT_EQ(rows(m), (Texts{"1 a.qvp first", "0 b.qvp second", "1 new.qvp new one"}));
  EXPECT_EQ(m.lblStatus.text(), "3 plug-in(s) listed");
  // Edited from its row (double click); another row highlighted meanwhile keeps its text.
  asker.answerModal([&](Dialog& d) {
    auto& ed = dynamic_cast<PluginEditorWindow&>(d);
    EXPECT_EQ(ed.txtDescription.text(), "s\xC3\xA9" "cond");
    ed.txtDescription.setText("changed");
    m.lstvPlugin.select(1, false);
    m.lstvPlugin.select(0);
    ed.cmdSave.click();
  });
  m.lstvPlugin.select(1);
  m.lstvPlugin_DblClick();
  EXPECT_EQ(rows(m), (Texts{"1 a.qvp first", "0 b.qvp changed", "1 new.qvp new one"}));
  EXPECT_EQ(app.read("Plugins\\b.qvp"), rec({"D", "changed"}));
}

}  // namespace
}  // namespace glenvask
