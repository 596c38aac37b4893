#include "review/frmLog.h"

#include <gtest/gtest.h>

#include "review/frmLogDetails.h"
#include "support/host.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

// Answers as scripted, and keeps what the last save dialog was opened with.
class SaveAsker : public test::ScriptedAsker {
 public:
  FileDialogSpec spec;
  std::optional<std::string> saveFile(HWND owner, const FileDialogSpec& s) override {
    spec = s;
    return ScriptedAsker::saveFile(owner, s);
  }
};

class SummaryTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  SaveAsker asker;
  test::RecordingHost host;

  void TearDown() override { frmLog().destroy(); }
};

TEST_F(SummaryTest, ShowsTheRunItIsGivenAndClosesToItsDesignState) {
  // Each section both ways, across the two runs.
  for (std::array<bool, kSummarySectionCount> cleaned :
       {std::array{true, false, false, false, true}, std::array{false, true, true, true, false}}) {
    SummaryWindow& w = frmLog();
    EXPECT_EQ(w.Label3.text() + "|" + w.Label4.text(), "0|0 Bytes");
    w.setRun({12, 3670016, cleaned, "Temporary files...\r\n"});
    EXPECT_EQ(w.Label3.text() + "|" + w.Label4.text(), "12|3.50 MB");
    for (size_t i = 0; i < kSummarySectionCount; ++i) {
      EXPECT_EQ(w.sectionStatus(i), cleaned[i] ? "Cleaned" : "Not Cleaned") << i;
      EXPECT_EQ(w.sectionCleanedIconShown(i), cleaned[i]) << i;
      EXPECT_EQ(w.sectionWarningIconShown(i), !cleaned[i]) << i;
    }
    host.progress = 7;
    asker.answerModal([&](Dialog&) { w.cmdClose.click(); });
    asker.showModal(w, nullptr);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(host.progress, 0) << "Close resets the main window's progress";
    EXPECT_EQ(frmLog().run().log, "");
  }
  int ended = 0;
  auto saved = SummaryWindow::endProgram;
  SummaryWindow::endProgram = [&] { ++ended; };
  frmLog().cmdExit.click();
  SummaryWindow::endProgram = saved;
  EXPECT_EQ(ended, 1) << "Exit ends the program at once";
}

TEST_F(SummaryTest, DetailsShowTheLogAndSaveIt) {
  // A name that is not ASCII: written as UTF-8.
  const std::string log =
      "Temporary files... Files Deleted: 2 Space Gained: 1.50 KB\r\n"
      "User-defined files... Files Deleted: 1 Space Gained: 10 Bytes\r\n"
      "\r\n-------------------------------------------------------------------\r\n"
      "Files Deleted:  3   Space Gained:  1.51 KB \xc3\xa9t\xc3\xa9";
  const std::string older = "an older and much longer log that must go entirely\r\n\r\n\r\n";
  SummaryWindow& s = frmLog();
  s.setRun({3, 1546, {}, log});
  app.write("saved.log", older);

  asker.answerModal([&](Dialog&) {
    asker.answerModal([&](Dialog& d) {
      LogDetailsWindow& details = frmLogDetails();
      EXPECT_EQ(&d, &details);
      EXPECT_EQ(GetWindow(details.hwnd(), GW_OWNER), s.hwnd());
      EXPECT_EQ(details.txtLog.text(), log);
      EXPECT_EQ(details.lblStatus.text(), "Files Deleted: 3, Space Gained: 1.51 KB");
      asker.answerFile(std::nullopt);
      details.cmdSave.click();
      EXPECT_EQ(app.read("saved.log"), older) << "cancelled: nothing written";
      asker.answerFile(app.file("saved.log"));
      details.cmdSave.click();
      details.cmdClose.click();
    });
    s.cmdSave.click();
    EXPECT_TRUE(s.isOpen()) << "the summary stays";
    s.cmdClose.click();
  });
  asker.showModal(s, nullptr);
  EXPECT_EQ(app.read("saved.log"), log + "\r\n");
  EXPECT_EQ(asker.spec.filter, "Log Files ( *.log ) | *.log");
  EXPECT_EQ(asker.spec.fileName, "cleanup") << "the name the dialog starts with";
}

}  // namespace
}  // namespace glenvask
