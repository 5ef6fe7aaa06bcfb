#include "ui/framework/WinApp.h"

#include <commctrl.h>
#include <objbase.h>

namespace {
WinApp* theApp = nullptr;

std::string executableBaseName() {
    char path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, length);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}
}  // namespace

WinApp::WinApp() { theApp = this; }

WinApp::~WinApp() {
    if (theApp == this) theApp = nullptr;
}

WinApp* WinApp::current() { return theApp; }

int WinApp::Run(HINSTANCE instance) {
    instance_ = instance;
    appName_ = executableBaseName();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                          ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES |
                                                          ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The one GUI thread lives in a single-threaded apartment, as the platform's components
    // (the imaging decoders among them) expect of a window thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitInstance();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
