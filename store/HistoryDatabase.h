#pragma once

#include "store/SqlDatabase.h"
#include "store/StoreHost.h"

#include <string>

// The one connection to the history file, for the whole run.
extern SqlDatabase historyDb;
// The id the next captured item receives; 0 at process start.
extern int nextId;
// Set when rows were removed during the run; the exit maintenance then counts towards a VACUUM.
extern bool historyChanged;

inline constexpr char kOpenErrorCaption[] = "YarrowKit Error #1";

// Opens historyDb on dbPath and creates table Log when it is missing (nextId 0). On an existing
// table it runs the vacuum check and loads nextId. Failures show the Error #1 box; an open
// failure leaves nextId as it was. The caller then sets lastId = nextId - 1.
void openHistoryDatabase(const std::string& dbPath, const std::string& configFolder, StoreHost& host);

// nextId = largest id + 1, or 0 when the table is empty or cannot be read; never reports.
void loadNextId();

// Text of the Error #1 box.
std::string openErrorText(const char* message, const std::string& dbPath);
