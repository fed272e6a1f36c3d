// Paint and output figures of the canvas with a crowded picture.
#pragma once

#include <cstdio>

// Prints the canvas figures for one picture size, one per line.
void RunCanvasBench(int pictureWidth, int pictureHeight, std::FILE* out);
