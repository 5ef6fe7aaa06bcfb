#pragma once
#include <cstdint>
#include <string>

// The values of config.cfg held in memory, one field per key, named as the key. Defaults are
// those of a missing file. RestoreClipboard and Sleep are process-wide (clipboard/ClipboardState.h),
// DBPath is dbPath; SelDlgX, SelDlgY, VacuumCount and OptionsIndex are read when needed.
struct HotKeyCombination {
    uint16_t modifiers;  // registration flags: 1 Alt, 2 Control, 4 Shift, 8 Windows key
    uint16_t key;        // virtual-key code; 0 = no hot key
};

struct Settings {
    HotKeyCombination HotKeyMain = {2, 68};      // HotKeyVK, HotKey: Ctrl+D
    HotKeyCombination HotKeyPrevious = {6, 38};  // HotKeyPrevVK, HotKeyPrev: Ctrl+Shift+Up
    HotKeyCombination HotKeyNextItem = {6, 40};  // HotKeyNextVK, HotKeyNext: Ctrl+Shift+Down
    bool ShowToolTip = true;
    int HideWindowAfter = 1;
    int CountItemsInRange = 50;
    int CountMenuItemsInRange = 15;
    bool MonitorClipBoard = true;
    bool SaveItemsInDataBase = true;
    int LimitRecordsInDB = 3000;
    bool CaptureImage = true;
    bool HideOnFocusLost = false;
    bool MoveSelection = true;
    std::string ExceptApp = ",yarrowkit.exe,brindlepod.exe,";
    bool IconInTray = true;
};
