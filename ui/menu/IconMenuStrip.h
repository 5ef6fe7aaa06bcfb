#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

// The program's menu icons: a bitmap resource of 16x16 cells side by side, and the command
// each cell stands for (0 for a cell that no command uses).
struct MenuIconTable {
    int bitmapId;
    std::vector<UINT> cellCommands;
};

// The menu icons: the table's bitmap, nine cells, RGB(192,192,192) transparent, and the
// commands the table gives them.
class CIconMenuStrip {
public:
    static constexpr int kCellSize = 16;
    static constexpr int kCells = 9;
    static constexpr COLORREF kTransparent = RGB(192, 192, 192);

    // Loads the bitmap from the module's resources; without it the menus simply have no icons.
    explicit CIconMenuStrip(const MenuIconTable& table, HINSTANCE module = GetModuleHandleA(nullptr));
    ~CIconMenuStrip();
    CIconMenuStrip(const CIconMenuStrip&) = delete;
    CIconMenuStrip& operator=(const CIconMenuStrip&) = delete;

    HIMAGELIST images() const { return images_; }
    // The cell of this command, or -1.
    int cellOf(UINT command) const;

private:
    HIMAGELIST images_ = nullptr;
    std::vector<UINT> cellCommands_;
};
