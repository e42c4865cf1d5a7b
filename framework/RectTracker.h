#pragma once
// Drags a frame of a fixed size over a window until the left button is released (done) or Esc
// or a right click cancels; the frame is drawn dotted and erased again with XOR.
#include <windows.h>

namespace fw {

class CRectTracker {
public:
    explicit CRectTracker(const RECT& rect) : m_rect(rect) {}
    // Tracks in `window`'s client coordinates, the frame centred on the mouse from `start`.
    // True when the user completed the drag; m_rect is then the final frame.
    bool TrackRubberBand(HWND window, POINT start);
    RECT m_rect;

private:
    void DrawFrame(HDC dc) const;
};

} // namespace fw
