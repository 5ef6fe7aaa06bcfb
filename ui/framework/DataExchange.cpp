#include "ui/framework/DataExchange.h"

#include <string>

#include "ui/framework/IntegerText.h"
#include "ui/framework/MessageBoxes.h"

void DataExchange::checkBox(int controlId, int& value) {
    if (failed_) return;
    if (saving_) {
        value = IsDlgButtonChecked(dialog_, controlId) == BST_CHECKED ? 1 : 0;
    } else {
        CheckDlgButton(dialog_, controlId, value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DataExchange::integer(int controlId, int& value) {
    if (failed_) return;
    if (!saving_) {
        SetDlgItemInt(dialog_, controlId, static_cast<UINT>(value), TRUE);
        return;
    }
    HWND control = GetDlgItem(dialog_, controlId);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    if (auto parsed = parseIntegerField(text)) {
        value = *parsed;
    } else {
        fail(controlId);
    }
}

void DataExchange::fail(int controlId) {
    failed_ = true;
    reportError("Please enter an integer.", BoxIcon::exclamation, dialog_);
    HWND control = GetDlgItem(dialog_, controlId);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}
