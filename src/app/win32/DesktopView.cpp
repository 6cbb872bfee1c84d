#include "DesktopView.h"

#include <commdlg.h>
#include <shlobj.h>

#include "MessageLoop.h"
#include "WideText.h"
#include "app/ControlsTable.h"
#include "app/OutcomeTexts.h"
#include "app/Unit1.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kBrowseTitle[] = L"保存先フォルダを指定";
constexpr wchar_t kBrowsePresetName[] = L"　";  // one full-width space

// The outer rectangle a window has when shown normally, also while minimised.
RECT NormalBounds(HWND window)
{
    RECT bounds{};
    if (IsIconic(window)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(window, &placement);
        bounds = placement.rcNormalPosition;
    } else {
        GetWindowRect(window, &bounds);
    }
    return bounds;
}

// Moves (and sizes) a window unless that would put it entirely off every screen.
void PlaceWindow(HWND window, int left, int top, int width, int height, bool resize)
{
    const RECT current = NormalBounds(window);
    if (!resize) {
        width = current.right - current.left;
        height = current.bottom - current.top;
    }
    if (current.left == left && current.top == top && current.right - current.left == width &&
        current.bottom - current.top == height)
        return;
    const RECT wanted{left, top, left + width, top + height};
    if (width <= 0 || height <= 0 || !MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) return;
    SetWindowPos(window, nullptr, left, top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (resize ? 0 : SWP_NOSIZE));
}

// The controls table names the window's controls by number; a few anchors keep those numbers
// in step with the window's own list.
static_assert(EntryOf(&TControlsState::RadioButton1)->Control == static_cast<int>(EControl::RadioButton1));
static_assert(EntryOf(&TControlsState::CheckBox1)->Control == static_cast<int>(EControl::CheckBox1));
static_assert(EntryOf(&TControlsState::CheckBox7)->Control == static_cast<int>(EControl::CheckBox7));
static_assert(EntryOf(&TControlsState::CheckBox8)->Control == static_cast<int>(EControl::CheckBox8));
static_assert(EntryOf(&TControlsState::ComboBox1ItemIndex)->Control == static_cast<int>(EControl::ComboBox1));
static_assert(EntryOf(&TControlsState::RadioButton7)->Control == static_cast<int>(EControl::RadioButton7));
static_assert(EntryOf(&TControlsState::Edit7)->Control == static_cast<int>(EControl::Edit7));
static_assert(EntryOf(&TControlsState::OutputFormat)->Control == static_cast<int>(EControl::RadioButton8));

}  // namespace

TDesktopView::TDesktopView(TMainWindow& mainWindow, TProgressWindow& progressWindow)
    : main_(mainWindow), progress_(progressWindow)
{
}

void TDesktopView::Attach(TForm1& form, std::vector<fs::path> arguments)
{
    main_.OnShow = [&form, arguments = std::move(arguments)] { form.FormShow(arguments); };
    main_.OnDropFiles = [&form](HDROP drop) { form.AcceptDroppedFiles(TakeDroppedPaths(drop)); };
    main_.OnCloseQuery = [&form] { return form.FormCloseQuery(); };
    main_.OnClose = [&form] { form.FormClose(); };
    main_.OnBrowse = [&form] { form.BrowseFolder(); };
}

std::vector<fs::path> TDesktopView::TakeDroppedPaths(HDROP drop)
{
    std::vector<fs::path> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Sized to each name, so long paths arrive whole.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        if (!path.empty()) paths.emplace_back(path);
    }
    DragFinish(drop);
    return paths;
}

fs::path TDesktopView::ExecutablePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return fs::path(buffer.substr(0, length));
        buffer.resize(buffer.size() * 2);
    }
}

void TDesktopView::AcceptDrops(bool accept)
{
    DragAcceptFiles(main_.Handle(), accept ? TRUE : FALSE);
}

void TDesktopView::CloseMainWindow()
{
    main_.Close();
}

