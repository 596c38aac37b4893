#include "services/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/like.h"
#include "base/text.h"
#include "services/globals.h"
#include "services/lists.h"
#include "support/host.h"
#include "support/prefix.h"
#include "support/regional.h"
#include "support/scripted.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using namespace test;
using Strings = std::vector<std::string>;

// What the windows would be told: the main window (status, stop) and the review list (rows).
struct Recorder : ScanReporter, test::RecordingHost {
  Recorder() { old = setScanReporter(this); }
  ~Recorder() override { setScanReporter(old); }
  void setStatus(const std::string& text) override {
    statuses.push_back(text);
    if (onStatus) onStatus();
  }
  void addReviewRow(const ReviewRow& row) override { rows.push_back(row); }
  void releaseReviewList() override { ++releases; }
  Strings names() {
    std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.name < b.name; });
    Strings n;
    for (const auto& r : rows) n.push_back(r.name);
    return n;
  }
  ScanReporter* old = nullptr;
  std::function<void()> onStatus;
  Strings statuses;
  std::vector<ReviewRow> rows;
  int releases = 0;
};

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    searchOptions = SearchOptions{};
    searchOptions.skipReadOnly = searchOptions.skipHidden = searchOptions.skipSystem = false;
    arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {};
  }
  void TearDown() override { SetShortcutShell(false), bAbort = false, ResetScanLists(); }
  ScratchFolder dir;
  std::string base = dir.path() + "\\";
  void scan(ScanMode mode, std::string_view pattern = "*.*") { ScanFolder(base, pattern, mode); }
  Strings relative(const Strings& paths, const std::string& prefix = "") {
    return test::relativeTo(prefix + base, paths);
  }
};

TEST_F(ScannerTest, DateWindowHoldsTheDaysAfterFromUpToTo) {
  const std::pair<const char*, DateTime> cases[] = {  // name, written
      {"mar01-late.tmp", {2024, 3, 1, 23, 59, 59}}, {"mar02-early.tmp", {2024, 3, 2, 0, 0, 1}},
      {"mar03-late.tmp", {2024, 3, 3, 23, 59, 59}}, {"mar04-early.tmp", {2024, 3, 4, 0, 0, 0}},
  };
  for (const auto& [name, written] : cases) test::setLocalWriteTime(dir.write(name, ""), written);
  arrUnnecessary = {"*.tmp"};
  auto& o = searchOptions;
  o.useDateFilter = true, o.dateFrom = {2024, 3, 1}, o.dateTo = {2024, 3, 3};
  for (ScanMode mode : {kScanUnnecessary, kScanEmpty}) {
    Recorder rec;
    scan(mode);
    EXPECT_EQ(rec.names(), (Strings{"mar02-early.tmp", "mar03-late.tmp"})) << mode;
  }
  o.dateFrom = o.dateTo = DateTime{};  // a window that could not be read
  Recorder none;
  scan(kScanUnnecessary);
  EXPECT_EQ(none.names(), Strings{});
}

TEST_F(ScannerTest, CollectingListsFilesBeforeSubfoldersAndNeverEntersLinks) {
  ScratchFolder outside("outside");
  for (const char* f : {"a.tmp", "sub\\b.tmp", "sub\\deeper\\c.dmp", "sub\\deeper\\d.tmp"})
    dir.write(f, "x");
  outside.write("precious.dmp", "keep");
  test::makeFolderLink(dir.file("sub\\loop"), dir.path());  // a loop back to the top
  test::makeFolderLink(dir.file("elsewhere"), outside.path());
  Recorder rec;
  scan(kScanCollect);
  EXPECT_EQ(relative(arrFiles),
            (Strings{"a.tmp", "sub\\b.tmp", "sub\\deeper\\c.dmp", "sub\\deeper\\d.tmp"}));
  EXPECT_EQ(relative(arrFolders), (Strings{"sub\\", "sub\\deeper\\"}));
  EXPECT_TRUE(rec.statuses.empty()) << "collecting shows no status";

  // A pattern of its own picks files; folders are still walked. The final "\" is supplied.
  ResetScanLists();
  ScanFolder(dir.path(), "*.dmp", kScanCollect);
  EXPECT_EQ(relative(arrFiles), Strings{"sub\\deeper\\c.dmp"});
  EXPECT_EQ(arrFolders.size(), 2u);

  ResetScanLists();
  scan(kScanUserFolders);
  EXPECT_EQ(std::tuple(arrFiles.size(), arrFolders.size()), std::tuple(4u, 0u));
  EXPECT_EQ(relative(rec.statuses, kScanningStatus), (Strings{"sub\\", "sub\\deeper\\"}));

  // A missing folder, or none at all (never the current folder), yields nothing.
  ResetScanLists();
  ScanFolder("C:\\glenvask-tests\\no such folder\\", "*.*", kScanUnnecessary);
  ScanFolder("", "*.*", kScanCollect);
  EXPECT_TRUE(arrFiles.empty() && arrFolders.empty() && rec.rows.empty() && rec.stops.empty());
}

