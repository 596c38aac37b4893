#include <windows.h>

#include "services/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return glenvask::Main(); }
