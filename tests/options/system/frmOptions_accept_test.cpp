// The options window accepted: the files it writes and what they hold for the run's readers,
// files the user changed nothing of coming back byte for byte, the Run value, the general
// settings applied at once, and the cookie page on a Cookies folder of its own.
#include "options/frmOptions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "services/globals.h"
#include "services/lists.h"
#include "services/registry.h"
#include "services/system.h"
#include "win/regional.h"
#include "options/options_fixture.h"
#include "support/prefix.h"

namespace glenvask {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class OptionsAcceptTest : public test::OptionsTest {
 protected:
  test::SavedValue run{HKEY_CURRENT_USER, kRunKey, kRunValueName, std::nullopt};
  std::string windowsDrive = GetWindowsDir().substr(0, 2);
  std::string driveItem = windowsDrive + " " + GetDriveTypeName(windowsDrive + "\\");
  std::string runValue() { return GetRegString(kHkeyCurrentUser, kRunKey, kRunValueName); }
};

TEST_F(OptionsAcceptTest, AFreshAcceptWritesEveryFileAndASecondChangesNothing) {
  app.write("DefIFI.txt", "thumbs.db\r\n");
  app.write("DefIE.txt", "log\r\n");
  app.write("DefUNFI.txt", "1\x01*.tmp\x01Temporary files\r\n");
  DateTime today;
  options(
      [&](OptionsWindow& w) {  // every page made: what its controls give is written
        for (size_t page = 0; page < kOptionsPageCount; ++page) w.SSTab1.select(page);
        today = w.searchPage().firstDate;
      },
      true);
  auto f = files();
  EXPECT_EQ(f["settings.ini"],
            "[Backup]\r\nPath=" + app.path() +
                "\\Backup\\\r\nMethod=Always\r\n[General]\r\n"
                "StartupClean=0\r\nAutoClean=0\r\nHM=1\r\nDuration=1\r\nDelMethod=D\r\nExtraS=0\r\n"
                "Rename=0\r\nProtect1=0\r\nProtect2=0\r\nTipBox=1\r\n");
  std::string date = formatSrchDate(today, userRegionalFormat());
  EXPECT_EQ(f["srch.txt"], " " + driveItem + "\r\n1 1\r\n0 " + date + " " + date +
                               "\r\n0 False False False 1000\r\n1 1 1\r\n");
  EXPECT_EQ(f["IFI.txt"], "thumbs.db\r\n");
  EXPECT_EQ(f["IE.txt"], "log\r\n");
  EXPECT_EQ(f["UNFI.txt"], "1\x01*.tmp\x01Temporary files\r\n");
  for (const char* empty : {"UDIFO.txt", "UDFI.txt"}) EXPECT_EQ(f[empty], "") << empty;
  EXPECT_EQ(f.count("ck.txt"), 0u);
  EXPECT_EQ(runValue(), "");
  EXPECT_EQ(host.applied, (Strings{"auto off", "boxes 00", "tips"}));
  EXPECT_EQ(DeleteMethod, kDeletePlain);
  EXPECT_EQ(BackupFolder, app.path() + "\\Backup\\");
  options([](OptionsWindow&) {}, true);  // no page but General made: what was read is written
  EXPECT_EQ(files(), f);
}

TEST_F(OptionsAcceptTest, FilesWrittenByHandComeBackByteForByte) {
  app.write("settings.ini",
            "; mine\n[General]\nStartupClean = 1\nAutoClean=1\nDuration=75\nHM=0\n"
            "DelMethod=r\nExtraS=0\nRename=2\nProtect1=1\nProtect2=0\nTipBox=\"0\"\n\n"
            "[Backup]\nPath=D:\\bk\nMethod=odd\n[CleanUp]\nLastCleaned=x\n");
  app.write("srch.txt",
            " " + driveItem + "\n1 0\n1 1/2/2020 03/04/2021\n1 True False False 500\n0 1 0\n");
  app.write("IE.txt", "log\n\nbak");
  app.write("UDIFO.txt", "C:\\gone\\\r\n");
  app.write("UNFI.txt",
            "1\x01*.tmp\x01T\r\nbad\r\n0\x01*.bak\x01"
            "B\r\n");
  app.write("ck.txt",
            "C:\\c\\a.txt\x01"
            "C:\\c\\b.txt\x01\r\n");
  auto before = files();
  options(
      [](OptionsWindow& w) {
        for (size_t page = 0; page < kOptionsPageCount; ++page) w.SSTab1.select(page);
      },
      true);
  auto after = files();
  for (const auto& [name, bytes] : before) EXPECT_EQ(after[name], bytes) << name;
  EXPECT_EQ(host.applied, (Strings{"auto 75", "boxes 10", "no tips"}));
  EXPECT_EQ(DeleteMethod, kDeleteBackup) << "a lower-case r is no method letter";
  EXPECT_FALSE(RenameBeforeDelete);
  EXPECT_EQ(BackupFolder, "D:\\bk\\");
}

TEST_F(OptionsAcceptTest, WhatTheUserChangesReachesTheRunAndTheMainWindow) {
  std::string folder = app.file("data");
  app.write("data\\x.txt", "x");
  app.write("UNFI.txt", "1\x01*.tmp\x01T\r\n1\x01*.old\x01O\r\n");
  app.write("IFI.txt", "mine.txt\r\n");
  app.write("DefIFI.txt", "default.txt\r\n");
  options(
      [&](OptionsWindow& w) {
        for (size_t page :
             {kPageSearch, kPageIgnoreFolders, kPageIgnoreFiles, kPageUnnecessary, kPageBackups})
          w.SSTab1.select(page);
        w.txtIE.setText("tmp");
        w.cmdIEAdd.click();
        w.txtUDIFO.setText(folder);
        w.cmdUDIFOAdd.click();
        w.lstvUnnecessaryFiles.setRowChecked(1, false);
        w.chkSearchDateReference.setChecked(true);
        w.dtpSearchFirst.setValue({2021, 5, 6});
        w.dtpSearchSecond.setValue({2022, 7, 8});
        w.deleteMethod.choose(0);
        w.chkAutoClean.setChecked(true);
        w.cmbAutoClean1.select(1);
        w.cmbAutoClean.select(1);
        w.Check1.setChecked(true);
        w.chkStartWWindows.setChecked(true);
        w.txtGenerealBackup.setText(folder);  // the Backups page's box follows
        EXPECT_EQ(w.txtBackup.text(), folder);
        w.cmdIFIDefaults.click();
      },
      true);
  LoadScanLists();
  EXPECT_EQ(arrIgnoreExt, Strings{"tmp"});
  EXPECT_EQ(arrIgnoreFolders, Strings{folder + "\\"});
  EXPECT_EQ(arrIgnoreFiles, Strings{"default.txt"});
  EXPECT_EQ(arrUnnecessary, Strings{"*.tmp"});
  EXPECT_TRUE(searchOptions.useDateFilter);
  EXPECT_EQ(searchOptions.dateFrom, (DateTime{2021, 5, 6}));
  EXPECT_EQ(searchOptions.dateTo, (DateTime{2022, 7, 8}));
  EXPECT_EQ(readIni(settingsFile(), "General", "DelMethod", ""), "R");
  EXPECT_EQ(readIni(settingsFile(), "Backup", "Path", ""), folder);
  EXPECT_EQ(host.applied, (Strings{"auto 120", "boxes 10", "tips"}));
  EXPECT_EQ(DeleteMethod, kDeleteRecycle);
  EXPECT_EQ(BackupFolder, folder + "\\");
  EXPECT_EQ(runValue(), "\"" + app.path() + "\\glenvask.exe\" -S");

  // Defaults, then Cancel: the user's file stays; Start with Windows shows the value.
  app.write("IFI.txt", "mine.txt\r\n");
  options([&](OptionsWindow& w) {
    EXPECT_TRUE(w.chkStartWWindows.checked());
    w.SSTab1.select(kPageIgnoreFiles);
    w.cmdIFIDefaults.click();
    EXPECT_EQ(items(w.lstIFI), Strings{"default.txt"});
  });
  EXPECT_EQ(app.read("IFI.txt"), "mine.txt\r\n");
  options([&](OptionsWindow& w) { w.chkStartWWindows.setChecked(false); }, true);
  EXPECT_EQ(runValue(), "");
}

TEST_F(OptionsAcceptTest, CookiePageKeepsWhatTheUserPicks) {
  std::string jar = app.file("cookies");
  test::SavedValue cookiesValue{HKEY_CURRENT_USER, kShellFolders, "Cookies", jar};
  for (const char* f : {"a.txt", "sub\\a.txt", "b.txt", "c.dat", "elsewhere\\x.txt"})
    app.write(std::string("cookies\\") + f, "c");
  test::makeFolderLink(jar + "\\link", jar + "\\elsewhere");
  options(
      [&](OptionsWindow& w) {
        w.SSTab1.select(kPageCookies);
        ListView& current = w.lstvCurrentCookies;
        auto names = [&] {  // below the Cookies folder, in the list's order
          Strings out;
          for (size_t i = 0; i < current.rowCount(); ++i)
            out.push_back(current.rowText(i, 3).substr(jar.size()) + current.rowText(i, 0));
          return out;
        };
        auto pick = [&](const std::string& relative) {
          Strings n = names();
          size_t row = std::find(n.begin(), n.end(), relative) - n.begin();
          ASSERT_LT(row, n.size()) << relative;
          for (size_t i : current.selectedRows()) current.select(i, false);
          current.select(row);
        };
        EXPECT_EQ(w.txtCookies.text(), jar + "\\");
        Strings sorted = names();
        EXPECT_EQ(sorted.size(), 4u) << "the link is not entered";
        std::sort(sorted.begin(), sorted.begin() + 2);  // the two a.txt in the walk's order
        EXPECT_EQ(sorted, (Strings{"\\a.txt", "\\sub\\a.txt", "\\b.txt", "\\elsewhere\\x.txt"}));
        for (const char* f : {"\\a.txt", "\\sub\\a.txt", "\\b.txt"}) {  // a name is kept once
          pick(f);
          w.cmdAddCookie.click();
        }
        EXPECT_EQ(w.lstvKeepCookies.rowCount(), 2u);
        pick("\\elsewhere\\x.txt");
        w.cmdViewCookie.click();
        EXPECT_EQ(host.viewed, jar + "\\elsewhere\\x.txt");
        w.cmdDeleteCookie.click();
        EXPECT_FALSE(app.exists("cookies\\elsewhere\\x.txt"));
        EXPECT_EQ(current.rowCount(), 3u);
        EXPECT_EQ(w.lstvKeepCookies.rowCount(), 2u) << "Delete keeps picks not yet accepted";
      },
      true);
  EXPECT_EQ(app.read("ck.txt"), jar + "\\a.txt\x01" + jar + "\\b.txt\x01\r\n");
  options(
      [&](OptionsWindow& w) {
        w.SSTab1.select(kPageCookies);
        w.cmdResetCookies.click();
      },
      true);
  EXPECT_FALSE(app.exists("ck.txt"));
}

}  // namespace
}  // namespace glenvask
