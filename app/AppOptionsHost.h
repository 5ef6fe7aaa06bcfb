#pragma once
#include <windows.h>

#include "ui/options/OptionsHost.h"

// The options pages' changes to the running program: the main window's tray icon and hot keys,
// and the Run value.
class AppOptionsHost : public OptionsHost {
public:
    AppOptionsHost(HWND mainWindow, HICON icon) : mainWindow_(mainWindow), icon_(icon) {}

    void showTrayIcon(bool shown) override;
    void rebindHotKey(int index, HotKeyCombination combination, HWND messageOwner) override;
    bool runsAtStartup() override;
    void setRunAtStartup(bool run) override;

private:
    HWND mainWindow_;
    HICON icon_;
};
