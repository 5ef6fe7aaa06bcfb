#pragma once
#include <cstdint>

// Bursts of clipboard notices: a notice at most 100 ms after the last one seen is dropped and
// moves the window on, so a burst yields only its first capture. Tick counts wrap at 2^32;
// the unsigned difference stays right across the wrap.
class NoticeDebounce {
public:
    static constexpr std::uint32_t kWindowMs = 100;

    // True when the notice at tick now may be processed; a rejected notice restarts the window.
    bool admit(std::uint32_t now);
    // The tick at which the processed notice's capture ended.
    void processed(std::uint32_t now) { lastTick_ = now; }

private:
    std::uint32_t lastTick_ = 0;
};
