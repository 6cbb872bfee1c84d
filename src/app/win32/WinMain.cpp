// Entry point of the window program: common controls, COM for the shell dialogs, the main
// window TForm1 and then the progress window TForm2, the driver behind them, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "DesktopView.h"
#include "MainWindow.h"
#include "MessageLoop.h"
#include "ProgressWindow.h"
#include "app/Unit1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    TMainWindow mainWindow;
    TProgressWindow progressWindow;
    if (!mainWindow.Create(instance) || !progressWindow.Create(instance, mainWindow.Handle())) return 1;
    int exitCode = 0;
    {
        TDesktopView view(mainWindow, progressWindow);
        TForm1 form(view);
        view.Attach(form, CommandLineArguments());
        mainWindow.Show(showCommand);
        exitCode = RunMessageLoop(mainWindow.Handle());
    }

    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
