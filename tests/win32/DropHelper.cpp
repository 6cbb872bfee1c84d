// Test helper: drives a running tessaro.exe from another process, the way the shell and the
// user would. Steps run in order, separated by "--":
//   wait-window SECONDS              the main window is visible and takes drops
//   drop FILE...                     drops the files on the main window
//   wait-status TEXT SECONDS         the status bar reads TEXT exactly
//   wait-status-prefix TEXT SECONDS  the status bar starts with TEXT
//   status                           prints the status text
//   escape MILLISECONDS              holds the Escape key that long
//   close                            asks the main window to close
//   expect-window                    fails unless the main window still exists
//   set-folder TEXT                  types TEXT into the folder box (Edit1)
//   browse SECONDS                   clicks the browse button, prints the dialog's preset
//                                    file name and confirms the dialog
//   expect-folder TEXT               the folder box reads TEXT
//   wait-exit SECONDS                the program has ended; prints its exit code
// Paths starting with "/" are taken as host paths on Wine's Z: drive. Exit status 0 when
// every step held, 1 otherwise, with the failing step named on stderr.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

#include "app/win32/MainControls.h"

namespace {

constexpr wchar_t kMainClass[] = L"TessaroMainWindow";
constexpr wchar_t kMainCaption[] = L"Tessaro Ver.1.0";

HANDLE gProcess = nullptr;  // the program behind the window, kept to wait for its end

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                        nullptr, nullptr);
    return result;
}

void Print(const char* label, const std::wstring& text)
{
    std::printf("%s%s\n", label, Utf8(text).c_str());
    std::fflush(stdout);
}

HWND FindMain()
{
    HWND window = FindWindowW(kMainClass, kMainCaption);
    if (window && !gProcess) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        gProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                               FALSE, processId);
    }
    return window;
}

bool WaitFor(double seconds, bool (*condition)(const std::wstring&), const std::wstring& argument)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    do {
        if (condition(argument)) return true;
        Sleep(5);
    } while (GetTickCount64() < deadline);
    return false;
}

// The status bar's text, read through a buffer inside the program's own address space:
// the status bar writes to whatever address the message carries.
bool ReadStatus(std::wstring& text)
{
    HWND window = FindMain();
    if (!window || !gProcess) return false;
    HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    if (!bar) return false;
    constexpr SIZE_T kBufferChars = 2048;
    static void* remote = nullptr;
    if (!remote)
        remote = VirtualAllocEx(gProcess, nullptr, kBufferChars * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
    if (!remote) return false;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, 0, 0, SMTO_NORMAL, 5000, &length)) return false;
    length = LOWORD(length);
    if (length >= kBufferChars) return false;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 5000, &ignored))
        return false;
    std::vector<wchar_t> buffer(length + 1, L'\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(gProcess, remote, buffer.data(), (length + 1) * sizeof(wchar_t), &read)) return false;
    text.assign(buffer.data(), length);
    return true;
}

std::wstring WindowsPath(const std::wstring& path)
{
    if (path.empty() || path[0] != L'/') return path;
    std::wstring result = L"Z:" + path;
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    return result;
}

// Writes a DROPFILES block with wide names into the program and posts the drop message,
// as the shell does: the drop handle must be memory of the receiving process.
bool Drop(const std::vector<std::wstring>& files)
{
    HWND window = FindMain();
    if (!window || !gProcess) return false;
    std::vector<wchar_t> names;
    for (const std::wstring& file : files) {
        const std::wstring path = WindowsPath(file);
        names.insert(names.end(), path.begin(), path.end());
        names.push_back(L'\0');
    }
    names.push_back(L'\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    std::memcpy(block.data(), &header, sizeof(header));
    std::memcpy(block.data() + sizeof(header), names.data(), names.size() * sizeof(wchar_t));
    void* remote = VirtualAllocEx(gProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    if (!WriteProcessMemory(gProcess, remote, block.data(), block.size(), nullptr)) return false;
    return PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

void HoldEscape(DWORD milliseconds)
{
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_ESCAPE;
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC));
    SendInput(1, &key, sizeof(key));
    Sleep(milliseconds);
    key.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof(key));
}

