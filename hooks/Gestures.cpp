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
    m_count = 1;
    m_first = m_last = point;
}

void GestureDetector::OnMove(StrokePoint point) {
    if (!m_recording) return;
    m_last = point;
    if (m_count < kMinPoints) ++m_count; // beyond the minimum the exact count no longer matters
}

bool GestureDetector::OnRightUp() {
    bool gesture = false;
    if (m_recording && m_count >= kMinPoints) {
        const int64_t dx = static_cast<int64_t>(m_last.x) - m_first.x;
        const int64_t dy = static_cast<int64_t>(m_last.y) - m_first.y;
        gesture = dx >= 0 && dy >= 0;
    }
    m_recording = false;
    m_count = 0;
    return gesture;
}

HookClaim ClaimHook(bool recorded, bool ours, bool ownerAlive) {
    if (!recorded) return HookClaim::Install;
    if (ours) return HookClaim::AlreadyOurs;
    return ownerAlive ? HookClaim::AskOwner : HookClaim::ForgetStale;
}

uint32_t ForegroundGrantee(uint32_t foregroundProcess, uint32_t thisProcess, uint32_t panelProcess) {
    const bool mayGrant = foregroundProcess != 0 && foregroundProcess == thisProcess;
    return mayGrant && panelProcess != 0 && panelProcess != thisProcess ? panelProcess : 0;
}

} // namespace qt
