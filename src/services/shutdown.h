// Logging off, shutting down and restarting the machine, for the main window's menu. Each
// goes through outside().exitWindows (which takes the shutdown privilege first); no question
// is asked. Each returns whether the request was accepted.
#pragma once

namespace glenvask {

bool ShutDownWindows();       // shut down (EWX_SHUTDOWN)
bool PowerOffWindows();       // shut down and power off (EWX_POWEROFF)
bool LogOffWindows();         // log the user off (EWX_LOGOFF)
bool ForceShutDownWindows();  // shut down without waiting for programs (EWX_SHUTDOWN|EWX_FORCE)
bool RestartWindows();        // restart (EWX_REBOOT)

}  // namespace glenvask
