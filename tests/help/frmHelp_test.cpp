// The help window: the help page beside the program, Back and Forward through the pages a link
// led to, modeless and modal.
#include "help/frmHelp.h"

#include <gtest/gtest.h>

#include "services/paths.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

TEST(HelpWindow, ShowsTheHelpPageAndWalksItsHistory) {
  test::ScratchFolder app;
  app.write("Help\\help.htm",
            "<h1>Contents</h1><p><a href=\"more.htm\">More</a></p>");
  app.write("Help\\more.htm", "<h1>More help</h1>");
  setAppPath(app.path());
  HelpWindow& h = frmHelp();
  ASSERT_TRUE(h.open());
  auto shows = [&](const char* text) {
    return h.WebBrowser1.shownText().find(text) != std::string::npos;
  };
  EXPECT_TRUE(shows("Contents"));
  EXPECT_FALSE(h.cmdGoBack.enabled());
  h.cmdGoBack_Click();  // at the first page: nothing, and no error
  EXPECT_TRUE(shows("Contents"));

  ASSERT_EQ(h.WebBrowser1.linkCount(), 1u);
  h.WebBrowser1.followLink(0);
  EXPECT_TRUE(shows("More help"));
  h.cmdGoBack.click();
  EXPECT_TRUE(shows("Contents"));
  EXPECT_TRUE(h.cmdGoForward.enabled());
  h.cmdGoForward.click();
  EXPECT_TRUE(shows("More help"));
  h.cmdClose.click();
  EXPECT_FALSE(h.isOpen());

  // Modal, as the options window opens it: a new showing starts at the help page.
  test::ScriptedAsker asker;
  asker.answerModal([&](Dialog& d) {
    EXPECT_EQ(&d, &h);
    EXPECT_TRUE(shows("Contents"));
    EXPECT_FALSE(h.cmdGoBack.enabled());
    h.cmdClose.click();
  });
  asker.showModal(h, nullptr);
  EXPECT_FALSE(h.isOpen());
  setAppPath("");
}

}  // namespace
}  // namespace glenvask
