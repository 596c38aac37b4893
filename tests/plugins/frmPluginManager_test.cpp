// The plug-in manager on real files and a scratch registry key: the list and plg.txt, Add,
// Delete, the editor's rows, and Process with its stop by a close.
#include "plugins/frmPluginManager.h"

#include <gtest/gtest.h>

#include <functional>

#include "plugins/engine.h"
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

const std::string S = "\x01";

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
  void deleteFolders() override {
    for (size_t i = arrFolders.size(); i-- > 0;) RemoveDirectoryW(wide(arrFolders[i]).c_str());
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
    instanceOrNull().destroy();
    EventPump::setSliceMs(slice_);
    bAbort = false;
    setAppPath("");
  }
  static PluginManagerWindow& instanceOrNull() { return frmPluginManager(); }

  void plugin(const std::string& name, const std::string& body) {
    app.write("Plugins\\" + name, body);
  }
  std::vector<std::string> rows(PluginManagerWindow& m) {
    std::vector<std::string> out;
    for (const auto& e : m.entries())
      out.push_back((e.checked ? "1 " : "0 ") + e.fileName + " " + e.description);
    return out;
  }
  std::vector<std::string> listed(const char* a, const char* b, const char* c = nullptr) {
    std::vector<std::string> out{a, b};
    if (c) out.push_back(c);
    return out;
  }
};

TEST_F(ManagerTest, ListsExistingPluginsSortedAndWritesThemBackOnClose) {
  for (const char* n : {"b.qvp", "A.qvp", "c.qvp"}) plugin(n, "D" + S + "\r\n");
  app.write("plg.txt", "1" + S + "b.qvp" + S + "B\r\n0" + S + "A.qvp" + S + "a\r\n1" + S +
                           "missing.qvp" + S + "gone\r\n1" + S + "c.qvp\r\n\r\nx\r\n1" + S +
                           "..\\Plugins\\b.qvp" + S + "x\r\nyes" + S + "b.qvp" + S + "odd\r\n");
  PluginManagerWindow& m = frmPluginManager();
  EXPECT_EQ(m.text(), "Plugins Manager");
  EXPECT_EQ(rows(m), (std::vector<std::string>{"0 A.qvp a", "1 b.qvp B", "0 b.qvp odd",
                                               "1 c.qvp "}));
  EXPECT_EQ(m.lblStatus.text(), "4 plugin(s) listed");
  // Each header click reverses the order, whichever column it is.
  m.lstvPlugin_ColumnClick(0);
  EXPECT_EQ(m.entries().front().fileName, "c.qvp");
  m.lstvPlugin_ColumnClick(1);
  EXPECT_EQ(rows(m), (std::vector<std::string>{"1 c.qvp ", "0 A.qvp a", "1 b.qvp B",
                                               "0 b.qvp odd"}));
  m.lstvPlugin.setRowChecked(0, false);
  m.cmdClose.click();
  EXPECT_FALSE(m.isOpen());
  EXPECT_EQ(app.read("plg.txt"), "0" + S + "c.qvp" + S + "\r\n0" + S + "A.qvp" + S + "a\r\n1" +
                                     S + "b.qvp" + S + "B\r\n0" + S + "b.qvp" + S + "odd\r\n");
  app.write("plg.txt", "");
  EXPECT_EQ(frmPluginManager().lblStatus.text(), "0 plugin(s) listed");
  frmPluginManager().mnuExit_Click();
  EXPECT_EQ(app.read("plg.txt"), "");
}

TEST_F(ManagerTest, AddTakesOnlyDescribedFilesOfThePluginsFolder) {
  plugin("d.qvp", "D" + S + "described\r\nF" + S + "No" + S + "No" + S + "C:\\x\\*.tmp\r\n");
  plugin("f.qvp", "F" + S + "No" + S + "No" + S + "C:\\x\\*.tmp\r\nD" + S + "late\r\n");
  app.write("other\\x.qvp", "D" + S + "elsewhere\r\n");
  const std::string folderMessage =
      std::string(kMsgPluginFolder) + "\r\n" + app.path() + "\\Plugins\\";
  struct Case {
    std::optional<std::string> chosen;
    std::string message;  // empty: added
  } cases[] = {
      {app.file("other\\x.qvp"), folderMessage},
      {app.file("Plugins\\..\\other\\x.qvp"), folderMessage},
      {app.file("other\\..\\Plugins\\d.qvp"), ""},
      {app.file("PLUGINS\\d.qvp"), ""},
      {app.file("Plugins\\f.qvp"), kMsgPluginLoadError},
      {std::nullopt, ""},
  };
  PluginManagerWindow& m = frmPluginManager();
  for (const auto& c : cases) {
    asker.answerFile(c.chosen);
    if (!c.message.empty()) asker.answerMessage(IDOK);
    size_t asked = asker.asked().size();
    m.mnuAdd_Click();
    EXPECT_EQ(asker.asked().size(), asked + (c.message.empty() ? 1 : 2));
    EXPECT_EQ(c.message.empty() ? "" : asker.asked().back().text, c.message);
  }
  EXPECT_EQ(rows(m), listed("1 d.qvp described", "1 d.qvp described"));
  EXPECT_EQ(asker.asked().front().text, kPluginsFilter);
}

