#pragma once
#include <windows.h>

// Marks the menu-bar item under the pointer. The platform reports the pointer entering the
// bar (hit testing) but not leaving it, so a 100 ms timer watches until it has gone.
class MenuBarHover {
public:
    static constexpr UINT_PTR kTimer = 31;
    static constexpr UINT kPeriodMs = 100;

    // From hit testing: `screen` is the pointer.
    void track(HWND window, POINT screen);
    // True when the timer was this one's.
    bool onTimer(HWND window, UINT_PTR id);
    // The platform takes over while a menu is open.
    void stop(HWND window);
    void setMenuLoop(HWND window, bool inLoop);

private:
    void setHot(HWND window, int position);

    int hotItem_ = -1;
    bool timerRunning_ = false;
    bool inMenuLoop_ = false;
};
