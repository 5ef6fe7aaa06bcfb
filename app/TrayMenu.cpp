#include "app/TrayMenu.h"

#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "store/History.h"
#include "store/SqlException.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/menu/IconMenuStrip.h"
#include "ui/selection/ItemImage.h"

namespace {
constexpr char kReadErrorCaption[] = "YarrowKit Error #3";
constexpr char kReadErrorText[] = "Can't read from database to tree\n Error #3 - ";

constexpr UINT kText = 0, kSubmenu = MF_POPUP, kSeparator = MF_SEPARATOR;

}  // namespace

void TrayMenu::build(const CIconMenuStrip& icons, HIMAGELIST itemImages) {
    itemImages_ = itemImages;
    helpMenu_.createPopup();
    helpMenu_.appendItem(kText, ID_HOME_PAGE, "Yarrowkit Home Page");
    helpMenu_.appendItem(kText, ID_FORUM, "Visit Yarrowkit Forum");
    helpMenu_.appendItem(kText, ID_SEND_FEEDBACK, "Send Feedback...");
    helpMenu_.appendItem(kText, ID_NEWSLETTER, "Subscribe to Newsletter");
    helpMenu_.appendItem(kSeparator, 0);
    helpMenu_.appendItem(kText, ID_ABOUT, "About");
    helpMenu_.applyIcons(icons);

    menu_.createPopup();
    menu_.appendItem(kText, ID_OPTIONS, "Options...");
    menu_.appendItem(kText, ID_MONITOR_CLIPBOARD, "Monitor Clipboard");
    menu_.appendItem(kText, ID_RECONNECT_CLIPBOARD, "Reconnect to Clipboard");
    menu_.appendItem(kSubmenu, reinterpret_cast<UINT_PTR>(helpMenu_.handle()), "Help");
    menu_.appendItem(kText, ID_CLOSE_APP, "Exit");
    menu_.appendItem(kSeparator, 0);
    menu_.applyIcons(icons);
}

bool TrayMenu::refresh(HWND owner, bool monitorClipBoard, int recentCount) {
    CheckMenuItem(menu_.handle(), ID_MONITOR_CLIPBOARD,
                  MF_BYCOMMAND | (monitorClipBoard ? MF_CHECKED : MF_UNCHECKED));
    for (int command = kRecentCommandBase; command <= kRecentCommandBase + recentCount; ++command)
        menu_.deleteItem(static_cast<UINT>(command));
    try {
        fillRecentItems(recentCount);
    } catch (const SqlException& error) {
        std::string text = std::string(kReadErrorText) + error.message();
        reportError(kReadErrorCaption, text, BoxIcon::error, owner);
        return false;
    }
    return true;
}

void TrayMenu::show(HWND owner, bool monitorClipBoard, int recentCount) {
    if (!refresh(owner, monitorClipBoard, recentCount)) return;
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu_.handle(), 0, cursor.x, cursor.y, 0, owner, nullptr);
    // Lets the menu close when the user clicks elsewhere, as the shell expects of tray menus.
    PostMessageA(owner, WM_NULL, 0, 0);
}

void TrayMenu::fillRecentItems(int recentCount) {
    const std::vector<history::ListEntry> entries = history::recent(recentCount);
    int command = kFirstRecentCommand;
    // Newest first from the store; the menu lists the oldest first.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry, ++command) {
        if (entry->id == history::kNoRecord) continue;
        // The caption as written when the side table has it, else Log's ANSI caption as before.
        if (entry->unicodeCaption)
            menu_.appendUtf8Item(static_cast<UINT>(command), *entry->unicodeCaption, itemImages_, imageOfType(entry->type));
        else
            menu_.appendItem(kText, static_cast<UINT_PTR>(command), entry->caption.c_str(), itemImages_,
                             imageOfType(entry->type));
        menu_.setItemValue(static_cast<UINT>(command), static_cast<ULONG_PTR>(entry->id));
    }
}

int TrayMenu::recordIdOf(int command) const {
    std::optional<ULONG_PTR> value = menu_.itemValue(static_cast<UINT>(command));
    return value ? static_cast<int>(*value) : -1;
}
