// Looks at the program's windows from outside its process, the way a user's tools do.
//   zavi_probe wait TITLE TIMEOUT_MS   wait for a visible top-level window; print its state
//   zavi_probe find TITLE TIMEOUT_MS   the same, for a window that may be hidden
//   zavi_probe state TITLE             whether a top-level window exists and is visible
//   zavi_probe count TITLE             how many top-level windows have that title, how many
//                                      are visible and minimized, and whether one has the
//                                      foreground
//   zavi_probe minimize TITLE          minimize the window, as its minimize box does
//   zavi_probe show TITLE              show a hidden window without activating it
//   zavi_probe hide TITLE              hide the window
//   zavi_probe close TITLE             ask the window to close
//   zavi_probe report TITLE ID MSG     send the window a notification icon's report, as the
//                                      shell does: its callback message 0x0200, the icon's
//                                      id and a mouse message (0x202 left up, 0x205 right up)
//   zavi_probe menu KEY...             wait for a popup menu and press keys in it, each one
//                                      of up, down, return, escape
//   zavi_probe click TITLE CAPTION     click the window's button with that caption
//   zavi_probe answer TITLE TIMEOUT_MS wait for a message box with that title, print its
//                                      text and press OK
//   zavi_probe sweep TITLE MS          watch the window's progress bar for MS milliseconds
//                                      and print how long each whole sweep took
// State is printed as key=value lines, to the file named by ZAVI_PROBE_OUT if it is set (a
// probe started inside a Wine virtual desktop has no console); the exit code is 0 when the
// window was found.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>
#include <string>

namespace {

long long EpochMilliseconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    constexpr unsigned long long kEpochOffset = 116444736000000000ULL;  // 1601 to 1970
    return static_cast<long long>((ticks.QuadPart - kEpochOffset) / 10000ULL);
}

