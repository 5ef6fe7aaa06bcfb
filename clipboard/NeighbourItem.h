#pragma once
#include <windows.h>

#include "clipboard/ClipboardChanges.h"
#include "clipboard/ErrorReport.h"

class StepBalloon;

// The previous/next hot keys: put the record just older or newer than lastId on the clipboard
// and show it for a moment near the text caret of the program in front.
class NeighbourItem {
public:
    static constexpr UINT_PTR kHideTimer = 15;
    static constexpr UINT kHideAfterMs = 900;

    NeighbourItem(int& lastId, StepBalloon& tooltip, ClipboardChanges& changes, ReportError report);
    void attach(HWND window) { window_ = window; }

    void CopyNeighbourItem(bool older);
    // Timer 15; false for any other timer.
    bool OnTimer(UINT_PTR id);

private:
    void showBalloon(const char* text);

    int& lastId_;
    StepBalloon& tooltip_;
    ClipboardChanges& changes_;
    ReportError report_;
    HWND window_ = nullptr;
};
