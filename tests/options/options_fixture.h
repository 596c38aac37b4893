// The options tests: a scratch program folder, the seams, a host recording what Accept applies.
#pragma once

#include <gtest/gtest.h>

#include "options/frmOptions.h"
#include "services/folderlist.h"
#include "services/paths.h"
#include "support/host.h"
#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
using Strings = std::vector<std::string>;
}  // namespace glenvask

namespace glenvask::test {

class OptionsHost : public RecordingHost {
 public:
  bool running = false;
  std::vector<std::string> applied;
  std::string viewed;  // the cookie file the viewer was asked to show
  bool isRunning() const override { return running; }
  void applyAutoClean(bool on, std::int16_t minutes) override {
    applied.push_back(on ? "auto " + std::to_string(minutes) : "auto off");
  }
  void enableOptionalCategories(bool emptyFiles, bool deadShortcuts) override {
    applied.push_back("boxes " + std::to_string(emptyFiles) + std::to_string(deadShortcuts));
  }
  void showTipBox(bool on) override { applied.push_back(on ? "tips" : "no tips"); }
  void showCookieFile(const std::string& path, HWND) override { viewed = path; }
};

class OptionsTest : public ::testing::Test {
 protected:
  ScratchFolder app;
  ScriptedAsker asker;
  RecordingOutside outside;
  OptionsHost host;

  void SetUp() override { setAppPath(app.path()); }
  void TearDown() override { setAppPath(""); }

  // Opens the window as File > Options does, runs the script, then Accept or Cancel if open.
  void options(const std::function<void(OptionsWindow&)>& script, bool accept = false) {
    asker.answerModal([&](Dialog& d) {
      auto& w = dynamic_cast<OptionsWindow&>(d);
      script(w);
      if (w.isOpen() && !w.modalEnded()) (accept ? w.cmdAccept : w.cmdCancel).click();
    });
    OpenOptions(nullptr);
  }

  static void everyPage(OptionsWindow& w) {
    for (size_t page = 0; page < kOptionsPageCount; ++page) w.SSTab1.select(page);
  }

  std::map<std::string, std::string> files() const {
    std::map<std::string, std::string> out;
    for (const auto& e : glenvask::listFolder(wide(app.path())))
      if (!e.isFolder()) out[utf8(e.name)] = app.read(utf8(e.name));
    return out;
  }

  Strings messages() const {
    Strings out;
    for (const auto& q : asker.asked())
      if (q.kind == "message") out.push_back(q.text);
    return out;
  }

  static Strings items(const ListBox& l) {
    Strings out;
    for (size_t i = 0; i < l.count(); ++i) out.push_back(l.itemText(i));
    return out;
  }
};

}  // namespace glenvask::test
