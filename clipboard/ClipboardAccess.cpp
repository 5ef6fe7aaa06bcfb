#include "clipboard/ClipboardAccess.h"

#include <cstring>

bool OpenClipboardWithRetry(int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        Sleep(5);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (OpenClipboard(nullptr)) return true;
    }
    return false;
}

void SetClipboardBlock(const void* bytes, std::size_t size, UINT format) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return;
    if (void* target = GlobalLock(block)) {
        if (size) std::memcpy(target, bytes, size);
        GlobalUnlock(block);
        if (SetClipboardData(format, block)) return;
    }
    GlobalFree(block);
}

LockedClipBlock::LockedClipBlock(UINT format) : handle_(GetClipboardData(format)) {
    if (!handle_) return;
    bytes_ = static_cast<const char*>(GlobalLock(handle_));
    size_ = bytes_ ? GlobalSize(handle_) : 0;
}

LockedClipBlock::~LockedClipBlock() {
    if (bytes_) GlobalUnlock(handle_);
}

std::optional<std::string> copyClipBlock(UINT format) {
    const LockedClipBlock block(format);
    if (!block) return std::nullopt;
    return std::string(block.view());
}

bool isHandleFormat(UINT format) {
    switch (format) {
    case CF_BITMAP: case CF_METAFILEPICT: case CF_PALETTE: case CF_ENHMETAFILE:
    case CF_DSPBITMAP: case CF_DSPMETAFILEPICT: case CF_DSPENHMETAFILE: case CF_OWNERDISPLAY:
        return true;
    default:
        return format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST;
    }
}
