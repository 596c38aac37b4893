// The plug-in editor and its key generator: the rows each tab adds and refuses, the file
// picker, the INI reader, and saving through the Plugins folder.
#include "plugins/frmPlugin.h"

#include <gtest/gtest.h>

#include "plugins/engine.h"
#include "plugins/frmKeygen.h"
#include "services/paths.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const ListView& list) {
  Rows out;
  for (size_t i = 0; i < list.rowCount(); ++i) out.push_back(list.row(i).cells);
  return out;
}

struct ListHost : PluginListHost {
  std::vector<std::string> told;
  std::string addPluginRow(const std::string& name, const std::string& d) override {
    told.push_back("add " + name + "|" + d);
    return "key1";
  }
  void setPluginDescription(const std::string& key, const std::string& d) override {
    told.push_back("set " + key + "|" + d);
  }
};

class EditorTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  test::ScriptedAsker asker;
  PluginEditorWindow* ed = nullptr;
  void SetUp() override {
    setAppPath(app.path());
    ed = &frmPlugin();
  }
  void TearDown() override {
    ed->destroy();
    setAppPath("");
  }
  // The information messages asked since the last call.
  std::vector<std::string> messages() {
    std::vector<std::string> out;
    for (size_t i = seen_; i < asker.asked().size(); ++i)
      if (asker.asked()[i].kind == "message") out.push_back(asker.asked()[i].text);
    seen_ = asker.asked().size();
    return out;
  }

 private:
  size_t seen_ = 0;
};

TEST_F(EditorTest, FilesTabAddsLocationsAndRefusesIncompleteOnes) {
  EXPECT_FALSE(ed->chkFileDeletesubFolders.enabled());
  ed->chkFileRecurse.click();
  EXPECT_TRUE(ed->chkFileDeletesubFolders.enabled());
  const std::string longPath = "C:\\" + std::string(300, 'a');
  struct Case {
    std::string path, spec;
    std::vector<std::string> row;  // empty: refused with the message
    std::string message;
  } cases[] = {
      {"", "*.tmp", {}, kMsgProvidePath},
      {"C:\\x", "", {}, kMsgProvideSpec},
      {longPath, "*.*", {}, kMsgPathTooLong},
      {"C:\\data", "*.*", {"Yes", "Yes", "C:\\data\\*.*"}, ""},
      {"C:\\", "*.tmp", {"Yes", "No", "C:\\*.tmp"}, ""},  // a spec other than *.* clears the box
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + "|" + c.spec);
    ed->chkFileDeletesubFolders.setChecked(true);
    ed->txtFilePath.setText(c.path);
    ed->txtFileExt.setText(c.spec);
    size_t before = ed->lstvFiles.rowCount();
    if (!c.message.empty()) asker.answerMessage(IDOK);
    ed->cmdFilesAdd.click();
    EXPECT_EQ(messages(), c.message.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{c.message});
    if (c.row.empty()) {
      EXPECT_EQ(ed->lstvFiles.rowCount(), before);
      continue;
    }
    EXPECT_EQ(ed->lstvFiles.row(before).cells, c.row);
    EXPECT_EQ(ed->txtFilePath.text() + ed->txtFileExt.text(), "");
    EXPECT_EQ(ed->chkFileDeletesubFolders.checked(), c.row[1] == "Yes");
  }
  asker.answerFolder(std::nullopt);
  ed->txtFilePath.setText("x");
  ed->cmdFileBrowse.click();
  EXPECT_EQ(ed->txtFilePath.text(), "") << "a cancelled browse empties the path";
  ed->lstvFiles.select(0);
  ed->cmdFileRemove.click();
  EXPECT_EQ(rowsOf(ed->lstvFiles), (Rows{{"Yes", "No", "C:\\*.tmp"}}));
}

