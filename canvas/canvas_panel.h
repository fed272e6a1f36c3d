// The annotation document: the captured picture, the committed items, the
// redo list, the selection, the active crop, zoom and scroll offsets. Turns
// the drawing surface's mouse events into item gestures for the current
// tool, runs undo, redo and Delete Item, paints the surface through its tile
// renderer (tile_renderer.h) and flattens picture and items into one image
// (canvas_panel_output.cpp).
//
// The surface and the scroll source given to Connect must outlive the panel.
// GDI+ started by StartGraphics stops when the panel is destroyed, so every
// factory (and its pending item) must be destroyed before the panel.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>
#include <objidl.h>

#include "canvas/canvas_host.h"
#include "canvas/canvas_item.h"
#include "canvas/darwing_static_events.h"
#include "canvas/gdiplus_objects.h"
#include "canvas/pixel_buffer.h"
#include "canvas/tile_renderer.h"
#include "canvas/view_transform.h"
#include "common/lumvex_dlg_events.h"
#include "framework/handles.h"

class CDrawingStatic;

class CCanvasPanel : public CDarwingStaticEvents, public CLumvexDlgEvents {
public:
    using ItemList = std::vector<std::unique_ptr<CCanvasItem>>;

    CCanvasPanel(CDrawingStatic& surface, ICanvasHost& host);
    ~CCanvasPanel() override;
    CCanvasPanel(const CCanvasPanel&) = delete;
    CCanvasPanel& operator=(const CCanvasPanel&) = delete;

    // Starts GDI+ for the process; it stops when the panel is destroyed.
    bool StartGraphics();
    // Listens to the surface's paint and mouse events and to the scroll
    // positions of the main window (may be null).
    void Connect(CNotifier<CLumvexDlgEvents>* scrollSource);

    // A new capture: the panel owns it. Drops every item, the history, the
    // selection, the crop and the current tool's pending item; zoom and
    // offsets stay.
    void SetBitmap(fw::GdiBitmap picture);
    // Also puts both offsets back to 0. At a zoom other than 1 the picture is
    // stretched for it once, here.
    void SetZoom(float zoomX, float zoomY);
    // Frees the stretched picture while nothing shows it (the window hid);
    // the next paint makes it again.
    void DropScaledPicture() noexcept;
    // Undo takes back the newest step still done: an item added, or one
    // deleted, which comes back at its place in the drawing order; Redo does
    // the newest step undone again.
    void Undo();
    void Redo();
    // Deletes the selected item, for undo to bring back.
    void DeleteSelectedItem();
    // Ends the typing into every text box, which then shows its text and no
    // longer has the keyboard. Every output does this first.
    void EndEditAll();

    // The flattened picture (cut to the active crop) as JPEG, quality 90.
    // False when nothing was written: no picture, an empty crop, no encoder
    // or a failed encode.
    bool SaveJpegToStream(IStream* stream);
    bool SaveJpegToFile(const wchar_t* path);
    // A new device-dependent bitmap of the flattened picture that the caller
    // owns; empty when there is nothing to flatten.
    fw::GdiBitmap GetFlattenedBitmap();

    // For the items. Takes the current factory's pending item at the end of
    // its gesture; anything else is ignored.
    void AddItem(CCanvasItem* item);
    CCanvasItem* GetSelectedItem() const noexcept { return m_selected; }
    // Clears the previous item's selected flag and sets the new one's.
    void SetSelectedItem(CCanvasItem* item) noexcept;
    CCanvasItem* GetActiveCrop() const noexcept { return m_activeCrop; }
    const ItemList& GetItems() const noexcept { return m_items; }
    const CViewTransform& GetTransform() const noexcept { return m_transform; }
    // The picture's size in image pixels; {0, 0} before the first capture.
    SIZE GetPictureSize() const noexcept { return SIZE{m_picture.Width(), m_picture.Height()}; }
    // Its size as the view shows it, at the zoom.
    SIZE GetPictureViewSize() const;
    HWND GetSurfaceWindow() const;

    // CDarwingStaticEvents
    void OnPaint(CDrawingStatic* sender, HDC dc, const RECT& update) override;
    void OnLButtonDown(UINT keyFlags, POINT point) override;
    void OnLButtonUp(UINT keyFlags, POINT point) override;
    void OnMouseMove(UINT keyFlags, POINT point) override;
    void OnLButtonDblClk(UINT keyFlags, POINT point) override;
    void OnRButtonUp(UINT keyFlags, POINT point) override;
    void OnRButtonDown(UINT keyFlags, POINT point) override;
    void OnSetCursor(POINT point) override;

    // CLumvexDlgEvents: the offsets asked for, kept within the picture.
    void OnScrollHorz(Sender* sender, int position) override;
    void OnScrollVert(Sender* sender, int position) override;

private:
    // Reaches what tests (and the bench) need beyond the public interface.
    friend class CCanvasPanelTestDriver;

    // One step of the document's history.
    struct Step {
        enum class Kind { Added, Deleted };
        Kind kind;
        CCanvasItem* item;
        // Its place in the drawing order when it was deleted.
        size_t index;
        bool wasActiveCrop;
    };

    // Commits an item the caller made.
    void AddItem(std::unique_ptr<CCanvasItem> item);
    void SetTransform(const CViewTransform& transform);
    POINT ViewToImage(POINT view) const;
    // Takes an item off the picture as a step undo takes back.
    void Delete(CCanvasItem* item);
    // The current tool's pending item (made when there is none) in the
    // current colour; null without a tool or when the tool makes none.
    CCanvasItem* PendingItemForPress();
    // Draws the update rectangle (view coordinates) of the surface into dc.
    void PaintContent(HDC dc, const RECT& update);
    // The screen also shows the item being dragged out, the active crop's
    // darkening and the selection's handles; the output does not.
    CTileRenderer::DrawList CollectDrawn(bool forScreen) const;
    // The offset within the picture along one axis: the picture's far edge
    // never comes inside the surface's, and its near edge never leaves it.
    int ClampedOffset(int wanted, bool horizontal) const;
    void RepaintSurface(bool erase);
    // Picture and items (no crop, no pending item, no handles) cut to the
    // output rectangle; empty when there is nothing to output.
    CPixelBuffer Flatten() const;
    bool SaveJpeg(IStream* stream, const wchar_t* path);

    // COM for the thread, for the streams the output goes to.
    fw::ComScope m_com;
    gfx::GdiplusSession m_graphics;
    CDrawingStatic& m_surface;
    ICanvasHost& m_host;
    CNotifier<CLumvexDlgEvents>* m_scrollSource = nullptr;

    CCanvasItem* m_selected = nullptr;
    CCanvasItem* m_activeCrop = nullptr;
    ItemList m_redo;
    ItemList m_items;
    // Deleted items, kept for undo.
    ItemList m_deleted;
    std::vector<Step> m_undoSteps;
    std::vector<Step> m_redoSteps;
    // The one copy of the capture: GDI blits it, nothing converts it.
    CPixelBuffer m_picture;
    CViewTransform m_transform;
    // Paints the two above.
    CTileRenderer m_renderer{m_picture, m_transform};
};
