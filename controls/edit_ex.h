// An edit control that tells its listeners when it is clicked.
#pragma once

#include "common/notifier.h"
#include "controls/edit_ex_events.h"
#include "framework/control.h"

class CEditEx : public fw::Control, public CNotifier<CEditExEvents> {
protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
