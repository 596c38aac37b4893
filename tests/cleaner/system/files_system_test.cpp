// The file and folder categories on the prefix's own registry values and folders (the temp
// folder, the Windows folder, the crash-control and printer values) and on a drive letter of a
// scratch folder: they run one at a time, and put back what they change.
#include <gtest/gtest.h>

#include "base/lists.h"
#include "cleaner/files_support.h"
#include "services/registry.h"
#include "services/system.h"
#include "win/regional.h"

namespace glenvask {
namespace {

using test::exists;
using test::SavedValue;
using test::ScratchFolder;
using test::treeOf;

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
  std::unique_ptr<test::MappedDrive> drive;

  // The scratch folder as drive Q:, and srch.txt naming it alone.
  void mapDrive() {
    drive = std::make_unique<test::MappedDrive>('Q', driveFolder.path());
    ASSERT_TRUE(drive->ok()) << "drive Q: not mapped";
  }
  void searchOnlyQ(bool readOnly = true, bool hidden = true) {
    SearchPage page;
    page.drives = {"Q: Hard drive"};
    page.readOnly = readOnly, page.hidden = hidden, page.system = true;
    app.write("srch.txt", formatSearchFile(page, userRegionalFormat()));
    app.write("UNFI.txt", "1\x01*.tmp\x01Temporary files\r\n");
    LoadScanLists();
  }
  // Posts a click on Stop, as the user would give it: the next pump of the run sees it.
  void postStop() {
    PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w.cmdStop.hwnd()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w.cmdStop.hwnd()));
  }
};

TEST_F(FilesSystemTest, TempFilesEmptiesTheTempFolderAndKeepsIt) {
  std::string temp = work.file("temp");
  test::SavedEnv tmp(L"TMP", temp), tmp2(L"TEMP", temp);
  ASSERT_EQ(GetTempDir(), temp + "\\");
  work.write("temp\\a.txt", "aaaa");
  work.write("temp\\ro.txt", "rr");
  work.write("temp\\sub\\b.txt", "bbb");
  CreateDirectoryW(wide(work.file("temp\\sub\\deeper")).c_str(), nullptr);
  CreateDirectoryW(wide(work.file("temp\\empty")).c_str(), nullptr);
  test::setAttributes(work.file("temp\\ro.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ScratchFolder outside("outside");
  outside.write("precious.txt", "keep");
  test::makeFolderLink(work.file("temp\\link"), outside.path());
  load();

  w.CleanTempFiles();

  EXPECT_EQ(treeOf(temp), std::vector<std::string>{"link\\"});
  EXPECT_TRUE(outside.exists("precious.txt"));
  EXPECT_EQ(CleanupLog, "Temporary files... Files Deleted: 3 Space Gained: 9 Bytes\r\n");
  EXPECT_NE(lastCleaned(), "");
  EXPECT_FALSE(w.imgCurrent.visible());
}

TEST_F(FilesSystemTest, TempAndUserFoldersRefuseADriveRootOrALink) {
  mapDrive();
  driveFolder.write("keep.txt", "k");
  driveFolder.write("sub\\keep.txt", "k");
  test::makeFolderLink(work.file("linked"), driveFolder.path());
  app.write("UDFO.txt", "Q:\\\r\nQ:\r\nQ:\\.\\\r\n");
  load();
  for (std::string temp : {std::string("Q:\\"), work.file("linked")}) {
    test::SavedEnv tmp(L"TMP", temp), tmp2(L"TEMP", temp);
    CleanupLog.clear();
    w.CleanTempFiles();
    w.CleanUserFolders();
    EXPECT_TRUE(driveFolder.exists("keep.txt")) << temp;
    EXPECT_TRUE(driveFolder.exists("sub\\keep.txt")) << temp;
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
  driveFolder.write("msdownld.tmp\\q1.cab", "12");
  driveFolder.write("Windows\\msdownld.tmp\\q2.cab", "123");
  driveFolder.write("WINNT\\msdownld.tmp\\deep\\q3.cab", "1234");
  driveFolder.write("other\\keep.cab", "k");
  work.write("setup\\s1.cab", "1");
  work.write("setup\\d\\s2.cab", "1");
  std::string key = std::string(kVolumeCaches) + "Active Setup Temp Folders";
  load();
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", work.file("setup"));
    w.CleanActiveSetupTemp();
    EXPECT_EQ(treeOf(work.file("setup")), std::vector<std::string>{});
    EXPECT_EQ(treeOf(onC.path()), std::vector<std::string>{});
    EXPECT_EQ(treeOf(driveFolder.file("WINNT\\msdownld.tmp")), std::vector<std::string>{});
    EXPECT_TRUE(exists(driveFolder.file("other\\keep.cab")));
    EXPECT_EQ(CleanupLog,
              "Active setup temporary folders... Files Deleted: 7 Space Gained: 17 Bytes\r\n");
  }
  // "?:" names the folder on every drive: the value itself cleans nothing.
  work.write("setup\\s1.cab", "1");
  driveFolder.write("msdownld.tmp\\q1.cab", "12");
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "?:\\msdownld.tmp");
    CleanupLog.clear();
    w.CleanActiveSetupTemp();
    EXPECT_TRUE(exists(work.file("setup\\s1.cab")));
    EXPECT_FALSE(exists(driveFolder.file("msdownld.tmp\\q1.cab")));
  }
  // A drive root in the value is refused.
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "Q:\\");
    w.CleanActiveSetupTemp();
    EXPECT_TRUE(exists(driveFolder.file("other\\keep.cab")));
  }
}

