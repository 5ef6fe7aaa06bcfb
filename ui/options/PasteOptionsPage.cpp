#include "ui/options/PasteOptionsPage.h"

#include "clipboard/ClipboardState.h"
#include "res/resource.h"
#include "ui/framework/DataExchange.h"

PasteOptionsPage::PasteOptionsPage(const OptionsContext& context) : Dialog(IDD_PASTE_PAGE), context_(context) {}

BOOL PasteOptionsPage::OnInitDialog() {
    restoreClipboard_ = paste::RestoreClipboard ? 1 : 0;
    delay_ = paste::Sleep;
    UpdateData(false);
    return FALSE;
}

// The box comes first: a refused delay stops the exchange, and the box must still be taken.
void PasteOptionsPage::DoDataExchange(DataExchange& exchange) {
    exchange.checkBox(IDC_RESTORE_CLIPBOARD, restoreClipboard_);
    exchange.integer(IDC_DELAY, delay_);
}

void PasteOptionsPage::Save() {
    // A refused delay has shown its message and left delay_ as it was loaded.
    UpdateData(true);
    // Compared before limiting: 5000 writes 1000 even when 1000 is stored already. A pasted
    // negative number would make the platform's wait endless, so it becomes no delay.
    if (delay_ != paste::Sleep) {
        paste::Sleep = configkey::Sleep.fitted(delay_);
        context_.config.write(configkey::Sleep, paste::Sleep.load());
    }
    bool restore = restoreClipboard_ != 0;
    if (restore != paste::RestoreClipboard) {
        paste::RestoreClipboard = restore;
        context_.config.write(configkey::RestoreClipboard, restore);
    }
}
