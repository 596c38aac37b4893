#include "services/shutdown.h"

#include <gtest/gtest.h>

#include "support/scripted.h"

namespace glenvask {
namespace {

TEST(Shutdown, EachEntryAsksForItsOwnExit) {
  struct Case {
    const char* name;
    bool (*call)();
    UINT flags;
  } cases[] = {
      {"Shutdown", ShutDownWindows, EWX_SHUTDOWN},
      {"Power Off", PowerOffWindows, EWX_POWEROFF},
      {"Log Off", LogOffWindows, EWX_LOGOFF},
      {"Force Shutdown", ForceShutDownWindows, EWX_SHUTDOWN | EWX_FORCE},
      {"Restart", RestartWindows, EWX_REBOOT},
  };
  for (const auto& c : cases) {
    test::RecordingOutside outside;
    EXPECT_TRUE(c.call()) << c.name;
    EXPECT_EQ(outside.exits, std::vector<UINT>{c.flags}) << c.name;
    outside.result = false;  // a refused request is reported as such
    EXPECT_FALSE(c.call()) << c.name;
  }
}

}  // namespace
}  // namespace glenvask
