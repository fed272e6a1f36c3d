// Files of this build (programs, test libraries) as Windows names them.
#pragma once

#include <string>

// The build names its files with paths of the machine it runs on: under Wine
// a Unix path, which Wine translates to its drive letters.
std::wstring WindowsPathOfBuildFile(const char* path);
