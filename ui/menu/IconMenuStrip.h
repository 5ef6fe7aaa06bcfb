#pragma once
#include <windows.h>
#include <commctrl.h>

// The menu icons: bitmap 141, nine 16x16 cells side by side, RGB(192,192,192) transparent, and
// the table that gives commands their cells.
class CIconMenuStrip {
public:
    static constexpr int kCellSize = 16;
    static constexpr int kCells = 9;
    static constexpr COLORREF kTransparent = RGB(192, 192, 192);

    // Loads the bitmap from the module's resources; without it the menus simply have no icons.
    explicit CIconMenuStrip(HINSTANCE module = GetModuleHandleA(nullptr));
    ~CIconMenuStrip();
    CIconMenuStrip(const CIconMenuStrip&) = delete;
    CIconMenuStrip& operator=(const CIconMenuStrip&) = delete;

    HIMAGELIST images() const { return images_; }
    // The cell of this command, or -1.
    int cellOf(UINT command) const;

private:
    HIMAGELIST images_ = nullptr;
};
