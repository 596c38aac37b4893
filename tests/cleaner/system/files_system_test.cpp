// The file and folder categories on the prefix's own registry values and folders (the temp
// folder, the Windows folder, the crash-control and printer values) and on a drive letter of a
// scratch folder: they run one at a time, and put back what they change.
#include <gtest/gtest.h>

#include "cleaner/routines.h"
#include "base/lists.h"
#include "base/pathtext.h"
#include "plugins/engine.h"
#include "services/guard.h"
#include "cleaner/files_support.h"
#include "support/drive.h"
#include "support/host.h"
#include "services/registry.h"
#include "services/system.h"
#include "win/regional.h"

namespace glenvask {
namespace {

using test::exists;
using test::SavedValue;
using test::ScratchFolder;
using test::treeOf;
using Tree = std::vector<std::string>;

constexpr const char* kVolumeCaches =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches\\";
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kRecentDocs =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr const char* kCrashControl = "System\\CurrentControlSet\\Control\\CrashControl";

// A folder of the prefix made for one test (with the folders on its way), removed at its end
// when the test made it.
class PrefixFolder {
 public:
  explicit PrefixFolder(std::string path) : path_(std::move(path)) {
    for (size_t i = 3; i <= path_.size(); ++i)
      if ((i == path_.size() || path_[i] == '\\') &&
          CreateDirectoryW(wide(path_.substr(0, i)).c_str(), nullptr) && madeTop_.empty())
        madeTop_ = path_.substr(0, i);
  }
  ~PrefixFolder() {
    if (!madeTop_.empty()) test::removeTree(madeTop_);
  }
  const std::string& path() const { return path_; }
  std::string write(const std::string& rel, const std::string& bytes) const {
    return test::writeFile(path_ + "\\" + rel, static_cast<std::int64_t>(bytes.size()));
  }

 private:
  std::string path_, madeTop_;
};

class FilesSystemTest : public test::CategoryTest {
 protected:
  ScratchFolder driveFolder{"drive"};
  std::unique_ptr<test::ScratchDrive> drive;

  // The scratch folder as drive Q:.
  void mapDrive() {
    drive = std::make_unique<test::ScratchDrive>(L'Q', driveFolder.path(), DRIVE_FIXED);
    ASSERT_TRUE(drive->ready()) << "drive Q: not mapped";
  }
  // Q: mapped, the window loaded, and srch.txt naming Q: alone.
  void loadOnQ(bool readOnly = true, bool hidden = true) {
    mapDrive();
    load();
    SearchPage page;
    page.drives = {"Q: Hard drive"};
    page.readOnly = readOnly, page.hidden = hidden, page.system = true;
    app.write("srch.txt", formatSearchFile(page, userRegionalFormat()));
    app.write("UNFI.txt", "1\x01*.tmp\x01Temporary files\r\n");
    LoadScanLists();
  }
};

TEST_F(FilesSystemTest, TempAndUserFoldersRefuseADriveRootOrALink) {
  mapDrive();
  driveFolder.write("keep.txt", "k");
  driveFolder.write("sub\\keep.txt", "k");
  test::makeFolderLink(work.file("linked"), driveFolder.path());
  app.write("UDFO.txt", "Q:\\\r\nQ:\r\nQ:\\.\\\r\n");
  load();
  for (std::string temp : {std::string("Q:\\"), work.file("linked")}) {
    test::SavedTemp saved(temp);
    CleanupLog.clear();
    CleanTempFiles(w);
    CleanUserFolders(w);
    EXPECT_EQ(treeOf(driveFolder.path()), (Tree{"keep.txt", "sub\\", "sub\\keep.txt"})) << temp;
    EXPECT_EQ(CleanupLog,
              "Temporary files... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
              "User-defined folders... Files Deleted: 0 Space Gained: 0 Bytes\r\n");
  }
}

TEST_F(FilesSystemTest, ActiveSetupCleansItsFolderAndTheFolderOnEveryHardDrive) {
  mapDrive();
  PrefixFolder onC("C:\\msdownld.tmp");
  onC.write("c1.cab", "12345");
  onC.write("x\\c2.cab", "1");
  for (auto [f, bytes] : {std::pair{"msdownld.tmp\\q1.cab", "12"},
                          {"Windows\\msdownld.tmp\\q2.cab", "123"},
                          {"WINNT\\msdownld.tmp\\deep\\q3.cab", "1234"}, {"other\\keep.cab", "k"}})
    driveFolder.write(f, bytes);
  work.write("setup\\s1.cab", "1");
  work.write("setup\\d\\s2.cab", "1");
  std::string key = std::string(kVolumeCaches) + "Active Setup Temp Folders";
  load();
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", work.file("setup"));
    CleanActiveSetupTemp(w);
    EXPECT_EQ(treeOf(work.file("setup")), Tree{});
    EXPECT_EQ(treeOf(onC.path()), Tree{});
    EXPECT_EQ(treeOf(driveFolder.file("WINNT\\msdownld.tmp")), Tree{});
    EXPECT_TRUE(exists(driveFolder.file("other\\keep.cab")));
    EXPECT_EQ(CleanupLog,
              "Active setup temporary folders... Files Deleted: 7 Space Gained: 17 Bytes\r\n");
  }
  // "?:" names the folder on every drive: the value itself cleans nothing.
  work.write("setup\\s1.cab", "1");
  driveFolder.write("msdownld.tmp\\q1.cab", "12");
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "?:\\msdownld.tmp");
    CleanActiveSetupTemp(w);
    EXPECT_TRUE(exists(work.file("setup\\s1.cab")));
    EXPECT_FALSE(exists(driveFolder.file("msdownld.tmp\\q1.cab")));
  }
  // A drive root in the value is refused.
  SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "Q:\\");
  CleanActiveSetupTemp(w);
  EXPECT_TRUE(exists(driveFolder.file("other\\keep.cab")));
}

