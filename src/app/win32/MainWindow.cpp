#include "MainWindow.h"

#include <commctrl.h>
#include <imm.h>
#include <shellapi.h>

#include <initializer_list>

#include "FormFont.h"
#include "WindowClass.h"

namespace {

constexpr wchar_t kClassName[] = L"TessaroMainWindow";
constexpr wchar_t kCaption[] = L"Tessaro Ver.1.0";
// Single fixed border, system menu and minimise button only. No WS_CLIPCHILDREN: group boxes
// are transparent and rely on the window painting beneath them.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// Posted after the first show, so start-up runs inside the message loop.
constexpr UINT kFirstShowMessage = WM_APP + 1;

}  // namespace

TMainWindow::~TMainWindow()
{
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    if (smallFont_) DeleteObject(smallFont_);
}

bool TMainWindow::Create(HINSTANCE instance)
{
    if (!RegisterFormClass(instance, kClassName, true)) return false;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    window_ = CreateWindowExW(kExStyle, kClassName, kCaption, kStyle, kDefaultLeft, kDefaultTop,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
    if (!window_) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TMainWindow::WindowProc));
    font_ = CreateFormFont(13);
    smallFont_ = CreateFormFont(11);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    CreateControls();
    return true;
}

void TMainWindow::CreateControls()
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    int count = 0;
    const TControlLayout* layouts = MainControlLayouts(count);
    for (int i = 0; i < count; ++i) {
        const TControlLayout& layout = layouts[i];
        const bool isEdit = wcscmp(layout.ClassName, L"EDIT") == 0;
        HWND control = CreateWindowExW(isEdit ? WS_EX_CLIENTEDGE : 0, layout.ClassName, layout.Caption,
                                       layout.Style, layout.Left, layout.Top, layout.Width, layout.Height,
                                       window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.Id)),
                                       instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(layout.SmallFont ? smallFont_ : font_), FALSE);
        if (layout.MaxLength > 0) SendMessageW(control, EM_SETLIMITTEXT, layout.MaxLength, 0);
        if (layout.ImeOff) ImmAssociateContextEx(control, nullptr, 0);
    }
    for (const wchar_t* item : kComboBox1Items)
        SendMessageW(Control(EControl::ComboBox1), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    for (const wchar_t* item : kComboBox2Items)
        SendMessageW(Control(EControl::ComboBox2), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(Control(EControl::StatusBar1), SB_SIMPLE, TRUE, 0);

    // The defaults of the window resource; the settings file may override them.
    SetChecked(EControl::RadioButton1, true);
    for (EControl box : {EControl::CheckBox1, EControl::CheckBox2, EControl::CheckBox3,
                         EControl::CheckBox4, EControl::CheckBox5})
        SetChecked(box, true);
    SetItemIndex(EControl::ComboBox1, 0);
    SetItemIndex(EControl::ComboBox2, 0);
    SetText(EControl::Edit2, L"1");
    SetChecked(EControl::RadioButton5, true);
    SetText(EControl::Edit3, L"12");
    SetText(EControl::Edit4, L"10");
    SetText(EControl::Edit5, L"4");
    SetText(EControl::Edit6, L"10");
    SetText(EControl::Edit7, L"4");
}

void TMainWindow::Show(int showCommand)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    if (!shown_) {
        shown_ = true;
        PostMessageW(window_, kFirstShowMessage, 0, 0);
    }
}

HWND TMainWindow::Control(EControl id) const
{
    return GetDlgItem(window_, static_cast<int>(id));
}

bool TMainWindow::Checked(EControl id) const
{
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TMainWindow::SetChecked(EControl id, bool checked)
{
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring TMainWindow::Text(EControl id) const
{
    HWND control = Control(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TMainWindow::SetText(EControl id, std::wstring_view text)
{
    SetWindowTextW(Control(id), std::wstring(text).c_str());
}

int TMainWindow::ItemIndex(EControl id) const
{
    return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));  // CB_ERR is -1
}

void TMainWindow::SetItemIndex(EControl id, int index)
{
    // An index outside the list leaves no item selected.
    SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TMainWindow::SetStatusText(std::wstring_view text)
{
    HWND bar = Control(EControl::StatusBar1);
    const std::wstring copy(text);
    SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(copy.c_str()));
    UpdateWindow(bar);
}

void TMainWindow::Close()
{
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK TMainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->window_ == window) return self->HandleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TMainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kFirstShowMessage:
        if (OnShow) OnShow();
        return 0;
    case WM_ACTIVATE:
        // Keyboard focus goes back to the control that had it; at first to the checked
        // destination button (focusing an unchecked radio button could check it).
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(window_, focused)) focus_ = focused;
        } else if (focus_ && IsWindow(focus_)) {
            SetFocus(focus_);
        } else {
            HWND first = Control(EControl::Edit1);
            for (EControl id : {EControl::RadioButton1, EControl::RadioButton2, EControl::RadioButton3,
                                EControl::RadioButton4}) {
                if (Checked(id)) {
                    first = Control(id);
                    break;
                }
            }
            SetFocus(first);
        }
        return 0;
    case WM_DROPFILES:
        if (OnDropFiles) OnDropFiles(reinterpret_cast<HDROP>(wParam));
        else DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COMMAND:
        // The dialog manager turns Enter and Escape into IDOK and IDCANCEL; neither closes
        // this window, so only the browse button's click is of interest.
        if (LOWORD(wParam) == static_cast<int>(EControl::Button1) && HIWORD(wParam) == BN_CLICKED) {
            if (OnBrowse) OnBrowse();
            return 0;
        }
        break;
    case WM_CLOSE:
        if (OnCloseQuery && !OnCloseQuery()) return 0;
        if (OnClose) OnClose();
        DestroyWindow(window_);
        return 0;
    case WM_QUERYENDSESSION:
        // Windows is ending: a running batch is stopped, and the session waits for it.
        return (!OnCloseQuery || OnCloseQuery()) ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wParam && OnClose) OnClose();  // settings saved; the process ends after this
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}
