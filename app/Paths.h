#pragma once
#include <string>

// Where the program keeps its state. Folders end with a backslash. Set once at start-up.
extern std::string exeFolder;
extern std::string configFolder;
extern std::string dbPath;

// Folder of the running executable.
std::string findExeFolder();
// The user's application-data folder + "\YarrowKit\", or exeFolder when the platform cannot
// name one. Looked up at run time so that the program starts where shell32 lacks it.
std::string findConfigFolder(const std::string& fallback);
// Creates the folder (and missing parents); false when it does not exist afterwards.
bool ensureFolder(const std::string& folder);
std::string configFilePath();
