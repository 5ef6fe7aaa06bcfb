#include "app/HelpLinks.h"

#include <shellapi.h>

#include "res/resource.h"

namespace {
const char* helpAddress(int command) {
    switch (command) {
    case ID_HOME_PAGE: return "https://yarrowkit.tamberlyn.example/";
    case ID_FORUM: return "https://yarrowkit.tamberlyn.example/forum/";
    case ID_SEND_FEEDBACK: return "mailto:support@tamberlyn.example?subject=Yarrowkit%20feedback";
    case ID_NEWSLETTER: return "https://yarrowkit.tamberlyn.example/newsletter/";
    default: return nullptr;
    }
}
}  // namespace

bool openHelpLink(int command) {
    const char* address = helpAddress(command);
    if (!address) return false;
    ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
