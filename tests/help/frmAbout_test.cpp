// The about window: the version as major.minor.revision, and OK closes it.
#include "help/frmAbout.h"

#include <gtest/gtest.h>

#include "support/scripted.h"
#include "version.h"

namespace glenvask {
namespace {

TEST(About, ShowsTheVersionAndClosesOnOK) {
  test::ScriptedAsker asker;
  const std::string version = std::to_string(GLENVASK_VERSION_MAJOR) + "." +
                              std::to_string(GLENVASK_VERSION_MINOR) + "." +
                              std::to_string(GLENVASK_VERSION_REVISION);
  for (int round = 0; round < 2; ++round) {  // and again after it has closed
    asker.answerModal([&](Dialog& d) {
      AboutWindow& about = frmAbout();
      EXPECT_EQ(&d, &about);
      EXPECT_EQ(about.text(), "About Glenvask");
      EXPECT_EQ(about.lblVersion.text(), "Version: " + version);
      about.OK.click();
      EXPECT_TRUE(about.modalEnded());
    });
    asker.showModal(frmAbout(), nullptr);
    EXPECT_FALSE(frmAbout().isModal());
  }
  frmAbout().destroy();
}

}  // namespace
}  // namespace glenvask
