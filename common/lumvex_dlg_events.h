// What the main window reports to the canvas: its scroll bars' positions.
#pragma once

#include "common/notifier.h"

class CLumvexDlgEvents : public CNotifierEventsBase {
public:
    using Sender = CNotifier<CLumvexDlgEvents>;

    // The horizontal scroll bar's thumb moved to position (view pixels).
    virtual void OnScrollHorz(Sender* /*sender*/, int /*position*/) {}
    // The same for the vertical scroll bar.
    virtual void OnScrollVert(Sender* /*sender*/, int /*position*/) {}
};
