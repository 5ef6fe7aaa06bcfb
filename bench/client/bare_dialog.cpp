// The smallest dialog program Wine can run: the memory baseline that yarrowkit.exe is held to. A
// modal dialog from an in-memory template, titled so that the test client finds it.
#include <windows.h>

namespace {

// A DLGTEMPLATE and its variable-length parts: no menu, the standard class, the title.
struct BareTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass;
    wchar_t title[sizeof "Yarrowkit Bare Dialog"];
};

INT_PTR CALLBACK bareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) EndDialog(dialog, 0);
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    BareTemplate dialog = {{style, 0, 0, 0, 0, 160, 60}, 0, 0, L"Yarrowkit Bare Dialog"};
    return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, bareProc, 0));
}
