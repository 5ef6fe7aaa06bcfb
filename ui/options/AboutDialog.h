#pragma once
#include "ui/controls/HyperLinkCtrl.h"
#include "ui/framework/Dialog.h"

// The about box: the program's name, version and picture on white, with links to the home
// page and the support mail address.
class AboutDialog : public Dialog {
public:
    AboutDialog();
    ~AboutDialog() override;

    // The About command: one modal run without parent.
    static void Open();

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    INT_PTR OnCtlColor(HDC dc);

    HyperLinkCtrl mailLink_;
    HyperLinkCtrl homeLink_;
    HBRUSH whiteBrush_ = nullptr;
};
