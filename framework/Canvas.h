#pragma once
// One off-screen drawing surface for the thread, lent to whoever paints next. Controls that
// compose their look off screen and copy it in one go would otherwise make and delete a memory
// DC and a bitmap on every paint, which under Wine costs more than the drawing itself.
#include "Handles.h"
#include <windows.h>

namespace fw {

class CanvasLease {
public:
    // A memory DC compatible with `like`, at least width x height; null if none can be made.
    // The surface's old content is undefined: the borrower paints all of what it copies. A
    // paint inside a paint gets a surface of its own for the time of its lease.
    CanvasLease(HDC like, int width, int height);
    ~CanvasLease();
    CanvasLease(const CanvasLease&) = delete;
    CanvasLease& operator=(const CanvasLease&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    int m_savedState = 0;
    bool m_shared = false;
    UniqueHdc m_ownDc;
    UniqueHBitmap m_ownBitmap;
    HGDIOBJ m_ownOriginal = nullptr;
};

} // namespace fw
