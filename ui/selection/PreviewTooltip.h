#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "clipboard/StepBalloon.h"

// The one tracking tooltip of the selection window: the item preview shows in it, and so does
// the next/previous balloon. It has a single tool whose text and position are replaced each
// time something is shown.
class PreviewTooltip : public StepBalloon {
public:
    PreviewTooltip();
    ~PreviewTooltip() override;
    PreviewTooltip(const PreviewTooltip&) = delete;
    PreviewTooltip& operator=(const PreviewTooltip&) = delete;

    // Creates the window owned by `owner`; does nothing while it exists.
    void create(HWND owner);
    bool exists() const { return window_ != nullptr; }
    HWND window() const { return window_; }

    // Shows `text` (UTF-8: item texts are shown as written) with the tooltip's top-left corner
    // at the screen point (x, y).
    void showAt(const std::string& text, int x, int y) override;
    // Switches tracking off, which hides whatever is shown.
    void hide() override;

private:
    void resetTool(UINT flags);

    HWND window_ = nullptr;
    // The wide record: the tool is set with the W messages, so any script shows.
    TTTOOLINFOW tool_;
    std::wstring text_;
};
