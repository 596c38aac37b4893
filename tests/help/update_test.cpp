// The update download against a local HTTP server reached as the proxy; Cancel and Install.
#include <gtest/gtest.h>

#include "base/text.h"
#include "help/frmOnlineUpdates2.h"
#include "help/update.h"
#include "services/globals.h"
#include "support/host.h"
#include "support/httpserver.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

using Reply = test::LocalHttpServer::Reply;
using Names = std::vector<std::string>;

class UpdateTest : public ::testing::Test {
 protected:
  test::LocalHttpServer server;
  test::ScriptedAsker asker;
  test::RecordingOutside outside;
  test::RecordingHost host;
  test::ScratchFolder folder;

  void SetUp() override {
    ASSERT_TRUE(server.running());
    setHttpTimeoutMs(1500);
    frmOnlineUpdates2().downloadFolder = folder.path() + "\\Temp";  // made when missing
  }
  void TearDown() override {
    frmOnlineUpdates2().destroy();
    frmOnlineUpdates2().downloadFolder.clear();
    setHttpTimeoutMs(15000);
    EXPECT_EQ(test::urlCacheEntriesWith("orlenta"), Names{})
        << "nothing of the update server in the URL cache, cookies included";
  }

  void download(const std::function<void(OnlineUpdatesWindow&)>& script) {
    asker.answerModal([&](Dialog&) {
      OnlineUpdatesWindow& w = frmOnlineUpdates2();
      EXPECT_TRUE(test::pumpUntil([&] { return w.cmdClose.text() == "&Close"; }, 20000));
      script(w);
    });
    asker.showModal(frmOnlineUpdates2(), nullptr);
  }
};

TEST_F(UpdateTest, OnlyACompleteProgramTakesTheSetupName) {
  const std::string setup = "MZ" + test::bytesOf(200000, 3);
  const std::string saved = folder.file("Temp\\frennick.exe");
  const std::string older(300000, 'o');  // a longer older download: none of it may stay
  // A folder that cannot be made: nothing is fetched.
  OnlineUpdatesWindow& window = frmOnlineUpdates2();
  window.downloadFolder = folder.path() + "\\none\\Temp";
  asker.answerMessage(IDOK);
  download([](OnlineUpdatesWindow& w) { EXPECT_FALSE(w.cmdInstall.enabled()); });
  EXPECT_EQ(asker.asked().back().text,
            std::string(kCannotSaveMessage) + window.downloadFolder + ".");
  EXPECT_EQ(server.requests(), Names{});
  window.downloadFolder = folder.path() + "\\Temp";

  folder.write("Temp\\frennick.exe", older);
  const Reply failures[] = {{404, setup},
                            {200, setup, std::nullopt},        // no length
                            {200, setup, -1, 100000},          // cut short
                            {200, "PK" + setup.substr(2)},     // no program
                            {200, setup, -1, 1000, 0, 10.0}};  // silent
  for (const Reply& reply : failures) {
    SCOPED_TRACE(server.requests().size());
    server.route(kSetupPath, reply);
    asker.answerMessage(IDOK);
    download([&](OnlineUpdatesWindow& w) {
      EXPECT_EQ(w.lblStatus.text() + w.Label2.text(), "Downloading Update...Failed.Location");
      EXPECT_FALSE(w.cmdInstall.enabled());
      EXPECT_EQ(test::listFolder(folder.path() + "\\Temp"), Names{"frennick.exe"});
      EXPECT_EQ(folder.read("Temp\\frennick.exe"), older);
      w.cmdClose.click();
    });
    EXPECT_EQ(asker.asked().back().text, kUpdateConnectionMessage);
  }

  server.route(kSetupPath, {200, setup});
  // By itself the setup goes to the Temp folder below the user's own "Local AppData".
  EXPECT_EQ(updateDownloadFolder(), test::env("USERPROFILE") + "\\AppData\\Local\\Temp\\");
  download([&](OnlineUpdatesWindow& w) {
    EXPECT_EQ(w.lblStatus.text() + "|" + w.Label2.text(), "Downloading Update...Done.|" + saved);
    EXPECT_EQ(w.StatLab1.text() + " " + w.StatLab2.text() + " " + w.lblCurrent.text(),
              "200002 200002 100 % Completed (195.31 KB of 195.31 KB copied)");
    EXPECT_EQ(w.ProgressBar1.value(), 100);
    EXPECT_EQ(folder.read("Temp\\frennick.exe"), setup) << "byte for byte";
    EXPECT_EQ(test::listFolder(folder.path() + "\\Temp"), Names{"frennick.exe"});
    // Install asks first; No does nothing.
    asker.answerMessage(IDNO);
    w.cmdInstall.click();
    EXPECT_EQ(asker.asked().back().text,
              "Before installing this update, Tarvella must be closed.\r\n"
              "Do you want to close Tarvella and continue?");
    EXPECT_EQ(asker.asked().back().title, "Online Updates");
    EXPECT_EQ(asker.asked().back().flags, UINT(MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION));
    // A setup that does not start: the address to fetch it by hand, and the window stays.
    outside.result = false;
    asker.answerMessage(IDYES);
    asker.answerMessage(IDOK);
    w.cmdInstall.click();
    EXPECT_EQ(asker.asked().back().text,
              std::string(kLaunchFailedMessage) + "\r\nhttp://www.orlenta.com/frennick_info.htm");
    EXPECT_TRUE(w.isOpen() && host.programEnds == 0);
    outside.result = true;
    asker.answerMessage(IDYES);
    w.cmdInstall.click();
    EXPECT_TRUE(w.modalEnded());
  });
  EXPECT_EQ(outside.processes, (std::vector<std::string>(2, "\"" + saved + "\"")));
  EXPECT_EQ(host.programEnds, 1);
}

TEST_F(UpdateTest, CancelLeavesNoFileWhileTheServerIsSilent) {
  setHttpTimeoutMs(15000);
  server.route(kSetupPath, {200, "MZ" + test::bytesOf(200000, 5), -1, 100000, 0, 30.0});
  asker.answerModal([&](Dialog&) {
    OnlineUpdatesWindow& w = frmOnlineUpdates2();
    // Some of the half sent shows; the rest waits on a silent server.
    ASSERT_TRUE(
        test::pumpUntil([&] { return parseInteger(w.StatLab2.text()).value_or(0) > 0; }, 10000));
    EXPECT_LE(parseInteger(w.StatLab2.text()).value_or(0), 100000);
    EXPECT_EQ(test::listFolder(folder.path() + "\\Temp").size(), 1u) << "its temporary file";
    w.cmdClose.click();
    EXPECT_TRUE(w.modalEnded() && test::listFolder(folder.path() + "\\Temp").empty());
  });
  asker.showModal(frmOnlineUpdates2(), nullptr);
  EXPECT_EQ(asker.asked().size(), 1u) << "no message";
}

}  // namespace
}  // namespace glenvask
