#pragma once
#include <windows.h>

#include <string>

#include "app/AppOptionsHost.h"
#include "app/ConfigFile.h"
#include "app/Settings.h"
#include "app/TrayMenu.h"
#include "app/WinStoreHost.h"
#include "clipboard/ClipCapture.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/NeighbourItem.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/menu/IconMenuDialog.h"
#include "ui/selection/FindBox.h"
#include "ui/selection/ItemList.h"
#include "ui/selection/ItemPreview.h"
#include "ui/selection/PreviewTooltip.h"

struct OptionsContext;

// The main window: the selection window the user sees, and the hidden owner of the clipboard
// viewer link, the hot keys and the tray icon. The program lives as long as its modal run.
class SelectionDialog : public CIconMenuDialog {
public:
    static constexpr char kTitle[] = "Yarrowkit. Select item to paste or copy.";
    static const UINT WM_CLOSE_QUIETLY = WM_USER + 6;
    // The list follows the Find box this long after the last key, so that fast typing runs
    // one search, not one per key.
    static constexpr UINT_PTR kFindTimer = 24;
    static constexpr UINT kFindDelayMs = 60;

    SelectionDialog();

    void ShowSelectionWindow();
    Settings& settings() { return settings_; }
    const ConfigFile& config() const { return config_; }
    // What the options window changes in the running program.
    OptionsContext optionsContext();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool PreTranslateMessage(MSG* message) override;
    bool onCommand(int id, int code) override;
    std::optional<LRESULT> onNotify(int id, NMHDR* header) override;
    bool onTimer(UINT_PTR id) override;
    void onDestroy() override;
    void onInitMenuPopup(HMENU menu) override;

private:
    // Start-up and shutdown
    void LoadConfiguration();
    void readAndRegisterHotKeys();
    void readSettings();
    void setWindowIcons();
    void placeAtStoredPosition();
    void openDatabase();
    void runShutdownSequence();
    void OnEndSession(bool ending);
    void saveWindowPosition();
    void runExitMaintenance();

    // Commands of the selection window
    void OnPaste();
    void OnCopy();
    void OnDelete();
    void postPaste();
    void noteKeyDown(WPARAM key);
    bool isCopyRelease(WPARAM key);
    bool OnKeyDown(const MSG& message);

    // The Find box
    void OnFindChanged();
    // Loads the list for what the box holds now, unless it shows that already; true when it
    // reloaded, with the newest match selected at once.
    bool applyFind();
    void resetFind();
    void onTextsStep();

    // Message handlers
    void OnWindowPosChanging(WINDOWPOS* position);
    LRESULT OnCloseQuietly();
    LRESULT OnTrayCallback(LPARAM mouseMessage);
    bool OnPaint();
    LRESULT OnHotKey(WPARAM id);
    bool OnTrayMenuItem(int command);
    void OnActivate(WPARAM state);

    Settings settings_;
    ConfigFile config_;
    bool allowShow = false;
    bool quietClose = false;
    bool shutDown_ = false;
    HICON icon_ = nullptr;
    WinStoreHost storeHost_{"", ""};
    int lastId = 0;
    ItemList itemList_{settings_.CountItemsInRange, settings_.MoveSelection};
    FindBox findBox_;
    PreviewTooltip previewTooltip_;
    ItemPreview itemPreview_{settings_.ShowToolTip, itemList_, previewTooltip_};
    // The clipboard engine's failures, in the program's standard box.
    const ReportError showError_ = [](const std::string& text) { reportError(text); };
    ClipCapture capture_{{settings_.CaptureImage, settings_.ExceptApp}, [this] { itemList_.LoadPage(); }, showError_,
                         lastId};
    ClipboardMonitor monitor_{settings_.MonitorClipBoard,
                              [this](bool on) { config_.write(configkey::MonitorClipBoard, on); }, capture_};
    NeighbourItem neighbour_{lastId, previewTooltip_, monitor_.changes(), showError_};
    TrayMenu trayMenu_;
    AppOptionsHost optionsHost_{nullptr, nullptr};
    HWND taskbarWindow = nullptr;  // the shell's taskbar window, never taken as paste target
    WPARAM copyKeyPressed_ = 0;    // C or Insert, while held down since it was pressed with Ctrl
};

