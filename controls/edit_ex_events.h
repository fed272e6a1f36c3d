// What a CEditEx reports.
#pragma once

#include "common/notifier.h"

class CEditExEvents : public CNotifierEventsBase {
public:
    // The left mouse button went down in the edit (before the edit places
    // its caret).
    virtual void OnEditClicked() {}
};
