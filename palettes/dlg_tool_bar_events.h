// What the toolbar panel reports to its host.
#pragma once

#include "common/notifier.h"

class CDlgToolBarEvents : public CNotifierEventsBase {
public:
    virtual void OnSaveToDisk() {}
    virtual void OnRedo() {}
    virtual void OnUndo() {}
    virtual void OnSendEmail() {}
    virtual void OnFitToWindow() {}
    virtual void OnActualSize() {}
};
