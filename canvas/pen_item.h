// A freehand stroke: the polyline of every mouse position while the button
// was held. New segments go straight to the screen while drawing; the stroke
// is drawn properly from its points at the next paint.
#pragma once

#include <vector>

#include "canvas/canvas_item.h"

class CPenItem : public CCanvasItem {
public:
    explicit CPenItem(CCanvasPanel* owner) noexcept;

    POINT GetHandlePoint(int handle) const override;
    // The area the stroke encloses (closing it from last to first point).
    bool HitTestBody(int x, int y) override;
    void Offset(int dx, int dy, int viewDx, int viewDy) override;
    void Draw(gfx::Graphics& graphics) override;
    // The newest segment, in view coordinates.
    void DrawFeedback(gfx::Graphics& graphics) override;
    void OnLButtonDown(POINT view, POINT image) override;
    void OnLButtonUp(POINT view, POINT image) override;
    void OnMouseMove(POINT view, POINT image) override;
    RECT GetDrawBounds() const override;
    void AppendAppearance(std::vector<std::int64_t>& appearance) const override;
    // The whole stroke: its first and last points may lie anywhere in it.
    RECT GetViewBounds() const override;

    const std::vector<POINT>& GetPoints() const noexcept { return m_points; }

protected:
    // A stroke that comes back to where it started still counts.
    bool HasExtent() const override;

private:
    void AddPoint(POINT view, POINT image);
    gfx::Pen MakePen() const;
    void ClearCache() noexcept;

    gfx::Region m_hitRegion;
    gfx::Path m_hitPath;
    std::vector<POINT> m_points;
    POINT m_currentView{};
    POINT m_previousView{};
};
