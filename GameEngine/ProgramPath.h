#pragma once
#include <string>

// The program's folder (with its trailing separator) followed by the relative path unchanged.
std::string ProgramPath(const std::string& relative);
