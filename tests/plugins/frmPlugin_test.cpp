// The plug-in editor and its key generator: each tab's rows, the picker, the INI reader, Save,
// and what it reads of a plug-in it opens.
#include "plugins/frmPlugin.h"

#include <gtest/gtest.h>

#include "plugins/frmKeygen.h"
#include "services/paths.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

Rows rowsOf(const ListView& list) {
  Rows out;
  for (size_t i = 0; i < list.rowCount(); ++i) out.push_back(list.row(i).cells);
  return out;
}
Texts itemsOf(const ListBox& box) {
  Texts out;
  for (size_t i = 0; i < box.count(); ++i) out.push_back(box.itemText(i));
  return out;
}

class EditorTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  test::ScriptedAsker asker;
  PluginEditorWindow* ed = nullptr;
  void SetUp() override { setAppPath(app.path()), ed = &frmPlugin(); }
  void TearDown() override { ed->destroy(), setAppPath(""); }
  Texts messages() {
    Texts out;
    for (; seen_ < asker.asked().size(); ++seen_)
      if (asker.asked()[seen_].kind == "message") out.push_back(asker.asked()[seen_].text);
    return out;
  }
  void answerOk(int times) { while (times-- > 0) asker.answerMessage(IDOK); }
  size_t seen_ = 0;
};

TEST_F(EditorTest, FilesTabAddsTypedAndPickedLocationsAndRefusesIncompleteOnes) {
  EXPECT_FALSE(ed->chkFileDeletesubFolders.enabled());
  ed->chkFileRecurse.click();
  EXPECT_TRUE(ed->chkFileDeletesubFolders.enabled());
  // Refused, refused, refused, added, added without "Delete subfolders".
  const std::pair<std::string, std::string> typed[] = {{"", "*.tmp"}, {"C:\\x", ""},
      {"C:\\" + std::string(300, 'a'), "*.*"}, {"C:\\data", "*.*"}, {"C:\\", "*.tmp"}};
  answerOk(3);
  for (const auto& [path, spec] : typed) {
    ed->chkFileDeletesubFolders.setChecked(true);
    ed->txtFilePath.setText(path);
    ed->txtFileExt.setText(spec);
    ed->cmdFilesAdd.click();
  }
  EXPECT_EQ(messages(), (Texts{kMsgProvidePath, kMsgProvideSpec, kMsgPathTooLong}));
  EXPECT_EQ(rowsOf(ed->lstvFiles),
            (Rows{{"Yes", "Yes", "C:\\data\\*.*"}, {"Yes", "No", "C:\\*.tmp"}}));
  EXPECT_FALSE(ed->chkFileDeletesubFolders.checked());
  EXPECT_EQ(ed->txtFilePath.text() + ed->txtFileExt.text(), "");
  ed->lstvFiles.select(0);
  ed->cmdFileRemove.click();
  EXPECT_EQ(rowsOf(ed->lstvFiles), (Rows{{"Yes", "No", "C:\\*.tmp"}}));

  for (const char* f : {"pick\\b.txt", "pick\\A.txt", "pick\\sub\\c.txt"}) app.write(f, "x");
  CreateDirectoryW(wide(app.file("empty")).c_str(), nullptr);
  answerOk(2);
  ed->setPickerFolder(app.file("empty"));
  ed->cmdFileAddAlternate.click();
  ed->setPickerFolder(app.file("pick"));
  EXPECT_EQ(std::pair(itemsOf(ed->dirFileAlternate), itemsOf(ed->flFileAlternate)),
            std::pair(Texts{"[..]", "sub"}, Texts{"A.txt", "b.txt"}));
  ed->cmdFileAddAlternate.click();
  EXPECT_EQ(messages(), (Texts{kMsgNoFilesToAdd, kMsgSelectFile}));
  ed->dirFileAlternate.select(1);
  ed->dirFileAlternate_DblClick();
  ed->flFileAlternate.select(0);
  ed->cmdFileAddAlternate.click();  // the flags as the boxes stand, whatever the name
  ed->dirFileAlternate.select(0);
  ed->dirFileAlternate_DblClick();
  EXPECT_EQ(ed->pickerFolder(), app.file("pick"));
  EXPECT_EQ(rowsOf(ed->lstvFiles),
            (Rows{{"Yes", "No", "C:\\*.tmp"}, {"Yes", "No", app.file("pick\\sub\\c.txt")}}));
}

