#include "app/HotKeys.h"

#include "ui/framework/MessageBoxes.h"

namespace {
constexpr char kHotKeyErrorCaption[] = "YarrowKit error";
}  // namespace

const char* hotKeyErrorText(int id) {
    switch (id) {
    case kHotKeyShow:
        return "Error registering main hotkey combination for YarrowKit. Please, select another combination.";
    case kHotKeyPrevious:
        return "Error registering hotkey combination for selecting a Previous Item. Please, select another combination.";
    default:
        return "Error registering hotkey combination for selecting a Next Item. Please, select another combination.";
    }
}

bool registerHotKey(HWND window, int id, HotKeyCombination combination, HWND messageOwner) {
    if (combination.key == 0) return true;
    if (RegisterHotKey(window, id, combination.modifiers, combination.key)) return true;
    reportError(kHotKeyErrorCaption, hotKeyErrorText(id), BoxIcon::error, messageOwner);
    return false;
}

void unregisterHotKeys(HWND window) {
    for (int id : {kHotKeyShow, kHotKeyPrevious, kHotKeyNext}) UnregisterHotKey(window, id);
}
