// The program's folder and the files beside the executable.
#pragma once

#include <string>
#include <string_view>

namespace glenvask {

// The folder of the executable, without a trailing backslash.
std::string appPath();
// Tests point the program at a scratch folder; an empty text restores the real one.
void setAppPath(std::string path);
// appPath() + "\" + name.
std::string appFile(std::string_view name);

std::string moduleFileName();

bool fileExists(std::string_view path);
bool folderExists(std::string_view path);

}  // namespace glenvask
