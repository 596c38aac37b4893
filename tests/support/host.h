// A cleaning host that records what the windows below the main window tell it, in place of the
// main window for as long as it lives.
#pragma once

#include <string>
#include <vector>

#include "services/host.h"

namespace glenvask::test {

class RecordingHost : public CleaningHost {
 public:
  RecordingHost() : previous_(setCleaningHost(this)) {}
  ~RecordingHost() override { setCleaningHost(previous_); }
  RecordingHost(const RecordingHost&) = delete;

  void stopOperation(const std::string& text) override { stops.push_back(text); }
  void setStatus(const std::string& text) override { status = text; }
  void setProgress(int value) override { progress = value; }
  void endProgram() override { ++programEnds; }

  std::vector<std::string> stops;
  std::string status;
  int progress = -1;
  int programEnds = 0;

 private:
  CleaningHost* previous_;
};

// Puts itself between the current host (the main window) and what calls it, passing every call
// on; a test overrides what it wants to watch.
class ForwardingHost : public CleaningHost {
 public:
  ForwardingHost() : inner_(&cleaningHost()), previous_(setCleaningHost(this)) {}
  ~ForwardingHost() override { setCleaningHost(previous_); }
  ForwardingHost(const ForwardingHost&) = delete;

  void stopOperation(const std::string& text) override { inner_->stopOperation(text); }
  void deleteFiles() override { inner_->deleteFiles(); }
  void deleteFolders() override { inner_->deleteFolders(); }
  void setStatus(const std::string& text) override { inner_->setStatus(text); }
  void setProgress(int value) override { inner_->setProgress(value); }
  HWND ownerWindow() const override { return inner_->ownerWindow(); }
  void reviewClosed(const ReviewOutcome& outcome) override { inner_->reviewClosed(outcome); }
  void endProgram() override { inner_->endProgram(); }

 private:
  CleaningHost* inner_;
  CleaningHost* previous_;
};

}  // namespace glenvask::test
