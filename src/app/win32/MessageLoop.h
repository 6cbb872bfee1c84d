#pragma once
// The message loop of the window program and the short pump the batch runs between files.
#include <windows.h>

// Runs until WM_QUIT; keyboard navigation of the dialog-like main window included.
int RunMessageLoop(HWND mainWindow);

// Processes pending messages until the given number of milliseconds has passed
// (0: only what is pending now). A quit request seen here is posted again for the main loop.
void PumpMessagesFor(HWND mainWindow, DWORD milliseconds);
