#pragma once
// A window's client area painted into a bitmap of its own, to read its pixels.
#include "Handles.h"
#include <windows.h>

namespace lhltest {

class Snapshot {
public:
    Snapshot(HWND window, UINT message) {
        ::GetClientRect(window, &m_rect);
        HDC screen = ::GetDC(nullptr);
        m_dc.reset(::CreateCompatibleDC(screen));
        m_bitmap.reset(::CreateCompatibleBitmap(screen, m_rect.right, m_rect.bottom));
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
        ::SendMessageW(window, message, reinterpret_cast<WPARAM>(m_dc.get()), PRF_CLIENT);
    }
    // What the screen shows in a rectangle of it.
    explicit Snapshot(const RECT& onScreen) {
        m_rect = RECT{0, 0, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top};
        HDC screen = ::GetDC(nullptr);
        m_dc.reset(::CreateCompatibleDC(screen));
        m_bitmap.reset(::CreateCompatibleBitmap(screen, m_rect.right, m_rect.bottom));
        m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
        ::BitBlt(m_dc.get(), 0, 0, m_rect.right, m_rect.bottom, screen, onScreen.left, onScreen.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    }
    ~Snapshot() { ::SelectObject(m_dc.get(), m_old); }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    COLORREF At(POINT p) const { return ::GetPixel(m_dc.get(), p.x, p.y); }
    const RECT& Rect() const { return m_rect; }
    // From the first to the last row in [top, bottom) that holds a dark pixel (text on a light
    // face; smoothed edges count when clearly darker than the face); 0 when none does.
    static constexpr int kInkBelow = 3 * 150;
    int DarkRows(int top, int bottom) const {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < m_rect.right; ++x) {
                const COLORREF c = At(POINT{x, y});
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= kInkBelow) continue;
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }
    // From the first to the last column in rows [top, bottom) whose pixels differ from the one at
    // the top left corner (a picture on a plain face); 0 when none does.
    int ColumnsUnlikeCorner(int top, int bottom) const {
        const COLORREF face = At(POINT{1, 1});
        int first = -1, last = -1;
        for (int x = 0; x < m_rect.right; ++x) {
            for (int y = top; y < bottom; ++y) {
                if (At(POINT{x, y}) == face) continue;
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }

private:
    RECT m_rect{};
    fw::UniqueHdc m_dc;
    fw::UniqueHBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};

} // namespace lhltest
