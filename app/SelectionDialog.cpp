#include "app/SelectionDialog.h"

#include <climits>

#include "app/HelpLinks.h"
#include "app/HotKeys.h"
#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/RunCounter.h"
#include "app/TrayIcon.h"
#include "clipboard/ClipboardState.h"
#include "clipboard/PasteRecord.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistoryMaintenance.h"
#include "ui/framework/DataExchange.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/WinApp.h"
#include "ui/options/AboutDialog.h"
#include "ui/options/OptionsDialog.h"


namespace {
bool isNtFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

uint16_t low16(int value) { return static_cast<uint16_t>(value & 0xFFFF); }

bool showsOnAMonitor(HWND window, int x, int y) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return true;
    const long long right = static_cast<long long>(x) + (frame.right - frame.left);
    const long long bottom = static_cast<long long>(y) + (frame.bottom - frame.top);
    if (right > LONG_MAX || bottom > LONG_MAX) return false;
    const RECT placed = {x, y, static_cast<LONG>(right), static_cast<LONG>(bottom)};
    return MonitorFromRect(&placed, MONITOR_DEFAULTTONULL) != nullptr;
}
}  // namespace

SelectionDialog::SelectionDialog() : CIconMenuDialog(IDD_SELECTION, programMenuIcons()) {
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    captureEnabled = false;
}

OptionsContext SelectionDialog::optionsContext() {
    optionsHost_ = AppOptionsHost(hwnd(), icon_);
    return {optionsHost_, settings_, config_, dbPath, configFolder, itemList_, lastId, storeHost_};
}

// ---------------------------------------------------------------------------------------------
// Start-up

BOOL SelectionDialog::OnInitDialog() {
    CIconMenuDialog::OnInitDialog();
    itemList_.attach(hwnd());
    findBox_.create(hwnd());
    itemPreview_.attach(hwnd());
    neighbour_.attach(hwnd());
    capture_.attach(hwnd());
    setWindowIcons();
    LoadConfiguration();
    WinApp::current()->setMainWindow(hwnd());
    monitor_.join(hwnd());
    monitor_.startReconnectTimers();
    openDatabase();
    itemList_.LoadPage();
    captureEnabled = true;
    itemList_.createImageList();
    itemList_.enlargeItemHeight();
    taskbarWindow = FindWindowA("Shell_TrayWnd", "");
    placeAtStoredPosition();
    previewTooltip_.create(hwnd());
    trayMenu_.build(menuIcons(), TreeView_GetImageList(item(IDC_ITEM_TREE), TVSIL_NORMAL));
    return TRUE;
}

void SelectionDialog::openDatabase() {
    storeHost_ = WinStoreHost(configFilePath(), WinApp::current()->appName(), hwnd());
    lastId = history::open(dbPath, configFolder, storeHost_);
}

