#include "palettes/swatch_navigation.h"

size_t SwatchInDirection(size_t from, WPARAM key, size_t columns, size_t count) noexcept {
    if (count == 0 || columns == 0 || from >= count)
        return from;
    const size_t rows = (count + columns - 1) / columns;
    switch (key) {
    case VK_LEFT:
        return (from + count - 1) % count;
    case VK_RIGHT:
        return (from + 1) % count;
    case VK_UP:
    case VK_DOWN: {
        const size_t column = from % columns;
        size_t row = from / columns;
        // A last row that is short has no place in some columns: skip it.
        do
            row = key == VK_DOWN ? (row + 1) % rows : (row + rows - 1) % rows;
        while (row * columns + column >= count);
        return row * columns + column;
    }
    case VK_HOME:
        return 0;
    case VK_END:
        return count - 1;
    default:
        return from;
    }
}