TEST_F(FilesSystemTest, IndexerLooksForItsFolderOnEveryHardDriveButNeverCleansARoot) {
  mapDrive();
  for (auto [f, bytes] : {std::pair{"catalog.wci\\a.ci", "abc"}, {"catalog.wci\\sub\\b.ci", "d"},
                          {"root.txt", "keep"}, {"folder\\keep.txt", "keep"}})
    driveFolder.write(f, bytes);
  std::string key = std::string(kVolumeCaches) + "Content Indexer Cleaner";
  load();
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "?:\\catalog.wci");
    CleanIndexer(w);
    EXPECT_EQ(treeOf(driveFolder.file("catalog.wci")), Tree{});
    EXPECT_EQ(CleanupLog, "Content indexer folder... Files Deleted: 2 Space Gained: 4 Bytes\r\n");
  }
  // "?:\" alone would be every drive's root. Should the guard ever let one through, the backup
  // method with a backup folder that cannot be made keeps every file where it is.
  ScratchFolder noBackup("nobackup");
  noBackup.write("file", "x");
  BackupFolder = noBackup.file("file\\");
  DeleteMethod = kDeleteBackup;
  for (const char* value : {"?:\\", "?:\\\\", "?:\\."}) {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", value);
    DeleteFailed = false;
    CleanupLog.clear();
    CleanIndexer(w);
    for (const char* f : {"root.txt", "folder\\keep.txt"})
      EXPECT_TRUE(driveFolder.exists(f)) << value << ": " << f;
    EXPECT_FALSE(DeleteFailed) << value << ": no file was even tried";
    EXPECT_EQ(CleanupLog, "Content indexer folder... Files Deleted: 0 Space Gained: 0 Bytes\r\n");
  }
}

