// A box of text. The user drags out its rectangle with the text tool; on
// release the item's popup opens over the box and the user types into it.
// Once the popup is hidden the box shows the text, word-wrapped and cut at
// its bottom, in the item's colour on white. A double click with the pointer
// opens the popup again (BeginEdit).
//
// The popup is shown through a message to a hidden window of the item, so
// that the release which asks for it has been handled in full first.
#pragma once

#include <string>

#include <windows.h>

#include "canvas/canvas_item.h"
#include "framework/handles.h"
#include "palettes/dlg_text_item.h"

class CTextItem : public CCanvasItem, public CDlgTextItemEvents {
public:
    explicit CTextItem(CCanvasPanel* owner);
    ~CTextItem() override;

    POINT GetHandlePoint(int handle) const override;
    HCURSOR GetHandleCursor(int handle) const override;
    // The whole box, text or none.
    bool HitTestBody(int x, int y) override;
    // Neither moves nor resizes while the text is being typed.
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    // Opens the popup over the box.
    void BeginEdit() override;
    // Commits what was typed and hides the popup.
    void EndEdit() override;
    void OnLButtonUp(POINT view, POINT image) override;
    void Draw(gfx::Graphics& graphics) override;
    void DrawFeedback(gfx::Graphics& graphics) override;
    void AppendAppearance(std::vector<std::int64_t>& appearance) const override;

    const std::wstring& GetText() const noexcept { return m_text; }
    bool IsEditing() const noexcept { return m_popup.IsTyping(); }
    HFONT GetFont() const noexcept { return m_font.get(); }

    // CDlgTextItemEvents
    void OnTextHidden() override;
    void OnTextResized() override;

private:
    static LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept;
    LRESULT ShowEditor();
    // Makes the box as tall as the popup (with its 1-pixel frame); its top
    // stays. False when it already was.
    bool FitHeightToPopup();

    fw::GdiFont m_font;
    // The font of the popup at a zoom other than 1, and that zoom.
    fw::GdiFont m_editorFont;
    float m_editorZoom = 1.0f;
    fw::Window m_hiddenWindow;
    CDlgTextItem m_popup;
    std::wstring m_text;
};
