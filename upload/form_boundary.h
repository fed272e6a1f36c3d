// The boundary between an upload's form parts.
#pragma once

#include <string>

// A fresh boundary: a new GUID's text without its dashes, 32 lower-case
// hexadecimal digits. Empty when no GUID could be made.
std::string MakeBoundary();