TEST_F(FilesSystemTest, IndexerLooksForItsFolderOnEveryHardDriveButNeverCleansARoot) {
  mapDrive();
  driveFolder.write("catalog.wci\\a.ci", "abc");
  driveFolder.write("catalog.wci\\sub\\b.ci", "d");
  driveFolder.write("root.txt", "keep");
  driveFolder.write("folder\\keep.txt", "keep");
  std::string key = std::string(kVolumeCaches) + "Content Indexer Cleaner";
  load();
  {
    SavedValue v(HKEY_LOCAL_MACHINE, key, "Folder", "?:\\catalog.wci");
    w.CleanIndexer();
    EXPECT_EQ(treeOf(driveFolder.file("catalog.wci")), std::vector<std::string>{});
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
    w.CleanIndexer();
    EXPECT_TRUE(driveFolder.exists("root.txt")) << value;
    EXPECT_TRUE(driveFolder.exists("folder\\keep.txt")) << value;
    EXPECT_TRUE(driveFolder.exists("folder")) << value;
    EXPECT_FALSE(DeleteFailed) << value << ": no file was even tried";
    EXPECT_EQ(CleanupLog, "Content indexer folder... Files Deleted: 0 Space Gained: 0 Bytes\r\n");
  }
  DeleteMethod = kDeletePlain;
}

