#include "ProgressWindow.h"

#include <commctrl.h>

#include <string>

#include "FormFont.h"
#include "WindowClass.h"

namespace {

constexpr wchar_t kClassName[] = L"TessaroProgressWindow";
constexpr wchar_t kCaption[] = L"変換処理";

}  // namespace

TProgressWindow::~TProgressWindow()
{
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

bool TProgressWindow::Create(HINSTANCE instance, HWND owner)
{
    if (!RegisterFormClass(instance, kClassName, false)) return false;
    // Owned by the main window: no taskbar button of its own, always above its owner.
    window_ = CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight, owner,
                              nullptr, instance, nullptr);
    if (!window_) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TProgressWindow::WindowProc));
    font_ = CreateFormFont(13);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                            0, 0, 0, 0, window_, nullptr, instance, nullptr);
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 window_, nullptr, instance, nullptr);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    LayOut();
    return true;
}

void TProgressWindow::Show()
{
    // Shown without taking the focus from the main window.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

void TProgressWindow::Hide()
{
    ShowWindow(window_, SW_HIDE);
}

void TProgressWindow::ClearList()
{
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

void TProgressWindow::MarkLast(std::wstring_view mark)
{
    const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    if (count <= 0) return;
    const auto last = static_cast<WPARAM>(count - 1);
    const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, last, 0);
    if (length < 0) return;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(list_, LB_GETTEXT, last, reinterpret_cast<LPARAM>(line.data()));
    if (got < 0) return;
    line.resize(static_cast<size_t>(got));
    SendMessageW(list_, LB_DELETESTRING, last, 0);
    AddAndSelect(line + std::wstring(mark));
}

void TProgressWindow::AddAndSelect(std::wstring_view line)
{
    const std::wstring copy(line);
    const LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    if (index >= 0) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // Lets the horizontal scroll bar reach the end of long paths.
    HDC context = GetDC(list_);
    HGDIOBJ previous = SelectObject(context, font_);
    SIZE extent{};
    GetTextExtentPoint32W(context, copy.c_str(), static_cast<int>(copy.size()), &extent);
    SelectObject(context, previous);
    ReleaseDC(list_, context);
    const LRESULT current = SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0);
    if (extent.cx + 8 > current) SendMessageW(list_, LB_SETHORIZONTALEXTENT, extent.cx + 8, 0);
}

void TProgressWindow::LayOut()
{
    SendMessageW(statusBar_, WM_SIZE, 0, 0);  // the bar docks itself to the bottom
    RECT client{};
    GetClientRect(window_, &client);
    RECT bar{};
    GetWindowRect(statusBar_, &bar);
    const int barHeight = bar.bottom - bar.top;
    MoveWindow(list_, 0, 0, client.right, client.bottom > barHeight ? client.bottom - barHeight : 0, TRUE);
}

LRESULT CALLBACK TProgressWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->window_ == window) return self->HandleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_CLOSE:
        Hide();
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}