// Each folder category on the folder that its registry value or the environment names: the
// files go, the folder stays (with the subfolders where the category keeps them), a link is not
// followed, one log line, the last-cleaned date.
TEST_F(FilesSystemTest, FolderCategoriesCleanTheFolderTheirValueNames) {
  const std::string windows = GetWindowsDir(), temp = work.file("temp");
  PrefixFolder dpf(windows + "\\Glenvask Downloaded Program Files");
  PrefixFolder offline(windows + "\\Offline Web Pages"), winTemp(windows + "\\temp");
  PrefixFolder minidumps(windows + "\\GlenvaskMinidump");
  std::string dump = PrefixFolder(windows).write("GLENVASK.DMP", "dump");
  // Below the system folder: not the one the value names.
  std::string decoy = PrefixFolder(GetSystemDir()).write("GLENVASK.DMP", "keep");
  std::string marker = winTemp.write("glenvask-marker.txt", "333");
  work.write("appdata\\Microsoft\\Office\\Recent\\doc.lnk", "4444");
  ScratchFolder outside("outside");
  outside.write("precious.txt", "keep");
  test::makeFolders(temp);
  test::makeFolderLink(work.file("temp\\link"), outside.path());
  test::SavedTemp savedTemp(temp);
  const std::string activeX =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ActiveX Cache";
  SavedValue values[] = {
      {HKEY_LOCAL_MACHINE, activeX, "0", "%SystemRoot%\\Glenvask Downloaded Program Files",
       REG_EXPAND_SZ},
      {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print\\Printers",
       "DefaultspoolDirectory", work.file("spool") + "\\"},  // doubled by the routine
      {HKEY_LOCAL_MACHINE, kCrashControl, "DumpFile", "%SystemRoot%\\GLENVASK.DMP", REG_EXPAND_SZ},
      {HKEY_LOCAL_MACHINE, kCrashControl, "MinidumpDir", "%SystemRoot%\\GlenvaskMinidump",
       REG_EXPAND_SZ},
      {HKEY_CURRENT_USER, kShellFolders, "Recent", work.file("recent")},
      {HKEY_CURRENT_USER, kRecentDocs, "MRUListEx", "x"},
      {HKEY_CURRENT_USER, kRecentDocs, "0", "a.txt"},
      {HKEY_CURRENT_USER, std::string(kRecentDocs) + "\\.txt", "0", "a.txt"},
      {HKEY_CURRENT_USER, kShellFolders, "AppData", work.file("appdata")},
  };
  load();
  ASSERT_EQ(GetTempDir(), temp + "\\");
  struct Case {
    void (*routine)(MainWindow&);
    std::string folder;
    std::vector<std::pair<std::string, std::string>> made;  // below the folder; "x\" a folder
    Tree left;
    const char* log;
  } cases[] = {
      {&CleanActiveX, dpf.path(), {{"control.ocx", "12345678"}, {"CONFLICT.1\\old.inf", "12"}}, {},
       "Downloaded ActiveX & OCX...Files Deleted: 2 Space Gained: 10 Bytes\r\n"},
      {&CleanPrinter, work.file("spool"),
       {{"00001.SPL", "1234"}, {"00001.SHD", "keep"}, {"sub\\00002.spl", "1"}},
       {"00001.SHD", "sub\\"},
       "Residual printer files... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
      {&CleanOffline, offline.path(), {{"page.htm", "12"}, {"site\\img.gif", "345"}}, {},
       "Offline web pages... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
      // The dump file itself goes uncounted.
      {&CleanMemDump, minidumps.path(), {{"Mini1.dmp", "123"}, {"keep.txt", "k"}}, {"keep.txt"},
       "Memory dump files... Files Deleted: 1 Space Gained: 3 Bytes\r\n"},
      {&CleanRecentDocs, work.file("recent"), {{"a.lnk", "123"}, {"sub\\b.lnk", "4"}}, {"sub\\"},
       "Recent documents... Files Deleted: 2 Space Gained: 4 Bytes\r\n"},
      {&CleanTempFiles, temp,
       {{"a.txt", "aaaa"}, {"ro.txt", "rr"}, {"sub\\b.txt", "bbb"}, {"sub\\deeper\\", ""},
        {"empty\\", ""}},
       {"link\\"}, "Temporary files... Files Deleted: 3 Space Gained: 9 Bytes\r\n"},
      // Without UDFO.txt: the temp folder, the Windows temp folder and Office's recent list.
      {&CleanUserFolders, temp, {{"t.txt", "1"}, {"sub\\u.txt", "22"}}, {"link\\", "sub\\"},
       "User-defined folders... Files Deleted: 4 Space Gained: 10 Bytes\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    for (const auto& [f, bytes] : c.made) {
      if (f.back() == '\\')
        test::makeFolders(c.folder + "\\" + f.substr(0, f.size() - 1));
      else
        test::writeFile(c.folder + "\\" + f, static_cast<std::int64_t>(bytes.size()));
    }
    if (c.routine == &CleanTempFiles)
      test::setAttributes(temp + "\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    app.write("settings.ini", "");
    CleanupLog.clear();
    c.routine(w);
    EXPECT_TRUE(exists(c.folder));
    EXPECT_EQ(treeOf(c.folder), c.left);
    EXPECT_EQ(CleanupLog, c.log);
    EXPECT_NE(lastCleaned(), "");
    EXPECT_EQ(w.lblCleanDate.text(), lastCleaned()) << "the date shown is the one stored";
    EXPECT_FALSE(w.imgCurrent.visible());
  }
  EXPECT_FALSE(exists(dump));
  EXPECT_TRUE(exists(decoy));
  DeleteFileW(wide(decoy).c_str());
  EXPECT_EQ(GetRegValueNames(kHkeyCurrentUser, kRecentDocs), "");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, std::string(kRecentDocs) + "\\.txt", "0"), "a.txt")
      << "the subkeys of RecentDocs stay";
  EXPECT_TRUE(outside.exists("precious.txt"));
  EXPECT_FALSE(exists(marker));
  EXPECT_EQ(treeOf(work.file("appdata\\Microsoft\\Office")), Tree{"Recent\\"});
}

// The drive scans' review decisions, on drive Q: holding one find of each kind.
TEST_F(FilesSystemTest, DriveScansDeferDeleteOrShowTheReviewList) {
  loadOnQ();
  enum Kind { kUnnecessary, kEmpty, kDead };
  struct Case {
    Kind kind;
    bool single;
    const char* boxes;  // further boxes set: "e" empty files, "d" dead shortcuts, "u" unnecessary
    bool check2, hidden;
    const char* shown;  // the review list's count text when it is shown, else nullptr
    bool deleted;       // the find is gone afterwards
    size_t rowsLeft;    // rows the review list keeps for a later scan of the run
  } cases[] = {
      {kUnnecessary, false, "e", false, false, nullptr, false, 1},
      {kUnnecessary, false, "d", true, false, nullptr, false, 1},
      {kEmpty, false, "d", false, true, nullptr, false, 1},
      {kEmpty, false, "u", false, false, "Files 1", false, 0},
      {kDead, false, "ue", false, false, "Files 1", false, 0},
      {kUnnecessary, false, "", true, false, nullptr, true, 0},
      {kUnnecessary, false, "", false, true, nullptr, true, 0},
      {kEmpty, false, "", true, false, nullptr, true, 0},
      {kDead, false, "", false, true, nullptr, true, 0},
      {kUnnecessary, true, "ed", true, false, "Files Found: 1", false, 0},
      {kEmpty, true, "d", false, true, "Files 1", false, 0},
      {kDead, true, "", true, false, nullptr, true, 0},
  };
  const char* logLines[] = {"Unnecessary files....Files Deleted: 1 Space Gained: 3 Bytes\r\n",
                            "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n",
                            "Dead (shortcut) links....Files Deleted: 1 Space Gained: "};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << n++);
    std::string find = c.kind == kUnnecessary ? driveFolder.write("junk.tmp", "abc")
                       : c.kind == kEmpty     ? driveFolder.write("empty.txt", "")
                                              : driveFolder.file("dead.lnk");
    if (c.kind == kDead) test::makeShortcut(find, "Q:\\missing.exe", "Q:\\");
    clearBoxes();
    for (const char* b = c.boxes; *b; ++b)
      check(*b == 'e' ? "chkEmptyFiles" : *b == 'd' ? "chkDeadShortcut" : "chkUnNecessaryFiles");
    w.Check2.setValue(c.check2 ? 1 : 0);
    w.commandLine = c.hidden ? "-h" : "";
    std::string label;
    if (c.shown)
      script.answerModal([&](Dialog&) { label = frmDeletetion().lblTotalFiles.text(); });
    size_t asked = script.asked().size();
    CleanupLog.clear();

    if (c.kind == kUnnecessary) CleanUnnecessaryFiles(w, c.single);
    if (c.kind == kEmpty) CleanEmptyFiles(w, c.single);
    if (c.kind == kDead) CleanShortcuts(w, c.single);

    EXPECT_EQ(script.asked().size() - asked, c.shown ? 1u : 0u);
    EXPECT_EQ(label, c.shown ? c.shown : "");
    EXPECT_EQ(!exists(find), c.deleted);
    EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), c.rowsLeft);
    EXPECT_EQ(CleanupLog.rfind(logLines[c.kind], 0), c.deleted ? 0u : std::string::npos)
        << CleanupLog;
    EXPECT_EQ(w.lblStatus.text(), "");
    releaseReviewList();
    DeleteFileW(wide(find).c_str());
  }
  w.commandLine.clear();
  w.Check2.setValue(0);
}

