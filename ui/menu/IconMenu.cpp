#include "ui/menu/IconMenu.h"

#include <algorithm>

#include "ui/menu/IconMenuStrip.h"

CIconMenu::~CIconMenu() {
    if (!ownsMenu_ || !menu_) return;
    detachSubmenus();
    DestroyMenu(menu_);
}

void CIconMenu::detachSubmenus() {
    // A submenu handed to AppendMenu stays its owner's; destroying this menu must not take it along.
    for (int position = GetMenuItemCount(menu_) - 1; position >= 0; --position)
        if (GetSubMenu(menu_, position)) RemoveMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION);
}

void CIconMenu::createPopup() {
    menu_ = CreatePopupMenu();
    ownsMenu_ = true;
}

void CIconMenu::attach(HMENU menu, bool menuBar) {
    menu_ = menu;
    ownsMenu_ = false;
    if (menu_) takeOver(menu_, menuBar);
}

void CIconMenu::takeOver(HMENU menu, bool menuBar) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        if ((info.fType & MFT_OWNERDRAW) && CIconMenuItemData::from(info.dwItemData)) continue;
        const UINT flags = info.hSubMenu ? MF_POPUP : (info.fType & MFT_SEPARATOR) ? MF_SEPARATOR : MF_STRING;
        const UINT_PTR id = info.hSubMenu ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
        CIconMenuItemData* record = newRecord(flags, id, text, nullptr, -1);
        record->inMenuBar = menuBar;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType |= MFT_OWNERDRAW;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        if (info.hSubMenu) takeOver(info.hSubMenu, false);
    }
}

CIconMenuItemData* CIconMenu::newRecord(UINT flags, UINT_PTR idOrSubmenu, const char* text, HIMAGELIST images,
                                        int image) {
    auto record = std::make_unique<CIconMenuItemData>();
    if (flags & MF_SEPARATOR) {
        record->kind = CIconMenuItemData::Kind::Separator;
    } else if (flags & MF_POPUP) {
        record->kind = CIconMenuItemData::Kind::Submenu;
        record->submenu = reinterpret_cast<HMENU>(idOrSubmenu);
    } else {
        record->command = static_cast<UINT>(idOrSubmenu);
    }
    record->text = text ? text : "";
    record->images = images;
    record->image = image;
    records_.push_back(std::move(record));
    return records_.back().get();
}

bool CIconMenu::appendItem(UINT flags, UINT_PTR idOrSubmenu, const char* text, HIMAGELIST images, int image) {
    CIconMenuItemData* record = newRecord(flags, idOrSubmenu, text, images, image);
    if (AppendMenuA(menu_, (flags & ~MF_BITMAP) | MF_OWNERDRAW, idOrSubmenu, reinterpret_cast<LPCSTR>(record)))
        return true;
    forget(record);
    return false;
}

bool CIconMenu::appendUtf8Item(UINT command, const std::string& text, HIMAGELIST images, int image) {
    CIconMenuItemData* record = newRecord(MF_STRING, command, text.c_str(), images, image);
    record->utf8 = true;
    if (AppendMenuA(menu_, MF_STRING | MF_OWNERDRAW, command, reinterpret_cast<LPCSTR>(record))) return true;
    forget(record);
    return false;
}

bool CIconMenu::deleteItem(UINT command) {
    CIconMenuItemData* record = findItem(command);
    if (!::DeleteMenu(menu_, command, MF_BYCOMMAND)) return false;
    if (record) forget(record);
    return true;
}

void CIconMenu::forget(CIconMenuItemData* record) {
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [record](const std::unique_ptr<CIconMenuItemData>& r) { return r.get() == record; }),
                   records_.end());
}

CIconMenuItemData* CIconMenu::findItem(UINT command) const {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu_, command, FALSE, &info) || !(info.fType & MFT_OWNERDRAW)) return nullptr;
    return CIconMenuItemData::from(info.dwItemData);
}

bool CIconMenu::setItemValue(UINT command, ULONG_PTR value) {
    CIconMenuItemData* record = findItem(command);
    if (!record) return false;
    record->value = value;
    return true;
}

std::optional<ULONG_PTR> CIconMenu::itemValue(UINT command) const {
    const CIconMenuItemData* record = findItem(command);
    if (!record) return std::nullopt;
    return record->value;
}

void CIconMenu::applyIcons(const CIconMenuStrip& strip) {
    for (const auto& record : records_) {
        const int cell = strip.cellOf(record->command);
        if (record->kind != CIconMenuItemData::Kind::Text || cell < 0) continue;
        record->images = strip.images();
        record->image = cell;
    }
}
