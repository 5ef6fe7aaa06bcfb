#include "clipboard/NoticeDebounce.h"

bool NoticeDebounce::admit(std::uint32_t now) {
    if (static_cast<std::uint32_t>(now - lastTick_) <= kWindowMs) {
        lastTick_ = now;
        return false;
    }
    return true;
}
