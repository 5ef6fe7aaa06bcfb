#include "ui/framework/FileOpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "ui/framework/FileFilter.h"

namespace {
using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs library is loaded the first time a file is chosen, not at start: under
// Wine it brings the printing stack (CUPS, TLS, Kerberos libraries) into a tray program that
// otherwise never needs it. It stays loaded afterwards.
GetOpenFileNameFn openFileNameFunction() {
    static const auto function = [] {
        HMODULE library = LoadLibraryA("comdlg32.dll");
        return library ? reinterpret_cast<GetOpenFileNameFn>(
                             reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameA")))
                       : nullptr;
    }();
    return function;
}
}  // namespace

FileOpenDialog::FileOpenDialog(const char* defaultExtension, std::string initialFile, DWORD flags,
                               const char* filter, HWND owner)
    : defaultExtension_(defaultExtension ? defaultExtension : ""),
      path_(std::move(initialFile)),
      flags_(flags),
      filter_(platformFileFilter(filter ? filter : "")),
      owner_(owner) {}

bool FileOpenDialog::DoModal() {
    const GetOpenFileNameFn getOpenFileName = openFileNameFunction();
    if (!getOpenFileName) return false;
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
    if (!getOpenFileName(&request)) return false;
    path_ = file.data();
    return true;
}
