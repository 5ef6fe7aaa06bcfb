#pragma once
#include <windows.h>

#include "ui/framework/Dialog.h"
#include "ui/menu/IconMenu.h"
#include "ui/menu/IconMenuStrip.h"
#include "ui/menu/MenuBarHover.h"
#include "ui/menu/MenuPainter.h"
#include "ui/menu/MenuWindowHook.h"

// A dialog whose menus are drawn by the icon menu layer: at initialisation the layer takes over
// the menu bar (the system menu stays the platform's) and from then on measures and draws every
// owner-drawn item of the window's menus, popup menus it owns included. Derived dialogs pass
// the messages they handle themselves on to this class, and call its hooks from theirs.
class CIconMenuDialog : public Dialog {
public:
    // icons: the program's menu icons, drawn beside the commands the table names.
    CIconMenuDialog(int templateId, const MenuIconTable& icons);

    const CIconMenuStrip& menuIcons() const { return icons_; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onTimer(UINT_PTR id) override;
    void onDestroy() override;
    void onInitMenuPopup(HMENU menu) override;

private:
    bool OnMeasureItem(MEASUREITEMSTRUCT* measure);
    bool OnDrawItem(const DRAWITEMSTRUCT* draw);
    INT_PTR OnMenuChar(UINT message, char key, UINT flags, HMENU menu);

    CIconMenu menuBar_;
    CIconMenuStrip icons_;
    MenuPainter painter_;
    MenuWindowHook hook_;
    MenuBarHover hover_;
};
