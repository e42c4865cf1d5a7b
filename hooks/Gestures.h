#pragma once
// The two decisions of the input hooks as small state machines: tick counts and points in,
// "notify" out. The hook procedures only feed them, so the rules are exact and testable, and
// nothing in them allocates, blocks or calls out: they run inside the hook callbacks.
#include <cstddef>
#include <cstdint>

namespace qt {

// Ctrl released twice within 500 ms. Only releases are fed; presses and auto-repeat never are.
class CtrlTwiceDetector {
public:
    static constexpr uint32_t kWindowMs = 500;
    // A key release at `tick`; true when it completes a Ctrl-twice.
    bool OnKeyRelease(bool isControl, uint32_t tick);

private:
    uint32_t m_firstTick = 0;
    bool m_firstSeen = false;
};

struct StrokePoint {
    int32_t x;
    int32_t y;
};

// A right-button stroke of at least 32 points that ends right of and/or below its start. Only
// the first point, the last point and the count decide, so that is all a stroke keeps: a long
// drag costs nothing, and the mouse hook never allocates.
class GestureDetector {
public:
    static constexpr size_t kMinPoints = 32;
    void OnRightDown(StrokePoint point);
    void OnMove(StrokePoint point);
    // True when the finished stroke is the gesture.
    bool OnRightUp();
    bool Recording() const { return m_recording; }

private:
    bool m_recording = false;
    size_t m_count = 0;
    StrokePoint m_first{};
    StrokePoint m_last{};
};

} // namespace qt
