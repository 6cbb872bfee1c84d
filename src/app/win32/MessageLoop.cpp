#include "MessageLoop.h"

namespace {

void Dispatch(HWND mainWindow, MSG& message)
{
    if (mainWindow && IsDialogMessageW(mainWindow, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(HWND mainWindow)
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(IsWindow(mainWindow) ? mainWindow : nullptr, message);
    return static_cast<int>(message.wParam);
}

void PumpMessagesFor(HWND mainWindow, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            Dispatch(IsWindow(mainWindow) ? mainWindow : nullptr, message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > milliseconds) return;
        // Sleeps until the next message or the end of the period instead of spinning.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed + 1, QS_ALLINPUT);
    }
}
