#include "services/lists.h"

#include <gtest/gtest.h>

#include <tuple>

#include "services/paths.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

using test::ScratchFolder;
using Strings = std::vector<std::string>;

// The program's folder pointed at a scratch folder for the test.
class ListsTest : public ::testing::Test {
 protected:
  void SetUp() override { setAppPath(app.path()); }
  void TearDown() override {
    setAppPath("");
    arrIgnoreFiles.clear(), arrIgnoreExt.clear(), arrIgnoreFolders.clear();
    arrUnnecessary.clear();
    LoadSearchOptions();  // back to the defaults (no srch.txt)
  }
  ScratchFolder app;
};

TEST_F(ListsTest, ListsComeFromTheUserFileElseTheDefaultCopy) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;
    Strings ignoreFiles, ignoreExt, ignoreFolders, unnecessary;
  } cases[] = {
      {"no files at all", {}, {}, {}, {}, {}},
      {"default copies only",
       {{"DefIFI.txt", "thumbs.db\r\n"},
        {"DefIE.txt", "ini\r\n"},  // the scanner never uses DefIE.txt
        {"DefUNFI.txt", "1\x01*.tmp\x01Temporary\r\n0\x01*.bak\x01" "Backup\r\n"}},
       {"thumbs.db"}, {}, {}, {"*.tmp"}},
      {"user files win over the defaults",
       {{"DefIFI.txt", "thumbs.db\r\n"},
        {"IFI.txt", "desktop.ini\r\nntuser.dat \r\n"},
        {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n"},
        {"UNFI.txt", "1\x01*.log\x01L\r\n"},
        {"IE.txt", "dll\r\n\r\nSYS\r\n"},
        {"UDIFO.txt", "C:\\Windows\\\r\ntemp\r\n"}},
       {"desktop.ini", "ntuser.dat "}, {"dll", "SYS"}, {"C:\\Windows\\", "temp"}, {"*.log"}},
      {"an empty user file is used, not the default",
       {{"DefIFI.txt", "thumbs.db\r\n"}, {"IFI.txt", ""},
        {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n"}, {"UNFI.txt", ""}},
       {}, {}, {}, {}},
      {"names beside the program ignore case",
       {{"ifi.txt", "a.b\r\n"}, {"ie.TXT", "tmp\r\n"}, {"udifo.txt", "x\\\r\n"},
        {"unfi.txt", "1\x01~*\x01tilde\r\n"}},
       {"a.b"}, {"tmp"}, {"x\\"}, {"~*"}},
      {"ANSI and UTF-8 texts both read as text",
       {{"IFI.txt", "caf\xE9.txt\r\n"}, {"UDIFO.txt", "C:\\Caf\xC3\xA9\\\r\n"}},
       {"caf\xC3\xA9.txt"}, {}, {"C:\\Caf\xC3\xA9\\"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder(test::currentTestName() + "-" + std::to_string(&c - cases));
    setAppPath(folder.path());
    for (const auto& [name, bytes] : c.files) folder.write(name, bytes);
    // Stale entries from an earlier load must go.
    arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {"stale"};
    LoadScanLists();
    EXPECT_EQ(std::tie(arrIgnoreFiles, arrIgnoreExt, arrIgnoreFolders, arrUnnecessary),
              std::tie(c.ignoreFiles, c.ignoreExt, c.ignoreFolders, c.unnecessary));
  }
}

auto options() {
  const SearchOptions& o = searchOptions;
  return std::tuple(o.skipNoTarget, o.skipNoWorkDir, o.useDateFilter, o.dateFrom, o.dateTo,
                    o.anySize, o.sizeAtLeast, o.sizeLimitKB, o.skipReadOnly, o.skipHidden,
                    o.skipSystem);
}

TEST_F(ListsTest, SearchOptionsFromSrchTxt) {
  // Without srch.txt: the defaults, whatever was loaded before.
  SearchOptions& o = searchOptions;
  o.skipNoTarget = o.skipNoWorkDir = o.skipReadOnly = o.skipHidden = o.skipSystem = false;
  o.useDateFilter = o.anySize = true;
  LoadSearchOptions();
  DateTime none{};
  EXPECT_EQ(options(), std::tuple(true, true, false, none, none, false, false, 0, true, true,
                                  true));
  const DateTime mar1{2024, 3, 1}, mar3{2024, 3, 3};
  // ISO dates read alike under every regional setting (other tests may change them).
  app.write("srch.txt",
            " C: Hard drive D: Hard drive\r\n1 0\r\n1 2024-03-01 2024-03-03\r\n"
            "1 False True False 500\r\n0 1 0\r\n");
  LoadScanLists();  // the lists and the search options
  EXPECT_EQ(options(), std::tuple(true, false, true, mar1, mar3, false, true, 500, false, true,
                                  false));
  // Dates that cannot be read leave the window on and empty; a damaged line (line 3) changes
  // none of its options, which stay from the earlier load; the lines after it still load.
  app.write("srch.txt", "\r\n0 1\r\n1 2024-03-01 2024-45-13\r\nx\r\n1 1 1\r\n");
  LoadSearchOptions();
  EXPECT_EQ(options(),
            std::tuple(false, true, true, none, none, false, true, 500, true, true, true));
  // An empty srch.txt sets nothing.
  searchOptions.skipHidden = false;
  app.write("srch.txt", "");
  LoadSearchOptions();
  EXPECT_FALSE(searchOptions.skipHidden);
}

TEST_F(ListsTest, DrivesOfSrchTxt) {
  bool exists = true;
  EXPECT_TRUE(SearchDrives(&exists).empty());
  EXPECT_FALSE(exists);
  struct Case {
    const char* text;
    Strings roots;
  } cases[] = {{"", {}}, {"\r\n1 1\r\n", {}},
               {" C: Hard drive D: Hard drive\r\n", {"C:\\", "D:\\"}},
               {" e: Removable drive Evil: x\r\n", {"E:\\"}}};
  for (const auto& c : cases) {
    app.write("srch.txt", c.text);
    EXPECT_EQ(SearchDrives(&exists), c.roots) << c.text;
    EXPECT_TRUE(exists);
  }
}

}  // namespace
}  // namespace glenvask
