// A modal window of one fixed dialog frame (the summary, the about box, the update download):
// made hidden when it does not exist, owned by the window that shows it or else by the main
// window.
#pragma once

#include <windows.h>

#include "services/host.h"
#include "win/seams.h"
#include "win/window.h"

namespace glenvask {

class FramedDialog : public Dialog {
 public:
  // Makes the window (hidden) when it does not exist: Form_Load.
  void load(HWND owner = nullptr) {
    if (!isOpen())
      create(dialogFrame(title_, width_, height_, owner ? owner : cleaningHost().ownerWindow()));
  }
  bool build(HWND owner) override {
    load(owner);
    return isOpen();
  }

 protected:
  FramedDialog(const char* title, int width, int height)
      : title_(title), width_(width), height_(height) {}

 private:
  const char* title_;
  int width_, height_;
};

}  // namespace glenvask
