#pragma once
#include <array>

#include "ui/framework/Dialog.h"
#include "ui/options/DatabasePage.h"
#include "ui/options/GeneralOptionsPage.h"
#include "ui/options/HotKeysPage.h"
#include "ui/options/OptionsContext.h"
#include "ui/options/PageCaption.h"
#include "ui/options/PasteOptionsPage.h"

// The options window: the page list on the left, the selected page on the right under a band
// with its name. OK saves every page; the page shown last is remembered in either case.
class OptionsDialog : public Dialog {
public:
    static constexpr char kTitle[] = "Yarrowkit options";
    static constexpr int kPageCount = 4;

    explicit OptionsDialog(const OptionsContext& context);

    // The Options command: one modal run. While a window is open already it comes to the
    // front instead, so that two windows never save over each other.
    static void Open(const OptionsContext& context);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool onCommand(int id, int code) override;
    bool onTimer(UINT_PTR id) override;
    void onDestroy() override;

private:
    static constexpr UINT_PTR kFocusTimer = 2;

    void addEntries();
    RECT placePageList();
    void createPages(const RECT& area);
    int selectStoredPage();
    void createCaption(const RECT& list);
    void showPage(int index);
    void centreOnDesktop();
    std::string entryText(int index) const;
    void OnPageChange();
    HWND pageList() const;

    OptionsContext context_;
    PageCaption caption_;
    GeneralOptionsPage general_;
    HotKeysPage hotKeys_;
    PasteOptionsPage paste_;
    DatabasePage database_;
    std::array<Dialog*, kPageCount> pages_;
};
