// The delete path on real files of the prefix: plain deletion, overwriting and the backup
// archive (the Recycle Bin is prefix-wide: system/recycle_test.cpp).
#include "services/delete.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>

#include "base/zip.h"
#include "services/globals.h"
#include "services/zipfile.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/pump.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::ScratchFolder;

class DeletePath : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override {
    FinishBackupZip();
    reset();
  }
  static void reset() {
    DeleteMethod = kDeletePlain;
    ShredRandom = false;
    RenameBeforeDelete = false;
    BackupFolder.clear();
    BackupZipFile.clear();
    LastBackupDrive.clear();
    BackedUpCount = 0;
    DeleteFailed = false;
    bAbort = false;
  }
  // A run begins: the next file zipped starts a new archive.
  static void newRun() {
    BackupZipFile.clear();
    LastBackupDrive.clear();
  }
};

// Another program's handle on a file.
FileHandle holdOpen(const std::string& path, DWORD access, DWORD share) {
  return FileHandle(CreateFileW(wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string readAll(HANDLE h) {
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

std::string bytesOf(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng() % 7 == 0 ? rng() : 'a' + seed % 26);
  return s;
}

struct Archive {
  bool opened = false;
  bool recovered = false;
  std::vector<std::string> names;
  std::map<std::string, std::string> data;
};

Archive readArchive(const std::string& path) {
  Archive a;
  WinZipFile f;
  if (!f.openRead(path)) return a;
  ZipReader r;
  a.opened = r.open(f);
  a.recovered = r.recovered();
  for (const auto& e : r.entries()) {
    a.names.push_back(e.name);
    a.data[e.name] = r.read(e).value_or("<bad: " + r.error() + ">");
  }
  return a;
}

// What a path is as an entry name: below the drive root, '/' between folders.
std::string entryOf(const std::string& path) {
  std::string s = path.substr(3);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  FindHandle h(FindFirstFileW(wide(folder + "\\*").c_str(), &fd));
  if (!h) return out;
  do {
    std::string n = utf8(fd.cFileName);
    if (n != "." && n != "..") out.push_back(n);
  } while (FindNextFileW(h.get(), &fd));
  return out;
}

TEST_F(DeletePath, EachMethodOnReadOnlyHeldAndMissingFiles) {
  enum Kind { Plain, ReadOnly, Held, Missing };
  struct Case {
    int method;
    Kind kind;
    std::int32_t result;
    bool failed;
    std::int64_t backedUp;
  } cases[] = {
      {kDeletePlain, Plain, 1, false, 0},       {kDeletePlain, ReadOnly, 1, false, 0},
      {kDeletePlain, Held, 0, true, 0},         {kDeletePlain, Missing, 0, false, 0},
      {kDeleteOverwrite, Plain, 1, false, 0},   {kDeleteOverwrite, ReadOnly, 1, false, 0},
      {kDeleteOverwrite, Held, 0, true, 0},     {kDeleteOverwrite, Missing, 0, false, 0},
      {kDeleteBackup, Plain, 1, false, 1},      {kDeleteBackup, ReadOnly, 1, false, 1},
      {kDeleteBackup, Held, 0, true, 0},        {kDeleteBackup, Missing, 0, false, 0},
      {0, Plain, 0, true, 0},                   {5, Plain, 0, true, 0},
  };
  ScratchFolder folder;
  CreateDirectoryW(wide(folder.file("Backup")).c_str(), nullptr);
  const std::string content = bytesOf(3000, 3);
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method) + ", case " + std::to_string(c.kind));
    reset();
    DeleteMethod = c.method;
    BackupFolder = folder.file("Backup\\");
    std::string path = folder.file("f" + std::to_string(n++) + ".tmp");
    if (c.kind != Missing) folder.write(path.substr(folder.path().size() + 1), content);
    if (c.kind == ReadOnly) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    FileHandle held;
    if (c.kind == Held)
      held = holdOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);  // no delete
    EXPECT_EQ(DeleteJunkFile(path), c.result);
    EXPECT_EQ(DeleteFailed, c.failed);
    EXPECT_EQ(BackedUpCount, c.backedUp);
    bool there = GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(there, c.kind != Missing && c.result == 0);
    if (c.kind == Held) {
      EXPECT_EQ(readAll(held.get()), content) << "nothing overwritten";
    }
    held.reset();
    FinishBackupZip();
  }
}

