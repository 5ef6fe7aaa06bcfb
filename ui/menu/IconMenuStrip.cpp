#include "ui/menu/IconMenuStrip.h"

#include "res/resource.h"

namespace {
// Cell n shows the icon of command kCellCommands[n]; 0 marks a cell that no command uses.
constexpr UINT kCellCommands[] = {ID_OPTIONS, ID_HOME_PAGE, 0, ID_SEND_FEEDBACK, ID_ABOUT, 0, ID_CLOSE_APP};
}  // namespace

CIconMenuStrip::CIconMenuStrip(HINSTANCE module)
    : images_(ImageList_LoadImageA(module, MAKEINTRESOURCEA(IDB_MENU_ICONS), kCellSize, 0, kTransparent,
                                   IMAGE_BITMAP, LR_CREATEDIBSECTION)) {}

CIconMenuStrip::~CIconMenuStrip() {
    if (images_) ImageList_Destroy(images_);
}

int CIconMenuStrip::cellOf(UINT command) const {
    if (!images_ || command == 0) return -1;
    for (int cell = 0; cell < static_cast<int>(sizeof kCellCommands / sizeof kCellCommands[0]); ++cell)
        if (kCellCommands[cell] == command) return cell;
    return -1;
}
