// What the text entry popup reports to the text item that owns it.
#pragma once

#include "common/notifier.h"

class CDlgTextItemEvents : public CNotifierEventsBase {
public:
    // The popup is being hidden; its text holds what was typed.
    virtual void OnTextHidden() {}
    // The popup has changed size and the edit fills it again.
    virtual void OnTextResized() {}
};
