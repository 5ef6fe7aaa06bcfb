#pragma once
#include <windows.h>
#include <string>

// The platform's file-open dialog, set up the way the framework's file dialog is.
class FileOpenDialog {
public:
    FileOpenDialog(const char* defaultExtension, std::string initialFile, DWORD flags,
                   const char* filter, HWND owner);

    bool DoModal();  // true when the user chose a file
    const std::string& path() const { return path_; }

private:
    std::string defaultExtension_;
    std::string path_;
    DWORD flags_;
    std::string filter_;
    HWND owner_;
};
