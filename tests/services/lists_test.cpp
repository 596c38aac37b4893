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
    // Without srch.txt the scanner skips links without target, read-only and system files.
    std::tuple<bool, bool, bool, bool> skips{true, true, true, false};  // and anySize
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
       {"E:\\", "D:\\"}, {false, true, false, false}},  // options no line sets stay as they were
      {{{"DefIFI.txt", "thumbs.db\r\n"}, {"IFI.txt", ""}, {"DefUNFI.txt", "1\x01*.tmp\x01T\r\n"},
        {"UNFI.txt", ""}},  // an empty user file is used, not the default
       {}, {}, {}, {}, {}},
      {{{"IFI.txt", "caf\xE9.txt\r\n"}, {"UDIFO.txt", "C:\\Caf\xC3\xA9\\\r\n"}},  // ANSI, UTF-8
       {"caf\xC3\xA9.txt"}, {}, {"C:\\Caf\xC3\xA9\\"}, {}, {}},
      // A damaged line (line 3) keeps what its options were; the lines after it still load.
      {{{"srch.txt", "\r\n0 0\r\n0 a b\r\nx\r\n0 1 0\r\n"}}, {}, {}, {}, {}, {},
       {false, false, false, false}},
  };
  for (const auto& c : cases) {
    test::ScratchFolder folder(test::currentTestName() + "-" + std::to_string(&c - cases));
    setAppPath(folder.path());
    for (const auto& [name, bytes] : c.files) folder.write(name, bytes);
    arrIgnoreFiles = arrIgnoreExt = arrIgnoreFolders = arrUnnecessary = {"stale"};
    searchOptions.skipNoTarget = searchOptions.skipSystem = false;  // a missing srch.txt resets
    LoadScanLists();
    EXPECT_EQ(std::tie(arrIgnoreFiles, arrIgnoreExt, arrIgnoreFolders, arrUnnecessary),
              std::tie(c.ignoreFiles, c.ignoreExt, c.ignoreFolders, c.unnecessary));
    bool exists = false;
    EXPECT_EQ(SearchDrives(&exists), c.drives);
    EXPECT_EQ(exists, folder.exists("srch.txt"));
    const SearchOptions& o = searchOptions;
    EXPECT_EQ(std::tuple(o.skipNoTarget, o.skipReadOnly, o.skipSystem, o.anySize), c.skips);
  }
}

auto options() {
  const SearchOptions& o = searchOptions;
  return std::tuple(o.skipNoTarget, o.skipNoWorkDir, o.useDateFilter, o.dateFrom, o.dateTo,
                    o.anySize, o.sizeAtLeast, o.sizeLimitKB, o.skipReadOnly, o.skipHidden,
                    o.skipSystem);
}

TEST_F(ListsTest, SearchOptionsFromSrchTxt) {
  test::ScratchFolder app;
  setAppPath(app.path());
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

}  // namespace
}  // namespace glenvask