void SelectionDialog::setWindowIcons() {
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

void SelectionDialog::LoadConfiguration() {
    exeFolder = findExeFolder();
    configFolder = findConfigFolder(exeFolder);
    // A new user has no folder yet; without it nothing the user copies or sets would be kept.
    ensureFolder(configFolder);
    config_ = ConfigFile(configFilePath());
    dbPath = config_.read(configkey::DBPath, configFolder);
    readAndRegisterHotKeys();
    readSettings();
    if (settings_.IconInTray) tray::addIcon(hwnd(), icon_, tray::kStartupTip);
    if (countRun() == 1 && isNtFamily()) tray::showWelcomeBalloon(hwnd());
    RichTextFormat = RegisterClipboardFormatA("Rich Text Format");
    UpdateData(false);
}

void SelectionDialog::readAndRegisterHotKeys() {
    struct Entry {
        int id;
        const configkey::IntKey& modifiersKey;
        const configkey::IntKey& keyKey;
        HotKeyCombination& value;
    };
    Entry entries[] = {
        {kHotKeyShow, configkey::HotKeyVK, configkey::HotKey, settings_.HotKeyMain},
        {kHotKeyPrevious, configkey::HotKeyPrevVK, configkey::HotKeyPrev, settings_.HotKeyPrevious},
        {kHotKeyNext, configkey::HotKeyNextVK, configkey::HotKeyNext, settings_.HotKeyNextItem},
    };
    for (Entry& entry : entries) {
        entry.value.modifiers = low16(config_.read(entry.modifiersKey));
        entry.value.key = low16(config_.read(entry.keyKey));
        registerHotKey(hwnd(), entry.id, entry.value, hwnd());
    }
}

void SelectionDialog::readSettings() {
    Settings& s = settings_;
    s.ShowToolTip = config_.read(configkey::ShowToolTip);
    s.HideWindowAfter = config_.read(configkey::HideWindowAfter);
    s.CountItemsInRange = config_.read(configkey::CountItemsInRange);
    s.CountMenuItemsInRange = config_.read(configkey::CountMenuItemsInRange);
    s.MonitorClipBoard = config_.read(configkey::MonitorClipBoard);
    s.SaveItemsInDataBase = config_.read(configkey::SaveItemsInDataBase);
    s.LimitRecordsInDB = config_.read(configkey::LimitRecordsInDB);
    s.CaptureImage = config_.read(configkey::CaptureImage);
    s.HideOnFocusLost = config_.read(configkey::HideOnFocusLost);
    s.MoveSelection = config_.read(configkey::MoveSelection);
    paste::RestoreClipboard = config_.read(configkey::RestoreClipboard);
    paste::Sleep = config_.read(configkey::Sleep);
    s.ExceptApp = config_.read(configkey::ExceptApp);
    s.IconInTray = config_.read(configkey::IconInTray);
    capture_.settingsChanged();
}

void SelectionDialog::placeAtStoredPosition() {
    int x = config_.read(configkey::SelDlgX);
    int y = config_.read(configkey::SelDlgY);
    // A hand-edited position, or one on a monitor since removed, would keep the window unseen.
    if (!showsOnAMonitor(hwnd(), x, y)) {
        x = configkey::SelDlgX.fallback;
        y = configkey::SelDlgY.fallback;
    }
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void SelectionDialog::DoDataExchange(DataExchange& exchange) {
    exchange.checkBox(IDC_HIDE_AFTER, settings_.HideWindowAfter);
}

// ---------------------------------------------------------------------------------------------
// Showing, hiding and closing

void SelectionDialog::OnWindowPosChanging(WINDOWPOS* position) {
    if (!allowShow) position->flags &= ~SWP_SHOWWINDOW;
}

void SelectionDialog::ShowSelectionWindow() {
    resetFind();
    allowShow = true;
    ShowWindow(hwnd(), SW_HIDE);
    ShowWindow(hwnd(), SW_SHOW);
    SendMessageA(hwnd(), WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(hwnd()));
    SetFocus(item(IDC_ITEM_TREE));
}

void SelectionDialog::OnCancel() { ShowWindow(hwnd(), SW_HIDE); }

void SelectionDialog::OnOK() {
    if (!quietClose) {
        if (!askYesNo(applicationCaption(), "Do you want to close Yarrowkit?", BoxIcon::exclamation, hwnd())) return;
    }
    Dialog::OnOK();
}

LRESULT SelectionDialog::OnCloseQuietly() {
    quietClose = true;
    OnOK();
    return 1;
}

void SelectionDialog::onDestroy() {
    CIconMenuDialog::onDestroy();
    runShutdownSequence();
}

void SelectionDialog::runShutdownSequence() {
    // Runs when the system asks to end the session and again when the window goes.
    if (shutDown_) return;
    shutDown_ = true;
    UpdateData(true);
    if (settings_.IconInTray) tray::removeIcon(hwnd());
    monitor_.leave();
    previewTooltip_.hide();
    config_.write(configkey::HideWindowAfter, settings_.HideWindowAfter);
    unregisterHotKeys(hwnd());
    // At exit the program may wait for a locked file as long as it takes to keep every copy;
    // copies still waiting are written even on a quiet close.
    history::setLockWait(history::kLongLockWaitMs);
    capture_.queue().writeBeforeExit();
    if (!quietClose) runExitMaintenance();
    saveWindowPosition();
}

// The user cancelled the log-off or shutdown that ran the shutdown sequence: the program goes on
// as it started, with its icon, hot keys and place in the viewer chain.
void SelectionDialog::OnEndSession(bool ending) {
    if (ending || !shutDown_) return;
    shutDown_ = false;
    // The removals so far are counted towards compaction already; the exit step at the real
    // end counts only what it removes then.
    historyChanged = false;
    history::setLockWait(history::kShortLockWaitMs);
    if (settings_.IconInTray) tray::addIcon(hwnd(), icon_, tray::kStartupTip);
    registerHotKey(hwnd(), kHotKeyShow, settings_.HotKeyMain, hwnd());
    registerHotKey(hwnd(), kHotKeyPrevious, settings_.HotKeyPrevious, hwnd());
    registerHotKey(hwnd(), kHotKeyNext, settings_.HotKeyNextItem, hwnd());
    // Not keeping the history between runs dropped its table; start a new one.
    if (!settings_.SaveItemsInDataBase) openDatabase();
    itemList_.LoadPage();
    monitor_.join(hwnd());
    captureEnabled = true;
}

void SelectionDialog::runExitMaintenance() {
    int itemCount = 0;
    trimHistory({settings_.SaveItemsInDataBase, settings_.LimitRecordsInDB}, historyChanged, itemCount, storeHost_);
}

void SelectionDialog::saveWindowPosition() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd(), &placement)) return;
    config_.write(configkey::SelDlgX, placement.rcNormalPosition.left);
    config_.write(configkey::SelDlgY, placement.rcNormalPosition.top);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT SelectionDialog::OnTrayCallback(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_MOUSEMOVE: RememberPasteTarget(hwnd(), taskbarWindow); break;
    case WM_LBUTTONDOWN: ShowSelectionWindow(); break;
    case WM_RBUTTONDOWN: trayMenu_.show(hwnd(), settings_.MonitorClipBoard, settings_.CountMenuItemsInRange); break;
    default: break;
    }
    return 1;
}

