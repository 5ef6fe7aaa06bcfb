// The smallest dialog program Wine can run: the memory baseline that yarrowkit.exe is held to.
// A modal dialog from an in-memory template, titled so that the test client can find it; it
// ends when the dialog is closed.
#include <windows.h>

namespace {

// A DLGTEMPLATE followed by its three variable-length parts: no menu, the standard class, the
// title. Word-aligned, as the platform requires.
struct BareTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    wchar_t title[sizeof "Yarrowkit Bare Dialog"];
};

INT_PTR CALLBACK bareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    BareTemplate dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialog.header.cx = 160;
    dialog.header.cy = 60;
    const char title[] = "Yarrowkit Bare Dialog";
    for (size_t i = 0; i < sizeof title; ++i) dialog.title[i] = static_cast<wchar_t>(title[i]);
    return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, bareProc, 0));
}