TEST_F(EditorTest, RegistryTabAddsRowsAndGeneratesNumberedOnes) {
  EXPECT_TRUE(ed->getRoot() == "HKEY_LOCAL_MACHINE\\" && !ed->chkDeleteAllSubkeys.enabled());
  answerOk(2);
  ed->cmdRegistryAdd.click();
  ed->txtRegistrySubkey.setText("Software\\K");
  ed->cmdGeneratesubkeys.click();  // deleting a value needs a value
  ed->optRoot.choose(4);
  ed->txtRegistryValue.setText("v");
  ed->cmdRegistryAdd.click();
  asker.answerModal([&](Dialog& d) {  // values 8 to 10, after a backward range is refused
    auto& kg = dynamic_cast<KeygenWindow&>(d);
    EXPECT_EQ(kg.lblKeyValue.text() + kg.cmbPad.selectedText(), "v1");
    EXPECT_EQ(kg.cmbFrom.count(), 256u);
    kg.cmbFrom.selectText("10");
    kg.cmbTo.selectText("8");
    asker.answerMessage(IDOK);
    kg.cmdMake.click();
    kg.cmbFrom.selectText("8");
    kg.cmbTo.selectText("10");
    kg.cmdMake.click();
  });
  ed->cmdGenerateValues.click();
  EXPECT_EQ(messages(), (Texts{kMsgEnterSubkey, kMsgEnterValue, kKeygenRangeMessage}));
  ed->optMethod.option(1).click();
  EXPECT_EQ(ed->txtRegistryValue.text(), "") << "a whole subkey has no value";
  EXPECT_TRUE(ed->chkDeleteAllSubkeys.enabled() && !ed->cmdGenerateValues.enabled());
  ed->chkDeleteAllSubkeys.click();
  asker.answerModal([](Dialog& d) { dynamic_cast<KeygenWindow&>(d).cmdClose.click(); });
  ed->cmdGeneratesubkeys.click();  // closed: nothing added
  ed->cmdRegistryAdd.click();
  const std::string K = "HKEY_CURRENT_USER\\Software\\K";
  EXPECT_EQ(rowsOf(ed->lstvRegistry), (Rows{{"No", "No", K, "v"}, {"No", "No", K, "v8"},
      {"No", "No", K, "v9"}, {"No", "No", K, "v10"}, {"Yes", "Yes", K, ""}}));

  // Numbers padded with one or two zeros whatever their digits; 256 is out of range.
  const KeygenSource s{"HKEY_USERS\\", "S\\k", "val", true, false};
  auto rows = generateKeyRows(s, true, 150, 150, 2);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].key + rows[0].deleteSubkey + rows[0].recurseDelete, "HKEY_USERS\\S\\k00150YesNo");
  EXPECT_TRUE(generateKeyRows(s, false, 0, 256, 1).empty());
}

TEST_F(EditorTest, IniTabReadsSectionsAndKeysOfTheChosenFile) {
  // "[Two] " keeps "]"; "[]" and "[x" are no headers; a comment holding "[" ends a section.
  const std::string ini =
      "[One]\r\na=1\r\nb=2\r\n; [Two] a comment\r\n[Two] \r\nc=3\r\nnoequals\r\n[]\r\n[x\r\n"
      "\xc3\xa9=4\r\n[\xc3\xa9t\xc3\xa9]\n=5\nd=6";
  EXPECT_EQ(iniSections(ini), (Texts{"One", "Two]", "\xc3\xa9t\xc3\xa9"}));
  for (const auto& [section, want] : {std::pair<const char*, Texts>{"One", {"a", "b"}},
           {"Two", {"c"}}, {"\xc3\xa9t\xc3\xa9", {"", "d"}}, {"No", {}}})
    EXPECT_EQ(iniSectionKeys(ini, section), want);

  std::string file = app.write("conf\\app.ini", ini);
  asker.answerFile(file);
  ed->cmdINIBrowse.click();
  ed->cmbINISections.select(0);
  ed->cmbINIValues.select(1);
  ed->cmdINIAdd.click();
  EXPECT_EQ(ed->txtINIFileName.text(), "");
  answerOk(2);
  ed->txtINIFileName.setText("app.ini");
  ed->cmdINIAdd.click();
  ed->txtINIFileName.setText(file);
  ed->cmbINIValues.clear();
  ed->cmdINIAdd.click();
  EXPECT_EQ(messages(), (Texts{kMsgIniPathInvalid, kMsgEnterValue}));
  ed->chkINIEraseSection.click();
  EXPECT_FALSE(ed->cmbINIValues.enabled());
  ed->cmdINIAdd.click();
  std::string folder = app.file("conf\\");
  EXPECT_EQ(rowsOf(ed->lstvINI),
            (Rows{{"app.ini", "One", "No", "b", folder}, {"app.ini", "One", "Yes", "", folder}}));
  EXPECT_EQ(asker.asked()[0].text, "INI FIles ( *.ini )|*.ini");
}

