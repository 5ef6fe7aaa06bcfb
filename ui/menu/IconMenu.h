#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/menu/IconMenuItemData.h"

class CIconMenuStrip;

// A platform menu whose items are owner-drawn with icons. Flags are the platform's: 0 for a
// text item, 16 (MF_POPUP) for a submenu whose handle stands in place of the id, 2048
// (MF_SEPARATOR) for a separator. Check marks and enabled states stay with the platform menu,
// so the usual calls on handle() keep working.
class CIconMenu {
public:
    CIconMenu() = default;
    ~CIconMenu();
    CIconMenu(const CIconMenu&) = delete;
    CIconMenu& operator=(const CIconMenu&) = delete;

    // A new popup menu of this object's own.
    void createPopup();
    // Takes over a menu that someone else destroys (a window's menu bar): every item, those of
    // its submenus included, becomes owner-drawn.
    void attach(HMENU menu, bool menuBar);
    HMENU handle() const { return menu_; }

    bool appendItem(UINT flags, UINT_PTR idOrSubmenu, const char* text = nullptr, HIMAGELIST images = nullptr,
                    int image = -1);
    // A text item whose text is UTF-8: drawn as written in any script.
    bool appendUtf8Item(UINT command, const std::string& text, HIMAGELIST images, int image);
    // Deletes the item with this command, wherever it stands in this menu or its submenus.
    bool deleteItem(UINT command);

    // The caller's value of the item with this command (submenus searched as well).
    bool setItemValue(UINT command, ULONG_PTR value);
    std::optional<ULONG_PTR> itemValue(UINT command) const;

    // The record of the item with this command.
    CIconMenuItemData* findItem(UINT command) const;
    int itemCount() const { return GetMenuItemCount(menu_); }

    // Gives every item whose command has a cell in the strip that cell as its icon.
    void applyIcons(const CIconMenuStrip& strip);

private:
    CIconMenuItemData* newRecord(UINT flags, UINT_PTR idOrSubmenu, const char* text, HIMAGELIST images, int image);
    void takeOver(HMENU menu, bool menuBar);
    void forget(CIconMenuItemData* record);
    void detachSubmenus();

    HMENU menu_ = nullptr;
    bool ownsMenu_ = false;
    std::vector<std::unique_ptr<CIconMenuItemData>> records_;
};
