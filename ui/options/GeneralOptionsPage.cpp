#include "ui/options/GeneralOptionsPage.h"

#include "app/RunAtStartup.h"
#include "res/resource.h"
#include "ui/framework/DataExchange.h"

GeneralOptionsPage::GeneralOptionsPage(const OptionsContext& context)
    : Dialog(IDD_GENERAL_PAGE), context_(context) {}

BOOL GeneralOptionsPage::OnInitDialog() {
    const Settings& settings = context_.settings;
    ShowToolTip = settings.ShowToolTip;
    CaptureImage = settings.CaptureImage;
    HideOnFocusLost = settings.HideOnFocusLost;
    MoveSelection = settings.MoveSelection;
    // Read at every opening: the registry is the truth, also after a failed write.
    runOnStartup_ = runOnStartupAtOpening_ = runatstartup::isRegistered() ? 1 : 0;
    UpdateData(false);
    return FALSE;  // the options window decides where the focus goes
}

void GeneralOptionsPage::DoDataExchange(DataExchange& exchange) {
    exchange.checkBox(IDC_SHOW_TOOLTIP, ShowToolTip);
    exchange.checkBox(IDC_MOVE_SELECTION, MoveSelection);
    exchange.checkBox(IDC_HIDE_ON_FOCUS_LOST, HideOnFocusLost);
    exchange.checkBox(IDC_CAPTURE_IMAGE, CaptureImage);
    exchange.checkBox(IDC_RUN_ON_STARTUP, runOnStartup_);
}

void GeneralOptionsPage::Save() {
    UpdateData(true);
    Settings& settings = context_.settings;
    saveFlag("ShowToolTip", ShowToolTip, settings.ShowToolTip);
    saveFlag("HideOnFocusLost", HideOnFocusLost, settings.HideOnFocusLost);
    saveFlag("CaptureImage", CaptureImage, settings.CaptureImage);
    saveFlag("MoveSelection", MoveSelection, settings.MoveSelection);
    // Compared with the state at opening, so that unchecking and checking again touches nothing.
    if (runOnStartup_ == runOnStartupAtOpening_) return;
    if (runOnStartup_) {
        runatstartup::registerExecutable();
    } else {
        runatstartup::unregister();
    }
}

void GeneralOptionsPage::saveFlag(const char* key, int box, bool& setting) {
    if ((box != 0) == setting) return;
    setting = box != 0;
    context_.config.writeFlag(key, setting);
}
