#include "ui/options/HotKeysPage.h"

#include <commctrl.h>

#include "app/HotKeys.h"
#include "app/TrayIcon.h"
#include "res/resource.h"
#include "ui/framework/DataExchange.h"
#include "ui/options/HotKeyCodes.h"

namespace {
constexpr int kHotKeyCount = 3;
}

HotKeysPage::HotKeysPage(const OptionsContext& context) : Dialog(IDD_HOTKEYS_PAGE), context_(context) {}

HotKeysPage::HotKeyBinding HotKeysPage::binding(int index) const {
    Settings& settings = context_.settings;
    switch (index) {
    case 0: return {kHotKeyShow, IDC_HOTKEY_MAIN, "HotKeyVK", "HotKey", settings.HotKeyMain};
    case 1: return {kHotKeyPrevious, IDC_HOTKEY_PREVIOUS, "HotKeyPrevVK", "HotKeyPrev", settings.HotKeyPrevious};
    default: return {kHotKeyNext, IDC_HOTKEY_NEXT, "HotKeyNextVK", "HotKeyNext", settings.HotKeyNextItem};
    }
}

BOOL HotKeysPage::OnInitDialog() {
    showIcon_ = context_.settings.IconInTray ? 1 : 0;
    for (int index = 0; index < kHotKeyCount; ++index) {
        HotKeyBinding entry = binding(index);
        SendDlgItemMessageA(hwnd(), entry.controlId, HKM_SETHOTKEY, hotkeycodes::controlWord(entry.stored), 0);
    }
    UpdateData(false);
    return FALSE;
}

void HotKeysPage::DoDataExchange(DataExchange& exchange) { exchange.checkBox(IDC_SHOW_ICON, showIcon_); }

void HotKeysPage::Save() {
    UpdateData(true);
    saveTrayIcon();
    for (int index = 0; index < kHotKeyCount; ++index) saveHotKey(binding(index));
}

void HotKeysPage::saveTrayIcon() {
    bool show = showIcon_ != 0;
    if (show == context_.settings.IconInTray) return;
    if (show) {
        tray::addIcon(context_.mainWindow, context_.icon, tray::kOptionsTip);
    } else {
        tray::removeIcon(context_.mainWindow);
    }
    context_.settings.IconInTray = show;
    context_.config.writeFlag("IconInTray", show);
}

void HotKeysPage::saveHotKey(const HotKeyBinding& entry) {
    auto word = static_cast<uint16_t>(SendDlgItemMessageA(hwnd(), entry.controlId, HKM_GETHOTKEY, 0, 0));
    if (hotkeycodes::unchanged(word, entry.stored)) return;
    entry.stored = hotkeycodes::combinationOf(word);
    UnregisterHotKey(context_.mainWindow, entry.id);
    // A refused combination is still kept: it is tried again at the next start.
    registerHotKey(context_.mainWindow, entry.id, entry.stored, hwnd());
    context_.config.writeInt(entry.modifiersKey, entry.stored.modifiers);
    context_.config.writeInt(entry.keyKey, entry.stored.key);
}