TEST_F(EditorTest, SavesPluginsOnlyAsFilesOfThePluginsFolderInTheCodePage) {
  ed->txtDescription.setText("Caf\xC3\xA9");
  ed->lstvFiles.addRow({{"Yes", "No", "C:\\t\\*.tmp"}});
  ed->lstvRegistry.addRow({{"No", "No", "HKEY_CURRENT_USER\\S", ""}});
  ed->lstvINI.addRow({{"a.ini", "S", "Yes", "", "C:\\t\\"}});
  // Names leaving the folder, devices, what plg.txt cannot hold: refused; blank or Cancel: quiet.
  const char* bad[] = {"..\\evil", "C:\\evil", "x:stream", "lpt1", "\xE6\x97\xA5"};
  for (const char* name : bad) asker.answerInput(name);
  answerOk(5);
  asker.answerInput("");
  asker.answerInput(std::nullopt);
  for (size_t i = 0; i < std::size(bad) + 2; ++i) ed->cmdSave.click();
  EXPECT_EQ(messages(), (Texts{kMsgBadPluginName, kMsgBadPluginName, kMsgBadPluginName,
                               kMsgBadPluginName, kMsgNotInCodePage}));
  EXPECT_FALSE(folderExists(app.file("Plugins")) || app.exists("evil.qvp"));

  // A Plugins folder that cannot be made: the save says so and nothing changes.
  app.write("Plugins", "a file in the way");
  asker.answerInput("mine");
  answerOk(1);
  ed->cmdSave.click();
  EXPECT_TRUE(messages() == Texts{kMsgPluginNotSaved} && ed->NewPlugin);
  DeleteFileW(wide(app.file("Plugins")).c_str());  // the next save makes the folder

  asker.answerInput("mine.qvp");  // the extension is added whatever the name ends with
  ed->cmdSave.click();
  const std::string saved = "D\x01" "Caf\xE9\r\nF\x01Yes\x01No\x01" "C:\\t\\*.tmp\r\n"
                            "R\x01No\x01No\x01" "HKEY_CURRENT_USER\\S\x01\r\n"
                            "I\x01" "a.ini\x01S\x01Yes\x01\x01" "C:\\t\\\r\n";
  EXPECT_EQ(app.read("Plugins\\mine.qvp.qvp"), saved);
  EXPECT_EQ(ed->text(), "Plugin: mine.qvp.qvp");
  ed->txtDescription.setText("again \xE6\x97\xA5");  // refused: the file keeps its text
  answerOk(1);
  ed->cmdSave.click();
  EXPECT_TRUE(messages() == Texts{kMsgNotInCodePage} && app.read("Plugins\\mine.qvp.qvp") == saved);
  ed->txtDescription.setText("again");
  ed->cmdSave.click();  // a known plug-in: saved in place

  ed->NewPlugin = true;  // a second new plug-in of that name asks before it overwrites
  asker.answerInput("mine.qvp");
  asker.answerMessage(IDNO);
  ed->cmdSave.click();
  EXPECT_EQ(app.read("Plugins\\mine.qvp.qvp").substr(0, 7), "D\x01" "again");
  EXPECT_EQ(messages(), Texts{kMsgOverwritePlugin});
}

// Every F, R and I record it can read, malformed ones too: a record it dropped here would be
// gone from the file at the next Save.
TEST_F(EditorTest, OpensWhatItCanReadOfAnyFile) {
  ed->PluginFile = app.write("odd.qvp",
                             "junk line\r\nF\x01Yes\r\nD\r\nX\x01"
                             "a\r\nR\x01No\x01No\x01k\x01v\x01"
                             "extra\n"
                             "I\x01"
                             "f\r\nD\x01"
                             "desc\r\n" +
                                 std::string(100000, 'z'));
  ASSERT_TRUE(ed->getPlugin());
  EXPECT_EQ(ed->txtDescription.text(), "desc");
  EXPECT_EQ(rowsOf(ed->lstvFiles), (Rows{{"Yes", "", ""}}));
  EXPECT_EQ(rowsOf(ed->lstvRegistry), (Rows{{"No", "No", "k", "v"}}));
  EXPECT_EQ(rowsOf(ed->lstvINI), (Rows{{"f", "", "", "", ""}}));
}

}  // namespace
}  // namespace glenvask
