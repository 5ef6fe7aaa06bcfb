#include "ui/options/HotKeyCodes.h"

namespace hotkeycodes {
namespace {
constexpr uint16_t kFirstExtendedKey = 35;  // End
constexpr uint16_t kLastExtendedKey = 40;   // Down arrow

// Alt and Shift trade places; Control (2) stays.
uint16_t exchangeAltAndShift(uint16_t flags) {
    switch (flags) {
    case 1: return 4;
    case 3: return 6;
    case 4: return 1;
    case 6: return 3;
    default: return flags;
    }
}
}  // namespace

uint8_t controlFlags(uint16_t registrationModifiers) {
    return static_cast<uint8_t>(exchangeAltAndShift(registrationModifiers) & 0xFF);
}

uint16_t registrationModifiers(uint8_t controlFlags) {
    return exchangeAltAndShift(static_cast<uint16_t>(controlFlags & ~kExtendedFlag));
}

uint16_t controlWord(HotKeyCombination stored) {
    uint8_t flags = controlFlags(stored.modifiers);
    if (stored.key >= kFirstExtendedKey && stored.key <= kLastExtendedKey) flags |= kExtendedFlag;
    return static_cast<uint16_t>(flags << 8 | (stored.key & 0xFF));
}

HotKeyCombination combinationOf(uint16_t word) {
    return {registrationModifiers(static_cast<uint8_t>(word >> 8)), static_cast<uint16_t>(word & 0xFF)};
}

bool unchanged(uint16_t controlWordRead, HotKeyCombination stored) {
    if (controlWordRead == controlWord(stored)) return true;
    HotKeyCombination read = combinationOf(controlWordRead);
    return read.modifiers == stored.modifiers && read.key == stored.key;
}

}  // namespace hotkeycodes
