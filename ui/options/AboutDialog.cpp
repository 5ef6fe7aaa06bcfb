#include "ui/options/AboutDialog.h"

#include <string>

#include "res/resource.h"

namespace {
constexpr char kVersion[] = "1.4";
constexpr char kReleaseDate[] = "May 22, 2007";
}  // namespace

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

AboutDialog::~AboutDialog() {
    if (whiteBrush_) DeleteObject(whiteBrush_);
}

void AboutDialog::Open() {
    AboutDialog dialog;
    dialog.DoModal();
}

BOOL AboutDialog::OnInitDialog() {
    mailLink_.attach(item(IDC_MAIL_LINK));
    homeLink_.attach(item(IDC_HOME_LINK));
    const std::string version = std::string("Version ") + kVersion + ",  " + kReleaseDate;
    SetDlgItemTextA(hwnd(), IDC_ABOUT_VERSION, version.c_str());
    mailLink_.setAddress(std::string("mailto:") + kSupportMail);
    homeLink_.setAddress(kHomePage);
    whiteBrush_ = CreateSolidBrush(RGB(255, 255, 255));
    return TRUE;
}

INT_PTR AboutDialog::OnCtlColor(HDC dc) {
    if (!whiteBrush_) return FALSE;
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<INT_PTR>(whiteBrush_);
}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    // Everything on white; the links put their own text colours on top of this answer.
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default: return Dialog::HandleMessage(message, wParam, lParam);
    }
}
