#include <windows.h>

#include "app/HistoryApp.h"

static HistoryApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theApp.Run(instance); }
