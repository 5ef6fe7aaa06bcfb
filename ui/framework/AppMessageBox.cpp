#include "ui/framework/AppMessageBox.h"

#include "ui/framework/WinApp.h"

int AppMessageBox(const char* text, UINT type, HWND owner) {
    WinApp* app = WinApp::current();
    if (!owner && app) owner = app->mainWindow();
    const char* caption = app ? app->appName().c_str() : "";
    return MessageBoxA(owner, text, caption, type);
}
