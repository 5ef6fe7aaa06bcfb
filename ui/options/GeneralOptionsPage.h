#pragma once
#include "ui/framework/Dialog.h"
#include "ui/options/OptionsContext.h"

// "General Options": four behaviour flags and start with Windows.
class GeneralOptionsPage : public Dialog {
public:
    explicit GeneralOptionsPage(const OptionsContext& context);
    // Applies and writes what changed since the page was opened.
    void Save();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;

private:
    void saveFlag(const configkey::FlagKey& key, int box, bool& setting);

    const OptionsContext& context_;
    int ShowToolTip = 0;
    int runOnStartup_ = 0;
    int HideOnFocusLost = 0;
    int CaptureImage = 0;
    int MoveSelection = 0;
    int runOnStartupAtOpening_ = 0;
};
