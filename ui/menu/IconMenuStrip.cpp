#include "ui/menu/IconMenuStrip.h"

CIconMenuStrip::CIconMenuStrip(const MenuIconTable& table, HINSTANCE module)
    : images_(ImageList_LoadImageA(module, MAKEINTRESOURCEA(table.bitmapId), kCellSize, 0, kTransparent,
                                   IMAGE_BITMAP, LR_CREATEDIBSECTION)),
      cellCommands_(table.cellCommands) {}

CIconMenuStrip::~CIconMenuStrip() {
    if (images_) ImageList_Destroy(images_);
}

int CIconMenuStrip::cellOf(UINT command) const {
    if (!images_ || command == 0) return -1;
    for (std::size_t cell = 0; cell < cellCommands_.size(); ++cell)
        if (cellCommands_[cell] == command) return static_cast<int>(cell);
    return -1;
}