HWND FindVisible(const wchar_t* title) {
    const HWND window = FindWindowW(nullptr, title);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Waits for a top-level window; `visibleOnly` skips one that exists but is hidden.
int Wait(const wchar_t* title, DWORD timeout, bool visibleOnly) {
    // Tells the caller the probe is up, so the program can be started after it.
    std::printf("ready=1\n");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + timeout;
    HWND window = nullptr;
    while ((window = visibleOnly ? FindVisible(title) : FindWindowW(nullptr, title)) == nullptr) {
        if (GetTickCount64() > end) {
            std::printf("found=0\n");
            return 1;
        }
        Sleep(5);
    }
    const long long foundAt = EpochMilliseconds();
    // A window found as it is created is not yet placed or layered: its state is read
    // once it is shown, or after a while if it never is.
    for (const ULONGLONG settled = GetTickCount64() + 2000;
         !IsWindowVisible(window) && GetTickCount64() < settled && IsWindow(window);) {
        Sleep(5);
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    const BOOL layered = GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::printf("found=1\nfound_epoch_ms=%lld\n", foundAt);
    std::printf("rect=%ld,%ld,%ld,%ld\n", outer.left, outer.top, outer.right, outer.bottom);
    std::printf("screen=%d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::printf("exstyle=0x%08lx\n",
                static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    std::printf("layered=%d\nkey=0x%08lx\nflags=%lu\n", layered ? 1 : 0,
                static_cast<unsigned long>(key), static_cast<unsigned long>(flags));
    return 0;
}

int State(const wchar_t* title) {
    const HWND window = FindWindowW(nullptr, title);
    std::printf("found=%d\nvisible=%d\n", window ? 1 : 0,
                window && IsWindowVisible(window) ? 1 : 0);
    return window ? 0 : 1;
}

struct TitleCount {
    const wchar_t* title;
    int windows = 0;
    int visible = 0;
    int minimized = 0;
};

BOOL CALLBACK CountTitled(HWND window, LPARAM param) {
    auto* count = reinterpret_cast<TitleCount*>(param);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (std::wstring(text) == count->title) {
        ++count->windows;
        count->visible += IsWindowVisible(window) ? 1 : 0;
        count->minimized += IsIconic(window) ? 1 : 0;
    }
    return TRUE;
}

int Count(const wchar_t* title) {
    TitleCount count{title};
    EnumWindows(&CountTitled, reinterpret_cast<LPARAM>(&count));
    wchar_t foreground[256] = {};
    if (const HWND window = GetForegroundWindow(); window != nullptr) {
        GetWindowTextW(window, foreground, 256);
    }
    std::printf("windows=%d\nvisible=%d\nminimized=%d\nforeground=%d\n", count.windows,
                count.visible, count.minimized, std::wstring(foreground) == title ? 1 : 0);
    return 0;
}

// Does `act` to the top-level window with this title and prints `done`; "found=0" when
// there is none.
template <class Act>
int WithWindow(const wchar_t* title, const char* done, Act act) {
    const HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) {
        std::printf("found=0\n");
        return 1;
    }
    act(window);
    std::printf("%s\n", done);
    return 0;
}

int Minimize(const wchar_t* title) {
    return WithWindow(title, "found=1",
                      [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); });
}

// ShowWindow from another process, as a tool or a test of the window's own reaction.
int ShowOrHide(const wchar_t* title, int command) {
    return WithWindow(title, "found=1", [command](HWND window) { ShowWindow(window, command); });
}

int Report(const wchar_t* title, UINT id, UINT mouseMessage) {
    return WithWindow(title, "found=1", [id, mouseMessage](HWND window) {
        SendNotifyMessageW(window, WM_MOUSEMOVE, id, mouseMessage);
    });
}

// A popup menu runs its own loop on its program's thread, which takes the keys posted to
// the menu's window.
int Menu(int count, wchar_t** keys) {
    const ULONGLONG end = GetTickCount64() + 5000;
    HWND menu = nullptr;
    while ((menu = FindWindowW(L"#32768", nullptr)) == nullptr || !IsWindowVisible(menu)) {
        if (GetTickCount64() > end) {
            std::printf("found=0\n");
            return 1;
        }
        Sleep(5);
    }
    std::printf("found=1\n");
    for (int i = 0; i < count; ++i) {
        const std::wstring key = keys[i];
        const WPARAM code = key == L"up"       ? VK_UP
                            : key == L"down"   ? VK_DOWN
                            : key == L"return" ? VK_RETURN
                                               : VK_ESCAPE;
        PostMessageW(menu, WM_KEYDOWN, code, 0);
        Sleep(50);
    }
    return 0;
}

int Close(const wchar_t* title) {
    return WithWindow(title, "closed=1", [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
}

int Click(const wchar_t* title, const wchar_t* caption) {
    const HWND window = FindWindowW(nullptr, title);
    const HWND button = window ? FindWindowExW(window, nullptr, L"Button", caption) : nullptr;
    if (button == nullptr) {
        std::printf("found=0\n");
        return 1;
    }
    std::printf("found=1\nclicked_epoch_ms=%lld\n", EpochMilliseconds());
    std::fflush(stdout);
    // Posted: the click ends the program, which then cannot answer a sent message.
    PostMessageW(button, BM_CLICK, 0, 0);
    return 0;
}

int Answer(const wchar_t* title, DWORD timeout) {
    const ULONGLONG end = GetTickCount64() + timeout;
    HWND box = nullptr;
    while ((box = FindWindowW(L"#32770", title)) == nullptr || !IsWindowVisible(box)) {
        if (GetTickCount64() > end) {
            std::printf("found=0\n");
            return 1;
        }
        Sleep(20);
    }
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the box's text is a static with this id
    char narrow[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    std::printf("found=1\ntext=%s\n", narrow);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// A sweep runs from the moment the bar shows its minimum to the moment it shows its
// maximum; the bar is asked about once a millisecond.
int Sweep(const wchar_t* title, DWORD duration) {
    const HWND window = FindWindowW(nullptr, title);
    const HWND bar =
        window ? FindWindowExW(window, nullptr, L"msctls_progress32", nullptr) : nullptr;
    if (bar == nullptr) {
        std::printf("found=0\n");
        return 1;
    }
    const int low = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
    const int high = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
    std::vector<double> sweeps;
    LARGE_INTEGER started{};
    bool inSweep = false;
    int last = -1;
    const ULONGLONG end = GetTickCount64() + duration;
    while (GetTickCount64() < end) {
        DWORD_PTR position = 0;
        if (!SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position)) {
            std::printf("unanswered=1\n");
            return 1;
        }
        const int now = static_cast<int>(position);
        LARGE_INTEGER at{};
        QueryPerformanceCounter(&at);
        if (now == low && last != low) {
            started = at;
            inSweep = true;
        } else if (now == high && last != high && inSweep) {
            sweeps.push_back(Milliseconds(started, at));
            inSweep = false;
        }
        last = now;
        Sleep(1);
    }
    std::printf("found=1\nrange=%d,%d\nsweeps=%zu\n", low, high, sweeps.size());
    for (double sweep : sweeps) {
        std::printf("sweep_ms=%.1f\n", sweep);
    }
    return sweeps.empty() ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (const wchar_t* out = _wgetenv(L"ZAVI_PROBE_OUT"); out != nullptr && *out != L'\0') {
        if (_wfreopen(out, L"w", stdout) == nullptr) {
            return 3;
        }
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"wait") {
        return Wait(argv[2], static_cast<DWORD>(_wtoi(argv[3])), true);
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"find") {
        return Wait(argv[2], static_cast<DWORD>(_wtoi(argv[3])), false);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"state") {
        return State(argv[2]);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"count") {
        return Count(argv[2]);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"minimize") {
        return Minimize(argv[2]);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"show") {
        return ShowOrHide(argv[2], SW_SHOWNOACTIVATE);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"hide") {
        return ShowOrHide(argv[2], SW_HIDE);
    }
    if (argc >= 5 && std::wstring(argv[1]) == L"report") {
        return Report(argv[2], static_cast<UINT>(wcstoul(argv[3], nullptr, 0)),
                      static_cast<UINT>(wcstoul(argv[4], nullptr, 0)));
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"menu") {
        return Menu(argc - 2, argv + 2);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"close") {
        return Close(argv[2]);
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"click") {
        return Click(argv[2], argv[3]);
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"answer") {
        return Answer(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"sweep") {
        return Sweep(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    }
    std::fprintf(
        stderr,
        "usage: zavi_probe wait|find TITLE TIMEOUT_MS | state|count|minimize|close TITLE | click "
        "TITLE CAPTION | "
        "answer TITLE TIMEOUT_MS | sweep TITLE MS\n");
    return 2;
}