TEST_F(FilesSystemTest, FolderCategoriesCleanTheFolderTheirValueNames) {
  PrefixFolder dpf(GetWindowsDir() + "\\Glenvask Downloaded Program Files");
  dpf.write("control.ocx", "12345678");
  dpf.write("CONFLICT.1\\old.inf", "12");
  PrefixFolder offline(GetWindowsDir() + "\\Offline Web Pages");
  offline.write("page.htm", "12");
  offline.write("site\\img.gif", "345");
  work.write("spool\\00001.SPL", "1234");
  work.write("spool\\00001.SHD", "keep");
  work.write("spool\\sub\\00002.spl", "1");
  SavedValue activeX(
      HKEY_LOCAL_MACHINE,
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ActiveX Cache", "0",
      "%SystemRoot%\\Glenvask Downloaded Program Files", REG_EXPAND_SZ);
  SavedValue spool(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print\\Printers",
                   "DefaultspoolDirectory", work.file("spool") + "\\");  // doubled by the routine
  load();
  struct Case {
    void (MainWindow::*routine)();
    std::string folder;
    std::vector<std::string> left;
    const char* log;
  } cases[] = {
      {&MainWindow::CleanActiveX, dpf.path(), {},
       "Downloaded ActiveX & OCX...Files Deleted: 2 Space Gained: 10 Bytes\r\n"},
      {&MainWindow::CleanPrinter, work.file("spool"), {"00001.SHD", "sub\\"},
       "Residual printer files... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
      {&MainWindow::CleanOffline, offline.path(), {},
       "Offline web pages... Files Deleted: 2 Space Gained: 5 Bytes\r\n"},
  };
  for (const auto& c : cases) {
    CleanupLog.clear();
    (w.*c.routine)();
    EXPECT_TRUE(exists(c.folder)) << c.log;
    EXPECT_EQ(treeOf(c.folder), c.left) << c.log;
    EXPECT_EQ(CleanupLog, c.log);
  }
}

TEST_F(FilesSystemTest, MemDumpDeletesTheDumpFileOfTheWindowsFolderAndTheMinidumps) {
  std::string windows = GetWindowsDir();
  PrefixFolder minidumps(windows + "\\GlenvaskMinidump");
  minidumps.write("Mini1.dmp", "123");
  minidumps.write("keep.txt", "k");
  std::string dump = windows + "\\GLENVASK.DMP";
  std::string decoy = GetSystemDir() + "\\GLENVASK.DMP";  // below the system folder: not it
  PrefixFolder(windows).write("GLENVASK.DMP", "dump");
  PrefixFolder(GetSystemDir()).write("GLENVASK.DMP", "keep");
  SavedValue file(HKEY_LOCAL_MACHINE, kCrashControl, "DumpFile", "%SystemRoot%\\GLENVASK.DMP",
                  REG_EXPAND_SZ);
  SavedValue dir(HKEY_LOCAL_MACHINE, kCrashControl, "MinidumpDir",
                 "%SystemRoot%\\GlenvaskMinidump", REG_EXPAND_SZ);
  load();
  w.CleanMemDump();
  EXPECT_FALSE(exists(dump));
  EXPECT_TRUE(exists(decoy));
  DeleteFileW(wide(decoy).c_str());
  EXPECT_EQ(treeOf(minidumps.path()), std::vector<std::string>{"keep.txt"});
  EXPECT_EQ(CleanupLog, "Memory dump files... Files Deleted: 1 Space Gained: 3 Bytes\r\n")
      << "the dump file itself is not counted";
}

TEST_F(FilesSystemTest, RecentDocsDeletesTheFilesAndEveryRecentDocsValue) {
  work.write("recent\\a.lnk", "123");
  work.write("recent\\sub\\b.lnk", "4");
  SavedValue folder(HKEY_CURRENT_USER, kShellFolders, "Recent", work.file("recent"));
  SavedValue mru(HKEY_CURRENT_USER, kRecentDocs, "MRUListEx", "x");
  SavedValue zero(HKEY_CURRENT_USER, kRecentDocs, "0", "a.txt");
  SavedValue sub(HKEY_CURRENT_USER, std::string(kRecentDocs) + "\\.txt", "0", "a.txt");
  load();
  w.CleanRecentDocs();
  EXPECT_EQ(treeOf(work.file("recent")), std::vector<std::string>{"sub\\"});
  EXPECT_EQ(GetRegValueNames(kHkeyCurrentUser, kRecentDocs), "");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, std::string(kRecentDocs) + "\\.txt", "0"), "a.txt")
      << "the subkeys stay";
  EXPECT_EQ(CleanupLog, "Recent documents... Files Deleted: 2 Space Gained: 4 Bytes\r\n");
}

TEST_F(FilesSystemTest, UserFoldersWithoutAListCleanTheThreeDefaultFolders) {
  std::string temp = work.file("temp");
  test::SavedEnv tmp(L"TMP", temp), tmp2(L"TEMP", temp);
  work.write("temp\\t.txt", "1");
  work.write("temp\\sub\\u.txt", "22");
  PrefixFolder winTemp(GetWindowsDir() + "\\temp");
  std::string marker = winTemp.write("glenvask-marker.txt", "333");
  work.write("appdata\\Microsoft\\Office\\Recent\\doc.lnk", "4444");
  SavedValue appData(HKEY_CURRENT_USER, kShellFolders, "AppData", work.file("appdata"));
  load();
  w.CleanUserFolders();
  EXPECT_EQ(treeOf(temp), std::vector<std::string>{"sub\\"}) << "files only";
  EXPECT_FALSE(exists(marker));
  EXPECT_EQ(treeOf(work.file("appdata\\Microsoft\\Office\\Recent")), std::vector<std::string>{});
  EXPECT_TRUE(exists(work.file("appdata\\Microsoft\\Office\\Recent")));
  EXPECT_EQ(w.CategoryFileCount, 4);
  EXPECT_NE(CleanupLog.find("User-defined folders... Files Deleted: 4"), std::string::npos)
      << CleanupLog;
}

// The drive scans' review decisions, on drive Q: holding one find of each kind.
TEST_F(FilesSystemTest, DriveScansDeferDeleteOrShowTheReviewList) {
  mapDrive();
  load();
  searchOnlyQ();
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

    if (c.kind == kUnnecessary) w.CleanUnnecessaryFiles(c.single);
    if (c.kind == kEmpty) w.CleanEmptyFiles(c.single);
    if (c.kind == kDead) w.CleanShortcuts(c.single);

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
  mapDrive();
  load();
  searchOnlyQ();
  // With srch.txt, an empty list is shown by the dead-shortcut scan alone.
  script.answerModal([&](Dialog&) { EXPECT_EQ(frmDeletetion().lblTotalFiles.text(), "Files 0"); });
  w.CleanUnnecessaryFiles(true);
  w.CleanEmptyFiles(true);
  w.CleanShortcuts(true);
  ASSERT_EQ(script.asked().size(), 1u);
  EXPECT_EQ(script.asked()[0].kind, "modal");
  EXPECT_EQ(CleanupLog, "") << "the drive scans write no log line of their own";
}

