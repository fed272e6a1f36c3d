// A borderless layered popup for notifications about the product. The main
// window creates it hidden and destroys it at the end; a click inside it or
// its hide timer hides it again.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

class CDlgNotify : public fw::Dialog {
public:
    CDlgNotify() noexcept;
    ~CDlgNotify() override;

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Hide();
    void ReleasePicture() noexcept;

    // What the popup would show, and the bitmap it replaced in the memory
    // context (not owned). Both stay empty until something is shown.
    fw::MemoryDc m_memoryDc;
    HGDIOBJ m_oldBitmap = nullptr;
};
