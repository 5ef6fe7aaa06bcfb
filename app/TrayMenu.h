#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ui/menu/IconMenu.h"

class CIconMenuStrip;

// The tray icon's popup menu: the service commands, the Help submenu, Exit, and below a
// separator the newest history items (oldest of them at the top), rebuilt at every opening.
class TrayMenu {
public:
    static constexpr int kFirstRecentCommand = 11101;
    static constexpr int kRecentCommandBase = 11100;
    static constexpr int kLastRecentCommand = 11200;

    TrayMenu() = default;
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // The fixed part with the strip's icons; recent items show `itemImages` (the item list's).
    void build(const CIconMenuStrip& icons, HIMAGELIST itemImages);
    // Refreshes the check mark and the recent items, then tracks the menu at the cursor; the
    // chosen command goes to `owner`. A database failure is reported and the menu stays shut.
    void show(HWND owner, bool monitorClipBoard, int recentCount);
    // The refresh alone; false when the database failed (reported to `owner`).
    bool refresh(HWND owner, bool monitorClipBoard, int recentCount);
    // Record id of the recent item with this command, or -1.
    int recordIdOf(int command) const;
    HMENU handle() const { return menu_.handle(); }

private:
    void fillRecentItems(int recentCount);

    CIconMenu helpMenu_;
    CIconMenu menu_;
    HIMAGELIST itemImages_ = nullptr;
};
