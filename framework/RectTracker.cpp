#include "RectTracker.h"

namespace fw {

void CRectTracker::DrawFrame(HDC dc) const {
    // Two nested dotted frames read as the hatched border of a moving item.
    RECT outer = m_rect, inner = m_rect;
    ::InflateRect(&inner, -3, -3);
    ::DrawFocusRect(dc, &outer);
    ::DrawFocusRect(dc, &inner);
}

bool CRectTracker::TrackRubberBand(HWND window, POINT start) {
    const int width = m_rect.right - m_rect.left, height = m_rect.bottom - m_rect.top;
    auto centreOn = [&](POINT p) { m_rect = RECT{p.x - width / 2, p.y - height / 2, p.x - width / 2 + width, p.y - height / 2 + height}; };
    centreOn(start);
    ::SetCapture(window);
    HDC dc = ::GetDC(window);
    DrawFrame(dc);
    bool done = false, finished = false;
    MSG msg;
    while (!finished && ::GetCapture() == window && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            DrawFrame(dc);
            POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            if (msg.hwnd != window) ::MapWindowPoints(msg.hwnd, window, &p, 1);
            centreOn(p);
            DrawFrame(dc);
            break;
        }
        case WM_LBUTTONUP:
        case WM_LBUTTONDOWN:
            done = finished = true;
            break;
        case WM_RBUTTONDOWN:
            finished = true;
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) finished = true;
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    DrawFrame(dc);
    ::ReleaseDC(window, dc);
    if (::GetCapture() == window) ::ReleaseCapture();
    return done;
}

} // namespace fw
