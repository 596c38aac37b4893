// The options window accepted: files written or kept, what cannot be saved, Run, cookies.
#include <algorithm>
#include <tuple>

#include "options/options_fixture.h"
#include "services/globals.h"
#include "services/lists.h"
#include "services/registry.h"
#include "services/system.h"
#include "support/prefix.h"

namespace glenvask {
namespace {

// Both: any process that asks the shell for a folder rewrites the first from the second.
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class OptionsAcceptTest : public test::OptionsTest {
 protected:
  test::SavedValue run{HKEY_CURRENT_USER, kRunKey, kRunValueName, std::nullopt};
  std::string driveItem = "C: " + GetDriveTypeName("C:\\");  // the Windows drive
  std::string runValue() { return GetRegString(kHkeyCurrentUser, kRunKey, kRunValueName); }
};

TEST_F(OptionsAcceptTest, NothingChangedMakesNoListAndFilesWrittenByHandStayByteForByte) {
  test::SavedValue appData{HKEY_CURRENT_USER, kShellFolders, "AppData", app.file("data")};
  test::SavedValue userAppData{HKEY_CURRENT_USER, kUserShellFolders, "AppData", app.file("data")};
  std::string recent = app.file("data\\Microsoft\\Office\\Recent\\");
  app.write("data\\Microsoft\\Office\\Recent\\x.lnk", "");
  app.write("DefIFI.txt", "thumbs.db\r\n");
  app.write("DefIE.txt", "log\r\n");
  app.write("DefUNFI.txt", "1\x01*.tmp\x01Temporary files\r\n");
  auto before = files();
  options([&](OptionsWindow& w) { everyPage(w); EXPECT_EQ(items(w.lstUDFO), Strings{recent}); },
          true);
  auto f = files();
  EXPECT_EQ(f["settings.ini"],
            "[Backup]\r\nPath=" + app.path() +
                "\\Backup\\\r\nMethod=Always\r\n[General]\r\n"
                "StartupClean=0\r\nAutoClean=0\r\nHM=1\r\nDuration=1\r\nDelMethod=D\r\nExtraS=0\r\n"
                "Rename=0\r\nProtect1=0\r\nProtect2=0\r\nTipBox=1\r\n");
  f.erase("settings.ini");
  EXPECT_EQ(f, before) << "no list file is made";
  EXPECT_EQ(host.applied, (Strings{"auto off", "boxes 00", "tips"}));

  app.write("settings.ini",
            "; mine\n[General]\nStartupClean = 1\nAutoClean=1\nDuration=75\nHM=0\n"
            "DelMethod=r\nExtraS=0\nRename=2\nProtect1=1\nProtect2=0\nTipBox=\"0\"\n\n"
            "[Backup]\nPath=D:\\bk\nMethod=odd\n[CleanUp]\nLastCleaned=x\n");
  app.write("srch.txt",
            " " + driveItem + "\n1 0\n1 1/2/2020 03/04/2021\n1 True False False 500\n0 1 0\n");
  app.write("IE.txt", "log\n\nbak");
  app.write("UDIFO.txt", "C:\\gone\\\r\n");
  app.write("UNFI.txt", "1\x01*.tmp\x01T\r\nbad\r\n0\x01*.bak\x01" "B\r\n");
  app.write("ck.txt", "C:\\c\\a.txt\x01" "C:\\c\\b.txt\x01\r\n");
  before = files();
  host.applied.clear();
  options([&](OptionsWindow& w) {
    everyPage(w);
    EXPECT_EQ(items(w.lstUDIFO), Strings{"[Invalid Path] C:\\gone\\"});
  }, true);
  EXPECT_EQ(files(), before);
  EXPECT_EQ(host.applied, (Strings{"auto 75", "boxes 10", "no tips"}));
  EXPECT_EQ(std::tuple(DeleteMethod, RenameBeforeDelete, BackupFolder),
            std::tuple(kDeleteBackup, false, "D:\\bk\\"));  // a lower-case r is no letter
  // Defaults accepted: no UDFO.txt, so the category empties the temporary folders too.
  app.write("UDFO.txt", recent + "\r\nC:\\other\\\r\n");
  options([](OptionsWindow& w) { everyPage(w), w.cmdUDFODefaults.click(); }, true);
  EXPECT_FALSE(app.exists("UDFO.txt"));
}

// A held file and an entry code page 1252 cannot hold are named; the next Accept saves them.
TEST_F(OptionsAcceptTest, ChangesReachTheRunInTheAnsiCodePageAndWhatIsNotSavedIsNamed) {
  std::string folder = app.file("Caf\xC3\xA9");
  app.write("Caf\xC3\xA9\\x.txt", "x");
  app.write("UNFI.txt", "1\x01*.tmp\x01T\r\n1\x01*.old\x01O\r\n");
  app.write("IFI.txt", "mine.txt\r\n");
  app.write("DefIFI.txt", "default.txt\r\n");
  app.write("UDFI.txt", "C:\\a.txt\r\nC:\\\xe4\xb8\xad.txt\r\n");
  std::string held = app.write("IE.txt", "old\r\n");
  FileHandle holder(CreateFileW(wide(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  options([&](OptionsWindow& w) {
    everyPage(w);
    w.txtIE.setText("tmp");
    w.cmdIEAdd.click();
    w.txtUDIFO.setText(folder);
    w.cmdUDIFOAdd.click();
    w.lstvUnnecessaryFiles.setRowChecked(1, false);
    w.chkSearchDateReference.setChecked(true);
    w.dtpSearchFirst.setValue({2021, 5, 6});
    w.dtpSearchSecond.setValue({2022, 7, 8});
    w.deleteMethod.choose(0);
    w.chkStartWWindows.setChecked(true);
    w.txtGenerealBackup.setText(folder);  // the Backups page's box follows
    EXPECT_EQ(w.txtBackup.text(), folder);
    w.cmdIFIDefaults.click();
    w.lstUDFI.select(0);
    w.cmdUDFIRemove.click();
    asker.answerMessage(IDOK);
    w.cmdAccept.click();
    ASSERT_FALSE(w.modalEnded());
    EXPECT_EQ(messages().back(),
              "These files were not saved:\n\nUDFI.txt: \"C:\\\xe4\xb8\xad.txt\" holds characters "
              "that this system's code page cannot store.\nIE.txt: it could not be written "
              "(another program may hold it open).\n\nEverything else was saved.");
    EXPECT_EQ(app.read("UDIFO.txt") + app.read("IE.txt"), app.path() + "\\Caf\xE9\\\r\nold\r\n");
    holder.reset();
    w.cmdUDFIRemove.click();
    w.cmdAccept.click();
    EXPECT_TRUE(w.modalEnded());
  });
  EXPECT_EQ(app.read("UDFI.txt"), "");
  LoadScanLists();
  EXPECT_EQ(std::tuple(arrIgnoreExt, arrIgnoreFolders, arrIgnoreFiles, arrUnnecessary),
            std::tuple(Strings{"old", "tmp"}, Strings{folder + "\\"}, Strings{"default.txt"},
                       Strings{"*.tmp"}));
  EXPECT_EQ(std::tuple(searchOptions.useDateFilter, searchOptions.dateFrom, searchOptions.dateTo),
            std::tuple(true, DateTime{2021, 5, 6}, DateTime{2022, 7, 8}));
  EXPECT_EQ(readIni(settingsFile(), "General", "DelMethod", "") +
                readIni(settingsFile(), "Backup", "Path", ""),
            "R" + folder);
  EXPECT_EQ(std::tuple(BackupFolder, DeleteMethod), std::tuple(folder + "\\", kDeleteRecycle));
  EXPECT_EQ(runValue(), "\"" + app.path() + "\\glenvask.exe\" -S");

  options([&](OptionsWindow& w) {  // the box shows the value; cleared, the value goes
    EXPECT_TRUE(w.chkStartWWindows.checked());
    w.chkStartWWindows.setChecked(false);
  }, true);
  EXPECT_EQ(runValue(), "");
}

TEST_F(OptionsAcceptTest, CookiePageKeepsWhatTheUserPicks) {
  std::string jar = app.file("cookies");
  test::SavedValue cookiesValue{HKEY_CURRENT_USER, kShellFolders, "Cookies", jar};
  test::SavedValue userCookies{HKEY_CURRENT_USER, kUserShellFolders, "Cookies", jar};
  for (const char* f : {"a.txt", "sub\\a.txt", "b.txt", "c.dat", "elsewhere\\x.txt"})
    app.write(std::string("cookies\\") + f, "c");
  test::makeFolderLink(jar + "\\link", jar + "\\elsewhere");
  options([&](OptionsWindow& w) {
    w.SSTab1.select(kPageCookies);
    ListView& current = w.lstvCurrentCookies;
    auto below = [&](size_t i) {  // the row's file below the Cookies folder
      return current.rowText(i, 3).substr(jar.size()) + current.rowText(i, 0);
    };
    Strings names;
    for (size_t i = 0; i < current.rowCount(); ++i) names.push_back(below(i));
    EXPECT_EQ(w.txtCookies.text(), jar + "\\");
    std::sort(names.begin(), names.begin() + 2);  // the two a.txt in the walk's order
    EXPECT_EQ(names, (Strings{"\\a.txt", "\\sub\\a.txt", "\\b.txt", "\\elsewhere\\x.txt"}));
    auto pick = [&](const std::string& relative) {
      for (size_t i = 0; i < current.rowCount(); ++i) current.select(i, below(i) == relative);
    };
    for (const char* f : {"\\a.txt", "\\sub\\a.txt", "\\b.txt"}) {  // a name is kept once
      pick(f);
      w.cmdAddCookie.click();
    }
    pick("\\elsewhere\\x.txt");
    w.cmdViewCookie.click();
    EXPECT_EQ(host.viewed, jar + "\\elsewhere\\x.txt");
    w.cmdDeleteCookie.click();
    EXPECT_TRUE(!app.exists("cookies\\elsewhere\\x.txt") && current.rowCount() == 3);
    EXPECT_EQ(w.lstvKeepCookies.rowCount(), 2u) << "Delete keeps picks not yet accepted";
  }, true);
  EXPECT_EQ(app.read("ck.txt"), jar + "\\a.txt\x01" + jar + "\\b.txt\x01\r\n");
  options([&](OptionsWindow& w) { everyPage(w), w.cmdResetCookies.click(); }, true);
  EXPECT_FALSE(app.exists("ck.txt"));
}

}  // namespace
}  // namespace glenvask
