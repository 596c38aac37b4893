// The unzip wrapper into a scratch folder: overwrite options, hostile or damaged entries.
#include "options/unzip.h"

#include "base/text.h"
#include "options/backups_support.h"
#include "support/regional.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using Names = std::vector<std::string>;

class UnzipTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch;
  std::string root = scratch.file("root");
  cUnZip unzip;
  std::vector<std::string> asked;
  std::vector<std::int32_t> replies;

  void SetUp() override { CreateDirectoryW(wide(root).c_str(), nullptr); }
  bool extract(const std::string& archive) {
    unzip.setZipFile(archive);
    unzip.Directory();
    unzip.UseFolderNames = true;
    unzip.setUnzipFolder(root);
    unzip.OverWritePrompt = [this](const std::string& path, std::int32_t& reply) {
      asked.push_back(path);
      reply = replies.at(asked.size() - 1);
    };
    return unzip.Unzip();
  }
  std::string file(const std::string& rel) { return scratch.read("root\\" + rel); }
};

// Existing files under each option; a missing one comes back under every option.
TEST_F(UnzipTest, OverwriteOptionsAndTheQuestionsMemory) {
  std::string archive = test::makeArchive(scratch.file("a.zip"), {{"missing", "new"},
                                          {"same", "new"}, {"older", "new"}, {"newer", "new"}});
  struct Case {
    bool always, newer, prompt;
    std::vector<std::int32_t> replies;  // one for each question
    std::string replaced;  // which of same, older, newer ("s", "o", "n") got the new bytes
  } cases[] = {{true, false, false, {}, "son"}, {false, false, false, {}, ""},
               {false, true, false, {}, "o"}, {false, false, true, {102, 100, 102}, "sn"},
               {false, false, true, {100, 103}, "on"}, {false, false, true, {104}, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.replies) + c.replaced);
    DeleteFileW(wide(scratch.file("root\\missing")).c_str());
    for (auto [name, hour] : {std::pair{"same", 10}, {"older", 9}, {"newer", 11}})
      test::setLocalWriteTime(scratch.write("root\\" + std::string(name), "old"),
                              {2024, 3, 1, hour, 20, 30});  // the entries': 10:20:30
    asked.clear();
    replies = c.replies;
    unzip.LastOverwriteResponse = 0;
    unzip.OverwriteExisting = c.always;
    unzip.ExtractOnlyNewer = c.newer;
    unzip.PromptToOverwrite = c.prompt;
    EXPECT_TRUE(extract(archive)) << "a file left is no failure";
    EXPECT_EQ(file("missing"), "new");
    for (auto [name, key] : {std::pair{"same", 's'}, {"older", 'o'}, {"newer", 'n'}})
      EXPECT_EQ(file(name), c.replaced.find(key) != std::string::npos ? "new" : "old") << name;
    EXPECT_TRUE(asked.size() == c.replies.size() && (asked.empty() || asked[0] == root + "\\same"));
    EXPECT_EQ(unzip.skippedCount(), 3 - static_cast<std::int64_t>(c.replaced.size()));
  }
}

// Nothing written outside, into a device or through a link; damaged or held: old file kept.
TEST_F(UnzipTest, WritesExactlyOrNotAtAll) {
  std::vector<test::Item> items;
  // Names that lead out, devices, characters Windows refuses, a linked folder, old files to keep.
  for (const std::string& bad :
       split("../up.txt|a/../../up2.txt|..\\up3.txt|/abs.txt|\\abs2.txt|C:/drive.txt|D:x.txt|"
             "//server/share/x.txt|a:stream|nul.txt|COM1|sub/lpt9 .log|con.tar.gz|what?.txt|"
             "a/. ./x|a/.. /x|a/.../x|a\x01z|link/through.txt|held.txt|crc.txt",
             '|'))
    items.push_back({bad, "bad"});
  for (const char* ok : {"safe/ok.txt", "safe/a..b/.hidden"}) items.push_back({ok, "ok"});
  std::string archive = test::makeArchive(scratch.file("a.zip"), items);
  // The CRC entry's data changed after it was written: its old file must stay.
  test::editFile(archive, [](std::string& z) { z[z.find("crc.txt") + 7 + 2] ^= 0x55; });
  scratch.write("root\\crc.txt", "old crc");
  scratch.write("root\\held.txt", "old held");
  CreateDirectoryW(wide(scratch.file("elsewhere")).c_str(), nullptr);
  test::makeFolderLink(scratch.file("root\\link"), scratch.file("elsewhere"));
  FileHandle held(CreateFileW(wide(scratch.file("root\\held.txt")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  unzip.OverwriteExisting = true;
  EXPECT_FALSE(extract(archive));
  held.reset();
  EXPECT_EQ(unzip.restoredCount(), 2);
  EXPECT_EQ(unzip.failedCount(), static_cast<std::int64_t>(items.size()) - 2);
  EXPECT_EQ(test::listFolder(scratch.path()), (Names{"a.zip", "elsewhere", "root"}));
  EXPECT_EQ(test::listFolder(scratch.file("elsewhere")), Names{});
  EXPECT_EQ(test::listFolder(root), (Names{"crc.txt", "held.txt", "link", "safe"}));
  EXPECT_EQ(file("crc.txt") + file("held.txt") + file("safe\\ok.txt") + file("safe\\a..b\\.hidden"),
            "old crcold heldokok");
  EXPECT_TRUE(isRestorableName("nullify.txt") && isRestorableName("com10/a/con_b"));
}

// Encrypted, random and empty archives; a read-only file; two entries of one name.
TEST_F(UnzipTest, ArchivesOfEveryState) {
  std::string enc = test::makeArchive(scratch.file("enc.zip"), {{"secret", "s"}});
  test::editFile(enc, test::markEncrypted);
  for (const auto& a : {enc, scratch.write("random.zip", test::bytesOf(5000, 7)),
                        test::makeArchive(scratch.file("empty.zip"), {}), scratch.file("no.zip")})
    EXPECT_FALSE(extract(a)) << a;
  EXPECT_FALSE(scratch.exists("root\\secret"));

  std::string dup =
      test::makeArchive(scratch.file("dup.zip"), {{"dup", "first", 0x21}, {"dup", "2nd"}});
  EXPECT_TRUE(extract(dup));
  EXPECT_EQ(file("dup"), "first") << "Never: the second copy is left";
  EXPECT_EQ(GetFileAttributesW(wide(scratch.file("root\\dup")).c_str()), 0x21u);
  unzip.OverwriteExisting = true;
  EXPECT_TRUE(extract(dup));
  EXPECT_EQ(file("dup"), "2nd") << "a read-only file is replaced all the same";
}

}  // namespace
}  // namespace glenvask
