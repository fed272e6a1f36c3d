// Moving through the palette's swatches with the arrow keys: a grid of rows
// of equal length, in reading order.
#pragma once

#include <windows.h>

#include <cstddef>

// The swatch a key moves to from `from`, of `count` swatches laid out in
// rows of `columns`. Left and Right step through all of them in reading
// order, from the end of a row to the next, and wrap around; Up and Down
// keep the column and wrap from the last row to the first; Home and End go
// to the first and last. Any other key stays.
size_t SwatchInDirection(size_t from, WPARAM key, size_t columns, size_t count) noexcept;
