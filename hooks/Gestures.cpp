#include "Gestures.h"

namespace qt {

bool CtrlTwiceDetector::OnKeyRelease(bool isControl, uint32_t tick) {
    if (!isControl || m_firstSeen) {
        // A second Ctrl within the window notifies; anything else starts over.
        const bool twice = isControl && m_firstTick != 0 && tick - m_firstTick <= kWindowMs;
        m_firstTick = 0;
        m_firstSeen = false;
        return twice;
    }
    m_firstTick = tick;
    m_firstSeen = true;
    return false;
}

void GestureDetector::OnRightDown(StrokePoint point) {
    m_recording = true;
    m_points.clear();
    m_points.push_back(point);
}

void GestureDetector::OnMove(StrokePoint point) {
    if (m_recording) m_points.push_back(point);
}

bool GestureDetector::OnRightUp() {
    bool gesture = false;
    if (m_recording && m_points.size() >= kMinPoints) {
        const int64_t dx = static_cast<int64_t>(m_points.back().x) - m_points.front().x;
        const int64_t dy = static_cast<int64_t>(m_points.back().y) - m_points.front().y;
        gesture = dx >= 0 && dy >= 0;
    }
    m_recording = false;
    m_points.clear();
    return gesture;
}

} // namespace qt
