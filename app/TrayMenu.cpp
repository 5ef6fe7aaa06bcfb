#include "app/TrayMenu.h"

#include <string>

#include "res/resource.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"

namespace {
constexpr char kReadErrorCaption[] = "YarrowKit Error #3";
constexpr char kReadErrorText[] = "Can't read from database to tree\n Error #3 - ";

HMENU buildHelpMenu() {
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, ID_HOME_PAGE, "Yarrowkit Home Page");
    AppendMenuA(help, MF_STRING, ID_FORUM, "Visit Yarrowkit Forum");
    AppendMenuA(help, MF_STRING, ID_SEND_FEEDBACK, "Send Feedback...");
    AppendMenuA(help, MF_STRING, ID_NEWSLETTER, "Subscribe to Newsletter");
    AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(help, MF_STRING, ID_ABOUT, "About");
    return help;
}

void setItemData(HMENU menu, UINT command, ULONG_PTR data) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = data;
    SetMenuItemInfoA(menu, command, FALSE, &info);
}
}  // namespace

TrayMenu::~TrayMenu() {
    if (menu_) DestroyMenu(menu_);
}

void TrayMenu::build() {
    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, ID_OPTIONS, "Options...");
    AppendMenuA(menu_, MF_STRING, ID_MONITOR_CLIPBOARD, "Monitor Clipboard");
    AppendMenuA(menu_, MF_STRING, ID_RECONNECT_CLIPBOARD, "Reconnect to Clipboard");
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(buildHelpMenu()), "Help");
    AppendMenuA(menu_, MF_STRING, ID_CLOSE_APP, "Exit");
    AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
}

void TrayMenu::show(HWND owner, bool monitorClipBoard, int recentCount) {
    CheckMenuItem(menu_, ID_MONITOR_CLIPBOARD, MF_BYCOMMAND | (monitorClipBoard ? MF_CHECKED : MF_UNCHECKED));
    for (int command = kRecentCommandBase; command <= kRecentCommandBase + recentCount; ++command)
        DeleteMenu(menu_, command, MF_BYCOMMAND);
    try {
        fillRecentItems(recentCount);
    } catch (const SqlException& error) {
        std::string text = std::string(kReadErrorText) + error.message();
        MessageBoxA(owner, text.c_str(), kReadErrorCaption, MB_OK | MB_ICONERROR);
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu_, 0, cursor.x, cursor.y, 0, owner, nullptr);
    // Lets the menu close when the user clicks elsewhere, as the shell expects of tray menus.
    PostMessageA(owner, WM_NULL, 0, 0);
}

void TrayMenu::fillRecentItems(int recentCount) {
    SqlResultTable rows = historyDb.queryTable(sql::selectRecent(recentCount).c_str());
    int command = kFirstRecentCommand;
    for (int index = rows.rowCount() - 1; index >= 0; --index, ++command) {
        rows.selectRow(index);
        const int id = rows.intValue(sql::column::kId, -1);
        if (id == -1) continue;
        const std::string name = readStoredText(rows.stringValue(sql::column::kName, ""));
        AppendMenuA(menu_, MF_STRING, command, name.c_str());
        setItemData(menu_, command, static_cast<ULONG_PTR>(id));
    }
}

int TrayMenu::recordIdOf(int command) const {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu_, command, FALSE, &info)) return -1;
    return static_cast<int>(info.dwItemData);
}
