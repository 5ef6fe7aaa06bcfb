#pragma once
#include <windows.h>

class ItemList;
class PreviewTooltip;

// The preview of the selected list item in the tooltip beside the selection window: the
// record's origin, capture time and id, then its text (cut at 2000 bytes).
class ItemPreview {
public:
    ItemPreview(const bool& showToolTip, const ItemList& list, PreviewTooltip& tooltip);

    void attach(HWND window) { window_ = window; }
    // Shows the selected record, only while the setting is on, the list is ready and the window
    // is visible in front; otherwise a tooltip already shown stays as it is.
    void ShowPreview();
    void hide();
    // The window lost the activation.
    void OnDeactivate();

private:
    bool mayShow() const;

    const bool& showToolTip_;
    const ItemList& list_;
    PreviewTooltip& tooltip_;
    HWND window_ = nullptr;
};
