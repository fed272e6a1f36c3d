// One annotation on the capture: the base of every item kind. Items live in
// image coordinates; each also keeps its two defining points in view
// coordinates for invalidation and on-screen feedback.
//
// An item is made pending by its tool's factory, follows one gesture (press,
// moves, release) and is handed to the panel's AddItem when the release
// finds it has a size.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

#include "canvas/gdiplus_objects.h"

class CCanvasPanel;
class CViewTransform;

class CCanvasItem {
public:
    CCanvasItem(CCanvasPanel* owner, int handleCount, bool repaintOnDrag) noexcept;
    virtual ~CCanvasItem() = default;
    CCanvasItem(const CCanvasItem&) = delete;
    CCanvasItem& operator=(const CCanvasItem&) = delete;

    // Handles are numbered from 1.
    virtual int GetHandleCount() const;
    virtual POINT GetHandlePoint(int handle) const;
    // The 7 x 7 square around the handle point (right and bottom exclusive).
    virtual RECT GetHandleRect(int handle) const;
    // Null: no cursor.
    virtual HCURSOR GetHandleCursor(int handle) const;
    // Black squares on the handles, only while selected.
    virtual void DrawHandles(gfx::Graphics& graphics);
    // The square of one handle, only while selected.
    void DrawHandle(gfx::Graphics& graphics, int handle);
    // A handle number while selected and on one, 0 on the body, -1 otherwise.
    virtual int HitTest(int x, int y);
    virtual bool HitTestBody(int x, int y);
    virtual void Offset(int dx, int dy, int viewDx, int viewDy);
    virtual void MoveHandle(int x, int y, int viewX, int viewY, int handle);
    virtual void BeginEdit();
    virtual void EndEdit();
    // In image coordinates.
    virtual void Draw(gfx::Graphics& graphics) = 0;
    // Straight on the screen, in view coordinates, during a drag.
    virtual void DrawFeedback(gfx::Graphics& graphics) = 0;
    virtual void OnLButtonDown(POINT view, POINT image);
    virtual void OnLButtonUp(POINT view, POINT image);
    virtual void OnMouseMove(POINT view, POINT image);
    // A press, unless the kind gives double clicks a meaning of its own.
    virtual void OnLButtonDblClk(POINT view, POINT image);

    // Everything Draw may touch, in image coordinates: painting skips items
    // outside the area it redraws.
    virtual RECT GetDrawBounds() const;
    // What the item covers on the surface, in view coordinates, for
    // repainting it where it moves: the rectangle of its two points, unless
    // it draws beyond them.
    virtual RECT GetViewBounds() const;

    // Everything Draw's result depends on, as numbers: two items (or one
    // item at two times) with the same appearance draw the same pixels. The
    // screen keeps items' pixels while their appearance stays. Kinds that
    // draw more than their two points, colour and state add it.
    virtual void AppendAppearance(std::vector<std::int64_t>& appearance) const;

    // The two kinds the panel and the pointer tool treat specially.
    virtual bool IsCropItem() const { return false; }
    virtual bool IsPointerItem() const { return false; }

    // The normalised rectangles of the two points.
    RECT GetImageRect() const;
    RECT GetViewRect() const;
    // The view points anew after the view changed (zoom, scrolling).
    virtual void UpdateViewCoords(const CViewTransform& transform);

    CCanvasPanel* GetOwner() const noexcept { return m_owner; }
    bool IsSelected() const noexcept { return m_selected; }
    void SetSelected(bool selected) noexcept { m_selected = selected; }
    bool IsTracking() const noexcept { return m_tracking; }
    bool RepaintsOnDrag() const noexcept { return m_repaintOnDrag; }
    COLORREF GetColor() const noexcept { return m_color; }
    void SetColor(COLORREF color) noexcept { m_color = color; }
    POINT GetPoint1() const noexcept { return m_point1; }
    POINT GetPoint2() const noexcept { return m_point2; }
    POINT GetViewPoint1() const noexcept { return m_viewPoint1; }
    POINT GetViewPoint2() const noexcept { return m_viewPoint2; }

protected:
    // Adds the deltas to both points in both spaces.
    void OffsetPoints(int dx, int dy, int viewDx, int viewDy) noexcept;
    // Whether the release of a gesture commits the item: it has a size.
    virtual bool HasExtent() const;

    // The drawing surface's window, or null when the item has no panel.
    HWND SurfaceWindow() const;
    // Invalidates a view rectangle (or all) of the surface and paints it now.
    void RepaintSurface(const RECT* rect, bool erase) const;

    int m_handleCount;
    bool m_selected = false;
    bool m_tracking = false;
    POINT m_point1{};
    POINT m_point2{};
    POINT m_viewPoint1{};
    POINT m_viewPoint2{};
    CCanvasPanel* m_owner;
    COLORREF m_color = RGB(255, 0, 0);
    bool m_repaintOnDrag;
};

// Light steel blue: the outline of an item being dragged out.
constexpr gfx::Argb kTrackingOutline = 0xFFB0C4DE;
