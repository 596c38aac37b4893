// The user-defined files and folders categories on scratch folders named by the list files
// beside a scratch executable folder.
#include "cleaner/files_support.h"

namespace glenvask {
namespace {

class UserListsTest : public test::CategoryTest {
 protected:
  void loadWithIgnores(const std::string& ifi, const std::string& ie, const std::string& udifo) {
    load();
    app.write("IFI.txt", ifi);
    app.write("IE.txt", ie);
    app.write("UDIFO.txt", udifo);
    LoadScanLists();
  }
};

TEST_F(UserListsTest, UserFilesDeletesWhatTheListNamesAndTheIgnoreListsAllow) {
  loadWithIgnores("pagefile.sys\r\n", "dll\r\n", "\\keepme\\\r\n");
  // The line; the file made before the run ("" makes nothing), its bytes; whether it goes.
  const std::tuple<std::string, const char*, const char*, bool> cases[] = {
      {work.file("a.txt"), "a.txt", "0123456789", true},
      {work.file("read only.txt"), "read only.txt", "12345", true},
      {work.file("lib.dll"), "lib.dll", "x", false},              // ignored extension
      {work.file("pagefile.sys"), "pagefile.sys", "x", false},    // ignored name
      {work.file("keepme\\c.txt"), "keepme\\c.txt", "x", false},  // ignored folder
      {work.file("folder"), "folder\\inside.txt", "x", false},    // a folder is no file
      {work.file("missing.txt"), "", "", false},
      {"a.txt", "", "", false},  // no full path
      {"", "", "", false},
  };
  std::string udfi;
  for (const auto& [line, file, bytes, deleted] : cases) {
    if (*file) work.write(file, bytes);
    udfi += line + "\r\n";
  }
  test::setAttributes(work.file("read only.txt"), FILE_ATTRIBUTE_READONLY);
  app.write("UDFI.txt", udfi);
  DeleteFailed = false;
  CleanUserFiles(w);
  for (const auto& [line, file, bytes, deleted] : cases)
    EXPECT_EQ(*file && !work.exists(file), deleted) << file;
  EXPECT_FALSE(DeleteFailed) << "nothing that was there failed";
  EXPECT_NE(lastCleaned(), "");

  // Without a list, and with an empty one, the line still tells that nothing was deleted.
  DeleteFileW(wide(app.file("UDFI.txt")).c_str());
  CleanUserFiles(w);
  app.write("UDFI.txt", "");
  CleanUserFiles(w);
  const std::string none = "User-defined files... Files Deleted: 0 Space Gained: 0 Bytes\r\n";
  EXPECT_EQ(CleanupLog,
            "User-defined files... Files Deleted: 2 Space Gained: 15 Bytes\r\n" + none + none);
}

TEST_F(UserListsTest, UserFoldersCleansTheFilesOfEveryListedFolderAndKeepsTheFolders) {
  loadWithIgnores("", "dll\r\n", "\\nested\\skipped\\\r\n");
  for (auto [f, bytes] : {std::pair{"one\\a.txt", "aaaa"}, {"one\\sub\\b.txt", "bb"},
                          {"one\\sub\\lib.dll", "keep"}, {"one\\nested\\skipped\\c.txt", "keep"},
                          {"one\\hidden.txt", "h"}, {"two\\d.txt", "ddd"},
                          {"three\\e.txt", "keep"},  // not listed: only its ignored subfolder is
                          {"three\\nested\\skipped\\f.txt", "keep"}})
    work.write(f, bytes);
  test::setAttributes(work.file("one\\hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
  test::ScratchFolder outside("outside");
  test::makeFolderLink(work.file("link"), outside.path());
  outside.write("precious.txt", "keep");
  app.write("UDFO.txt", "  " + work.file("one") + "\\  \r\n\r\n" + work.file("two") + "\r\n" +
                            work.file("three\\nested\\skipped") + "\\\r\n" + work.file("link") +
                            "\\\r\n" + work.file("missing") + "\\\r\n");

  CleanUserFolders(w);

  EXPECT_EQ(test::treeOf(work.path()),
            (std::vector<std::string>{"link\\", "one\\", "one\\nested\\", "one\\nested\\skipped\\",
                                      "one\\nested\\skipped\\c.txt", "one\\sub\\",
                                      "one\\sub\\lib.dll", "three\\", "three\\e.txt",
                                      "three\\nested\\", "three\\nested\\skipped\\",
                                      "three\\nested\\skipped\\f.txt", "two\\"}));
  EXPECT_TRUE(outside.exists("precious.txt")) << "a link is never followed";
  EXPECT_EQ(CleanupLog, "User-defined folders... Files Deleted: 4 Space Gained: 10 Bytes\r\n");
  EXPECT_NE(lastCleaned(), "");
}

}  // namespace
}  // namespace glenvask