TEST_F(DeletePath, OverwriteWritesZerosOrSmallRandomBytesOverTheWholeFile) {
  struct Case {
    bool random, rename;
    std::size_t size;
  } cases[] = {
      {false, false, 10}, {true, false, 10},           {false, true, 10},
      {true, true, 10},   {false, false, (3 << 20) + 5}, {true, false, (3 << 20) + 5},
      {false, false, 0},  {true, true, 0},
  };
  ScratchFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.random) + std::to_string(c.rename) + " " +
                 std::to_string(c.size));
    ShredRandom = c.random;
    RenameBeforeDelete = c.rename;
    std::string path = folder.write("victim.dat", std::string(c.size, '\xEE'));
    // Read what the file holds just before it goes, through a handle that lets it go.
    FileHandle spy = holdOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                      FILE_SHARE_DELETE);
    ASSERT_TRUE(spy);
    EXPECT_EQ(ShredFile(path), 1);
    std::string left = readAll(spy.get());
    spy.reset();
    ASSERT_EQ(left.size(), c.size) << "the length does not change";
    int counts[256] = {};
    for (unsigned char b : left) ++counts[b];
    if (!c.random) {
      EXPECT_EQ(counts[0], static_cast<int>(c.size));
    } else {
      for (int v = 101; v < 256; ++v) EXPECT_EQ(counts[v], 0) << v;
      if (c.size > 1000) {
        EXPECT_GT(counts[0], 0);
        EXPECT_GT(counts[100], 0);
        EXPECT_GT(counts[50], counts[0]) << "0 and 100 are half as likely as the others";
      }
    }
    EXPECT_TRUE(filesIn(folder.path()).empty()) << "neither the file nor a renamed copy stays";
  }
}

// Stop arrives through the event pump between two blocks.
std::uint64_t g_ticks = 0;
std::uint64_t slowClock() { return ++g_ticks > 3 ? 1000 : 0; }
LRESULT CALLBACK stopProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) bAbort = true;
  return DefWindowProcW(h, m, w, l);
}

TEST_F(DeletePath, StopDuringAnOverwriteLeavesTheFilePartlyOverwritten) {
  ScratchFolder folder;
  std::string path = folder.write("big.dat", std::string(5 << 20, 'x'));
  WNDCLASSW wc{};
  wc.lpfnWndProc = stopProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"GlenvaskStopTest";
  RegisterClassW(&wc);
  HWND stop = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  ASSERT_TRUE(stop);
  PostMessageW(stop, WM_APP, 0, 0);
  g_ticks = 0;
  EventPump::setClock(slowClock);  // the first three blocks go before the pump's slice is up
  DeleteMethod = kDeleteOverwrite;
  EXPECT_EQ(DeleteJunkFile(path), 0);
  EventPump::setClock(nullptr);
  DestroyWindow(stop);
  EXPECT_TRUE(bAbort);
  EXPECT_TRUE(DeleteFailed);
  std::string left = folder.read("big.dat");
  ASSERT_EQ(left.size(), 5u << 20);
  EXPECT_EQ(left.substr(0, 3 << 20), std::string(3 << 20, '\0'));
  EXPECT_EQ(left.substr(3 << 20), std::string(2 << 20, 'x'));
}

TEST_F(DeletePath, NamesOfArchivesAndEntries) {
  struct Stamp {
    DateTime t;
    const char* text;
  } stamps[] = {
      {{2026, 12, 6, 1, 5, 7}, "061220261057"},
      {{2026, 1, 31, 0, 0, 0}, "310120260000"},
      {{2026, 12, 31, 23, 59, 59}, "31122026235959"},
      {{2030, 7, 4, 10, 51, 7}, "0407203010517"},
      {{2030, 7, 4, 1, 5, 17}, "0407203010517"},  // the format gives both the same name
  };
  for (const auto& s : stamps) EXPECT_EQ(backupZipStamp(s.t), s.text);

  struct Entry {
    const char* path;
    const char* name;
  } entries[] = {
      {"C:\\a\\b.txt", "a/b.txt"},
      {"C:\\a\\..\\b.txt", "b.txt"},
      {"d:\\x.tmp", "x.tmp"},
      {"C:\\caf\xC3\xA9\\\xE2\x82\xAC.txt", "caf\xC3\xA9/\xE2\x82\xAC.txt"},
      {"\\\\?\\C:\\long\\x", "long/x"},
      {"\\\\server\\share\\x.txt", ""},
      {"C:\\", ""},
  };
  for (const auto& e : entries) EXPECT_EQ(backupEntryName(e.path), e.name) << e.path;

  BackupZipFile.clear();
  MakeBackupZipName("C:\\Backup\\", "C_");
  EXPECT_TRUE(std::regex_match(BackupZipFile, std::regex(R"(C:\\Backup\\C_\d{12,14}\.zip)")))
      << BackupZipFile;
}