TControlsState TDesktopView::GetControls()
{
    TControlsState c;
    const RECT mainBounds = NormalBounds(main_.Handle());
    c.MainLeft = mainBounds.left;
    c.MainTop = mainBounds.top;
    const RECT progressBounds = NormalBounds(progress_.Handle());
    c.ProgressLeft = progressBounds.left;
    c.ProgressTop = progressBounds.top;
    c.ProgressWidth = progressBounds.right - progressBounds.left;
    c.ProgressHeight = progressBounds.bottom - progressBounds.top;

    // The placement entries are the windows' bounds above; every other entry is a control.
    for (const TControlEntry& entry : kControlsTable) {
        const auto id = static_cast<EControl>(entry.Control);
        switch (entry.Kind) {
        case TControlKind::Placement: break;
        case TControlKind::Flag:
        case TControlKind::Radio: c.*entry.Bool = main_.Checked(id); break;
        case TControlKind::Item: c.*entry.Int = main_.ItemIndex(id); break;
        case TControlKind::Choice:
            c.*entry.Int = -1;
            for (int i = 0; i < entry.ItemCount; ++i) {
                if (main_.Checked(static_cast<EControl>(entry.Control + i))) c.*entry.Int = i;
            }
            break;
        case TControlKind::Text:
        case TControlKind::Count:
        case TControlKind::Number: c.*entry.Text = WideToAnsi(main_.Text(id)); break;
        }
    }
    return c;
}

// A box keeps its own (wide) text when the narrow text it is given is what it already holds,
// so characters outside the ANSI code page survive a read-and-write-back of the controls.
void TDesktopView::SetTextIfChanged(EControl id, const std::string& narrow)
{
    if (WideToAnsi(main_.Text(id)) != narrow) main_.SetText(id, AnsiToWide(narrow));
}

void TDesktopView::SetControls(const TControlsState& c)
{
    PlaceWindow(main_.Handle(), c.MainLeft, c.MainTop, 0, 0, false);
    PlaceWindow(progress_.Handle(), c.ProgressLeft, c.ProgressTop, c.ProgressWidth, c.ProgressHeight, true);

    for (const TControlEntry& entry : kControlsTable) {
        const auto id = static_cast<EControl>(entry.Control);
        switch (entry.Kind) {
        case TControlKind::Placement: break;
        case TControlKind::Flag:
        case TControlKind::Radio: main_.SetChecked(id, c.*entry.Bool); break;
        case TControlKind::Item: main_.SetItemIndex(id, c.*entry.Int); break;
        case TControlKind::Choice:
            for (int i = 0; i < entry.ItemCount; ++i) {
                main_.SetChecked(static_cast<EControl>(entry.Control + i), c.*entry.Int == i);
            }
            break;
        case TControlKind::Text:
        case TControlKind::Count:
        case TControlKind::Number: SetTextIfChanged(id, c.*entry.Text); break;
        }
    }
}

void TDesktopView::SetStatusText(const std::string& utf8)
{
    main_.SetStatusText(Utf8ToWide(utf8));
}

void TDesktopView::ShowProgress() { progress_.Show(); }
void TDesktopView::HideProgress() { progress_.Hide(); }
void TDesktopView::ClearProgress() { progress_.ClearList(); }

void TDesktopView::AppendProgress(const fs::path& path)
{
    progress_.AddAndSelect(path.native());
}

void TDesktopView::FileDone(const TFileOutcome& outcome)
{
    const std::string mark = OutcomeMark(outcome);
    if (!mark.empty()) progress_.MarkLast(Utf8ToWide(mark));
}

bool TDesktopView::EscapeDown()
{
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TDesktopView::PumpMessagesFor(std::chrono::milliseconds duration)
{
    ::PumpMessagesFor(main_.Handle(), static_cast<DWORD>(duration.count()));
}

void TDesktopView::PumpMessagesOnce()
{
    ::PumpMessagesFor(main_.Handle(), 0);
}

fs::path TDesktopView::SpecialFolder(TSpecialFolder which)
{
    const int folder = which == TSpecialFolder::Desktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_PERSONAL;
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(main_.Handle(), folder, &list)) || !list) return {};
    std::wstring path(MAX_PATH + 1, L'\0');
    const BOOL found = SHGetPathFromIDListW(list, path.data());
    CoTaskMemFree(list);
    if (!found) return {};
    path.resize(wcslen(path.c_str()));
    return fs::path(path);
}

bool TDesktopView::BrowseForFile(const fs::path& initialFolder, fs::path& chosenFile)
{
    std::wstring file(32768, L'\0');
    file.replace(0, wcslen(kBrowsePresetName), kBrowsePresetName);
    const std::wstring folder = initialFolder.native();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = main_.Handle();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = kBrowseTitle;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return false;
    chosenFile = fs::path(std::wstring(file.c_str()));
    return true;
}

std::vector<fs::path> CommandLineArguments()
{
    std::vector<fs::path> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(words[i]);
    LocalFree(words);
    return arguments;
}
