// Entry point of the window program: common controls, COM for the shell dialogs, the two
// windows, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "MainWindow.h"
#include "MessageLoop.h"
#include "ProgressWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    TMainWindow mainWindow;
    TProgressWindow progressWindow;
    if (!mainWindow.Create(instance) || !progressWindow.Create(instance, mainWindow.Handle())) return 1;
    mainWindow.Show(showCommand);
    const int exitCode = RunMessageLoop(mainWindow.Handle());

    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