TEST_F(DeletePath, BackupZipsEachFileBeforeItGoes) {
  ScratchFolder folder;
  CreateDirectoryW(wide(folder.file("Backup")).c_str(), nullptr);
  DeleteMethod = kDeleteBackup;
  BackupFolder = folder.file("Backup\\");
  std::vector<std::pair<std::string, std::string>> files = {
      {"a.tmp", bytesOf(4096, 1)},
      {"sub\\deeper\\b.log", bytesOf(100000, 2)},
      {"caf\xC3\xA9 \xE2\x82\xAC.txt", "non-ASCII"},
      {"empty.txt", ""},
      {"large.bin", bytesOf((2 << 20) + 3, 4)},  // streamed
  };
  std::map<std::string, std::string> expected;
  for (const auto& [name, data] : files) {
    std::string path = folder.write(name, data);
    expected[entryOf(path)] = data;
    // The drive letter as it stands; another case is the same drive.
    if (name == "empty.txt") path[0] = 'c';
    EXPECT_EQ(DeleteJunkFile(path), 1) << name;
    EXPECT_FALSE(folder.exists(name));
  }
  EXPECT_FALSE(DeleteFailed);
  EXPECT_EQ(BackedUpCount, 5);
  EXPECT_EQ(LastBackupDrive, "C");
  std::string zip = BackupZipFile;
  EXPECT_EQ(zip.rfind(BackupFolder + "C_", 0), 0u) << zip;
  ASSERT_EQ(filesIn(folder.file("Backup")).size(), 1u) << "one archive for the drive";

  // While the run goes on, the archive reads already (from its entries).
  Archive during = readArchive(zip);
  EXPECT_TRUE(during.opened);
  EXPECT_EQ(during.data, expected);

  // A stop keeps the archive: it is the only copy of the files.
  DeleteBackupZip();
  Archive after = readArchive(zip);
  EXPECT_TRUE(after.opened);
  EXPECT_FALSE(after.recovered) << "closed with its directory";
  EXPECT_EQ(after.data, expected);
  for (const auto& n : after.names) EXPECT_TRUE(isSafeEntryName(n)) << n;

  // A later run whose archive gets the same name appends to it.
  newRun();
  std::string more = folder.write("later.txt", "later");
  LastBackupDrive = "C";
  BackupZipFile = zip;
  EXPECT_EQ(DeleteJunkFile(more), 1);
  FinishBackupZip();
  expected[entryOf(more)] = "later";
  EXPECT_EQ(readArchive(zip).data, expected);
  EXPECT_EQ(readArchive(zip).names.size(), 6u);
}

TEST_F(DeletePath, AFileThatCannotBeZippedStays) {
  ScratchFolder folder;
  CreateDirectoryW(wide(folder.file("Backup")).c_str(), nullptr);
  std::string notZip = folder.write("Backup\\C_notazip.zip", "a list of things, not an archive");
  // A folder in the archive's place: it cannot be written.
  std::string folderZip = folder.file("Backup\\C_folder.zip");
  CreateDirectoryW(wide(folderZip).c_str(), nullptr);
  enum Why { MissingFolder, NotAZip, NotWritable, Unreadable };
  for (Why why : {MissingFolder, NotAZip, NotWritable, Unreadable}) {
    SCOPED_TRACE(why);
    reset();
    DeleteMethod = kDeleteBackup;
    BackupFolder = folder.file(why == MissingFolder ? "NoSuchFolder\\" : "Backup\\");
    std::string path = folder.write("keep.txt", "precious");
    if (why == NotAZip || why == NotWritable) {
      LastBackupDrive = "C";
      BackupZipFile = why == NotAZip ? notZip : folderZip;
    }
    FileHandle writer;
    if (why == Unreadable) writer = holdOpen(path, GENERIC_WRITE, FILE_SHARE_DELETE);
    EXPECT_EQ(DeleteJunkFile(path), 0);
    EXPECT_TRUE(DeleteFailed);
    EXPECT_EQ(BackedUpCount, 0);
    writer.reset();
    EXPECT_EQ(folder.read("keep.txt"), "precious");
    DeleteBackupZip();
  }
  EXPECT_EQ(folder.read("Backup\\C_notazip.zip"), "a list of things, not an archive");
  EXPECT_TRUE(filesIn(folderZip).empty());
  EXPECT_FALSE(folder.exists("NoSuchFolder"));
  // No empty archive is left behind by the run that zipped nothing.
  EXPECT_EQ(filesIn(folder.file("Backup")).size(), 2u);
}

