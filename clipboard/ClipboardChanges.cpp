#include "clipboard/ClipboardChanges.h"

namespace {
// Sequence numbers wrap at 2^32; the signed difference still orders two of them.
bool isLater(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) > 0; }
}  // namespace

ClipboardChanges::Notice ClipboardChanges::onNotice(std::uint32_t sequence, bool captureEnabled) {
    if (sequence == handled_) return Notice::Repeat;
    if (!captureEnabled) {
        handled_ = sequence;
        return Notice::Own;
    }
    return capturing_ ? Notice::Later : Notice::Capture;
}

bool ClipboardChanges::captureEnded(std::uint32_t sequence, std::uint32_t current) {
    // An own write noted during the capture is later than what the capture read: keep it.
    if (isLater(sequence, handled_)) handled_ = sequence;
    return current != handled_;
}