TEST_F(FilesSystemTest, AWholeRunShowsTheReviewListOnceWithTheFindsOfAllThreeScans) {
  mapDrive();
  load();
  searchOnlyQ(true, false);
  std::string junk = driveFolder.write("a\\junk.tmp", "abcd");
  std::string hiddenJunk = driveFolder.write("a\\hidden.tmp", "ab");
  test::setAttributes(hiddenJunk, FILE_ATTRIBUTE_HIDDEN);
  std::string readOnly = driveFolder.write("a\\ro.tmp", "ab");
  test::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  std::string empty = driveFolder.write("b\\empty.dat", "");
  std::string dead = driveFolder.file("c\\dead.lnk");
  CreateDirectoryW(wide(driveFolder.file("c")).c_str(), nullptr);
  test::makeShortcut(dead, "Q:\\missing.exe", "Q:\\");
  std::string keep = driveFolder.write("keep.txt", "keep");
  clearBoxes();
  check("chkUnNecessaryFiles");
  check("chkEmptyFiles");
  check("chkDeadShortcut");
  std::vector<std::string> categories;
  script.answerModal([&](Dialog&) {
    ReviewListWindow& r = frmDeletetion();
    EXPECT_EQ(r.lblTotalFiles.text(), "Files 4");
    for (size_t i = 0; i < r.lstvDeletion.rowCount(); ++i)
      categories.push_back(r.lstvDeletion.rowText(i, kColCategory));
    r.mnuDeleteAll_Click();
  });
  std::string log;
  script.answerModal([&](Dialog&) { log = CleanupLog; });

  w.cmdClean_Click();

  EXPECT_EQ(categories, (std::vector<std::string>{"Unnecessary Files", "Unnecessary Files",
                                                  "Empty Files", "Dead Shortcuts"}));
  for (const auto& f : {junk, hiddenJunk, empty, dead}) EXPECT_FALSE(exists(f)) << f;
  EXPECT_TRUE(exists(readOnly)) << "read-only files are skipped";
  EXPECT_TRUE(exists(keep));
  EXPECT_EQ(script.asked().size(), 2u) << "the review list, then the summary";
  EXPECT_NE(log.find("Unnecessary files....Files Deleted: 2 Space Gained: 6 Bytes\r\n"
                     "Empty (zero-byte) files....Files Deleted: 1 Space Gained: 0 Bytes\r\n"
                     "Dead (shortcut) links....Files Deleted: 1"),
            std::string::npos)
      << log;
}

// A run stopped inside a category's scan: the run's abort text, no summary, no review list,
// no last-cleaned date, and what was not reached stays.
TEST_F(FilesSystemTest, StopDuringAScanEndsTheRunWithTheAbortText) {
  mapDrive();
  load();
  searchOnlyQ();
  EventPump::setSliceMs(0);
  std::string temp = work.file("temp");
  test::SavedEnv tmp(L"TMP", temp), tmp2(L"TEMP", temp);
  PrefixFolder offline(GetWindowsDir() + "\\Offline Web Pages");
  for (int i = 0; i < 40; ++i) {
    std::string name = "f" + std::to_string(i) + "\\x.tmp";
    work.write("temp\\" + name, "x");
    offline.write(name, "x");
    driveFolder.write(name, "x");
  }

  // Stop is clicked once the scan has entered a few folders.
  struct StopLater : ScanReporter {
    ScanReporter* inner;
    int folders = 3;
    std::function<void()> stop;
    explicit StopLater(std::function<void()> s) : inner(&scanReporter()), stop(std::move(s)) {
      setScanReporter(this);
    }
    ~StopLater() override { setScanReporter(inner); }
    void scanStatus(const std::string& t) override {
      inner->scanStatus(t);
      if (--folders == 0) stop();
    }
    void addReviewRow(const ReviewRow& r) override { inner->addReviewRow(r); }
    void releaseReviewList() override { inner->releaseReviewList(); }
    void stopOperation(const std::string& t) override { inner->stopOperation(t); }
  } stopLater([this] { postStop(); });

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

}  // namespace
}  // namespace glenvask
