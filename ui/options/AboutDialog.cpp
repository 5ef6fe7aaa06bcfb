#include "ui/options/AboutDialog.h"

#include <string>

#include "res/resource.h"
#include "ui/options/MakerAddresses.h"

namespace {
constexpr char kVersion[] = "1.4";
constexpr char kReleaseDate[] = "May 22, 2007";

// The home page as the link shows it: without its scheme and closing slash.
std::string shownAddress(std::string address) {
    const std::size_t scheme = address.find("://");
    if (scheme != std::string::npos) address.erase(0, scheme + 3);
    if (!address.empty() && address.back() == '/') address.pop_back();
    return address;
}
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
    SetDlgItemTextA(hwnd(), IDC_HOME_LINK, shownAddress(maker::kHomePage).c_str());
    mailLink_.attach(item(IDC_MAIL_LINK));
    homeLink_.attach(item(IDC_HOME_LINK));
    const std::string version = std::string("Version ") + kVersion + ",  " + kReleaseDate;
    SetDlgItemTextA(hwnd(), IDC_ABOUT_VERSION, version.c_str());
    mailLink_.setAddress(std::string("mailto:") + maker::kSupportMail);
    homeLink_.setAddress(maker::kHomePage);
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
