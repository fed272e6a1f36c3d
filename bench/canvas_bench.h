// Paint and output figures of the canvas with a crowded picture.
#pragma once

#include <cstdio>

// Prints the canvas figures for one picture size, one per line as
// "<size> <name> <value>": at actual size and at the zoom that fits the
// picture to the surface ("-fit" after the size), the platform's own copy of
// the picture (blit), the panel's paint without and with 100 items, a drag
// and a pointer move; then the JPEG encoder alone and the whole flatten.
void RunCanvasBench(int pictureWidth, int pictureHeight, std::FILE* out);
