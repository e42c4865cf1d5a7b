#pragma once
// The two decisions of the input hooks as small state machines: tick counts and points in,
// "notify" out. The hook procedures only feed them, so the rules are exact and testable.
#include <cstdint>
#include <vector>

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

// A right-button stroke of at least 32 points that ends right of and/or below its start.
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
    std::vector<StrokePoint> m_points;
};

} // namespace qt
