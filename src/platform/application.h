#pragma once
// Facts about the running program that several windows need.
#include <string>

namespace platform {

std::string ExePath();  // full path of the running executable
// Its folder, ending in "\" (what the program keeps beside itself goes there), or the
// environment's (platform/environment.h).
std::string ExeFolder();
// The application title: the executable's file name without folder and without everything
// from its first "." on, the first letter kept and the others in lower case ("Quenby").
std::string ApplicationTitle();
std::string TitleFromExeName(const std::string& path);

}  // namespace platform
