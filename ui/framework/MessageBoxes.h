#pragma once
#include <windows.h>

#include <string>

// The one way the program puts a message box in front of the user. A box is owned by the
// window given, or by the main window when none is; a box without a caption of its own
// carries the application's name.
enum class BoxIcon : UINT {
    none = 0,
    error = MB_ICONERROR,
    exclamation = MB_ICONEXCLAMATION,
    question = MB_ICONQUESTION,
};

// Something went wrong: the text and an OK button.
void reportError(const std::string& text, BoxIcon icon = BoxIcon::none, HWND owner = nullptr);
void reportError(const std::string& caption, const std::string& text, BoxIcon icon, HWND owner);

// A question with Yes and No buttons; true when the answer is Yes.
bool askYesNo(const std::string& caption, const std::string& question, BoxIcon icon, HWND owner);

// The caption of the standard box: the application's name, or none without an application.
std::string applicationCaption();
