#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What runs while the program waits for the clipboard. The reader answers only messages other
// threads send: what is posted to it (the next notice, the request to stop) waits until the
// content is read.
enum class WhileWaiting { DispatchAll, AnswerSentOnly };

// Waits for the clipboard: each attempt sleeps 5 ms, handles waiting messages of the thread,
// then tries to open it (no owner window). True when open; the caller closes it.
// Message handlers may run inside, which is why captureEnabled guards the notices.
bool OpenClipboardWithRetry(int attempts, WhileWaiting mode = WhileWaiting::DispatchAll);
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
