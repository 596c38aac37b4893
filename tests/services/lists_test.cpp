#include "services/lists.h"

#include <gtest/gtest.h>

#include <tuple>

#include "services/paths.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

using Strings = std::vector<std::string>;

// The program's folder pointed at a scratch folder for each case.
class ListsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    setAppPath("");
    arrIgnoreFiles.clear(), arrIgnoreExt.clear(), arrIgnoreFolders.clear();
    arrUnnecessary.clear();
    LoadSearchOptions();  // back to the defaults (no srch.txt)
  }
};

TEST_F(ListsTest, ListsComeFromTheUserFileElseTheDefaultCopy) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> files;
    Strings ignoreFiles, ignoreExt, ignoreFolders, unnecessary, drives;
  } cases[] = {
      {{}, {}, {}, {}, {}, {}},
      {{{"DefIFI.txt", "thumbs.db\r\n"}, {"DefIE.txt", "ini\r\n"},  // DefIE.txt is never used
        {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n0\x01*.bak\x01" "B\r\n"}},
       {"thumbs.db"}, {}, {}, {"*.tmp"}, {}},
      {{{"DefIFI.txt", "thumbs.db\r\n"}, {"ifi.txt", "desktop.ini\r\nntuser.dat \r\n"},
        {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n"}, {"UNFI.txt", "1\x01*.log\x01L\r\n"},
        {"ie.TXT", "dll\r\n\r\nSYS\r\n"}, {"UDIFO.txt", "C:\\Windows\\\r\ntemp\r\n"},
        {"srch.txt", " e: Removable drive Evil: x D: Hard drive\r\n"}},
       {"desktop.ini", "ntuser.dat "}, {"dll", "SYS"}, {"C:\\Windows\\", "temp"}, {"*.log"},
       {"E:\\", "D:\\"}},
      {{{"DefIFI.txt", "thumbs.db\r\n"}, {"IFI.txt", ""}, {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n"},
        {"UNFI.txt", ""}},  // an empty user file is used, not the default
       {}, {}, {}, {}, {}},
      {{{"IFI.txt", "caf\xE9.txt\r\n"}, {"UDIFO.txt", "C:\\Caf\xC3\xA9\\\r\n"}},  // ANSI, UTF-8
       {"caf\xC3\xA9.txt"}, {}, {"C:\\Caf\xC3\xA9\\"}, {}, {}},
  };
  for (const auto& c : cases) {
    test::ScratchFolder folder(test::currentTestName() + "-" + std::to_string(&c - cases));
    setAppPath(folder.path());
    for (const auto& [name, bytes] : c.files) folder.write(name, bytes);
    arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {"stale"};
    LoadScanLists();
    EXPECT_EQ(std::tie(arrIgnoreFiles, arrIgnoreExt, arrIgnoreFolders, arrUnnecessary),
              std::tie(c.ignoreFiles, c.ignoreExt, c.ignoreFolders, c.unnecessary));
    EXPECT_EQ(SearchDrives(), c.drives);
  }
}

TEST_F(ListsTest, SearchOptionsFromSrchTxt) {
  test::ScratchFolder app;
  setAppPath(app.path());
  auto skips = [] {
    const SearchOptions& o = searchOptions;
    return std::tuple(o.skipNoTarget, o.skipNoWorkDir, o.skipReadOnly, o.skipHidden,
                      o.skipSystem, o.useDateFilter, o.anySize);
  };
  // Without srch.txt: the defaults, whatever was loaded before.
  searchOptions.skipNoTarget = searchOptions.skipHidden = false;
  searchOptions.useDateFilter = true;
  bool exists = true;
  LoadSearchOptions();
  EXPECT_EQ(skips(), std::tuple(true, true, true, true, true, false, false));
  EXPECT_TRUE(SearchDrives(&exists).empty() && !exists);
  // A damaged line (line 3) keeps what its options were; the lines after it still load.
  app.write("srch.txt", "\r\n1 0\r\n0 a b\r\nx\r\n0 1 0\r\n");
  LoadSearchOptions();
  EXPECT_EQ(skips(), std::tuple(true, false, false, true, false, false, false));
  EXPECT_TRUE(SearchDrives(&exists).empty() && exists);
}

}  // namespace
}  // namespace glenvask
