// The program's entry: one instance at a time.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace glenvask {

// Runs the program; returns its exit code.
int Main();

// Brings the running instance's main window to the front, restored if it was minimised.
// False when no running instance's window was found.
bool ShowPrevInstance();

// The argument text of a command line: all that follows the program's name.
std::string argumentText(std::wstring_view commandLine);

}  // namespace glenvask
