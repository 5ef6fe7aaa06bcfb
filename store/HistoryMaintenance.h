#pragma once

#include "store/StoreHost.h"

#include <string>

// Keeps the history file from growing without bound: trim or drop at exit, and a VACUUM at
// open once ten runs have removed rows.

inline constexpr char kLeftoverFilePattern[] = "*.sql-*";
inline constexpr char kVacuumCountKey[] = "VacuumCount";
inline constexpr char kInvalidPathText[] = "Path is unvalid : ";

// The two settings that drive the exit step (SaveItemsInDataBase, LimitRecordsInDB).
struct HistoryLimits {
    bool saveItemsInDataBase = true;
    int limitRecordsInDB = 3000;  // 0 or less: no limit
};

// At open of an existing table: when VacuumCount > 9, VACUUM, reset the counter and delete the
// leftover files of configFolder. Throws SqlException when the VACUUM fails.
void vacuumIfDue(const std::string& configFolder, StoreHost& host);

// Deletes the plain files matching folder + pattern; files that cannot be deleted stay
// silently. A folder that is empty or does not exist is reported and nothing is deleted.
void deleteLeftoverFiles(const std::string& folder, const std::string& pattern, StoreHost& host);

// At exit: drop table Log when items are not saved, else keep its newest limitRecordsInDB rows.
// Sets historyChanged when rows went, and then (or when it was already set) adds 1 to
// VacuumCount. cachedItemCount receives the row count it read. A database failure is shown
// under the application's title and leaves the counter alone. Throws nothing.
void trimHistory(const HistoryLimits& limits, bool& historyChanged, int& cachedItemCount, StoreHost& host);
