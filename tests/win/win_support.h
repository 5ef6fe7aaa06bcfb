// What every Windows test program of ours includes, and the helpers they share.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

inline std::string tempFolder() {
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    return path;
}

// Handles this thread's messages until `done` holds or `milliseconds` pass; `done`'s last value.
template <typename Condition>
bool pumpUntil(Condition done, DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    while (!done() && static_cast<int>(until - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}
