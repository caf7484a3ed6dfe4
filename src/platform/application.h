#pragma once
// Facts about the running program that several windows need.
#include <string>

namespace platform {

std::string ExePath();    // full path of the running executable
std::string ExeFolder();  // its folder, ending in "\"
// The application title: the executable's file name without folder and without everything
// from its first "." on, the first letter kept and the others in lower case ("Quenby").
std::string ApplicationTitle();
std::string TitleFromExeName(const std::string& path);

}  // namespace platform
