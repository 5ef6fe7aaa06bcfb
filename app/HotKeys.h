#pragma once
#include <windows.h>

#include "app/Settings.h"

// The three global hot keys of the main window: 1 shows or hides the selection window,
// 2 and 3 copy the previous or next history item.
enum HotKeyId { kHotKeyShow = 1, kHotKeyPrevious = 2, kHotKeyNext = 3 };

// Registers the combination unless its key is 0; a refusal shows the id's message, owned by
// `messageOwner`. Returns false only when the platform refused.
bool registerHotKey(HWND window, int id, HotKeyCombination combination, HWND messageOwner);
void unregisterHotKeys(HWND window);
const char* hotKeyErrorText(int id);
