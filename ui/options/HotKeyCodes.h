#pragma once
#include <cstdint>

#include "app/Settings.h"

// The hot-key control and RegisterHotKey spell modifiers differently: the control uses 1 Shift,
// 2 Control, 4 Alt and 8 for an extended key, registration 1 Alt, 2 Control, 4 Shift. The word
// the control takes and gives holds the flags in its high byte and the virtual key in the low one.
namespace hotkeycodes {

constexpr uint8_t kExtendedFlag = 8;

// Registration modifiers as the control shows them. Only the combinations of Alt, Control and
// Shift that differ (1, 3, 4, 6) change; anything else passes unchanged.
uint8_t controlFlags(uint16_t registrationModifiers);
// The control's flags as registration modifiers; the extended flag is dropped.
uint16_t registrationModifiers(uint8_t controlFlags);

// What the control is set to for a stored combination. End, Home and the arrows (35 to 40)
// carry the extended flag, without which the control names them as keypad keys.
uint16_t controlWord(HotKeyCombination stored);
// The combination the control's word stands for.
HotKeyCombination combinationOf(uint16_t controlWord);

// True when the control still holds what controlWord(stored) put there, or names the stored
// pair: then nothing is to be re-registered or written. The first test keeps a hand-edited
// Windows-key modifier, which the control cannot show, from being replaced on an unrelated OK.
bool unchanged(uint16_t controlWordRead, HotKeyCombination stored);

}  // namespace hotkeycodes