TEST_F(ScannerTest, UnnecessaryAndEmptyFilesHonourAttributeSkips) {
  for (const char* f : {"plain.tmp", "readonly.tmp", "hidden.tmp", "system.tmp", "keep.txt"})
    dir.write(f, "");
  dir.write("full.tmp", "x");
  setAttributes(dir.file("readonly.tmp"), FILE_ATTRIBUTE_READONLY);
  setAttributes(dir.file("hidden.tmp"), FILE_ATTRIBUTE_HIDDEN);
  setAttributes(dir.file("system.tmp"), FILE_ATTRIBUTE_SYSTEM);
  arrUnnecessary = {"*.tmp"};
  // The scan; whether read-only, hidden and system files are skipped; what it finds.
  std::tuple<ScanMode, bool, bool, bool, Strings> cases[] = {
      {kScanUnnecessary, 0, 0, 0,
       {"full.tmp", "hidden.tmp", "plain.tmp", "readonly.tmp", "system.tmp"}},
      {kScanUnnecessary, 1, 0, 0, {"full.tmp", "hidden.tmp", "plain.tmp", "system.tmp"}},
      {kScanUnnecessary, 0, 1, 0, {"full.tmp", "plain.tmp", "readonly.tmp", "system.tmp"}},
      {kScanUnnecessary, 0, 0, 1, {"full.tmp", "hidden.tmp", "plain.tmp", "readonly.tmp"}},
      {kScanUnnecessary, 1, 1, 1, {"full.tmp", "plain.tmp"}},
      // Empty files: size zero whatever the name; the pattern list plays no part.
      {kScanEmpty, 0, 1, 0, {"keep.txt", "plain.tmp", "readonly.tmp", "system.tmp"}},
  };
  for (const auto& [mode, readOnly, hidden, system, found] : cases) {
    auto& o = searchOptions;
    o.skipReadOnly = readOnly, o.skipHidden = hidden, o.skipSystem = system;
    Recorder rec;
    scan(mode);
    EXPECT_EQ(rec.names(), found) << mode << readOnly << hidden << system;
    for (const auto& r : rec.rows)
      EXPECT_EQ(r.category, mode == kScanEmpty ? "Empty Files" : "Unnecessary Files");
    EXPECT_TRUE(arrFiles.empty());
  }
}