TEST_F(EditorTest, PickerWalksFoldersAndAddsTheChosenFile) {
  app.write("pick\\b.txt", "b");
  app.write("pick\\A.txt", "a");
  app.write("pick\\sub\\c.txt", "c");
  CreateDirectoryW(wide(app.file("empty")).c_str(), nullptr);
  ed->setPickerFolder(app.file("empty"));
  asker.answerMessage(IDOK);
  ed->cmdFileAddAlternate.click();
  EXPECT_EQ(messages(), std::vector<std::string>{kMsgNoFilesToAdd});

  ed->setPickerFolder(app.file("pick"));
  auto items = [](const ListBox& b) {
    std::vector<std::string> out;
    for (size_t i = 0; i < b.count(); ++i) out.push_back(b.itemText(i));
    return out;
  };
  EXPECT_EQ(items(ed->dirFileAlternate), (std::vector<std::string>{"[..]", "sub"}));
  EXPECT_EQ(items(ed->flFileAlternate), (std::vector<std::string>{"A.txt", "b.txt"}));
  asker.answerMessage(IDOK);
  ed->cmdFileAddAlternate.click();
  EXPECT_EQ(messages(), std::vector<std::string>{kMsgSelectFile});
  ed->dirFileAlternate.select(1);
  ed->dirFileAlternate_DblClick();
  EXPECT_EQ(ed->pickerFolder(), app.file("pick\\sub"));
  ed->flFileAlternate.select(0);
  ed->cmdFileAddAlternate.click();  // the flags as the boxes stand, whatever the name
  ed->dirFileAlternate.select(0);
  ed->dirFileAlternate_DblClick();
  EXPECT_EQ(ed->pickerFolder(), app.file("pick"));
  EXPECT_EQ(rowsOf(ed->lstvFiles), (Rows{{"No", "No", app.file("pick\\sub\\c.txt")}}));
}

