#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// What the icon menu keeps per item. The platform item carries a pointer to it as its item
// data; the owner-draw messages bring that pointer back, and `from` checks that it is ours.
struct CIconMenuItemData {
    static constexpr UINT kSignature = 0x594B4D49;  // "IMKY"

    enum class Kind { Text, Submenu, Separator };

    UINT signature = kSignature;
    Kind kind = Kind::Text;
    std::string text;  // "label\tshortcut", mnemonics marked with '&'
    bool utf8 = false;  // text is UTF-8 and drawn with the wide calls (item texts of the history)
    UINT command = 0;
    HMENU submenu = nullptr;
    // The icon: one image of an image list (the menu strip, or the list's item images).
    HIMAGELIST images = nullptr;
    int image = -1;
    ULONG_PTR value = 0;  // the caller's own value
    bool inMenuBar = false;
    bool hot = false;  // the pointer rests on this menu-bar item

    bool hasIcon() const { return images && image >= 0; }

    // The record behind an owner-draw item's data, or none when the data is not one of ours.
    static CIconMenuItemData* from(ULONG_PTR itemData) {
        auto* record = reinterpret_cast<CIconMenuItemData*>(itemData);
        return record && record->signature == kSignature ? record : nullptr;
    }
};