TEST_F(ScannerTest, ReviewRowsCarryTheListColumns) {
  for (auto [name, data] : {std::pair{"Report.Old.bak", std::string(1234, 'x')}, {"README", ""},
                            {".log", ""}, {"sub\\~draft.doc", "12345"}})
    dir.write(name, data);
  setAttributes(dir.file("Report.Old.bak"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE |
                                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  setAttributes(dir.file(".log"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  arrUnnecessary = {"*.BAK", "readme", ".log", "~*.*"};
  Recorder rec;
  scan(kScanUnnecessary);
  rec.names();  // sorts the rows
  std::string rows;  // the dates in the regional formats: tests/review/system
  for (auto& r : rec.rows) {
    auto c = r.columns();
    rows += c[0] + "|" + c[1] + "|" + c[3] + "|" + c[4].substr(base.size()) + "|" + c[5] + "|" +
            c[6] + "\n";
  }
  EXPECT_EQ(rows,
            ".log|0|AH||LOG|Unnecessary Files\n"
            "README|0|A|||Unnecessary Files\n"
            "Report.Old.bak|1234|RASH||BAK|Unnecessary Files\n"
            "~draft.doc|5|A|sub\\|DOC|Unnecessary Files\n");
}

TEST_F(ScannerTest, IgnoreAndUnnecessaryPatterns) {
  arrIgnoreFiles = {"Desktop.ini", "thumbs.db ", "\xC3\xA9t\xC3\xA9.txt"};  // "été.txt"
  arrIgnoreExt = {"Log", "gz"};
  arrIgnoreFolders = {"temp", "C:\\Keep\\"};
  arrUnnecessary = {"*.tmp", ".log", "~*.*", "file##.b?k", "[!a]x.old", "*.[ch]"};
  // The text; whether it is an ignored file, extension or folder, or an unnecessary file.
  std::tuple<const char*, bool, bool, bool, bool> cases[] = {
      // The entry's trailing space counts; "ÉTÉ.TXT": any script's case.
      {"DESKTOP.INI", 1, 0, 0, 0}, {"thumbs.db", 0, 0, 0, 0}, {"\xC3\x89T\xC3\x89.TXT", 1, 0, 0, 0},
      // Without a "." no extension is ignored.
      {"error.LOG", 0, 1, 0, 0}, {"archive.tar.GZ", 0, 1, 0, 0}, {"README", 0, 0, 0, 0},
      {"C:\\Attempts\\", 0, 0, 1, 0}, {"c:\\keep\\sub\\", 0, 0, 1, 0}, {"C:\\Keeper\\", 0, 0, 0, 0},
      // ".log" alone is a whole name.
      {"a.TMP", 0, 0, 0, 1}, {".LOG", 0, 1, 0, 1}, {"x.log", 0, 1, 0, 0},
      {"~$doc.docx", 0, 0, 0, 1}, {"file12.bak", 0, 0, 0, 1}, {"file1x.bak", 0, 0, 0, 0},
      {"bx.old", 0, 0, 0, 1}, {"ax.old", 0, 0, 0, 0}, {"main.h", 0, 0, 0, 1},
      {"main.cpp", 0, 0, 0, 0},
  };
  for (const auto& [text, file, extension, folder, unnecessary] : cases)
    EXPECT_EQ(std::tuple(IsIgnoredFile(text), IsIgnoredExtension(text), IsIgnoredFolder(text),
                         IsUnnecessaryFile(text)),
              std::tuple(file, extension, folder, unnecessary)) << text;
  arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {};
  EXPECT_FALSE(IsIgnoredFile("desktop.ini") || IsIgnoredExtension("a.log") ||
               IsIgnoredFolder("C:\\Windows\\Temp\\") || IsUnnecessaryFile("a.tmp"));

  // The scanner's own way with star patterns agrees with the general matcher on short texts
  // over a small alphabet, where stars, repeats and overlapping pieces line up every way.
  std::uint32_t seed = 12345;
  auto text = [&](bool stars) {
    std::string t;
    for (size_t n = (seed = seed * 1103515245u + 12345u) >> 16 & 7; n > 1; --n) {
      char c = "aB.*~"[((seed = seed * 1103515245u + 12345u) >> 16) % 5];
      if (c != '*' || stars) t += c;
    }
    return t;
  };
  for (int i = 0; i < 400; ++i) {
    std::string pattern = text(true) + (i % 10 == 0 ? "?" : "");
    arrUnnecessary = {pattern};
    for (int j = 0; j < 40; ++j) {
      std::string name = text(false);
      ASSERT_EQ(IsUnnecessaryFile(name), like(toUpper(name), toUpper(pattern)))
          << "name '" << name << "' pattern '" << pattern << "'";
    }
  }
}

TEST_F(ScannerTest, IgnoreListsSteerTheScan) {
  ScratchFolder top("TempRoot");  // the start folder's own path holds "temp"
  for (const char* f : {"a.tmp", "desktop.ini", "b.LOG", "sub\\c.tmp", "other\\d.tmp"})
    top.write(f, "x");
  arrUnnecessary = {"*.tmp", "*.ini", "*.log"};
  arrIgnoreFiles = {"Desktop.ini"}, arrIgnoreExt = {"log"}, arrIgnoreFolders = {"\\OTHER\\"};
  Recorder rec;
  ScanFolder(top.path(), "*.*", kScanUnnecessary);
  EXPECT_EQ(rec.names(), (Strings{"a.tmp", "c.tmp"}));
  EXPECT_EQ(rec.statuses, Strings{kScanningStatus + top.path() + "\\sub\\"});

  // The start folder is scanned even though its path holds the entry; nothing below it is.
  Recorder rec2;
  arrIgnoreFolders = {"temp"};
  ScanFolder(top.path(), "*.*", kScanUnnecessary);
  EXPECT_EQ(std::tuple(rec2.names(), rec2.statuses), std::tuple(Strings{"a.tmp"}, Strings{}));
  ScanFolder(top.path(), "*.*", kScanUserFolders);
  EXPECT_EQ(test::relativeTo(top.path() + "\\", arrFiles), Strings{"a.tmp"});
}

TEST_F(ScannerTest, DeadShortcuts) {
  std::string target = dir.write("target.txt", "x"), gone = dir.write("gone.txt", "x");
  std::string d = dir.path(), missing = dir.file("missing");
  std::tuple<const char*, std::string, std::string> links[] = {  // name, target, work folder
      {"live.lnk", target, d}, {"dead.lnk", gone, d}, {"dead-nowork.lnk", gone, ""},
      {"floppy.lnk", "A:\\", ""}, {"notarget.lnk", "", d},
      {"sub\\folder-same.lnk", missing, missing}, {"sub\\folder-live.lnk", d, d}};
  for (const auto& [name, to, work] : links) test::makeShortcut(dir.file(name), to, work);
  dir.write("garbage.lnk", "this is no shortcut");
  dir.write("dead.txt", "not a .lnk");
  ASSERT_TRUE(DeleteFileW(wide(gone).c_str()));
  std::tuple<bool, bool, Strings> cases[] = {  // skip without a target, a work folder; dead
      {true, true, {"dead.lnk", "folder-same.lnk"}},
      {true, false, {"dead-nowork.lnk", "dead.lnk", "folder-same.lnk"}},
      {false, true, {"dead.lnk", "folder-same.lnk", "notarget.lnk"}},
      {false, false, {"dead-nowork.lnk", "dead.lnk", "folder-same.lnk", "notarget.lnk"}},
  };
  SetShortcutShell(true);
  for (const auto& [noTarget, noWorkDir, dead] : cases) {
    searchOptions.skipNoTarget = noTarget, searchOptions.skipNoWorkDir = noWorkDir;
    Recorder rec;
    scan(kScanDeadShortcuts, "*.lnk");
    EXPECT_EQ(rec.names(), dead) << noTarget << noWorkDir;
    for (const auto& r : rec.rows) EXPECT_EQ(r.category, "Dead Shortcuts");
  }
  // Without a prepared reader the test still answers.
  SetShortcutShell(false);
  EXPECT_TRUE(IsDeadShortcut(dir.file("dead.lnk")));
  for (const char* f : {"live.lnk", "floppy.lnk", "garbage.lnk", "no such.lnk"})
    EXPECT_FALSE(IsDeadShortcut(dir.file(f))) << f;
}

void CALLBACK pressStop(HWND, UINT, UINT_PTR id, DWORD) { KillTimer(nullptr, id), bAbort = true; }

TEST_F(ScannerTest, StopEndsTheScanOnceAndKeepsWhatWasCollected) {
  for (int i = 0; i < 5; ++i) dir.write("f" + std::to_string(i) + "\\a.tmp", "x");
  arrUnnecessary = {"*.tmp"};
  Recorder rec;  // Stop pressed while the third folder is announced
  rec.onStatus = [&] { bAbort = rec.statuses.size() == 3; };
  scan(kScanUnnecessary);
  EXPECT_EQ(std::tuple(rec.statuses.size(), rec.rows.size(), rec.releases, rec.stops),
            std::tuple(3u, 2u, 1, Strings{"Aborted by User"}));

  Recorder rec2;  // already stopped: nothing is collected, the exit is taken at once
  scan(kScanCollect);
  EXPECT_EQ(std::tuple(arrFiles.size(), rec2.stops), std::tuple(0u, Strings{"Aborted by User"}));

  bAbort = false;  // a stop in collecting keeps the files collected so far
  Recorder rec3;
  rec3.onStatus = [&] { bAbort = rec3.statuses.size() == 2; };
  scan(kScanUserFolders);
  EXPECT_EQ(arrFiles.size(), 1u);

  // Stop arrives as a message: the scan pumps the events as it goes.
  bAbort = false;
  for (int i = 5; i < 40; ++i) dir.write("f" + std::to_string(i) + "\\x.bin", "x");
  auto slice = EventPump::sliceMs();
  EventPump::setSliceMs(0);  // every call dispatches
  Recorder rec4;
  rec4.onStatus = [] { Sleep(5); };  // a slow folder, so the timer comes due mid-scan
  SetTimer(nullptr, 0, 20, pressStop);
  scan(kScanEmpty);
  EventPump::setSliceMs(slice);
  EXPECT_EQ(rec4.stops, Strings{"Aborted by User"});
  EXPECT_LT(rec4.statuses.size(), 40u);
}

}  // namespace
}  // namespace glenvask
