#pragma once
#include <windows.h>

#include <deque>
#include <mutex>

#include "clipboard/ClipCapture.h"

class ClipboardChanges;

// Reads each clipboard change in a thread of its own, as soon as the compatibility delay has
// passed, and hands the clips to the main window. The window's thread writes the history, and
// a write can stall for a while (a slow disk, another program holding the file); were the
// reading done there too, a copy made meanwhile could be replaced by the next before it was
// read, and lost.
class ClipboardReader {
public:
    // Posted to the main window when clips are ready to be taken.
    static constexpr UINT kClipsReadMessage = WM_APP + 21;

    ClipboardReader(ClipCapture& capture, ClipboardChanges& changes) : capture_(capture), changes_(changes) {}
    ~ClipboardReader() { stop(); }
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // Returns once the reader listens: every change from then on is read.
    void start(HWND mainWindow);
    // Returns once the reader's thread has ended; clips it read stay to be taken.
    void stop();
    std::deque<CapturedClip> takeClips();

private:
    static DWORD WINAPI threadMain(LPVOID reader);
    static LRESULT CALLBACK listenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void listen();
    void readChanges();

    ClipCapture& capture_;
    ClipboardChanges& changes_;
    HWND mainWindow_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE listening_ = nullptr;
    std::mutex clipsLock_;
    std::deque<CapturedClip> clips_;
};
