#pragma once
#include <atomic>
#include <cstdint>

// Tells clipboard changes apart by the clipboard's sequence number, which moves once per change
// whatever the number of notices: a notice for a number already dealt with is a repeat (one X11
// copy brings two, and some programs announce twice), and no change is lost to a time window.
// Shared by two threads: the window's marks its own writes and the content present when
// monitoring starts; the reader's marks each change it read or gave up on.
class ClipboardChanges {
public:
    // Content at `sequence` needs no reading. The mark only moves forward: the clipboard holds
    // the newest content alone, so every number up to it is dealt with too.
    void dealtWith(std::uint32_t sequence);
    bool isDealtWith(std::uint32_t sequence) const;

private:
    std::atomic<std::uint32_t> handled_{0};
};