TEST_F(ManagerTest, MenusFollowTheHighlightAndDeleteRemovesOnlyHighlightedPlugins) {
  for (const char* n : {"a.qvp", "b.qvp", "c.qvp"}) plugin(n, "D" + S + n + "\r\n");
  app.write("plg.txt", "1" + S + "a.qvp\r\n0" + S + "b.qvp\r\n1" + S + "c.qvp\r\n");
  PluginManagerWindow& m = frmPluginManager();
  const int highlightItems[] = {ids::kCmdPluginEdit, ids::kCmdPluginDelete,
                                ids::kCmdPluginProcess, ids::kCmdPluginDeselectAll};
  for (bool highlighted : {false, true}) {
    if (highlighted) m.mnuSelectAll_Click();
    m.mnuFile_Click();
    m.mnuView_Click();
    for (int id : highlightItems) EXPECT_EQ(m.menuItemEnabled(id), highlighted) << id;
  }
  m.mnuCheckAll_Click();
  EXPECT_TRUE(m.lstvPlugin.rowChecked(1));
  m.mnuUncheckAll_Click();
  EXPECT_FALSE(m.lstvPlugin.rowChecked(0));

  m.mnuDeselectAll_Click();
  m.lstvPlugin.select(0);
  m.lstvPlugin.select(2);
  asker.answerMessage(IDNO);
  m.mnuDelete_Click();
  EXPECT_EQ(m.lstvPlugin.rowCount(), 3u);
  asker.answerMessage(IDYES);
  m.mnuDelete_Click();
  EXPECT_EQ(asker.asked().back().text, kMsgDeletePlugins);
  EXPECT_EQ(rows(m), std::vector<std::string>{"0 b.qvp "});
  EXPECT_EQ(m.lblStatus.text(), "1 plugin(s) listed");
  EXPECT_FALSE(app.exists("Plugins\\a.qvp") || app.exists("Plugins\\c.qvp"));
  EXPECT_TRUE(app.exists("Plugins\\b.qvp"));
}

TEST_F(ManagerTest, ProcessAppliesHighlightedPluginsAndReportsTheirTotals) {
  test::ScratchKey key;
  SetRegString(kHkeyCurrentUser, key.subkey(), "gone", "1");
  SetRegString(kHkeyCurrentUser, key.subkey(), "stays", "1");
  std::string data = app.path() + "\\data";
  app.write("data\\x.tmp", std::string(100, 'x'));
  app.write("data\\y.tmp", std::string(1436, 'y'));
  app.write("data\\keep.log", "k");
  plugin("p.qvp", "D" + S + "\r\nF" + S + "No" + S + "No" + S + data + "\\*.tmp\r\nR" + S + "No" +
                      S + "No" + S + "HKEY_CURRENT_USER\\" + key.subkey() + S + "gone\r\n");
  plugin("q.qvp", "D" + S + "\r\nF" + S + "No" + S + "No" + S + data + "\\*.log\r\n");
  app.write("plg.txt", "0" + S + "p.qvp\r\n1" + S + "q.qvp\r\n");
  PluginManagerWindow& m = frmPluginManager();
  const std::string done = "Processed selected plugin(s) Total Files Deleted:  ";
  m.mnuProcess_Click();  // nothing highlighted
  EXPECT_EQ(m.lblStatus.text(), done + "0  none none  0  KB");
  bAbort = true;  // a run stopped before does not stop this one
  m.lstvPlugin.select(0);
  m.mnuProcess_Click();
  EXPECT_EQ(m.lblStatus.text(), done + "2  none none  1.5  KB");
  EXPECT_FALSE(app.exists("data\\x.tmp") || app.exists("data\\y.tmp"));
  EXPECT_TRUE(app.exists("data\\keep.log"));
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, key.subkey(), "gone"), "");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, key.subkey(), "stays"), "1");
  EXPECT_TRUE(m.lstvPlugin.enabled() && m.menuItemEnabled(ids::kCmdPluginNew));
  EXPECT_TRUE(host.stops.empty());

  struct Case {
    std::int64_t bytes;
    const char* text;
  } sizes[] = {{0, "0"}, {1024, "1"}, {10, "0.01"}, {128, "0.12"}, {384, "0.38"},
               {1048576, "1024"}, {5000, "4.88"}};
  for (const auto& c : sizes) EXPECT_EQ(kilobytesText(c.bytes), c.text) << c.bytes;
  EXPECT_EQ(kilobytesText(1536, ","), "1,5");
}

