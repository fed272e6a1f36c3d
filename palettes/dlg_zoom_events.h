// What the zoom panel reports to its host.
#pragma once

#include "common/notifier.h"

class CDlgZoomEvents : public CNotifierEventsBase {
public:
    virtual void OnFitToWindow() {}
    virtual void OnActualSize() {}
};
