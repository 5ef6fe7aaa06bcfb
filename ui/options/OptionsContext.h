#pragma once
#include <windows.h>

#include "app/ConfigFile.h"
#include "app/Settings.h"
#include "store/StoreHost.h"
#include "ui/selection/ItemList.h"

// What the options window changes in the running program. Everything belongs to the main
// window and outlives the options window's modal run.
struct OptionsContext {
    HWND mainWindow;         // owner of the hot keys and the tray icon
    HICON icon;              // the tray icon's picture
    Settings& settings;
    const ConfigFile& config;
    ItemList& itemList;      // the selection list, reloaded when the database changes
    int& lastId;             // where next/previous stepping starts
    StoreHost& storeHost;    // reports of opening a database
};
