#pragma once
#include "ui/framework/Dialog.h"
#include "ui/options/OptionsContext.h"

// "Hot Keys": the three global hot keys and the tray icon. Saving applies each change to the
// running program at once.
class HotKeysPage : public Dialog {
public:
    explicit HotKeysPage(const OptionsContext& context);
    void Save();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;

private:
    struct HotKeyBinding {
        int index;                              // 0 show the window, 1 previous, 2 next
        int controlId;
        const configkey::IntKey& modifiersKey;  // the modifier flags
        const configkey::IntKey& keyKey;        // the virtual key
        HotKeyCombination& stored;
    };
    HotKeyBinding binding(int index) const;
    void saveTrayIcon();
    void saveHotKey(const HotKeyBinding& binding);

    const OptionsContext& context_;
    int showIcon_ = 0;
};
