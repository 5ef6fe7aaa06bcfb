#include "app/AppOptionsHost.h"

#include "app/HotKeys.h"
#include "app/RunAtStartup.h"
#include "app/TrayIcon.h"

void AppOptionsHost::showTrayIcon(bool shown) {
    if (shown) {
        tray::addIcon(mainWindow_, icon_, tray::kOptionsTip);
    } else {
        tray::removeIcon(mainWindow_);
    }
}

void AppOptionsHost::rebindHotKey(int index, HotKeyCombination combination, HWND messageOwner) {
    static constexpr HotKeyId kIds[] = {kHotKeyShow, kHotKeyPrevious, kHotKeyNext};
    const HotKeyId id = kIds[index];
    UnregisterHotKey(mainWindow_, id);
    registerHotKey(mainWindow_, id, combination, messageOwner);
}

bool AppOptionsHost::runsAtStartup() { return runatstartup::isRegistered(); }

void AppOptionsHost::setRunAtStartup(bool run) {
    if (run) {
        runatstartup::registerExecutable();
    } else {
        runatstartup::unregister();
    }
}
