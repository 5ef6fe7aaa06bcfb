#pragma once
#include <windows.h>

// While installed, every menu window ("#32768") this thread creates is subclassed as it is
// created: themes are switched off for it (the items are ours to paint) and, in the looks that
// have one, it gets a flat frame. The previous window procedure waits in the window property
// "PrevMenuProc" and is put back when the window goes.
class MenuWindowHook {
public:
    MenuWindowHook() = default;
    ~MenuWindowHook() { remove(); }
    MenuWindowHook(const MenuWindowHook&) = delete;
    MenuWindowHook& operator=(const MenuWindowHook&) = delete;

    void install();
    void remove();

private:
    static LRESULT CALLBACK OnCallWndProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void subclass(HWND menuWindow);
    static void paintFlatFrame(HWND menuWindow);

    HHOOK hook_ = nullptr;
};
