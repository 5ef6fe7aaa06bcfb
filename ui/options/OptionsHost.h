#pragma once
#include <windows.h>

#include "app/Settings.h"

// What the options pages change in the running program beyond the settings they edit; the
// application implements it.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    // Shows or removes the tray icon.
    virtual void showTrayIcon(bool shown) = 0;
    // Hot key 0 (show the window), 1 (previous item) or 2 (next item) takes the combination at
    // once; a refusal is reported in a box owned by messageOwner, and the combination still kept.
    virtual void rebindHotKey(int index, HotKeyCombination combination, HWND messageOwner) = 0;
    // Start with Windows.
    virtual bool runsAtStartup() = 0;
    virtual void setRunAtStartup(bool run) = 0;
};
