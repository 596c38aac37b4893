#include "services/shutdown.h"

#include <windows.h>

#include "win/seams.h"

namespace glenvask {

bool ShutDownWindows() { return outside().exitWindows(EWX_SHUTDOWN); }
bool PowerOffWindows() { return outside().exitWindows(EWX_POWEROFF); }
bool LogOffWindows() { return outside().exitWindows(EWX_LOGOFF); }
bool ForceShutDownWindows() { return outside().exitWindows(EWX_SHUTDOWN | EWX_FORCE); }
bool RestartWindows() { return outside().exitWindows(EWX_REBOOT); }

}  // namespace glenvask
