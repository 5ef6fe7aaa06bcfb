#include "app/HelpLinks.h"

#include <shellapi.h>

#include <string>

#include "res/resource.h"
#include "ui/options/MakerAddresses.h"

namespace {
std::string helpAddress(int command) {
    switch (command) {
    case ID_HOME_PAGE: return maker::kHomePage;
    case ID_FORUM: return std::string(maker::kHomePage) + "forum/";
    case ID_SEND_FEEDBACK: return std::string("mailto:") + maker::kSupportMail + "?subject=Yarrowkit%20feedback";
    case ID_NEWSLETTER: return std::string(maker::kHomePage) + "newsletter/";
    default: return {};
    }
}
}  // namespace

bool openHelpLink(int command) {
    const std::string address = helpAddress(command);
    if (address.empty()) return false;
    ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
