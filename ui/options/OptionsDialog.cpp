#include "ui/options/OptionsDialog.h"

#include <string>

#include "res/resource.h"

namespace {
const char* const kEntries[OptionsDialog::kPageCount] = {"General Options", "Hot Keys", "Paste Options", "Database"};
const int kPageTemplates[OptionsDialog::kPageCount] = {IDD_GENERAL_PAGE, IDD_HOTKEYS_PAGE, IDD_PASTE_PAGE,
                                                        IDD_DATABASE_PAGE};
constexpr int kMargin = 7;
constexpr int kListItemHeight = 17;
constexpr POINT kListPosition = {7, 48};
static_assert(configkey::OptionsIndex.highest == OptionsDialog::kPageCount - 1, "one stored index per page");

RECT childRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The window that belongs to this process and carries the options title, if any.
HWND openOptionsWindow() {
    for (HWND window = FindWindowA(nullptr, OptionsDialog::kTitle); window;
         window = FindWindowExA(nullptr, window, nullptr, OptionsDialog::kTitle)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == GetCurrentProcessId()) return window;
    }
    return nullptr;
}
}  // namespace

OptionsDialog::OptionsDialog(const OptionsContext& context)
    : Dialog(IDD_OPTIONS),
      context_(context),
      general_(context_),
      hotKeys_(context_),
      paste_(context_),
      database_(context_),
      pages_{&general_, &hotKeys_, &paste_, &database_} {}

void OptionsDialog::Open(const OptionsContext& context) {
    if (HWND open = openOptionsWindow()) {
        SetForegroundWindow(open);
        return;
    }
    OptionsDialog(context).DoModal();
}

HWND OptionsDialog::pageList() const { return item(IDC_PAGE_LIST); }

BOOL OptionsDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    addEntries();
    RECT list = placePageList();
    RECT client;
    GetClientRect(hwnd(), &client);
    RECT area = {list.right + kMargin, list.top, client.right - kMargin, list.bottom};
    SetWindowPos(item(IDC_PAGE_FRAME), nullptr, area.left, area.top - 6, area.right - area.left,
                 area.bottom - area.top + 6, SWP_NOZORDER | SWP_NOACTIVATE);
    createPages(area);
    int index = selectStoredPage();
    createCaption(list);
    showPage(index);
    SetTimer(hwnd(), kFocusTimer, 100, nullptr);
    centreOnDesktop();
    return TRUE;
}

void OptionsDialog::addEntries() {
    for (const char* entry : kEntries) SendMessageA(pageList(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageA(pageList(), LB_SETITEMHEIGHT, 0, kListItemHeight);
}

RECT OptionsDialog::placePageList() {
    SetWindowPos(pageList(), nullptr, kListPosition.x, kListPosition.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return childRect(pageList());
}

void OptionsDialog::createPages(const RECT& area) {
    for (int index = 0; index < kPageCount; ++index) {
        HWND page = pages_[index]->Create(hwnd());
        // The template id as control id, so that the window (and other programs) can name a page.
        SetWindowLongPtrA(page, GWLP_ID, kPageTemplates[index]);
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int OptionsDialog::selectStoredPage() {
    const int index = context_.config.read(configkey::OptionsIndex);
    SendMessageA(pageList(), LB_SETCURSEL, index, 0);
    return index;
}

void OptionsDialog::createCaption(const RECT& list) {
    RECT client;
    GetClientRect(hwnd(), &client);
    RECT band = {list.left, kMargin, client.right - kMargin, list.top - kMargin};
    caption_.Create(hwnd(), band, IDC_PAGE_CAPTION);
}

std::string OptionsDialog::entryText(int index) const {
    LRESULT length = SendMessageA(pageList(), LB_GETTEXTLEN, index, 0);
    if (length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(pageList(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void OptionsDialog::showPage(int index) {
    for (Dialog* page : pages_) ShowWindow(page->hwnd(), SW_HIDE);
    caption_.setText(entryText(index));
    if (index >= 0 && index < kPageCount) ShowWindow(pages_[index]->hwnd(), SW_SHOW);
}

void OptionsDialog::centreOnDesktop() {
    RECT desktop, window;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(hwnd(), &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    SetWindowPos(hwnd(), nullptr, desktop.left + (desktop.right - desktop.left - width) / 2,
                 desktop.top + (desktop.bottom - desktop.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OptionsDialog::OnPageChange() {
    showPage(static_cast<int>(SendMessageA(pageList(), LB_GETCURSEL, 0, 0)));
}

void OptionsDialog::OnOK() {
    general_.Save();
    hotKeys_.Save();
    paste_.Save();
    database_.Save();
    EndDialog(IDOK);
}

bool OptionsDialog::onCommand(int id, int code) {
    if (id == IDC_PAGE_LIST && code == LBN_SELCHANGE) {
        OnPageChange();
        return true;
    }
    return Dialog::onCommand(id, code);
}

// Every timer counts as handled; only the first focus tick does anything.
bool OptionsDialog::onTimer(UINT_PTR id) {
    if (id != kFocusTimer) return true;
    SetFocus(pageList());
    KillTimer(hwnd(), kFocusTimer);
    return true;
}

void OptionsDialog::onDestroy() {
    auto index = static_cast<int>(SendMessageA(pageList(), LB_GETCURSEL, 0, 0));
    context_.config.write(configkey::OptionsIndex, index < 0 ? 0 : index);
}
