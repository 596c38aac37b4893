#include "base/updates.h"

#include <gtest/gtest.h>

#include <tuple>

namespace glenvask {
namespace {

TEST(Updates, OnlyAVersionTextInAGoodReplyIsBelievedAndComparedByCharacters) {
  // status, body, what the check then finds against an installed 6.0.3
  std::tuple<int, const char*, UpdateVerdict> cases[] = {
      {200, "6.0.4", UpdateVerdict::Newer},
      {200, "6.0.3\r\n", UpdateVerdict::Same},  // the line end is no part of the version
      {200, " \t6.0.3 \r\n\r\n", UpdateVerdict::Same},
      {200, "5.9.9", UpdateVerdict::Older},
      {200, "6.0.10", UpdateVerdict::Older},  // by characters, "6.0.1" < "6.0.3"
      {404, "6.0.4", UpdateVerdict::NoConnection},
      {200, "", UpdateVerdict::NoConnection},
      {200, "<html><body>Not Found</body></html>", UpdateVerdict::NoConnection},
      {200, "6.0.4\r\n6.0.5", UpdateVerdict::NoConnection},
      {200,
       "\xEF\xBB\xBF"
       "6.0.4",
       UpdateVerdict::NoConnection},
      {200, "6..0", UpdateVerdict::NoConnection},
      {200, ".6", UpdateVerdict::NoConnection},
      {200, "6.", UpdateVerdict::NoConnection},
      {200, "-6.0", UpdateVerdict::NoConnection},
  };
  for (const auto& [status, body, verdict] : cases)
    EXPECT_EQ(compareVersions("6.0.3", latestVersionOf(status, body)), verdict)
        << status << " [" << body << "]";
  EXPECT_EQ(compareVersions("6.0.9", std::string("6.0.10")), UpdateVerdict::Older);
}

TEST(Updates, DownloadNameAndProgress) {
  EXPECT_EQ(fileNameOfAddress("http://www.example.com/frennick.exe"), "frennick.exe");
  EXPECT_EQ(fileNameOfAddress("http://www.example.com/a/ frennick.exe  "), "frennick.exe");
  EXPECT_EQ(fileNameOfAddress("http://www.example.com/"), "");

  // total, copied, percent
  std::tuple<std::int64_t, std::int64_t, int> steps[] = {
      {2500, 1024, 41},
      {2500, 2048, 82},
      {2500, 2500, 100},
      {1024, 1024, 100},
      {0, 10, 0},
      {3, 1, 33},
      {3000000000LL, 1500000000LL, 50},
  };
  for (const auto& [total, copied, percent] : steps)
    EXPECT_EQ(downloadPercent(copied, total), percent) << copied << " of " << total;
  EXPECT_EQ(downloadProgressText(1048576, 2097152, "2.00 MB"),
            "50 % Completed (1.00 MB of 2.00 MB copied)");
}

}  // namespace
}  // namespace glenvask