TEST_F(FilesSystemTest, DriveScansWithNothingFound) {
  loadOnQ();
  // With srch.txt, an empty list is shown by the dead-shortcut scan alone.
  script.answerModal([&](Dialog&) { EXPECT_EQ(frmDeletetion().lblTotalFiles.text(), "Files 0"); });
  CleanUnnecessaryFiles(w, true);
  CleanEmptyFiles(w, true);
  CleanShortcuts(w, true);
  ASSERT_EQ(script.asked().size(), 1u);
  EXPECT_EQ(script.asked()[0].kind, "modal");
  EXPECT_EQ(CleanupLog, "") << "the drive scans write no log line of their own";
}

TEST_F(FilesSystemTest, AWholeRunShowsTheReviewListOnceWithTheFindsOfAllThreeScans) {
  loadOnQ(true, false);
  std::string junk = driveFolder.write("a\\junk.tmp", "abcd");
  std::string hiddenJunk = driveFolder.write("a\\hidden.tmp", "ab");
  test::setAttributes(hiddenJunk, FILE_ATTRIBUTE_HIDDEN);
  std::string readOnly = driveFolder.write("a\\ro.tmp", "ab");
  test::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  std::string empty = driveFolder.write("b\\empty.dat", "");
  std::string dead = driveFolder.file("c\\dead.lnk");
  test::makeFolders(driveFolder.file("c"));
  test::makeShortcut(dead, "Q:\\missing.exe", "Q:\\");
  std::string keep = driveFolder.write("keep.txt", "keep");
  clearBoxes();
  for (const char* box : {"chkUnNecessaryFiles", "chkEmptyFiles", "chkDeadShortcut"}) check(box);
  std::vector<std::string> categories;
  script.answerModal([&](Dialog&) {
    ReviewListWindow& r = frmDeletetion();
    EXPECT_EQ(r.lblTotalFiles.text(), "Files 4");
    for (size_t i = 0; i < r.lstvDeletion.rowCount(); ++i)
      categories.push_back(r.lstvDeletion.rowText(i, kColCategory));
    r.mnuDeleteAll_Click();
  });
  expectSummary();

  w.cmdClean_Click();

  EXPECT_EQ(categories, (std::vector<std::string>{"Unnecessary Files", "Unnecessary Files",
                                                  "Empty Files", "Dead Shortcuts"}));
  for (const auto& f : {junk, hiddenJunk, empty, dead}) EXPECT_FALSE(exists(f)) << f;
  EXPECT_TRUE(exists(readOnly)) << "read-only files are skipped";
  EXPECT_TRUE(exists(keep));
  EXPECT_EQ(script.asked().size(), 2u) << "the review list, then the summary";
  EXPECT_NE(summary.log.find("Unnecessary files....Files Deleted: 2 Space Gained: 6 Bytes\r\n"
                             "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n"
                             "Dead (shortcut) links....Files Deleted: 1"),
            std::string::npos)
      << summary.log;
}

