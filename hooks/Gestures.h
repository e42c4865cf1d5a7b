#pragma once
// The decisions of the input hooks: the two detectors as small state machines (tick counts and
// points in, "notify" out), and who may take a hook and hand on the foreground. The hook
// procedures only feed them, so the rules are exact and testable, and nothing in them
// allocates, blocks or calls out: they run inside the hook callbacks.
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

// Who may take a hook recorded in the shared data. Windows lets only the process that set a
// hook remove it while it lives, and takes it away by itself when that process's hook thread
// ends; so a live hook of another process is asked for, never removed from here, and the
// handle left by an owner that is gone is only forgotten.
enum class HookClaim {
    Install,     // nothing recorded: set a new hook
    AlreadyOurs, // this process's own hook: nothing to do
    AskOwner,    // another process's live hook: its owner must release it first
    ForgetStale, // its owner is gone, and the hook with it: forget the handle, then install
};
HookClaim ClaimHook(bool recorded, bool ours, bool ownerAlive);

// The process to let take the foreground once a hook has told the panel to show itself; 0 for
// none. Windows honours AllowSetForegroundWindow only from the process that has the foreground
// (or may take it): a grant from any other process is refused, and the panel's own process
// needs none from itself.
uint32_t ForegroundGrantee(uint32_t foregroundProcess, uint32_t thisProcess, uint32_t panelProcess);

} // namespace qt
