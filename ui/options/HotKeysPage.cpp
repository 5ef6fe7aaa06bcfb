#include "ui/options/HotKeysPage.h"

#include <commctrl.h>

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
    case 0: return {0, IDC_HOTKEY_MAIN, configkey::HotKeyVK, configkey::HotKey, settings.HotKeyMain};
    case 1:
        return {1, IDC_HOTKEY_PREVIOUS, configkey::HotKeyPrevVK, configkey::HotKeyPrev, settings.HotKeyPrevious};
    default: return {2, IDC_HOTKEY_NEXT, configkey::HotKeyNextVK, configkey::HotKeyNext, settings.HotKeyNextItem};
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
    context_.host.showTrayIcon(show);
    context_.settings.IconInTray = show;
    context_.config.write(configkey::IconInTray, show);
}

void HotKeysPage::saveHotKey(const HotKeyBinding& entry) {
    auto word = static_cast<uint16_t>(SendDlgItemMessageA(hwnd(), entry.controlId, HKM_GETHOTKEY, 0, 0));
    if (hotkeycodes::unchanged(word, entry.stored)) return;
    entry.stored = hotkeycodes::combinationOf(word);
    // A refused combination is still kept: it is tried again at the next start.
    context_.host.rebindHotKey(entry.index, entry.stored, hwnd());
    context_.config.write(entry.modifiersKey, entry.stored.modifiers);
    context_.config.write(entry.keyKey, entry.stored.key);
}
