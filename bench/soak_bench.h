// Soak figures: the program's whole work, cycle after cycle, in one process,
// through the real main window and the reference server.
#pragma once

#include <cstdio>

// One hundred cycles of: a capture, ten items with each tool (pen,
// highlight, arrow, text box typed into, crop; and ten moves with the
// pointer), fit and actual size, a copy, a save through the save dialog and
// an upload. After cycles 10 and 100 prints
// "soak-gdi-objects cycle=<n> value=<objects>",
// "soak-user-objects cycle=<n> value=<objects>" and
// "soak-working-set cycle=<n> value=<KB>", each on a line of its own, then
// "soak-time value=<ms>" for all the cycles; or a line saying why the soak
// stopped.
void RunSoakBench(std::FILE* out);
