#include "app/HistoryApp.h"

#include "app/SelectionDialog.h"
#include "app/TrayIcon.h"
#include "ui/menu/MenuStyles.h"

bool HistoryApp::InitInstance() {
    // The window title is the single-instance key: whoever holds it is woken instead.
    if (HWND running = FindWindowA(nullptr, SelectionDialog::kTitle)) {
        SendMessageA(running, WM_TRAY_CALLBACK, 0, WM_LBUTTONDOWN);
        return false;
    }
    menustyle::select(2);
    menustyle::setIconVariant(0);
    SelectionDialog dialog;
    dialog.DoModal();
    return false;
}
