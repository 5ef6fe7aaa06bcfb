// What every Windows test program of ours includes.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/menu/IconMenuItemData.h"

// The icon menu's record behind an item, read as the owner-draw messages read it.
inline const CIconMenuItemData* iconItemOf(HMENU menu, UINT item, BOOL byPosition = FALSE) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return GetMenuItemInfoA(menu, item, byPosition, &info) ? CIconMenuItemData::from(info.dwItemData) : nullptr;
}
