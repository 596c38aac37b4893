// The unzip wrapper on archives of the program's own writer, extracting into a scratch folder:
// the listing, the overwrite options with the question's memory, and the exactness of every
// write (hostile names, damaged data, a held file, a linked folder).
#include "review/unzip.h"

#include <gtest/gtest.h>

#include "review/backups_support.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

using test::Item;
using test::kEntryTime;

class UnzipTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch;
  std::string root = scratch.file("root");
  cUnZip unzip;
  std::vector<std::string> asked;
  std::vector<std::int32_t> replies;

  void SetUp() override { CreateDirectoryW(wide(root).c_str(), nullptr); }
  // Lists the archive and extracts it into root, answering questions from `replies`.
  bool extract(const std::string& archive, bool folders = true) {
    unzip.setZipFile(archive);
    unzip.Directory();
    unzip.UseFolderNames = folders;
    unzip.setUnzipFolder(root);
    unzip.OverWritePrompt = [this](const std::string& path, std::int32_t& reply) {
      asked.push_back(path);
      reply = replies.at(asked.size() - 1);
    };
    return unzip.Unzip();
  }
  std::string file(const std::string& rel) { return scratch.read("root\\" + rel); }
};

TEST_F(UnzipTest, ListsFileEntriesAndExtractsThemWithTimesAndAttributes) {
  std::string archive = test::makeArchive(
      scratch.file("a.zip"),
      {{"top.txt", "top"},
       {"dir/", ""},
       {"dir/sub/b.log", std::string(70000, 'b'), {2023, 12, 31, 23, 59, 58}, 0x23},
       {"caf\xC3\xA9/\xE6\x97\xA5.txt", ""}});
  unzip.setZipFile(archive);
  unzip.Directory();
  ASSERT_EQ(unzip.FileCount(), 3) << "the folder entry is not listed";
  EXPECT_EQ(unzip.Filename(1), "top.txt");
  EXPECT_EQ(unzip.FileDirectory(1), "");
  EXPECT_EQ(unzip.FileDirectory(2), "dir\\sub");
  EXPECT_EQ(unzip.FileSize(2), 70000u);
  EXPECT_LT(unzip.FilePackedSize(2), 1000u);
  EXPECT_EQ(unzip.FileDate(2), (DateTime{2023, 12, 31, 23, 59, 58}));
  EXPECT_EQ(unzip.Filename(3), "\xE6\x97\xA5.txt");
  EXPECT_EQ(unzip.Filename(4), "") << "out of range: an entry of nothing";

  ASSERT_TRUE(extract(archive));
  EXPECT_EQ(file("dir\\sub\\b.log"), std::string(70000, 'b'));
  EXPECT_EQ(file("caf\xC3\xA9\\\xE6\x97\xA5.txt"), "");
  EXPECT_EQ(test::localWriteTime(scratch.file("root\\top.txt")), kEntryTime);
  EXPECT_EQ(GetFileAttributesW(wide(scratch.file("root\\dir\\sub\\b.log")).c_str()), 0x23u);
  EXPECT_TRUE(extract(archive, false));
  EXPECT_EQ(file("b.log"), std::string(70000, 'b')) << "without folder names: into the root";
}

