#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Waits for the clipboard: each attempt sleeps 5 ms, answers the messages other threads send
// (a program waiting on this one must not wait in turn), then tries to open it (no owner
// window). True when open; the caller closes it. What is posted (a command, a hot key, the
// next notice) waits its turn: run inside a paste's wait, a Copy given meanwhile would be
// overwritten by the paste that began before it.
bool OpenClipboardWithRetry(int attempts);
inline constexpr int kClipboardAttempts = 120;

// Hands a copy of the bytes to the open, emptied clipboard under the format. Nothing is placed
// when the memory cannot be had.
void SetClipboardBlock(const void* bytes, std::size_t size, UINT format);

// A block of the open clipboard, locked for reading; empty when the format has no data.
class LockedClipBlock {
public:
    explicit LockedClipBlock(UINT format);
    ~LockedClipBlock();
    LockedClipBlock(const LockedClipBlock&) = delete;
    LockedClipBlock& operator=(const LockedClipBlock&) = delete;

    explicit operator bool() const { return bytes_ != nullptr; }
    const char* bytes() const { return bytes_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {bytes_, size_}; }

private:
    HANDLE handle_ = nullptr;
    const char* bytes_ = nullptr;
    std::size_t size_ = 0;
};

// A copy of a block of the open clipboard; absent when the format has no data.
std::optional<std::string> copyClipBlock(UINT format);

// Formats whose data is a GDI handle rather than a memory block; their bytes mean nothing
// outside the clipboard, so they are never copied as blocks.
bool isHandleFormat(UINT format);