// A run stopped inside a category's scan: the run's abort text, no summary, no review list,
// no last-cleaned date, and what was not reached stays.
TEST_F(FilesSystemTest, StopDuringAScanEndsTheRunWithTheAbortText) {
  loadOnQ();
  EventPump::setSliceMs(0);
  std::string temp = work.file("temp");
  test::SavedTemp saved(temp);
  PrefixFolder offline(GetWindowsDir() + "\\Offline Web Pages");
  for (int i = 0; i < 40; ++i) {
    std::string name = "f" + std::to_string(i) + "\\x.tmp";
    work.write("temp\\" + name, "x");
    offline.write(name, "x");
    driveFolder.write(name, "x");
  }
  // Posts a click on Stop, as the user gives it: the next pump of the run sees it.
  auto postStop = [this] {
    PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w.cmdStop.hwnd()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w.cmdStop.hwnd()));
  };
  // Stop is clicked once the scan has entered a few folders.
  struct StopLater : test::ForwardingHost {
    int folders = 3;
    std::function<void()> stop;
    void setStatus(const std::string& t) override {
      ForwardingHost::setStatus(t);
      if (t.rfind(kScanningStatus, 0) == 0 && --folders == 0) stop();
    }
  } stopLater;
  stopLater.stop = postStop;

  struct Case {
    const char* box;
    std::string folder;
    bool stopFirst;  // the folder scans report no folder: Stop is waiting when they start
    const char* status;
  } cases[] = {
      {"chkTemp", temp, true, "Aborted by user"},
      {"chkOffline", offline.path(), true, "Aborted by User"},
      {"chkUnNecessaryFiles", driveFolder.path(), false, "Aborted by user"},
  };
  for (const auto& c : cases) {
    clearBoxes();
    check(c.box);
    stopLater.folders = 3;
    if (c.stopFirst) postStop();
    size_t asked = script.asked().size();
    w.cmdClean_Click();
    EXPECT_EQ(w.lblStatus.text(), c.status) << c.box;
    EXPECT_EQ(script.asked().size(), asked) << c.box << ": no summary, no review list";
    EXPECT_TRUE(bAbort);
    EXPECT_EQ(lastCleaned(), "") << c.box;
    EXPECT_GT(treeOf(c.folder).size(), 40u) << c.box << ": the scan did not get far";
    EXPECT_EQ(frmDeletetion().lstvDeletion.rowCount(), 0u);
    EXPECT_TRUE(w.cmdClean.enabled());
    bAbort = false;
  }
}

