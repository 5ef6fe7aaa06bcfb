#pragma once
#include <windows.h>

// The program's standard message box: the application name as caption, the main window
// (or the given window) as owner.
int AppMessageBox(const char* text, UINT type = MB_OK, HWND owner = nullptr);
