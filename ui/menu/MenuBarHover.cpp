#include "ui/menu/MenuBarHover.h"

#include "ui/menu/IconMenuItemData.h"

namespace {
CIconMenuItemData* barItem(HWND window, int position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    HMENU bar = GetMenu(window);
    if (!bar || position < 0 || !GetMenuItemInfoA(bar, static_cast<UINT>(position), TRUE, &info)) return nullptr;
    return (info.fType & MFT_OWNERDRAW) ? CIconMenuItemData::from(info.dwItemData) : nullptr;
}

int itemUnder(HWND window, POINT screen) {
    HMENU bar = GetMenu(window);
    return bar ? MenuItemFromPoint(window, bar, screen) : -1;
}
}  // namespace

void MenuBarHover::track(HWND window, POINT screen) {
    if (inMenuLoop_) return;
    const int position = itemUnder(window, screen);
    if (position < 0) return;
    setHot(window, position);
    if (!timerRunning_) timerRunning_ = SetTimer(window, kTimer, kPeriodMs, nullptr) != 0;
}

bool MenuBarHover::onTimer(HWND window, UINT_PTR id) {
    if (id != kTimer) return false;
    POINT cursor;
    GetCursorPos(&cursor);
    const int position = itemUnder(window, cursor);
    if (position < 0) stop(window);
    else setHot(window, position);
    return true;
}

void MenuBarHover::stop(HWND window) {
    if (timerRunning_) KillTimer(window, kTimer);
    timerRunning_ = false;
    setHot(window, -1);
}

void MenuBarHover::setMenuLoop(HWND window, bool inLoop) {
    inMenuLoop_ = inLoop;
    if (inLoop) stop(window);
}

void MenuBarHover::setHot(HWND window, int position) {
    if (position == hotItem_) return;
    if (CIconMenuItemData* old = barItem(window, hotItem_)) old->hot = false;
    if (CIconMenuItemData* now = barItem(window, position)) now->hot = true;
    hotItem_ = position;
    DrawMenuBar(window);
}
