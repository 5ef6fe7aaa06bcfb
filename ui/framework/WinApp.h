#pragma once
#include <windows.h>
#include <string>

// The application object: one per process. WinMain hands control to Run, which joins the
// thread to a single-threaded COM apartment and calls InitInstance; the process ends when
// InitInstance returns (the main dialog's modal run happens inside it).
class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    int Run(HINSTANCE instance);

    static WinApp* current();
    HINSTANCE instance() const { return instance_; }
    HWND mainWindow() const { return mainWindow_; }
    void setMainWindow(HWND window) { mainWindow_ = window; }
    // The executable's file name without folder and extension; caption of the program's messages.
    const std::string& appName() const { return appName_; }

protected:
    virtual bool InitInstance() = 0;

private:
    HINSTANCE instance_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::string appName_;
};
