#pragma once
#include <windows.h>

// Moves values between a dialog's controls and its members. A refused value shows the
// standard message, puts the focus on the control, and stops the rest of the exchange.
class DataExchange {
public:
    DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    bool saving() const { return saving_; }
    bool failed() const { return failed_; }

    void checkBox(int controlId, int& value);
    void integer(int controlId, int& value);

private:
    void fail(int controlId);

    HWND dialog_;
    bool saving_;
    bool failed_ = false;
};
