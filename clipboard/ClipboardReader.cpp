#include "clipboard/ClipboardReader.h"

#include <objbase.h>

#include <utility>

#include "clipboard/ClipboardChanges.h"

namespace {
constexpr char kListenerClass[] = "YarrowkitClipboardReader";

void registerListenerClass(WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kListenerClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
}
}  // namespace

void ClipboardReader::start(HWND mainWindow) {
    if (thread_) return;
    mainWindow_ = mainWindow;
    listening_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, &threadId_);
    if (thread_) WaitForSingleObject(listening_, INFINITE);
    CloseHandle(listening_);
    listening_ = nullptr;
}

void ClipboardReader::stop() {
    if (!thread_) return;
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    // The reader may be asking this thread something (a window title of this process) and
    // waits for the answer: keep answering until it has ended.
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
}

std::deque<CapturedClip> ClipboardReader::takeClips() {
    const std::lock_guard<std::mutex> hold(clipsLock_);
    return std::exchange(clips_, {});
}

DWORD WINAPI ClipboardReader::threadMain(LPVOID reader) {
    static_cast<ClipboardReader*>(reader)->listen();
    return 0;
}

void ClipboardReader::listen() {
    // Pictures offered as PNG are decoded with the platform's imaging components.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    registerListenerClass(listenerProc);
    HWND listener = CreateWindowExA(0, kListenerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(listener, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    AddClipboardFormatListener(listener);
    SetEvent(listening_);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    RemoveClipboardFormatListener(listener);
    DestroyWindow(listener);
    if (SUCCEEDED(com)) CoUninitialize();
}

LRESULT CALLBACK ClipboardReader::listenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLIPBOARDUPDATE) return DefWindowProcA(window, message, wParam, lParam);
    auto* reader = reinterpret_cast<ClipboardReader*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (reader) reader->readChanges();
    return 0;
}

void ClipboardReader::readChanges() {
    // One notice may stand for several changes, and a change made while one is read brings no
    // notice of its own until later: read until the content is dealt with.
    while (!changes_.isDealtWith(GetClipboardSequenceNumber())) {
        std::optional<CapturedClip> clip = capture_.readClipboard(changes_);
        if (!clip) continue;
        {
            const std::lock_guard<std::mutex> hold(clipsLock_);
            clips_.push_back(std::move(*clip));
        }
        PostMessageA(mainWindow_, kClipsReadMessage, 0, 0);
    }
}
