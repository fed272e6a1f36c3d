// The system tests delete the program's settings and end every lumvex.exe
// they find. They run only inside the Wine prefix that scripts/test made for
// tests (its mark file says "test"), or where LUMVEX_SYSTEM_TESTS_HERE=1 asks
// for them explicitly: never on someone's own desktop by accident.
#pragma once

#include <string>

// Empty when the system tests may run with this Wine prefix (a Unix path, as
// WINEPREFIX gives it; empty outside Wine) and opt-in value; otherwise why
// they may not.
std::wstring WhyNotRunHere(const std::wstring& winePrefix, const std::wstring& optIn);