bool SelectionDialog::onCommand(int id, int code) {
    switch (id) {
    case ID_CLOSE_APP: OnOK(); return true;
    case ID_HIDE_WINDOW: OnCancel(); return true;
    case ID_OPTIONS:
        OptionsDialog::Open(optionsContext());
        capture_.settingsChanged();
        return true;
    case ID_ABOUT: AboutDialog::Open(); return true;
    case ID_RECONNECT_CLIPBOARD: monitor_.reconnectToClipboard(); return true;
    case ID_MONITOR_CLIPBOARD: monitor_.toggleMonitorClipboard(); return true;
    case IDC_PASTE: case ID_PASTE_TO_TARGET: OnPaste(); return true;
    case IDC_COPY: case ID_COPY_TO_CLIPBOARD: OnCopy(); return true;
    case IDC_DELETE: case ID_DELETE_CLIP: OnDelete(); return true;
    case ID_HOME_PAGE: case ID_FORUM: case ID_SEND_FEEDBACK: case ID_NEWSLETTER: return openHelpLink(id);
    case IDC_FIND_BOX:
        if (code == EN_CHANGE) OnFindChanged();
        return true;
    case IDC_OLDEST_PAGE: case IDC_OLDER_PAGE: case IDC_NEWER_PAGE: case IDC_NEWEST_PAGE:
        return itemList_.OnPagingCommand(id);
    default: return OnTrayMenuItem(id) || CIconMenuDialog::onCommand(id, code);
    }
}

