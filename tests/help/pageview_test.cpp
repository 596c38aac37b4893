// The help window's page view on local pages: text, links, Back and Forward; nothing started.
#include <richedit.h>

#include <gtest/gtest.h>

#include "help/frmHelp.h"
#include "services/paths.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

class HelpTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir;
  test::RecordingOutside outside;
  HelpWindow& h = frmHelp();
  PageView& v = h.WebBrowser1;
  void SetUp() override {
    dir.write("Help\\help.htm",
              "<html><title>Help</title><h1>Glenvask Help</h1><p>Read the <a "
              "href=\"topic.htm#part\">topic</a>.</p><ul><li>one<li>two</ul></html>");
    dir.write("Help\\topic.htm", "<h2>Topic</h2><p>Back to <a href=\"help.htm\">help</a></p>");
    dir.write("notes.txt", "plain\r\ntext");
    dir.write("tool.exe", std::string("MZ\0\0", 4));
    setAppPath(dir.path());
    ASSERT_TRUE(h.open());
  }
  void TearDown() override {
    h.destroy();
    setAppPath("");
    EXPECT_TRUE(outside.shellCalls.empty() && outside.processes.empty());
  }
};

TEST_F(HelpTest, ShowsPagesAndAddressesAsText) {
  std::pair<std::string, std::string> cases[] = {
      {dir.file("Help\\help.htm"),
       "Glenvask Help\n\nRead the topic.\n\n\xE2\x80\xA2 one\n\xE2\x80\xA2 two"},
      {"file:///" + dir.file("notes.txt"), "plain\ntext"},
      {"file:///C:/windows/notepad.exe", "file:///C:/windows/notepad.exe"},
      {dir.file("tool.exe"), dir.file("tool.exe")},
      {dir.file("missing.htm"), std::string(kNotFoundText) + "\n\n" + dir.file("missing.htm")},
      {"javascript:alert(1)", "javascript:alert(1)"},
      {"about:blank", ""}};
  for (const auto& [address, text] : cases) {
    v.navigate(address);
    EXPECT_EQ(v.shownText(), text) << address;
  }
}

TEST_F(HelpTest, FollowsLinksAndKeepsBackAndForward) {
  const std::string help = dir.file("Help\\help.htm"), topic = dir.file("Help\\topic.htm");
  EXPECT_FALSE(h.cmdGoBack.enabled());
  h.cmdGoBack_Click();  // at the first page: nothing, and no error
  EXPECT_EQ(v.address(), help);
  // A click on the link, as the mouse gives it.
  LONG at = static_cast<LONG>(std::string("Glenvask Help\r\rRead the t").size());
  POINTL p{};
  SendMessageW(v.hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), at);
  LPARAM xy = MAKELPARAM(p.x + 2, p.y + 4);
  SendMessageW(v.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, xy);
  SendMessageW(v.hwnd(), WM_LBUTTONUP, 0, xy);
  EXPECT_EQ(v.shownText(), "Topic\n\nBack to help");
  h.cmdGoBack.click();
  EXPECT_EQ(v.address(), help);
  EXPECT_TRUE(h.cmdGoForward.enabled());
  h.cmdGoForward.click();
  EXPECT_TRUE(v.address() == topic && !h.cmdGoForward.enabled());
  v.followLink(0);
  EXPECT_TRUE(v.address() == help && !v.canGoForward());
  h.cmdClose.click();

  // Modal, as the options window opens it: a new showing starts at the help page.
  test::ScriptedAsker asker;
  asker.answerModal([&](Dialog& d) {
    EXPECT_TRUE(&d == &h && v.address() == help && !h.cmdGoBack.enabled());
    h.cmdClose.click();
  });
  asker.showModal(h, nullptr);
  EXPECT_FALSE(h.isOpen());
}

}  // namespace
}  // namespace glenvask
