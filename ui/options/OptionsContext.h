#pragma once
#include <string>

#include "app/Settings.h"
#include "store/StoreHost.h"
#include "ui/options/OptionsHost.h"
#include "ui/selection/ItemList.h"

// What the options window changes in the running program. Everything belongs to the main
// window and outlives the options window's modal run.
struct OptionsContext {
    OptionsHost& host;       // tray icon, hot keys, start with Windows
    Settings& settings;
    const SettingsFile& config;
    std::string& dbPath;     // the history file in use
    const std::string& configFolder;
    ItemList& itemList;      // the selection list, reloaded when the database changes
    int& lastId;             // where next/previous stepping starts
    StoreHost& storeHost;    // reports of opening a database
};
