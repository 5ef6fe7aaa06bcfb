#include "ui/options/GeneralOptionsPage.h"

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
    runOnStartup_ = runOnStartupAtOpening_ = context_.host.runsAtStartup() ? 1 : 0;
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
    saveFlag(configkey::ShowToolTip, ShowToolTip, settings.ShowToolTip);
    saveFlag(configkey::HideOnFocusLost, HideOnFocusLost, settings.HideOnFocusLost);
    saveFlag(configkey::CaptureImage, CaptureImage, settings.CaptureImage);
    saveFlag(configkey::MoveSelection, MoveSelection, settings.MoveSelection);
    // Compared with the state at opening, so that unchecking and checking again touches nothing.
    if (runOnStartup_ == runOnStartupAtOpening_) return;
    context_.host.setRunAtStartup(runOnStartup_ != 0);
}

void GeneralOptionsPage::saveFlag(const configkey::FlagKey& key, int box, bool& setting) {
    if ((box != 0) == setting) return;
    setting = box != 0;
    context_.config.write(key, setting);
}
