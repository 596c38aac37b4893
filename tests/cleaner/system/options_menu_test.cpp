// File > Options from the main window: the options window opens modal, and what it accepts
// changes the main window at once and reaches the scanner's lists when it closes.
#include <gtest/gtest.h>

#include "cleaner/frmMain.h"
#include "options/frmOptions.h"
#include "services/globals.h"
#include "services/paths.h"
#include "services/registry.h"
#include "support/prefix.h"
#include "support/scripted.h"

namespace glenvask {
namespace {

TEST(OptionsMenu, AcceptChangesTheMainWindowAtOnce) {
  test::ScratchFolder app;
  test::ScriptedAsker asker;
  setAppPath(app.path());
  test::SavedValue run{HKEY_CURRENT_USER, kRunKey, kRunValueName, std::nullopt};
  app.write("settings.ini", "[General]\r\nProtect2=1\r\n");  // dead shortcuts on at the start
  MainWindow& w = frmMain();
  ASSERT_TRUE(w.load(""));
  auto shown = [&](const char* name) {
    return (GetWindowLongPtrW(w.child(name), GWL_STYLE) & WS_VISIBLE) != 0;
  };
  EXPECT_FALSE(w.categoryByName("chkEmptyFiles")->enabled());
  EXPECT_TRUE(w.categoryByName("chkDeadShortcut")->enabled());
  EXPECT_TRUE(shown("Label26"));
  asker.answerModal([&](Dialog& d) {
    auto& o = dynamic_cast<OptionsWindow&>(d);
    EXPECT_EQ(GetWindow(o.hwnd(), GW_OWNER), w.hwnd());
    o.Check1.setChecked(true);
    o.Check2.setChecked(false);
    o.Check3.setChecked(false);
    o.chkAutoClean.setChecked(true);
    o.cmbAutoClean1.select(4);
    o.cmbAutoClean.select(0);
    o.SSTab1.select(kPageIgnoreFiles);
    o.txtIE.setText("bak");
    o.cmdIEAdd.click();
    o.cmdAccept.click();
  });
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCmdOptions, 0), 0);
  EXPECT_TRUE(w.categoryByName("chkEmptyFiles")->enabled());
  EXPECT_FALSE(w.categoryByName("chkDeadShortcut")->enabled());
  EXPECT_FALSE(shown("Label26"));
  EXPECT_TRUE(w.autoCleanArmed());
  EXPECT_EQ(w.AutoCleanMinutes, 5);
  EXPECT_EQ(arrIgnoreExt, std::vector<std::string>{"bak"}) << "the lists are read again";
  w.destroy();
  setAppPath("");
}

}  // namespace
}  // namespace glenvask
