// A button (a radio button in practice) that paints no background, so that
// the dialog's picture shows through around its caption.
#pragma once

#include "framework/control.h"

class CTransparentBtn : public fw::Control {
public:
    bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
