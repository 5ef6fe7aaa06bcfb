#pragma once
#include <windows.h>

#include <optional>

class DataExchange;

// A dialog from a resource template. Every message goes to HandleMessage, whose switch is
// the window's message table; what it leaves to the base is decoded there once into the typed
// hooks below (commands, notifications, timers, destruction, popup menus), whose base
// versions handle the framework's part (initialisation, OK and Cancel commands). Modal
// dialogs run the framework's own loop: each message first goes to the PreTranslateMessage of
// every dialog from its target window up to the top-level window, so that a window that is
// not the running box's (one without owner stays usable beside it) keeps its own keys.
class Dialog {
public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal run; returns the value given to EndDialog, or -1 when the window could not be made.
    INT_PTR DoModal(HWND owner = nullptr);
    // Modeless, for child pages; returns the window or none.
    HWND Create(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    // Copies control values into members (save) or members into controls; false when a
    // value was refused.
    bool UpdateData(bool save);
    void EndDialog(INT_PTR result);

protected:
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool PreTranslateMessage(MSG*) { return false; }

    // WM_COMMAND from control, menu item or accelerator `id`; true when handled. The base
    // runs OnOK and OnCancel for IDOK and IDCANCEL.
    virtual bool onCommand(int id, int code);
    // WM_NOTIFY from control `id`: the answer, or none to leave the notification unhandled.
    virtual std::optional<LRESULT> onNotify(int id, NMHDR* header);
    // WM_TIMER; true when handled.
    virtual bool onTimer(UINT_PTR id);
    virtual void onDestroy() {}
    virtual void onInitMenuPopup(HMENU) {}

    // For handlers of messages whose answer is a value rather than "handled".
    INT_PTR answer(UINT message, LRESULT value);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatchNotify(NMHDR* header);
    void runModalLoop();
    // The dialog object of a window of ours, or none.
    static Dialog* fromWindow(HWND window);
    static bool preTranslate(MSG* message);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ending_ = false;
    INT_PTR result_ = IDCANCEL;
};
