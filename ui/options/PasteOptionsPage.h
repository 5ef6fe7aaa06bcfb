#pragma once
#include "ui/framework/Dialog.h"
#include "ui/options/OptionsContext.h"

// "Paste Options": restoring the clipboard after a paste, and the compatibility delay.
class PasteOptionsPage : public Dialog {
public:
    explicit PasteOptionsPage(const OptionsContext& context);
    void Save();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;

private:
    const OptionsContext& context_;
    int restoreClipboard_ = 0;
    int delay_ = 0;
};
