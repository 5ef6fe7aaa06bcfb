#pragma once
#include <windows.h>

// The tray icon's popup menu: the service commands, the Help submenu, Exit, and below a
// separator the newest history items (oldest of them at the top), rebuilt at every opening.
class TrayMenu {
public:
    static constexpr int kFirstRecentCommand = 11101;
    static constexpr int kRecentCommandBase = 11100;
    static constexpr int kLastRecentCommand = 11200;

    TrayMenu() = default;
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    void build();
    // Refreshes the check mark and the recent items, then tracks the menu at the cursor; the
    // chosen command goes to `owner`. A database failure is reported and the menu stays shut.
    void show(HWND owner, bool monitorClipBoard, int recentCount);
    // Record id of the recent item with this command, or -1.
    int recordIdOf(int command) const;
    HMENU handle() const { return menu_; }

private:
    void fillRecentItems(int recentCount);

    HMENU menu_ = nullptr;
};
