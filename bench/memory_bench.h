// Working-set figures of the real program, beside a bare window program run
// the same way.
#pragma once

#include <cstdio>

// Prints "<screen size> <name> <MB>": bare-window-working-set,
// idle-working-set (the program in the tray before any capture) and
// capture-working-set (after a capture of the screen), or a line saying why
// a figure is missing. The programs are found beside the bench.
void RunMemoryBench(std::FILE* out);
