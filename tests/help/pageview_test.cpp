// The page view on local pages: headings, paragraphs and links shown as text; a link followed
// inside the view (by a click's notice too), Back and Forward; an address that names a
// program, a missing page or a binary file shown as text, and nothing ever started.
#include "help/pageview.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include "support/scripted.h"
#include "win/window.h"

namespace glenvask {
namespace {

class Host : public Window {
 public:
  PageView view;

 protected:
  const wchar_t* className() const override { return L"GlenvaskPageViewTest"; }
  bool onCreate() override { return view.create(*this, "view", 100, 0, 0, 400, 300); }
};

class PageViewTest : public ::testing::Test {
 protected:
  test::ScratchFolder dir;
  test::RecordingOutside outside;
  Host host;
  void SetUp() override {
    dir.write("help.htm",
              "<html><title>Help</title><h1>Glenvask Help</h1><p>Read the <a "
              "href=\"topic.htm#part\">topic</a>.</p><ul><li>one<li>two</ul></html>");
    dir.write("topic.htm", "<h2>Topic</h2><p>Back to <a href=\"help.htm\">help</a></p>");
    dir.write("notes.txt", "plain\r\ntext");
    dir.write("tool.exe", std::string("MZ\0\0", 4));
    ASSERT_TRUE(host.create({"host", 400, 300}));
  }
};

TEST_F(PageViewTest, ShowsPagesAndAddressesAsText) {
  struct Case {
    std::string address, text;
  } cases[] = {
      {dir.file("help.htm"),
       "Glenvask Help\n\nRead the topic.\n\n\xE2\x80\xA2 one\n\xE2\x80\xA2 two"},
      {"file:///" + dir.file("notes.txt"), "plain\ntext"},
      {"file:///C:/windows/notepad.exe", "file:///C:/windows/notepad.exe"},
      {dir.file("tool.exe"), dir.file("tool.exe")},
      {dir.file("missing.htm"), std::string(kNotFoundText) + "\n\n" + dir.file("missing.htm")},
      {"javascript:alert(1)", "javascript:alert(1)"},
      {"about:blank", ""},
  };
  for (const auto& c : cases) {
    host.view.navigate(c.address);
    EXPECT_EQ(host.view.shownText(), c.text) << c.address;
  }
  EXPECT_TRUE(outside.shellCalls.empty());
  EXPECT_TRUE(outside.processes.empty());
}

TEST_F(PageViewTest, FollowsLinksAndKeepsBackAndForward) {
  PageView& v = host.view;
  int told = 0;
  v.onNavigated = [&] { ++told; };
  EXPECT_FALSE(v.goBack());
  v.navigate(dir.file("help.htm"));
  ASSERT_EQ(v.linkCount(), 1u);
  EXPECT_EQ(v.linkAddress(0), dir.file("topic.htm"));

  // A click on the link, as the mouse gives it.
  LONG at = static_cast<LONG>(std::string("Glenvask Help\r\rRead the t").size());
  POINTL p{};
  SendMessageW(v.hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), at);
  LPARAM xy = MAKELPARAM(p.x + 2, p.y + 4);
  SendMessageW(v.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, xy);
  SendMessageW(v.hwnd(), WM_LBUTTONUP, 0, xy);
  EXPECT_EQ(v.address(), dir.file("topic.htm"));
  EXPECT_EQ(v.shownText(), "Topic\n\nBack to help");

  EXPECT_TRUE(v.goBack());
  EXPECT_EQ(v.address(), dir.file("help.htm"));
  EXPECT_TRUE(v.goForward());
  EXPECT_EQ(v.address(), dir.file("topic.htm"));
  EXPECT_FALSE(v.goForward());
  v.followLink(0);
  EXPECT_EQ(v.address(), dir.file("help.htm"));
  EXPECT_FALSE(v.canGoForward());
  EXPECT_EQ(told, 5);
}

}  // namespace
}  // namespace glenvask
