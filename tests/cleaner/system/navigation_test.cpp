// The main window's header pictures and pages, the Updates page's check, and the plug-in-only
// run of the Plugins menu.
#include "base/plugin_format.h"
#include "cleaner/files_support.h"
#include "help/update.h"
#include "support/httpserver.h"

namespace glenvask {
namespace {

class NavigationTest : public test::CategoryTest {};

TEST_F(NavigationTest, HeaderPicturesSwitchThePages) {
  load();
  auto shown = [&](const char* name) { return IsWindowVisible(w.child(name)) != 0; };
  struct Case {
    int picture;
    bool categories, tools, updates, clean, tip;
  } cases[] = {
      {ids::kMainTabTools, false, true, false, false, false},
      {ids::kMainTabUpdates, false, false, true, false, false},
      {ids::kMainTabMain, true, false, false, true, true},
  };
  w.onUpdateCheck = nullptr;  // the check has a test of its own
  w.show();
  for (const auto& c : cases) {  // a click on the picture, as the control reports it
    SCOPED_TRACE(c.picture);
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(c.picture, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(w.hwnd(), c.picture)));
    EXPECT_EQ(std::tuple(shown("chkRecycleBin"), shown("Image33"), shown("lblLatest"),
                         shown("cmdClean") && shown("cmdStop"), shown("Label26")),
              std::tuple(c.categories, c.tools, c.updates, c.clean, c.tip));
    EXPECT_FALSE(shown("cmdDownload"));
  }
  // A run disables the pictures that open windows, as it does the menus.
  w.setMenusEnabled(false);
  for (const char* p : {"Image22", "Image23", "Image33", "Image38"})
    EXPECT_FALSE(IsWindowEnabled(w.child(p))) << p;
  EXPECT_TRUE(IsWindowEnabled(w.child("Image24"))) << "the pages stay free to look at";
  w.setMenusEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(w.child("Image33")));
}

// The Updates page's check, through its timer and the message its thread posts: what each
// reply of the server shows; the window is free while the server is silent, and its end stops
// a check under way without waiting for the server.
TEST_F(NavigationTest, UpdateCheckLeavesTheWindowFree) {
  test::LocalHttpServer server;
  ASSERT_TRUE(server.running());
  setHttpTimeoutMs(1500);
  const std::string update = kUpdatePagePath, none = kNoUpdatePagePath, beta = kBetaPagePath;
  for (const std::string& page : {update, none, beta}) server.route(page, {200, page});
  const std::string message =
      "Tarvella was unable to connect to the update server (Orlenta).\nPlease try again later.";
  // The reply, and the latest version, the page and Download shown, or the message.
  std::pair<test::LocalHttpServer::Reply, std::string> cases[] = {
      {{200, "6.0.10\r\n", -1, -1, 1.0}, "6.0.10 " + update + " D"},
      {{200, "6.0.0"}, "6.0.0 " + none},
      {{200, "0.9"}, "0.9 " + beta},
      {{404, "6.0.10"}, message},
      {{200, "6.0.10", 40}, message},                       // cut short
      {{200, "6.0.10" + std::string(4000, ' ')}, message},  // too long
      {{200, "6.0.10", -1, -1, 5.0}, message},              // silent past the timeout
  };
  load();
  w.show();
  for (const auto& [reply, shown] : cases) {
    SCOPED_TRACE(shown);
    server.route(kLatestVersionPath, reply);
    size_t requests = server.requests().size(), asked = script.asked().size();
    if (shown == message) script.answerMessage(IDOK);
    w.lblLatest.setText("");
    w.pictureClicked(ids::kMainTabUpdates);
    ASSERT_TRUE(test::pumpUntil([&] { return server.requests().size() > requests; }));
    if (reply.stallBefore > 0) EXPECT_EQ(w.lblLatest.text(), "") << "the window is free";
    ASSERT_TRUE(test::pumpUntil(
        [&] { return !w.lblLatest.text().empty() || script.asked().size() > asked; }, 10000));
    bool download = IsWindowVisible(w.child("cmdDownload"));
    EXPECT_EQ(script.asked().size() > asked
                  ? script.asked().back().text
                  : w.lblLatest.text() + " " + w.WebBrowser1.shownText() + (download ? " D" : ""),
              shown);
  }
  EXPECT_EQ(w.lblInstalled.text(), "6.0.0");
  EXPECT_EQ(script.asked().back().flags, UINT(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(server.requests().size(), std::size(cases) + 3) << "a page only for a version";
  EXPECT_EQ(test::urlCacheEntriesWith("orlenta"), std::vector<std::string>{}) << "no cookie";

  setHttpTimeoutMs(15000);
  server.route(kLatestVersionPath, {200, "6.0.10", -1, -1, 20.0});
  w.pictureClicked(ids::kMainTabUpdates);
  ASSERT_TRUE(test::pumpUntil([&] { return server.requests().size() == std::size(cases) + 4; }));
  ULONGLONG start = GetTickCount64();
  w.destroy();
  EXPECT_LT(GetTickCount64() - start, 10000u) << "the close did not wait for the server";
}

// The Plugins menu's run: its own summary form, the Plugins section alone, and no window of
// the menus opens while it goes (a command posted past a gray item included).
TEST_F(NavigationTest, PluginOnlyRunHasASummaryOfItsOwn) {
  work.write("data\\a.tmp", std::string(1000, 'a')), work.write("data\\c.tmp", "");
  work.write("data\\b.tmp", std::string(536, 'b'));
  PluginFile plugin;
  plugin.files.push_back({"No", "No", work.file("data") + "\\*.tmp"});
  app.write("Plugins\\one.qvp", writePluginFile(plugin));
  app.write("plg.txt", writePluginList({{true, "one.qvp", "one"}}));
  load();
  w.categoryByName("chkTemp")->setValue(1);
  test::RecordingOutside outside;
  expectSummary([&] { SendMessageW(w.hwnd(), WM_COMMAND, ids::kCmdInternetOptions, 0); });
  PostMessageW(w.hwnd(), WM_COMMAND, ids::kCmdProcessPlugins, 0);
  MSG m;
  while (PeekMessageW(&m, w.hwnd(), 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  EXPECT_EQ(test::treeOf(work.file("data")), std::vector<std::string>{});
  EXPECT_EQ(summary.count, "3");
  EXPECT_TRUE(summary.log.ends_with("\r\n\r\nFiles Deleted:  3  Files Space Gained 1.5  KB"))
      << summary.log;
  EXPECT_EQ(summary.sections, (std::vector<std::string>{"Not Cleaned", "Not Cleaned", "Not Cleaned",
                                                        "Not Cleaned", "Cleaned"}));
  EXPECT_EQ(summary.marks, 1);
  EXPECT_TRUE(outside.processes.empty()) << "no window opens during the run";
  EXPECT_EQ(w.PLGValue.value(), 0) << "the marks are cleared after the summary";
  EXPECT_EQ(w.lblStatus.text(), "");
  EXPECT_TRUE(w.cmdClean.enabled());
}

}  // namespace
}  // namespace glenvask
