#pragma once
#include <windows.h>

#include <string>

// The application that put the clipboard content there: its executable's file name and its
// window's title. `owner` is the clipboard owner taken when the clipboard was opened (the
// platform may forget it once data is fetched). Both stay empty when there is no owner.
struct ClipSource {
    std::string name;
    std::string title;
    std::string unicodeTitle;  // the same title as written, in UTF-8
};
ClipSource findClipSource(HWND owner);

// True when the executable name is an entry of the upper-cased comma list `exceptApp`.
bool isExcludedSource(const std::string& exceptApp, const std::string& name);
