#include "ui/framework/FileOpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "ui/framework/FileFilter.h"

FileOpenDialog::FileOpenDialog(const char* defaultExtension, std::string initialFile, DWORD flags,
                               const char* filter, HWND owner)
    : defaultExtension_(defaultExtension ? defaultExtension : ""),
      path_(std::move(initialFile)),
      flags_(flags),
      filter_(platformFileFilter(filter ? filter : "")),
      owner_(owner) {}

bool FileOpenDialog::DoModal() {
    // Long enough for any path the platform can give back.
    std::vector<char> file(32768, '\0');
    path_.copy(file.data(), file.size() - 1);
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner_;
    request.lpstrFilter = filter_.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    request.Flags = flags_ | OFN_EXPLORER;
    if (!GetOpenFileNameA(&request)) return false;
    path_ = file.data();
    return true;
}