// Existing files under each option; a missing one comes back under every option.
TEST_F(UnzipTest, OverwriteOptionsAndTheQuestionsMemory) {
  std::string archive = test::makeArchive(
      scratch.file("a.zip"), {{"missing", "new"}, {"same", "new"}, {"older", "new"}, {"newer", "new"}});
  struct Case {
    const char* what;
    bool always, newer, prompt;
    std::vector<std::int32_t> replies;
    const char* replaced;  // which of same, older, newer ("s", "o", "n") got the new bytes
    size_t questions;
  } cases[] = {
      {"Always", true, false, false, {}, "son", 0},
      {"Never", false, false, false, {}, "", 0},
      {"Newer", false, true, false, {}, "o", 0},
      {"yes, no, yes", false, false, true, {102, 100, 102}, "sn", 3},
      {"no, then yes to all", false, false, true, {100, 103}, "on", 2},
      {"no to all", false, false, true, {104}, "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteFileW(wide(scratch.file("root\\missing")).c_str());
    for (auto [name, hours] : {std::pair{"same", 0}, {"older", -1}, {"newer", 1}}) {
      std::string path = scratch.write("root\\" + std::string(name), "old");
      DateTime t = kEntryTime;
      t.hour += hours;
      test::setLocalWriteTime(path, t);
    }
    asked.clear();
    replies = c.replies;
    unzip.LastOverwriteResponse = 0;
    unzip.OverwriteExisting = c.always;
    unzip.ExtractOnlyNewer = c.newer;
    unzip.PromptToOverwrite = c.prompt;
    EXPECT_TRUE(extract(archive)) << "a file left is no failure";
    EXPECT_EQ(file("missing"), "new");
    for (auto [name, key] : {std::pair{"same", 's'}, {"older", 'o'}, {"newer", 'n'}})
      EXPECT_EQ(file(name), std::string(c.replaced).find(key) != std::string::npos ? "new" : "old")
          << name;
    EXPECT_EQ(asked.size(), c.questions);
    if (!asked.empty()) {
      EXPECT_EQ(asked[0], root + "\\same");
    }
    EXPECT_EQ(unzip.skippedCount(), 3 - static_cast<std::int64_t>(std::strlen(c.replaced)));
  }
}

// Nothing is written outside the folder, nor into a device, nor through a link; a damaged entry
// or a held file leaves the old file as it was, and no temporary file stays.
TEST_F(UnzipTest, WritesExactlyOrNotAtAll) {
  std::vector<Item> items;
  for (const char* bad : {"../up.txt", "a/../../up2.txt", "..\\up3.txt", "/abs.txt", "\\abs2.txt",
                          "C:/drive.txt", "D:x.txt", "//server/share/x.txt", "a:stream",
                          "nul.txt", "COM1", "sub/lpt9 .log", "con.tar.gz", "what?.txt",
                          "link/through.txt", "held.txt", "crc.txt"})
    items.push_back({bad, "bad"});
  items.push_back({"safe/ok.txt", "ok"});
  std::string archive = test::makeArchive(scratch.file("a.zip"), items);
  // The CRC entry's data changed after it was written: its old file must stay.
  test::editFile(archive, [](std::string& z) { z[z.find("crc.txt") + 7 + 2] ^= 0x55; });
  scratch.write("root\\crc.txt", "old crc");
  scratch.write("root\\held.txt", "old held");
  CreateDirectoryW(wide(scratch.file("elsewhere")).c_str(), nullptr);
  test::makeFolderLink(scratch.file("root\\link"), scratch.file("elsewhere"));
  FileHandle held(CreateFileW(wide(scratch.file("root\\held.txt")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  unzip.OverwriteExisting = true;
  EXPECT_FALSE(extract(archive));
  held.reset();
  EXPECT_EQ(unzip.restoredCount(), 1);
  EXPECT_EQ(unzip.failedCount(), static_cast<std::int64_t>(items.size()) - 1);
  EXPECT_EQ(test::listFolder(scratch.path()), (std::vector<std::string>{"a.zip", "elsewhere", "root"}));
  EXPECT_EQ(test::listFolder(scratch.file("elsewhere")), std::vector<std::string>{});
  EXPECT_EQ(test::listFolder(root), (std::vector<std::string>{"crc.txt", "held.txt", "link", "safe"}));
  EXPECT_EQ(file("crc.txt"), "old crc");
  EXPECT_EQ(file("held.txt"), "old held");
  EXPECT_EQ(file("safe\\ok.txt"), "ok");
  for (const char* name : {"nul.txt", "COM1", "con.tar.gz"}) EXPECT_FALSE(isRestorableName(name));
  EXPECT_TRUE(isRestorableName("nullify.txt") && isRestorableName("com10") && isRestorableName("a/con_b"));
}

// Damaged, cut, empty, random and encrypted archives; a read-only file; two entries of one name.
TEST_F(UnzipTest, ArchivesOfEveryState) {
  auto make = [&](const char* name, std::vector<Item> items, bool finish = true) {
    return test::makeArchive(scratch.file(name), items, finish);
  };
  std::string cut = make("cut.zip", {{"one", "1"}, {"two", test::bytesOf(5000, 3)}}, false);
  test::editFile(cut, [](std::string& z) { z.resize(z.size() - 100); });
  EXPECT_TRUE(extract(cut)) << "an archive cut short by a kill restores what it holds";
  EXPECT_EQ(unzip.FileCount(), 1);
  EXPECT_EQ(file("one"), "1");

  std::string enc = make("enc.zip", {{"secret", "s"}});
  test::editFile(enc, test::markEncrypted);
  std::string random = scratch.write("random.zip", test::bytesOf(5000, 7));
  std::string empty = make("empty.zip", {});
  for (const auto& a : {enc, random, empty, scratch.file("missing.zip")}) EXPECT_FALSE(extract(a)) << a;
  unzip.setZipFile(enc);
  unzip.Directory();
  EXPECT_TRUE(unzip.FileEncrypted(1));
  EXPECT_FALSE(scratch.exists("root\\secret"));

  std::string dup = make("dup.zip", {{"dup", "first", kEntryTime, 0x21}, {"dup", "second"}});
  EXPECT_TRUE(extract(dup));
  EXPECT_EQ(file("dup"), "first") << "Never: the second copy is left";
  EXPECT_EQ(GetFileAttributesW(wide(scratch.file("root\\dup")).c_str()), 0x21u);
  unzip.OverwriteExisting = true;
  EXPECT_TRUE(extract(dup));
  EXPECT_EQ(file("dup"), "second") << "a read-only file is replaced all the same";
}

}  // namespace
}  // namespace glenvask