TEST_F(ManagerTest, CloseDuringProcessStopsItAndNothingRunsAfter) {
  test::ScratchKey key;
  std::string data = app.path() + "\\data";
  plugin("p1.qvp", "D" + S + "\r\nF" + S + "No" + S + "No" + S + data + "\\one\\*.*\r\nR" + S +
                       "No" + S + "No" + S + "HKEY_CURRENT_USER\\" + key.subkey() + S + "v\r\n");
  plugin("p2.qvp", "D" + S + "\r\nF" + S + "No" + S + "No" + S + data + "\\two\\*.*\r\n");
  app.write("plg.txt", "1" + S + "p1.qvp\r\n1" + S + "p2.qvp\r\n");
  struct Case {
    bool closeBeforeWalk;  // else after the first file deleted
    int filesLeft;
    bool valueLeft;
  } cases[] = {{true, 3, true}, {false, 2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.closeBeforeWalk);
    for (const char* f : {"one\\a", "one\\b", "one\\c", "two\\d"}) app.write("data\\" + std::string(f), "x");
    SetRegString(kHkeyCurrentUser, key.subkey(), "v", "1");
    host.stops.clear();
    PluginManagerWindow& m = frmPluginManager();
    m.mnuSelectAll_Click();
    host.afterEachFile = [&m] { PostMessageW(m.hwnd(), WM_CLOSE, 0, 0); };
    if (c.closeBeforeWalk) PostMessageW(m.hwnd(), WM_CLOSE, 0, 0);
    m.mnuProcess_Click();
    EXPECT_TRUE(m.isOpen()) << "the close waits for the loop";
    EXPECT_TRUE(test::pumpUntil([&] { return !m.isOpen(); }));
    int left = 0;
    for (const char* f : {"one\\a", "one\\b", "one\\c"}) left += app.exists("data\\" + std::string(f));
    EXPECT_EQ(left, c.filesLeft);
    EXPECT_TRUE(app.exists("data\\two\\d")) << "the next plug-in never ran";
    EXPECT_EQ(GetRegString(kHkeyCurrentUser, key.subkey(), "v") == "1", c.valueLeft);
    EXPECT_EQ(host.stops, std::vector<std::string>{"Aborted by user"});
    EXPECT_EQ(app.read("plg.txt"), "1" + S + "p1.qvp" + S + "\r\n1" + S + "p2.qvp" + S + "\r\n");
    host.afterEachFile = nullptr;
  }
}

TEST_F(ManagerTest, EditorSavesIntoItsOwnRow) {
  plugin("a.qvp", "D" + S + "first\r\n");
  plugin("b.qvp", "D" + S + "second\r\n");
  app.write("plg.txt", "1" + S + "a.qvp" + S + "first\r\n0" + S + "b.qvp" + S + "second\r\n");
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
  EXPECT_EQ(rows(m), listed("1 a.qvp first", "0 b.qvp second", "1 new.qvp new one"));
  EXPECT_EQ(m.lblStatus.text(), "3 plug-in(s) listed");
  EXPECT_EQ(app.read("Plugins\\new.qvp"), "D" + S + "new one\r\n");

  // Edited from its row (double click); another row highlighted meanwhile keeps its text.
  asker.answerModal([&](Dialog& d) {
    auto& ed = dynamic_cast<PluginEditorWindow&>(d);
    EXPECT_EQ(ed.txtDescription.text(), "second");
    ed.txtDescription.setText("changed");
    m.lstvPlugin.select(1, false);
    m.lstvPlugin.select(0);
    ed.cmdSave.click();
  });
  m.lstvPlugin.select(1);
  m.lstvPlugin_DblClick();
  EXPECT_EQ(rows(m), listed("1 a.qvp first", "0 b.qvp changed", "1 new.qvp new one"));
  EXPECT_EQ(app.read("Plugins\\b.qvp"), "D" + S + "changed\r\n");
}

}  // namespace
}  // namespace glenvask
