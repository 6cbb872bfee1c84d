#pragma once
// The progress window TForm2 "変換処理": a list of the batch's files filling the window above
// an unused status bar. Shown beside the main window without blocking it; closing it only
// hides it.
#include <windows.h>

#include <string_view>

class TProgressWindow {
public:
    static constexpr int kDefaultLeft = 192;
    static constexpr int kDefaultTop = 107;
    static constexpr int kDefaultWidth = 416;
    static constexpr int kDefaultHeight = 219;

    TProgressWindow() = default;
    TProgressWindow(const TProgressWindow&) = delete;
    TProgressWindow& operator=(const TProgressWindow&) = delete;
    ~TProgressWindow();

    bool Create(HINSTANCE instance, HWND owner);
    HWND Handle() const { return window_; }

    void Show();
    void Hide();
    void ClearList();
    // Appends a line and selects it, so the list scrolls to it.
    void AddAndSelect(std::wstring_view line);
    // Appends `mark` to the last line (the file just converted), keeping the selection.
    void MarkLast(std::wstring_view mark);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LayOut();

    HWND window_ = nullptr;
    HWND list_ = nullptr;
    HWND statusBar_ = nullptr;
    HFONT font_ = nullptr;
};
