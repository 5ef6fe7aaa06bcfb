#pragma once
#include "ui/menu/IconMenuStrip.h"

// The program's menu icons (bitmap 141) and the commands they stand beside, in the menu bar
// and the tray menu.
const MenuIconTable& programMenuIcons();
