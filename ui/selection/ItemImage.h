#pragma once
#include "store/ClipRecord.h"

// Index of an item's icon in the list's image list (icons 129-131, in this order): Unicode
// text, plain text and anything else, rich text. The tray menu shows the same icons.
inline int imageOfType(int type) {
    switch (type) {
    case UnicodeText: return 0;
    case RichText: return 2;
    default: return 1;
    }
}
