#include "ui/menu/IconMenuDialog.h"

#include <windowsx.h>

#include <string>
#include <vector>

#include "ui/menu/MenuText.h"

CIconMenuDialog::CIconMenuDialog(int templateId, const MenuIconTable& icons) : Dialog(templateId), icons_(icons) {}

BOOL CIconMenuDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    menuBar_.attach(GetMenu(hwnd()), true);
    menuBar_.applyIcons(icons_);
    DrawMenuBar(hwnd());
    hook_.install();
    return TRUE;
}

void CIconMenuDialog::onDestroy() {
    hover_.stop(hwnd());
    hook_.remove();
}

void CIconMenuDialog::onInitMenuPopup(HMENU) { hover_.stop(hwnd()); }

bool CIconMenuDialog::onTimer(UINT_PTR id) { return hover_.onTimer(hwnd(), id); }

bool CIconMenuDialog::OnMeasureItem(MEASUREITEMSTRUCT* measure) {
    if (measure->CtlType != ODT_MENU) return false;
    const CIconMenuItemData* item = CIconMenuItemData::from(measure->itemData);
    if (!item) return false;
    painter_.measure(*item, *measure);
    return true;
}

bool CIconMenuDialog::OnDrawItem(const DRAWITEMSTRUCT* draw) {
    if (draw->CtlType != ODT_MENU) return false;
    const CIconMenuItemData* item = CIconMenuItemData::from(draw->itemData);
    if (!item) return false;
    painter_.draw(*item, *draw);
    return true;
}

INT_PTR CIconMenuDialog::OnMenuChar(UINT message, char key, UINT flags, HMENU menu) {
    if (flags & MF_SYSMENU) return FALSE;
    std::vector<std::string> texts;
    for (int position = 0, count = GetMenuItemCount(menu); position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        const CIconMenuItemData* item =
            (info.fType & MFT_OWNERDRAW) ? CIconMenuItemData::from(info.dwItemData) : nullptr;
        texts.push_back(item ? item->text : std::string());
    }
    const int found = menutext::itemWithMnemonic(texts, key);
    if (found < 0) return FALSE;
    return answer(message, MAKELRESULT(found, MNC_EXECUTE));
}

INT_PTR CIconMenuDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOLORCHANGE: painter_.refresh(); return FALSE;
    case WM_ENTERMENULOOP: hover_.setMenuLoop(hwnd(), true); return FALSE;
    case WM_EXITMENULOOP: hover_.setMenuLoop(hwnd(), false); return FALSE;
    case WM_MEASUREITEM: return OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MENUCHAR:
        return OnMenuChar(message, static_cast<char>(LOWORD(wParam)), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_NCHITTEST: hover_.track(hwnd(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return FALSE;
    default: return Dialog::HandleMessage(message, wParam, lParam);
    }
}
