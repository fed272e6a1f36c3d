// How many GDI objects this process holds, for leak checks.
#pragma once

#include <functional>
#include <string>

// GetGuiResources where the platform implements it; otherwise (Wine) the
// used entries of the process's GDI handle table. -1 when neither works.
int GdiObjectCount();

// Wine makes a cached DC for every GetDC while the cached ones are all in
// use, and keeps it (three objects a DC): takes many at once, so that the
// cache is as large as a process ever needs and its growth is not taken for
// a leak.
void FillWindowDcCache();

// The GDI objects held after a warm-up of `round` and after two further
// spans of `span` rounds each.
struct GdiGrowth {
    int warm = 0;
    int middle = 0;
    int last = 0;
    int span = 0;

    // Wine's own caches (theme parts, fonts, brushes) fill up during the
    // first rounds, sooner or later with the machine's load, and then stay;
    // a leak keeps growing, by at least one object a round. So a leak grows
    // in both spans, and by a round's worth in the second.
    bool Leaks() const { return middle > warm && last > middle && last - middle >= span; }
    std::string Describe() const;
};

// Runs `round` warmUp times, then twice `span` times, counting after each
// part once `settle` has run. Wine's cache of window DCs grows whenever more
// are in use at once than it holds (under load, paints pile up), three
// objects a DC; it is filled beforehand, so that its growth is not taken
// for a leak.
GdiGrowth MeasureGdiGrowth(const std::function<void()>& round, int warmUp, int span,
                           const std::function<void()>& settle);
