#pragma once
// The main window TForm1 as a Win32 window: caption, fixed frame, client 436 x 297, the
// option controls of MainControls and the one-panel status bar. It knows nothing about
// conversion; what the user does reaches its owner through the callbacks.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <string_view>

#include "MainControls.h"

class TMainWindow {
public:
    static constexpr int kClientWidth = 436;
    static constexpr int kClientHeight = 341;
    static constexpr int kDefaultLeft = 192;
    static constexpr int kDefaultTop = 107;

    std::function<void()> OnShow;          // once, when first shown
    std::function<bool()> OnCloseQuery;    // false refuses the close
    std::function<void()> OnClose;         // the window is about to go
    std::function<void(HDROP)> OnDropFiles;
    std::function<void()> OnBrowse;        // Button1

    TMainWindow() = default;
    TMainWindow(const TMainWindow&) = delete;
    TMainWindow& operator=(const TMainWindow&) = delete;
    ~TMainWindow();

    bool Create(HINSTANCE instance);
    void Show(int showCommand);
    HWND Handle() const { return window_; }
    HWND Control(EControl id) const;

    bool Checked(EControl id) const;
    void SetChecked(EControl id, bool checked);
    std::wstring Text(EControl id) const;
    void SetText(EControl id, std::wstring_view text);
    int ItemIndex(EControl id) const;        // -1 when nothing is selected
    void SetItemIndex(EControl id, int index);

    // Sets the status bar's one panel and repaints it at once.
    void SetStatusText(std::wstring_view text);

    // Asks to close through the normal path (close query, then close).
    void Close();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT smallFont_ = nullptr;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated
    bool shown_ = false;
};