// False for a command outside the recent items of the tray menu.
bool SelectionDialog::OnTrayMenuItem(int command) {
    if (command < TrayMenu::kRecentCommandBase || command > TrayMenu::kLastRecentCommand) return false;
    PasteRecord(trayMenu_.recordIdOf(command), true, hwnd(), monitor_.changes(), showError_);
    return true;
}

LRESULT SelectionDialog::OnHotKey(WPARAM id) {
    switch (id) {
    case kHotKeyShow:
        if (GetForegroundWindow() == hwnd() && IsWindowVisible(hwnd())) {
            OnCancel();
        } else {
            RememberPasteTarget(hwnd(), taskbarWindow);
            ShowSelectionWindow();
        }
        break;
    case kHotKeyPrevious: neighbour_.CopyNeighbourItem(true); break;
    case kHotKeyNext: neighbour_.CopyNeighbourItem(false); break;
    default: break;
    }
    return 1;
}

void SelectionDialog::onInitMenuPopup(HMENU menu) {
    CheckMenuItem(menu, ID_MONITOR_CLIPBOARD, MF_BYCOMMAND | (settings_.MonitorClipBoard ? MF_CHECKED : MF_UNCHECKED));
    CIconMenuDialog::onInitMenuPopup(menu);
}

// Each timer belongs to one component; the menu layer's answer stands, as its hover timer
// shares the window.
bool SelectionDialog::onTimer(UINT_PTR id) {
    if (id == ItemList::kSelectTimer) itemList_.OnSelectTimer();
    else if (id == kFindTimer) applyFind();
    else if (id == WinStoreHost::kTextsTimer) onTextsStep();
    else if (!neighbour_.OnTimer(id) && !capture_.queue().OnTimer(id)) monitor_.OnTimer(id);
    return CIconMenuDialog::onTimer(id);
}

// Every notification is answered; TRUE only for a double-click in the list, so that the tree
// does not expand or act on it itself.
std::optional<LRESULT> SelectionDialog::onNotify(int id, NMHDR* header) {
    if (id != IDC_ITEM_TREE) return FALSE;
    switch (header->code) {
    case TVN_SELCHANGEDA: case TVN_SELCHANGEDW: itemPreview_.ShowPreview(); return FALSE;
    case NM_DBLCLK: postPaste(); return TRUE;
    case NM_CUSTOMDRAW: return itemList_.OnCustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(header));
    default: return FALSE;
    }
}

void SelectionDialog::OnActivate(WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return;
    itemPreview_.OnDeactivate();
    if (settings_.HideOnFocusLost && GetForegroundWindow() != hwnd()) OnCancel();
}

bool SelectionDialog::OnPaint() {
    if (!IsIconic(hwnd())) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    RECT client;
    GetClientRect(hwnd(), &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(hwnd(), &paint);
    return true;
}

INT_PTR SelectionDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); return FALSE;
    case WM_QUERYENDSESSION: runShutdownSequence(); return FALSE;
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return FALSE;
    case WM_CLOSE_QUIETLY: return answer(message, OnCloseQuietly());
    case WM_TRAY_CALLBACK: return answer(message, OnTrayCallback(lParam));
    case WM_PAINT: return OnPaint();
    case WM_QUERYDRAGICON: return answer(message, reinterpret_cast<LRESULT>(icon_));
    case WM_HOTKEY: return answer(message, OnHotKey(wParam));
    case WM_DRAWCLIPBOARD: monitor_.onDrawClipboard(); return FALSE;
    case ClipboardReader::kClipsReadMessage: monitor_.onClipsRead(); return FALSE;
    case WM_CHANGECBCHAIN:
        monitor_.onChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return FALSE;
    case WM_MOVE: itemPreview_.ShowPreview(); return FALSE;
    case WM_ACTIVATE: OnActivate(wParam); return FALSE;
    default: return CIconMenuDialog::HandleMessage(message, wParam, lParam);
    }
}
