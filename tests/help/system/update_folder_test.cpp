// Where the update's setup program is saved: the Temp folder below the user's "Local AppData"
// shell folder, made when missing (a new profile has none); the temporary folder when that
// value is missing or unusable.
#include <gtest/gtest.h>

#include "help/frmOnlineUpdates2.h"
#include "help/update.h"
#include "services/paths.h"
#include "services/registry.h"
#include "services/settings.h"
#include "services/system.h"
#include "support/httpserver.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(UpdateFolder, TheSetupGoesToTheLocalTempFolder) {
  test::LocalHttpServer server;
  ASSERT_TRUE(server.running());
  test::ScriptedAsker asker;
  const std::string local = GetRegString(kHkeyCurrentUser, kShellFolders, "Local AppData");
  ASSERT_TRUE(folderExists(local)) << local;
  const std::string temp = local + "\\Temp", saved = temp + "\\frennick.exe";
  ASSERT_FALSE(fileExists(saved)) << "not ours to replace";
  const bool hadTemp = folderExists(temp);
  EXPECT_EQ(updateDownloadFolder(), temp + "\\");

  // Missing or unusable values: the temporary folder instead.
  std::string tempDir = GetTempDir();
  for (const char* value : {"", "AppData\\Local", "C:\\a|b", "\\\\"}) {
    if (*value)
      SetRegString(kHkeyCurrentUser, kShellFolders, "Local AppData", value);
    else
      DeleteRegValues(kHkeyCurrentUser, "Local AppData", kShellFolders);
    EXPECT_EQ(updateDownloadFolder(), tempDir) << "[" << value << "]";
  }
  SetRegString(kHkeyCurrentUser, kShellFolders, "Local AppData", local);

  server.route(kSetupPath, {200, "MZ and the rest of the setup"});
  asker.answerModal([&](Dialog&) {
    OnlineUpdatesWindow& w = frmOnlineUpdates2();
    ASSERT_TRUE(test::pumpUntil([&] { return w.cmdInstall.enabled(); }, 10000));
    EXPECT_EQ(w.Label2.text(), saved);
    w.cmdClose.click();
  });
  asker.showModal(frmOnlineUpdates2(), nullptr);
  EXPECT_EQ(readFileBytes(saved).value_or("<missing>"), "MZ and the rest of the setup");
  DeleteFileW(wide(saved).c_str());
  if (!hadTemp) RemoveDirectoryW(wide(temp).c_str());
}

}  // namespace
}  // namespace glenvask
