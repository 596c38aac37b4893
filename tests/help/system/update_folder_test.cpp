// Where the update's setup program is saved: the Temp folder below the user's own "Local
// AppData" shell folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "help/update.h"

namespace glenvask {
namespace {

TEST(UpdateFolder, TheSetupGoesToTheLocalTempFolder) {
  const char* profile = std::getenv("USERPROFILE");
  ASSERT_TRUE(profile && *profile);
  EXPECT_EQ(updateDownloadFolder(), std::string(profile) + "\\AppData\\Local\\Temp\\");
}

}  // namespace
}  // namespace glenvask
