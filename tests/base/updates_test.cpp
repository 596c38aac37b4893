#include "base/updates.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(Updates, OnlyAVersionTextInAGoodReplyIsBelievedAndComparedAsNumbers) {
  using enum UpdateVerdict;
  // installed, status, body, verdict
  std::tuple<const char*, int, const char*, UpdateVerdict> cases[] = {
      {"6.0.3", 200, " \t6.0.3 \r\n\r\n", Same},  // blanks and line ends are no part of it
      {"6.0.3", 200, "6.0.10", Newer},
      {"6.0.9", 200, "6.0.10", Newer},
      {"6.0.10", 200, "6.0.9", Older},
      {"6.0.0", 200, "6", Same},
      {"6.0.3", 200, "6.0.03", Same},
      {"6.0.3", 200, "6.0.3.1", Newer},
      {"6.0.3", 200, "6.0.99999999999999999999999", Newer},
      {"10.0.0", 200, "9.99.99", Older},
      {"6.0.3", 404, "6.0.4", NoConnection},
      {"6.0.3", 200, "", NoConnection},
      {"6.0.3", 200, "<html><body>Not Found</body></html>", NoConnection},
      {"6.0.3", 200, "\xEF\xBB\xBF" "6.0.4", NoConnection},
      {"6.0.3", 200, "6..0", NoConnection},
      {"6.0.3", 200, "6.", NoConnection},
  };
  for (const auto& [installed, status, body, verdict] : cases)
    EXPECT_EQ(compareVersions(installed, latestVersionOf(status, body)), verdict)
        << installed << " " << status << " [" << body << "]";

  EXPECT_EQ(fileNameOfAddress("http://a.test/a/ frennick.exe  ") + fileNameOfAddress("http://a/"),
            "frennick.exe");
  std::tuple<std::int64_t, std::int64_t, int> steps[] = {  // total, copied, percent
      {2500, 1024, 41}, {2500, 2048, 82}, {2500, 2500, 100}, {1024, 1024, 100},
      {0, 10, 0},       {3, 1, 33},       {3000000000LL, 1500000000LL, 50},
  };
  for (const auto& [total, copied, percent] : steps)
    EXPECT_EQ(downloadPercent(copied, total), percent) << copied << " of " << total;
  // Local AppData as the registry names it: the folder, or the temporary folder.
  std::pair<std::string, const char*> folders[] = {
      {"C:\\Users\\u\\AppData\\Local\\", "C:\\Users\\u\\AppData\\Local\\Temp\\"},
      {"\\\\server\\u", "\\\\server\\u\\Temp\\"},
      {"", "T:\\"}, {"AppData\\Local", "T:\\"}, {"C:\\a|b", "T:\\"}, {"\\\\", "T:\\"},
      {"C:\\" + std::string(300, 'x'), "T:\\"},
  };
  for (const auto& [local, folder] : folders)
    EXPECT_EQ(updateFolderOf(local, "T:"), folder) << local;
  EXPECT_EQ(downloadProgressText(1048576, 2097152, "2.00 MB"),
            "50 % Completed (1.00 MB of 2.00 MB copied)");
}

}  // namespace
}  // namespace glenvask
