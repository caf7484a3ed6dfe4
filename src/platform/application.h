#pragma once
// Facts about the running program that several windows need.
#include <string>

namespace platform {

std::string ExePath();    // full path of the running executable
std::string ExeFolder();  // its folder, ending in "\" (what the program keeps beside itself goes there)
// Tests: the folder ExeFolder names instead (ending in "\"), so that test programs running at
// once never share a settings file or saved searches; empty restores the real one.
void SetExeFolderForTests(std::string folder);
// The application title: the executable's file name without folder and without everything
// from its first "." on, the first letter kept and the others in lower case ("Quenby").
std::string ApplicationTitle();
std::string TitleFromExeName(const std::string& path);

}  // namespace platform
