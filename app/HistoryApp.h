#pragma once
#include "ui/framework/WinApp.h"

// The application object: wakes a running copy, or runs the main window.
class HistoryApp : public WinApp {
protected:
    bool InitInstance() override;
};
