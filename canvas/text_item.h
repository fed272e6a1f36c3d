// A box of text. The user drags out its rectangle with the text tool; on
// release the item's popup opens over the box and the user types into it.
// Once the popup is hidden the box shows the text, in the item's colour on
// white, in the lines the popup wrapped it into.
//
// The popup types the text at the size it has in the picture, whatever the
// zoom: its edit is the one that wraps the text, and the box, the screen at
// every zoom and the flattened picture draw those lines, laid out once in
// image pixels. A double click with the pointer
// opens the popup again (BeginEdit).
//
// The popup is shown through a message to a hidden window of the item, so
// that the release which asks for it has been handled in full first.
#pragma once

#include <string>

#include <windows.h>

#include "canvas/rect_item.h"
#include "canvas/text_layout.h"
#include "framework/handles.h"
#include "palettes/dlg_text_item.h"

class CTextItem : public CRectItem, public CDlgTextItemEvents {
public:
    explicit CTextItem(CCanvasPanel* owner);
    ~CTextItem() override;

    // The whole box, text or none.
    bool HitTestBody(int x, int y) override;
    // Neither moves nor resizes while the text is being typed. A resized box
    // wraps its text anew and never gets shorter than its lines.
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void MoveHandle(int x, int y, int viewX, int viewY, int handle) override;
    // Opens the popup over the box.
    void BeginEdit() override;
    // Commits what was typed and hides the popup.
    void EndEdit() override;
    // A click without motion opens a box of a default size at the click; no
    // box is less than one line high.
    void OnLButtonUp(POINT view, POINT image) override;
    // The popup follows the box wherever the view moves it.
    void UpdateViewCoords(const CViewTransform& transform) override;
    void Draw(gfx::Graphics& graphics) override;
    void AppendAppearance(std::vector<std::int64_t>& appearance) const override;

    const std::wstring& GetText() const noexcept { return m_text; }
    bool IsEditing() const noexcept { return m_popup.IsTyping(); }
    HFONT GetFont() const noexcept { return m_font.get(); }
    // The text's lines as the box shows them, in image pixels.
    const CTextLayout& GetLayout() const noexcept { return m_layout; }

    // CDlgTextItemEvents
    void OnTextHidden() override;
    void OnTextResized() override;

private:
    static LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept;
    LRESULT ShowEditor();
    // Lays the popup over the box, inside its border, at the box's size in
    // image pixels (or only moves it there).
    void PlacePopup(bool resize);
    // Makes the box as tall as the popup (with its 1-pixel frame); its top
    // stays. False when it already was.
    bool FitHeightToPopup();
    // Gives the box this height in image pixels, its top staying; false when
    // it had it.
    bool SetImageHeight(int height);
    // Lays the text out at the box's width; grows the box when its lines
    // need more height. True when the box changed (and was repainted).
    bool LayOutText();
    // A box of the default width where it has none, and one line high where
    // it is less.
    void GiveRoomToType();

    fw::GdiFont m_font;
    fw::Window m_hiddenWindow;
    CDlgTextItem m_popup;
    std::wstring m_text;
    CTextLayout m_layout;
};
