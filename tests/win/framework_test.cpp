// The dialog base where no journey sees the outcome: a notification's answer (the list's custom
// draw) and the popup hook (the menu bar's check mark). Commands, timers, destruction and the
// modal loop's keys are driven end to end.
#include "res/resource.h"
#include "ui/framework/Dialog.h"
#include "win_support.h"

namespace {

struct AnsweringDialog : Dialog {
    AnsweringDialog() : Dialog(IDD_ABOUT) {}
    using Dialog::HandleMessage;
    std::optional<LRESULT> notifyAnswer;
    HMENU popup = nullptr;
    std::optional<LRESULT> onNotify(int, NMHDR*) override { return notifyAnswer; }
    void onInitMenuPopup(HMENU menu) override { popup = menu; }
};

}  // namespace

TEST(Dialog, ANotificationsAnswerTravelsInTheMessageResultAndAPopupReachesItsHook) {
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    NMHDR header = {nullptr, 1006, static_cast<UINT>(NM_CUSTOMDRAW)};
    // The hook's answer, then the dialog procedure's result and the message result (99: untouched).
    const struct { std::optional<LRESULT> answer; INT_PTR result; LONG_PTR messageResult; } cases[] = {
        {std::nullopt, FALSE, 99}, {CDRF_NOTIFYITEMDRAW, TRUE, CDRF_NOTIFYITEMDRAW}};
    for (const auto& c : cases) {
        dialog.notifyAnswer = c.answer;
        SetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT, 99);
        EXPECT_EQ(dialog.HandleMessage(WM_NOTIFY, 1006, reinterpret_cast<LPARAM>(&header)), c.result);
        EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT), c.messageResult);
    }
    const HMENU menu = CreatePopupMenu();
    dialog.HandleMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(dialog.popup, menu);
    DestroyMenu(menu);
}