// A path past what the platform takes, through every door a path comes in by: a list file, a
// registry value, a plug-in record and the command line. Each is refused like an unusable
// line; none reaches a platform call that breaks on it (this once ended a hidden run).
TEST_F(FilesSystemTest, OverLongPathsAreRefusedAtEveryDoor) {
  const std::string longPath = "C:\\" + std::string(5000, 'a') + "\\";
  const std::string edge =
      work.path() + "\\" + std::string(kMaxPathUnits - work.path().size() - 1, 'b');
  EXPECT_TRUE(isUsablePathLength(edge));
  EXPECT_FALSE(isUsablePathLength(edge + "b"));
  EXPECT_TRUE(isProtectedCleaningRoot(longPath));
  EXPECT_FALSE(isSafePluginFolder(longPath, "*.*"));

  SavedValue folder(HKEY_LOCAL_MACHINE, std::string(kVolumeCaches) + "Active Setup Temp Folders",
                    "Folder", longPath);
  app.write("UDFO.txt", longPath + "\r\n" + work.path() + "\r\n");
  app.write("UDFI.txt", longPath + "x.txt\r\n");
  work.write("gone.tmp", "x");
  load(std::string(5000, '-'));  // no switch: nothing runs
  EXPECT_TRUE(w.isOpen());
  EXPECT_EQ(CleanupLog, "");
  CleanUserFiles(w);
  CleanActiveSetupTemp(w);
  CleanUserFolders(w);
  EXPECT_FALSE(exists(work.file("gone.tmp"))) << "the usable line after it still counts";
  EXPECT_EQ(CleanupLog,
            "User-defined files... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
            "Active setup temporary folders... Files Deleted: 0 Space Gained: 0 Bytes\r\n"
            "User-defined folders... Files Deleted: 1 Space Gained: 1 Bytes\r\n");
}

}  // namespace
}  // namespace glenvask
