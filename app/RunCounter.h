#pragma once
#include <windows.h>

// Counts program starts in HKCU\Software\Tamberlyn\YarrowKit, value "runs". Returns the new
// count; 1 when the registry cannot be used (so the welcome shows again).
DWORD countRun();
