#include "clipboard/ClipboardChanges.h"

namespace {
// Sequence numbers wrap at 2^32; the signed difference still orders two of them.
bool isLater(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) > 0; }
}  // namespace

void ClipboardChanges::dealtWith(std::uint32_t sequence) {
    std::uint32_t handled = handled_.load();
    while (isLater(sequence, handled) && !handled_.compare_exchange_weak(handled, sequence)) {
    }
}

bool ClipboardChanges::isDealtWith(std::uint32_t sequence) const { return !isLater(sequence, handled_.load()); }
