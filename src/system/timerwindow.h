// A hidden window with its own window procedure and window-message timers.
//
// Ticks arrive as WM_TIMER messages through the GUI event loop, never overlapping one another.
// Tests drive time through Fire() instead of sleeping, and can make SetTimer fail.
#pragma once

#include "system/messages.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class TTimerWindow {
  public:
    using TWndProc = std::function<void(TMessage&)>;
    explicit TTimerWindow(TWndProc wndProc);
    ~TTimerWindow();
    TTimerWindow(const TTimerWindow&) = delete;
    TTimerWindow& operator=(const TTimerWindow&) = delete;

    // Starts (or restarts, with a fresh period) timer `id`; false when the system refuses.
    bool SetTimer(unsigned id, int intervalMs);
    void KillTimer(unsigned id);
    bool IsRunning(unsigned id) const;
    int Interval(unsigned id) const;

    // Delivers a message to the window procedure at once.
    LRESULT Send(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Delivers the tick of timer `id` now, as the event loop would.
    void Fire(unsigned id);

    // Test seam: while set and returning false, SetTimer fails as if no timers were left.
    static void SetAllowTimersHook(std::function<bool()> hook);
    // Every window alive, for tests that drive time.
    static const std::vector<TTimerWindow*>& All();

  private:
    class TEventTarget;
    TWndProc FWndProc;
    std::unique_ptr<TEventTarget> FTarget;
    std::map<unsigned, std::pair<int, int>> FTimers; // id -> (qt timer id, interval)
};