// Visible and ready: the window takes drops once it has filled its controls from the settings
// file, which it does after it is shown. Typing into it before then would be overwritten.
bool WindowShown(const std::wstring&)
{
    HWND window = FindMain();
    return window && IsWindowVisible(window) && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

bool StatusIs(const std::wstring& expected)
{
    std::wstring text;
    return ReadStatus(text) && text == expected;
}

bool StatusStartsWith(const std::wstring& expected)
{
    std::wstring text;
    return ReadStatus(text) && text.compare(0, expected.size(), expected) == 0;
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT is copied across processes by the system.
    wchar_t buffer[2048] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000, &ignored);
    return buffer;
}

HWND FolderBox()
{
    HWND window = FindMain();
    return window ? GetDlgItem(window, static_cast<int>(EControl::Edit1)) : nullptr;
}

bool DialogOpen(const std::wstring&)
{
    return FindWindowW(L"#32770", L"保存先フォルダを指定") != nullptr;
}

bool DialogClosed(const std::wstring&) { return !DialogOpen({}); }

// Clicks the browse button, then confirms the save dialog with the file name it offers.
bool Browse(double seconds)
{
    HWND window = FindMain();
    if (!window) return false;
    PostMessageW(GetDlgItem(window, static_cast<int>(EControl::Button1)), BM_CLICK, 0, 0);
    if (!WaitFor(seconds, DialogOpen, {})) return false;
    HWND dialog = FindWindowW(L"#32770", L"保存先フォルダを指定");
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    std::wstring preset = WindowText(name);
    std::wstring codes;
    for (wchar_t c : preset) {
        wchar_t code[16];
        swprintf(code, 16, L"U+%04X ", static_cast<unsigned>(c));
        codes += code;
    }
    Print("file name: ", codes);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitFor(seconds, DialogClosed, {}) && preset == L"\u3000";
}

bool WaitExit(double seconds)
{
    if (!gProcess) return !FindMain();
    if (WaitForSingleObject(gProcess, static_cast<DWORD>(seconds * 1000.0)) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(gProcess, &code);
    std::printf("exit code %lu\n", static_cast<unsigned long>(code));
    return true;
}

double Seconds(const std::vector<std::wstring>& step, size_t index)
{
    return index < step.size() ? _wtof(step[index].c_str()) : 0.0;
}

bool RunStep(const std::vector<std::wstring>& step)
{
    const std::wstring& name = step[0];
    const std::wstring text = step.size() > 1 ? step[1] : std::wstring();
    if (name == L"wait-window") return WaitFor(Seconds(step, 1), WindowShown, {});
    if (name == L"drop") return Drop({step.begin() + 1, step.end()});
    if (name == L"wait-status" || name == L"wait-status-prefix") {
        const bool held = WaitFor(Seconds(step, 2), name == L"wait-status" ? StatusIs : StatusStartsWith, text);
        std::wstring now;
        if (ReadStatus(now)) Print("status: ", now);
        return held;
    }
    if (name == L"status") {
        std::wstring now;
        if (!ReadStatus(now)) return false;
        Print("status: ", now);
        return true;
    }
    if (name == L"escape") {
        HoldEscape(static_cast<DWORD>(_wtoi(text.c_str())));
        return true;
    }
    if (name == L"close") {
        HWND window = FindMain();
        return window && PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (name == L"expect-window") return FindMain() != nullptr;
    if (name == L"wait-exit") return WaitExit(Seconds(step, 1));
    if (name == L"set-folder") {
        HWND box = FolderBox();
        DWORD_PTR ignored = 0;
        return box && SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WindowsPath(text).c_str()),
                                          SMTO_NORMAL, 5000, &ignored);
    }
    if (name == L"browse") return Browse(Seconds(step, 1));
    if (name == L"expect-folder") {
        HWND box = FolderBox();
        const std::wstring now = box ? WindowText(box) : std::wstring();
        Print("folder: ", now);
        return box && now == WindowsPath(text);
    }
    std::fwprintf(stderr, L"unknown step %ls\n", name.c_str());
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::vector<std::wstring>> steps(1);
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--") == 0) steps.emplace_back();
        else steps.back().emplace_back(argv[i]);
    }
    for (const auto& step : steps) {
        if (step.empty()) continue;
        if (!RunStep(step)) {
            std::fprintf(stderr, "step failed: %s\n", Utf8(step[0]).c_str());
            return 1;
        }
    }
    return 0;
}
