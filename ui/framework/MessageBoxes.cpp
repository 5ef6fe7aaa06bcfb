#include "ui/framework/MessageBoxes.h"

#include "ui/framework/WinApp.h"

namespace {
int showBox(const std::string& caption, const std::string& text, UINT type, HWND owner) {
    WinApp* app = WinApp::current();
    if (!owner && app) owner = app->mainWindow();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

UINT typeOf(UINT buttons, BoxIcon icon) { return buttons | static_cast<UINT>(icon); }
}  // namespace

std::string applicationCaption() {
    WinApp* app = WinApp::current();
    return app ? app->appName() : std::string();
}

void reportError(const std::string& text, BoxIcon icon, HWND owner) {
    showBox(applicationCaption(), text, typeOf(MB_OK, icon), owner);
}

void reportError(const std::string& caption, const std::string& text, BoxIcon icon, HWND owner) {
    showBox(caption, text, typeOf(MB_OK, icon), owner);
}

bool askYesNo(const std::string& caption, const std::string& question, BoxIcon icon, HWND owner) {
    return showBox(caption, question, typeOf(MB_YESNO, icon), owner) == IDYES;
}
