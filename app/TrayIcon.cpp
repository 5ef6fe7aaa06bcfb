#include "app/TrayIcon.h"

#include <shellapi.h>

#include <cstring>

namespace {
// The record with balloon fields, without the later additions.
NOTIFYICONDATAA record(HWND owner) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    return data;
}

void copyText(char* target, size_t size, const char* text) {
    strncpy(target, text, size - 1);
    target[size - 1] = '\0';
}
}  // namespace

namespace tray {

void addIcon(HWND owner, HICON icon, const char* tip) {
    NOTIFYICONDATAA data = record(owner);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    data.hIcon = icon;
    copyText(data.szTip, sizeof data.szTip, tip);
    Shell_NotifyIconA(NIM_ADD, &data);
}

void removeIcon(HWND owner) {
    NOTIFYICONDATAA data = record(owner);
    Shell_NotifyIconA(NIM_DELETE, &data);
}

void showWelcomeBalloon(HWND owner) {
    NOTIFYICONDATAA data = record(owner);
    data.uFlags = NIF_INFO;
    copyText(data.szInfo, sizeof data.szInfo, "YarrowKit - here ! Just click the icon or use the hot key Ctrl-D");
    copyText(data.szInfoTitle, sizeof data.szInfoTitle, "YarrowKit - here !");
    data.uTimeout = 30000;
    data.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

}  // namespace tray
