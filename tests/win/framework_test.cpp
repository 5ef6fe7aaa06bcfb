// The dialog base: what it decodes for each message, and which dialog's pre-translation its
// modal loop offers a key to.
#include "res/resource.h"
#include "ui/framework/Dialog.h"
#include "win_support.h"

namespace {

// Notes the typed hooks the base calls and the windows of the keys offered to its pre-translation.
// Run modally, it posts a key to each of `postKeysTo`, to its own OK button and to itself, which ends it.
class RecordingDialog : public Dialog {
public:
    RecordingDialog() : Dialog(IDD_ABOUT) {}
    using Dialog::HandleMessage;
    std::string calls;
    bool handled = false;
    std::optional<LRESULT> notifyAnswer;
    std::vector<HWND> keysSeen, postKeysTo;

protected:
    BOOL OnInitDialog() override {
        if (!postKeysTo.empty()) postKeysTo.insert(postKeysTo.end(), {item(IDOK), hwnd()});
        for (HWND target : postKeysTo) PostMessageA(target, WM_KEYDOWN, 'C', 0x002E0001);
        return TRUE;
    }
    bool PreTranslateMessage(MSG* message) override {
        if (message->message != WM_KEYDOWN) return false;
        keysSeen.push_back(message->hwnd);
        if (message->hwnd == hwnd()) EndDialog(42);
        return true;
    }
    bool onCommand(int id, int code) override {
        calls += "command " + std::to_string(id) + " " + std::to_string(code) + "; ";
        return handled || Dialog::onCommand(id, code);
    }
    std::optional<LRESULT> onNotify(int id, NMHDR* header) override {
        calls += "notify " + std::to_string(id) + " " + std::to_string(static_cast<int>(header->code)) + "; ";
        return notifyAnswer;
    }
    bool onTimer(UINT_PTR id) override {
        calls += "timer " + std::to_string(id) + "; ";
        return handled;
    }
    void onDestroy() override { calls += "destroy; "; }
    void onInitMenuPopup(HMENU menu) override {
        calls += "popup " + std::to_string(reinterpret_cast<UINT_PTR>(menu)) + "; ";
    }
    void OnOK() override { calls += "ok; "; }
    void OnCancel() override { calls += "cancel; "; }
};

}  // namespace

TEST(Dialog, EachMessageReachesItsTypedHookWithItsResult) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    NMHDR header = {nullptr, 1006, static_cast<UINT>(NM_DBLCLK)};
    const auto notify = reinterpret_cast<LPARAM>(&header);
    const struct { UINT message; WPARAM wParam; LPARAM lParam; bool handled; std::optional<LRESULT> notifyAnswer;
                   const char* calls; INT_PTR result; } cases[] = {
        {WM_COMMAND, MAKEWPARAM(1234, 5), 0, false, {}, "command 1234 5; ", FALSE},
        {WM_COMMAND, MAKEWPARAM(1234, 5), 0, true, {}, "command 1234 5; ", TRUE},
        {WM_COMMAND, MAKEWPARAM(IDOK, 0), 0, false, {}, "command 1 0; ok; ", TRUE},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), 0, false, {}, "command 2 1; cancel; ", TRUE},
        {WM_NOTIFY, 1006, notify, false, {}, "notify 1006 -3; ", FALSE},
        {WM_NOTIFY, 1006, notify, false, 7, "notify 1006 -3; ", TRUE},
        {WM_TIMER, 42, 0, false, {}, "timer 42; ", FALSE},
        {WM_TIMER, 42, 0, true, {}, "timer 42; ", TRUE},
        {WM_INITMENUPOPUP, 0x5678, 0, true, {}, "popup 22136; ", FALSE},
        {WM_DESTROY, 0, 0, true, {}, "destroy; ", FALSE},
        {WM_MOUSEWHEEL, 0, 0, true, {}, "", FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.wParam));
        dialog.calls.clear();
        dialog.handled = c.handled;
        dialog.notifyAnswer = c.notifyAnswer;
        SetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT, 99);
        EXPECT_EQ(dialog.HandleMessage(c.message, c.wParam, c.lParam), c.result);
        EXPECT_EQ(dialog.calls, c.calls);
        // A notification's answer travels in the message result; nothing else touches it.
        EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT), c.notifyAnswer.value_or(99));
    }
}

TEST(Dialog, ModalLoopOffersKeysToTheDialogTheyAreFor) {
    // A window without owner stays usable beside a modal box; its keys stay its own.
    RecordingDialog beside, box;
    ASSERT_TRUE(beside.Create(nullptr));
    const HWND besideButton = beside.item(IDOK);
    box.postKeysTo = {besideButton, beside.hwnd()};
    EXPECT_EQ(box.DoModal(), 42);
    EXPECT_EQ(beside.keysSeen, (std::vector<HWND>{besideButton, beside.hwnd()}));
    EXPECT_EQ(box.keysSeen, std::vector<HWND>(box.postKeysTo.end() - 2, box.postKeysTo.end()));
}
