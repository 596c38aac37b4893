// The cleanup summary and the detailed log: the five section rows read from the main window's
// marks and check boxes, the totals, Close and Exit, and saving the log through the scripted
// save dialog.
#include "review/frmLog.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "cleaner/frmMain.h"
#include "review/frmLogDetails.h"
#include "services/paths.h"
#include "services/settings.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

class SummaryTest : public ::testing::Test {
 protected:
  test::ScratchFolder app;
  test::ScriptedAsker asker;
  MainWindow& main = frmMain();

  void SetUp() override {
    setAppPath(app.path());
    ASSERT_TRUE(main.load(""));
  }
  void TearDown() override {
    if (main.isOpen()) main.destroy();  // and the windows it owns
    setAppPath("");
  }
};

TEST_F(SummaryTest, SectionRowsFromMarksOrCheckBoxes) {
  const std::string C = kCleanedText, N = kNotCleanedText;
  struct Case {
    std::vector<const char*> boxes;
    std::vector<CheckBox*> marks;
    std::vector<std::string> expected;  // Folders and Files, Misc, IE, Firefox, Plugins
  } cases[] = {
      {{}, {}, {N, N, N, N, N}},
      // A single-category run of the Recycle Bin: only its own section, whatever is checked.
      {{"chkRecycleBin", "chkCache", "chkOffice"}, {&main.FoFiValue}, {C, N, N, N, N}},
      {{"chkEmptyFiles"}, {}, {C, N, N, N, N}},
      {{"chkDeadShortcut"}, {}, {C, N, N, N, N}},
      {{"chkPlugins"}, {}, {N, N, N, N, C}},
      {{"chkFindHistory", "chkActiveX", "chkCleanMozillaDownloads"}, {}, {N, C, C, C, N}},
      {{"chkTemp"}, {&main.PLGValue}, {N, N, N, N, C}},
      {{}, {&main.MiscValue, &main.FFValue}, {N, C, N, C, N}},
  };
  auto statuses = [](SummaryWindow& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < 5; ++i) out.push_back(s.sectionStatus(i));
    return out;
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n++);
    for (size_t i = 0; i < kCategoryCount; ++i) main.category(i).setValue(0);
    for (CheckBox* m : {&main.FoFiValue, &main.MiscValue, &main.IEValue, &main.FFValue,
                        &main.PLGValue})
      m->setValue(0);
    for (const char* b : c.boxes) main.categoryByName(b)->setValue(1);
    for (CheckBox* m : c.marks) m->setValue(1);
    SummaryWindow& s = frmLog();
    EXPECT_EQ(statuses(s), c.expected);
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(s.sectionCleanedIconShown(i), c.expected[i] == C) << i;
      EXPECT_EQ(s.sectionWarningIconShown(i), c.expected[i] != C) << i;
    }
    // Fixed when made: a box checked later changes nothing until the next summary.
    main.categoryByName("chkPlugins")->setValue(1);
    EXPECT_EQ(statuses(frmLog()), c.expected);
    s.cmdClose_Click();
    EXPECT_FALSE(s.isOpen());
  }
}

TEST_F(SummaryTest, ShowsTheTotalsAndClosesToItsDesignState) {
  SummaryWindow& s = frmLog();
  std::pair<std::string, const char*> texts[] = {
      {s.text(), "Cleanup Summary"}, {s.Label3.text(), "0"}, {s.Label4.text(), "0 Bytes"},
      {s.cmdSave.text(), "&View Details..."}, {s.cmdClose.text(), "&Close"},
      {s.cmdExit.text(), "&Exit"}};
  for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
  EXPECT_FALSE(s.txtLog.visible());

  // What a run does: the totals and the log, then the modal show owned by the main window.
  s.Label3.setText("12");
  s.Label4.setText("3.50 MB");
  s.txtLog.setText("Temporary files... Files Deleted: 12 Space Gained: 3.50 MB\r\n");
  main.pgClean.setRange(0, 10);
  main.pgClean.setValue(7);
  asker.answerModal([&](Dialog& d) {
    EXPECT_EQ(&d, &s);
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
    s.cmdClose.click();
  });
  asker.showModal(s, main.hwnd());
  EXPECT_FALSE(s.isOpen());
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
  EXPECT_EQ(main.pgClean.value(), 0);
  EXPECT_EQ(frmLog().Label3.text(), "0");
  EXPECT_EQ(frmLog().Label4.text(), "0 Bytes");
  EXPECT_EQ(frmLog().txtLog.text(), "");
}

TEST_F(SummaryTest, ExitEndsTheProgramAtOnce) {
  int ended = 0;
  auto saved = SummaryWindow::endProgram;
  SummaryWindow::endProgram = [&] { ++ended; };
  frmLog().cmdExit.click();
  SummaryWindow::endProgram = saved;
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(fileExists(appFile("chkItems.txt")));
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
  s.Label3.setText("3");
  s.Label4.setText("1.51 KB");
  s.txtLog.setText(log);
  app.write("saved.log", older);

  asker.answerModal([&](Dialog&) {
    asker.answerModal([&](Dialog& d) {
      LogDetailsWindow& details = frmLogDetails();
      EXPECT_EQ(&d, &details);
      EXPECT_EQ(GetWindow(details.hwnd(), GW_OWNER), s.hwnd());
      EXPECT_EQ(details.text(), "Detailed Log");
      EXPECT_EQ(details.txtLog.text(), log);
      EXPECT_EQ(details.lblStatus.text(), "Files Deleted: 3, Space Gained: 1.51 KB");
      EXPECT_EQ(details.cmdSave.text(), "&Save As...");
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
  asker.showModal(s, main.hwnd());
  EXPECT_EQ(app.read("saved.log"), log + "\r\n");
  int saves = 0;
  for (const auto& q : asker.asked())
    if (q.kind == "save") {
      ++saves;
      EXPECT_EQ(q.text, "Log Files ( *.log ) | *.log");
    }
  EXPECT_EQ(saves, 2);
}

TEST_F(SummaryTest, SaveDialogStartsWithTheNameCleanup) {
  class Recorder : public test::ScriptedAsker {
   public:
    FileDialogSpec spec;
    std::optional<std::string> saveFile(HWND, const FileDialogSpec& s) override {
      spec = s;
      return std::nullopt;
    }
  } recorder;
  frmLogDetails().cmdSave_Click();
  EXPECT_EQ(recorder.spec.fileName, "cleanup");
  EXPECT_EQ(recorder.spec.filter, "Log Files ( *.log ) | *.log");
  EXPECT_EQ(recorder.spec.defaultExt, "");
}

}  // namespace
}  // namespace glenvask