// ---- a run killed while it zips

const char* kKillEnv = "GLENVASK_BACKUP_KILL_DIR";

std::string killFile(int i) {
  std::size_t size = i % 5 == 4 ? (3 << 20) + i : 3000 + 1000 * i;  // every fifth is streamed
  return bytesOf(size, 100 + i);
}
constexpr int kKillFiles = 30;

// Run in a process of its own by the test below: backs up every file, then waits to be killed.
TEST_F(DeletePath, BackupHelperRunUntilKilled) {
  char dir[MAX_PATH] = {};
  if (!GetEnvironmentVariableA(kKillEnv, dir, MAX_PATH)) GTEST_SKIP() << "a helper process";
  DeleteMethod = kDeleteBackup;
  BackupFolder = std::string(dir) + "\\Backup\\";
  for (int i = 0; i < kKillFiles; ++i)
    DeleteJunkFile(std::string(dir) + "\\files\\f" + std::to_string(i) + ".bin");
  Sleep(INFINITE);
}

TEST_F(DeletePath, AKilledRunLosesNoFile) {
  ScratchFolder folder;
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  // Outside the drives of the prefix, Wine names the program by its Linux path.
  if (exe.rfind(L"unix\\", 0) == 0) exe = L"\\\\?\\" + exe;
  // After 4 and 9 files the next one is a large, streamed one: a kill a little later falls
  // inside it.
  struct Kill {
    int after;
    DWORD delayMs;
  } kills[] = {{0, 0}, {4, 15}, {9, 40}, {14, 20}, {17, 2}, {kKillFiles, 0}};
  for (auto [killAfter, delay] : kills) {
    SCOPED_TRACE("killed after " + std::to_string(killAfter) + " files");
    test::removeTree(folder.file("run"));
    CreateDirectoryW(wide(folder.file("run")).c_str(), nullptr);
    CreateDirectoryW(wide(folder.file("run\\Backup")).c_str(), nullptr);
    for (int i = 0; i < kKillFiles; ++i)
      folder.write("run\\files\\f" + std::to_string(i) + ".bin", killFile(i));

    SetEnvironmentVariableA(kKillEnv, folder.file("run").c_str());
    std::wstring cmd = L"\"" + exe + L"\" --gtest_filter=DeletePath.BackupHelperRunUntilKilled";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                                  CREATE_NO_WINDOW, nullptr, wide(folder.path()).c_str(), &si, &pi);
    SetEnvironmentVariableA(kKillEnv, nullptr);
    ASSERT_TRUE(started) << GetLastError() << " " << utf8(exe);
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    auto gone = [&] {
      int n = 0;
      for (int i = 0; i < kKillFiles; ++i)
        n += !folder.exists("run\\files\\f" + std::to_string(i) + ".bin");
      return n;
    };
    ULONGLONG end = GetTickCount64() + 60000;
    while (gone() < killAfter && GetTickCount64() < end) Sleep(1);
    Sleep(delay);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);

    auto archives = filesIn(folder.file("run\\Backup"));
    int deleted = gone();
    if (deleted == 0) continue;
    ASSERT_EQ(archives.size(), 1u);
    std::string zip = folder.file("run\\Backup\\" + archives[0]);
    Archive a = readArchive(zip);
    ASSERT_TRUE(a.opened);
    EXPECT_TRUE(a.recovered) << "killed before its directory was written";
    for (int i = 0; i < kKillFiles; ++i) {
      std::string name = entryOf(folder.file("run\\files\\f" + std::to_string(i) + ".bin"));
      if (!folder.exists("run\\files\\f" + std::to_string(i) + ".bin")) {
        ASSERT_TRUE(a.data.count(name)) << "deleted without a backup: " << name;
        EXPECT_TRUE(a.data[name] == killFile(i)) << name << " restores byte for byte";
      }
    }
    // The next run appends to the cut archive and keeps every entry.
    reset();
    DeleteMethod = kDeleteBackup;
    LastBackupDrive = "C";
    BackupZipFile = zip;
    EXPECT_EQ(DeleteJunkFile(folder.write("run\\after.txt", "after")), 1);
    FinishBackupZip();
    Archive again = readArchive(zip);
    EXPECT_FALSE(again.recovered);
    EXPECT_EQ(again.data.size(), a.data.size() + 1);
    for (const auto& [name, data] : a.data) EXPECT_TRUE(again.data[name] == data) << name;
  }
}

}  // namespace
}  // namespace glenvask
