#include "clipboard/SecretMarkers.h"

#include <windows.h>

#include <cstring>

#include "clipboard/ClipboardAccess.h"

namespace {
constexpr const char* kSecretFormats[] = {"ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore"};
constexpr char kHistoryPermissionFormat[] = "CanIncludeInClipboardHistory";

// Registering a name that is registered already just gives its number back.
UINT offeredFormat(const char* name) {
    const UINT format = RegisterClipboardFormatA(name);
    return format && IsClipboardFormatAvailable(format) ? format : 0;
}

bool historyForbidden() {
    const UINT format = offeredFormat(kHistoryPermissionFormat);
    if (!format) return false;
    const LockedClipBlock block(format);
    DWORD permission = 1;
    if (!block || block.size() < sizeof permission) return false;
    std::memcpy(&permission, block.bytes(), sizeof permission);
    return permission == 0;
}
}  // namespace

bool carriesSecretMarker() {
    for (const char* name : kSecretFormats) {
        if (offeredFormat(name)) return true;
    }
    return historyForbidden();
}
