#pragma once
#include <windows.h>

// The Help commands (home page, forum, feedback mail, newsletter) open fixed addresses with the
// shell. False for any other command.
bool openHelpLink(int command);
