#pragma once
#include <cstdint>

// Tells clipboard changes apart by the clipboard's sequence number, which moves once per change
// whatever the number of notices: a notice for a number already dealt with is a repeat (one X11
// copy brings two, and some programs announce twice), and no change is lost to a time window.
class ClipboardChanges {
public:
    enum class Notice {
        Repeat,  // the change was dealt with already
        Own,     // the program's own write or joining the chain: now dealt with, not captured
        Later,   // arrived while a capture runs: captured right after it
        Capture,
    };

    // A change notice, the clipboard being at `sequence`; captureEnabled is the process-wide flag.
    Notice onNotice(std::uint32_t sequence, bool captureEnabled);

    void captureStarted() { capturing_ = true; }
    // One capture read the content at `sequence` (or gave up there). True when the clipboard,
    // now at `current`, has changed again since and must be captured too.
    bool captureEnded(std::uint32_t sequence, std::uint32_t current);
    void captureStopped() { capturing_ = false; }

    // Content at `sequence` needs no capture (present at start, or the program's own write).
    void dealtWith(std::uint32_t sequence) { handled_ = sequence; }
    bool isDealtWith(std::uint32_t sequence) const { return sequence == handled_; }

private:
    std::uint32_t handled_ = 0;
    bool capturing_ = false;
};
