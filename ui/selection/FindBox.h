#pragma once
#include <windows.h>

#include <string>

// The Find box above the selection list: a wide edit control, so that the user can type in any
// script although the dialog is ANSI. The dialog template holds its label and leaves it room.
class FindBox {
public:
    // Made at the place reserved for it in the dialog, right after its label in the tab order.
    void create(HWND dialog);
    HWND window() const { return edit_; }

    // What is typed, in UTF-8.
    std::string text() const;
    bool empty() const;
    void clear();
    // Focus with the whole text selected, so the next key replaces it.
    void focus();
    // A character typed elsewhere in the window, added as if typed here.
    void type(WPARAM character);

private:
    HWND edit_ = nullptr;
};