TEST_F(EditorTest, RegistryTabAddsRowsAndGeneratesNumberedOnes) {
  EXPECT_EQ(ed->getRoot(), "HKEY_LOCAL_MACHINE\\");
  EXPECT_FALSE(ed->chkDeleteAllSubkeys.enabled());
  asker.answerMessage(IDOK);
  ed->cmdRegistryAdd.click();
  ed->txtRegistrySubkey.setText("Software\\K");
  asker.answerMessage(IDOK);
  ed->cmdGeneratesubkeys.click();  // deleting a value needs a value
  EXPECT_EQ(messages(), (std::vector<std::string>{kMsgEnterSubkey, kMsgEnterValue}));

  ed->optRoot.choose(4);
  ed->txtRegistryValue.setText("v");
  ed->cmdRegistryAdd.click();
  // Values 8 to 10 of the key.
  asker.answerModal([&](Dialog& d) {
    auto& kg = dynamic_cast<KeygenWindow&>(d);
    EXPECT_EQ(kg.text(), "Generate keys");
    EXPECT_EQ(kg.lblKeyValue.text(), "v");
    EXPECT_EQ(kg.cmbFrom.count(), 256u);
    EXPECT_EQ(kg.cmbPad.selectedText(), "1");
    kg.cmbFrom.selectText("10");
    kg.cmbTo.selectText("8");
    asker.answerMessage(IDOK);
    kg.cmdMake.click();
    EXPECT_TRUE(kg.isOpen()) << "a backward range stays open, nothing added";
    kg.cmbFrom.selectText("8");
    kg.cmbTo.selectText("10");
    kg.cmdMake.click();
  });
  ed->cmdGenerateValues.click();
  EXPECT_EQ(messages(), std::vector<std::string>{kKeygenRangeMessage});
  ed->optMethod.option(1).click();
  EXPECT_EQ(ed->txtRegistryValue.text(), "") << "a whole subkey has no value";
  EXPECT_TRUE(ed->chkDeleteAllSubkeys.enabled());
  EXPECT_FALSE(ed->cmdGenerateValues.enabled());
  ed->chkDeleteAllSubkeys.click();
  asker.answerModal([](Dialog& d) {  // Close adds nothing
    dynamic_cast<KeygenWindow&>(d).cmdClose.click();
  });
  ed->cmdGeneratesubkeys.click();
  ed->cmdRegistryAdd.click();
  const std::string K = "HKEY_CURRENT_USER\\Software\\K";
  EXPECT_EQ(rowsOf(ed->lstvRegistry), (Rows{{"No", "No", K, "v"},
                                            {"No", "No", K, "v8"},
                                            {"No", "No", K, "v9"},
                                            {"No", "No", K, "v10"},
                                            {"Yes", "Yes", K, ""}}));

  KeygenSource s{"HKEY_USERS\\", "S\\k", "val", true, false};
  struct Case {
    bool subkeys;
    int from, to, pad;
    std::vector<std::string> keys, values;
  } cases[] = {
      {true, 7, 7, 1, {"HKEY_USERS\\S\\k07"}, {"val"}},
      {false, 150, 151, 2, {"HKEY_USERS\\S\\k", "HKEY_USERS\\S\\k"}, {"val00150", "val00151"}},
      {true, 5, 4, 0, {}, {}},
      {true, 0, 256, 0, {}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> keys, values;
    for (const auto& r : generateKeyRows(s, c.subkeys, c.from, c.to, c.pad)) {
      keys.push_back(r.key);
      values.push_back(r.value);
      EXPECT_EQ(r.deleteSubkey + r.recurseDelete, "YesNo");
    }
    EXPECT_EQ(keys, c.keys) << c.from;
    EXPECT_EQ(values, c.values) << c.from;
  }
}

TEST_F(EditorTest, IniTabReadsSectionsAndKeysOfTheChosenFile) {
  // A header followed by a blank keeps its last character but one; "[]" and "[x" are no
  // headers; a comment holding "[" ends a section.
  const std::string ini =
      "[One]\r\na=1\r\nb=2\r\n; [Two] a comment\r\n[Two] \r\nc=3\r\nnoequals\r\n[]\r\n[x\r\n"
      "\xc3\xa9=4\r\n[\xc3\xa9t\xc3\xa9]\n=5\nd=6";
  EXPECT_EQ(iniSections(ini), (std::vector<std::string>{"One", "Two]", "\xc3\xa9t\xc3\xa9"}));
  struct Case {
    const char* section;
    std::vector<std::string> keys;
  } cases[] = {{"One", {"a", "b"}}, {"Two", {"c"}}, {"\xc3\xa9t\xc3\xa9", {"", "d"}}, {"No", {}}};
  for (const auto& c : cases) EXPECT_EQ(iniSectionKeys(ini, c.section), c.keys) << c.section;

  std::string file = app.write("conf\\app.ini", ini);
  asker.answerFile(file);
  ed->cmdINIBrowse.click();
  EXPECT_EQ(ed->txtINIFileName.text(), file);
  EXPECT_EQ(ed->cmbINISections.count(), 3u);
  ed->cmbINISections.select(0);
  EXPECT_EQ(ed->cmbINIValues.count(), 2u);
  ed->cmbINIValues.select(1);
  ed->cmdINIAdd.click();
  EXPECT_EQ(ed->txtINIFileName.text(), "");
  ed->txtINIFileName.setText("app.ini");
  asker.answerMessage(IDOK);
  ed->cmdINIAdd.click();
  ed->txtINIFileName.setText(file);
  ed->cmbINIValues.clear();
  asker.answerMessage(IDOK);
  ed->cmdINIAdd.click();
  EXPECT_EQ(messages(), (std::vector<std::string>{kMsgIniPathInvalid, kMsgEnterValue}));
  ed->chkINIEraseSection.click();
  EXPECT_FALSE(ed->cmbINIValues.enabled());
  ed->cmdINIAdd.click();
  std::string folder = app.file("conf\\");
  EXPECT_EQ(rowsOf(ed->lstvINI), (Rows{{"app.ini", "One", "No", "b", folder},
                                       {"app.ini", "One", "Yes", "", folder}}));
  EXPECT_EQ(asker.asked()[0].text, "INI FIles ( *.ini )|*.ini");
}

TEST_F(EditorTest, SavesNewPluginsOnlyAsFilesOfThePluginsFolder) {
  ListHost host;
  ed->listHost = &host;
  ed->txtDescription.setText("cleans");
  ed->lstvFiles.addRow({{"Yes", "No", "C:\\t\\*.tmp"}});
  ed->lstvRegistry.addRow({{"No", "No", "HKEY_CURRENT_USER\\S", ""}});
  ed->lstvINI.addRow({{"a.ini", "S", "Yes", "", "C:\\t\\"}});
  const std::string bytes =
      "D\x01" "cleans\r\nF\x01Yes\x01No\x01" "C:\\t\\*.tmp\r\nR\x01No\x01No\x01"
      "HKEY_CURRENT_USER\\S\x01\r\nI\x01" "a.ini\x01S\x01Yes\x01\x01" "C:\\t\\\r\n";
  // Names that would leave the folder or name a device are refused before anything is
  // written; a blank answer or Cancel ends the save quietly.
  for (const char* bad : {"..\\evil", "C:\\evil", "sub/evil", "x:stream", "CON", "lpt1"}) {
    asker.answerInput(bad);
    asker.answerMessage(IDOK);
    ed->cmdSave.click();
  }
  asker.answerInput("");
  ed->cmdSave.click();
  asker.answerInput(std::nullopt);
  ed->cmdSave.click();
  EXPECT_EQ(messages(), std::vector<std::string>(6, kMsgBadPluginName));
  EXPECT_FALSE(folderExists(app.file("Plugins"))) << "nothing written";
  EXPECT_FALSE(app.exists("evil.qvp"));

  // A Plugins folder that cannot be made: the save says so and nothing changes.
  app.write("Plugins", "a file in the way");
  asker.answerInput("mine");
  asker.answerMessage(IDOK);
  ed->cmdSave.click();
  EXPECT_EQ(messages(), std::vector<std::string>{kMsgPluginNotSaved});
  EXPECT_TRUE(ed->NewPlugin);
  EXPECT_EQ(ed->text(), kEditorTitle);
  EXPECT_TRUE(host.told.empty());
  DeleteFileW(wide(app.file("Plugins")).c_str());  // the next save makes the folder

  asker.answerInput("mine.qvp");  // the extension is added whatever the name ends with
  ed->cmdSave.click();
  EXPECT_EQ(app.read("Plugins\\mine.qvp.qvp"), bytes);
  EXPECT_EQ(ed->text(), "Plugin: mine.qvp.qvp");
  EXPECT_EQ(ed->PluginFile, pluginFolderPath() + "mine.qvp.qvp");
  ed->txtDescription.setText("again");
  ed->cmdSave.click();  // a known plug-in: saved in place, its own row told
  EXPECT_EQ(host.told, (std::vector<std::string>{"add mine.qvp.qvp|cleans", "set key1|again"}));

  // A second new plug-in of that name asks before it overwrites.
  ed->NewPlugin = true;
  asker.answerInput("mine.qvp");
  asker.answerMessage(IDNO);
  ed->cmdSave.click();
  EXPECT_EQ(app.read("Plugins\\mine.qvp.qvp").substr(0, 7), "D\x01" "again");
  EXPECT_EQ(messages(), std::vector<std::string>{kMsgOverwritePlugin});
}

TEST_F(EditorTest, OpensWhatItCanReadOfAnyFile) {
  ed->PluginFile = app.write(
      "odd.qvp",
      "junk line\r\nF\x01Yes\r\nD\r\nX\x01" "a\r\nR\x01No\x01No\x01k\x01v\x01" "extra\n"
      "I\x01" "f\r\nD\x01" "desc\r\n" + std::string(100000, 'z'));
  ed->getPlugin();
  EXPECT_EQ(ed->txtDescription.text(), "desc");
  EXPECT_EQ(rowsOf(ed->lstvFiles), (Rows{{"Yes", "", ""}}));
  EXPECT_EQ(rowsOf(ed->lstvRegistry), (Rows{{"No", "No", "k", "v"}}));
  EXPECT_EQ(rowsOf(ed->lstvINI), (Rows{{"f", "", "", "", ""}}));
}

}  // namespace
}  // namespace glenvask
