#pragma once
#include <windows.h>

// The one notification-area icon (id 1) of the main window.
const UINT WM_TRAY_CALLBACK = 3004;

namespace tray {
const char kStartupTip[] = "Yarrowkit Utility";
const char kOptionsTip[] = "Advanced text insertion tool";

void addIcon(HWND owner, HICON icon, const char* tip);
void removeIcon(HWND owner);
void showWelcomeBalloon(HWND owner);
}  // namespace tray
