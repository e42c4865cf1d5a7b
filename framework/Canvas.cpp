#include "Canvas.h"

namespace fw {
namespace {

struct Surface {
    UniqueHdc dc;
    UniqueHBitmap bitmap;
    HGDIOBJ original = nullptr;
    int width = 0, height = 0;
    bool lent = false;

    ~Surface() {
        if (dc && original) ::SelectObject(dc.get(), original);
    }
    // Made like a screen DC; every window's DC is one, and asking a DC for its format costs a
    // round trip to the server under Wine on every paint.
    bool Fits(int w, int h) const { return dc && w <= width && h <= height; }
    bool Make(HDC like, int w, int h) {
        if (dc && original) ::SelectObject(dc.get(), original);
        original = nullptr;
        bitmap.reset();
        dc.reset(::CreateCompatibleDC(like));
        // Grown a little beyond the request, so a slightly larger button does not remake it.
        width = w + w / 4, height = h + h / 4;
        bitmap.reset(dc ? ::CreateCompatibleBitmap(like, width, height) : nullptr);
        if (!dc || !bitmap) {
            dc.reset();
            bitmap.reset();
            return false;
        }
        original = ::SelectObject(dc.get(), bitmap.get());
        return true;
    }
};

thread_local Surface t_surface;

} // namespace

CanvasLease::CanvasLease(HDC like, int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (!t_surface.lent && (t_surface.Fits(width, height) || t_surface.Make(like, width, height))) {
        t_surface.lent = m_shared = true;
        m_dc = t_surface.dc.get();
        // Whatever the borrower selects or sets goes back with the lease.
        m_savedState = ::SaveDC(m_dc);
        return;
    }
    m_ownDc.reset(::CreateCompatibleDC(like));
    m_ownBitmap.reset(m_ownDc ? ::CreateCompatibleBitmap(like, width, height) : nullptr);
    if (!m_ownDc || !m_ownBitmap) return;
    m_ownOriginal = ::SelectObject(m_ownDc.get(), m_ownBitmap.get());
    m_dc = m_ownDc.get();
}

CanvasLease::~CanvasLease() {
    if (m_shared) {
        if (m_savedState) ::RestoreDC(m_dc, m_savedState);
        t_surface.lent = false;
    } else if (m_ownDc && m_ownOriginal) {
        ::SelectObject(m_ownDc.get(), m_ownOriginal);
    }
}

} // namespace fw
