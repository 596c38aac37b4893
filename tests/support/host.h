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
  RecordingHost& operator=(const RecordingHost&) = delete;

  void stopOperation(const std::string& text) override { stops.push_back(text); }
  void setStatus(const std::string& text) override { status = text; }
  void setProgress(int value) override { progress = value; }
  void reviewClosed(const ReviewOutcome& outcome) override { reviews.push_back(outcome); }

  std::vector<std::string> stops;
  std::string status;
  int progress = -1;
  std::vector<ReviewOutcome> reviews;

 private:
  CleaningHost* previous_;
};

}  // namespace glenvask::test
