#include "WineTestSupport.h"

#include "platform/AppIdentity.h"
#include "platform/win32/MessageLoop.h"

namespace zavi::test {

PumpResult PumpMessagesFor(DWORD milliseconds, HWND timerWindow) {
    PumpResult result;
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                result.quitPosted = true;
                continue;
            }
            if (message.message == WM_TIMER && message.hwnd == timerWindow && message.wParam < 4) {
                ++result.timerTicks[message.wParam];
            }
            DispatchQueuedMessage(message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return result;
}

void DrainQuit() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

ErrorBoxAnswerer::ErrorBoxAnswerer() : m_thread([this] { Watch(); }) {}

ErrorBoxAnswerer::~ErrorBoxAnswerer() {
    m_stop = true;
    m_thread.join();
}

std::vector<std::string> ErrorBoxAnswerer::Texts() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
}

void ErrorBoxAnswerer::Watch() {
    const std::wstring title = Widen(kApplicationTitle);
    while (!m_stop) {
        HWND box = FindWindowW(L"#32770", title.c_str());
        if (box != nullptr && IsWindowVisible(box)) {
            wchar_t text[512] = {};
            // The message box shows its text in a static control with this id.
            GetDlgItemTextW(box, 0xFFFF, text, 512);
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_texts.push_back(Narrow(text));
            }
            SendMessageW(box, WM_COMMAND, IDOK, 0);
            // Wait for this box to go before looking for the next one.
            for (int i = 0; i < 200 && IsWindow(box); ++i) {
                Sleep(5);
            }
        }
        Sleep(10);
    }
}

Recorder& Recorded() {
    static Recorder recorder;
    return recorder;
}

namespace {

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA data) {
    Recorded().notifyCalls.push_back({message, *data});
    return TRUE;
}

LONG WINAPI PassGetWindowLong(HWND window, int index) {
    ++Recorded().getStyleCalls;
    return ::GetWindowLongA(window, index);
}

LONG WINAPI PassSetWindowLong(HWND window, int index, LONG value) {
    ++Recorded().setStyleCalls;
    return ::SetWindowLongA(window, index, value);
}

BOOL WINAPI PassSetLayered(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    Recorded().layeredKeys.push_back(key);
    Recorded().layeredFlags.push_back(static_cast<BYTE>(flags));
    return ::SetLayeredWindowAttributes(window, key, alpha, flags);
}

HINSTANCE WINAPI RecordShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    Recorded().opened.emplace_back(file);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // more than 32: done
}

}  // namespace

API::Table RecordingTable() {
    Recorded() = Recorder{};
    return {&RecordNotify, &PassGetWindowLong, &PassSetWindowLong, &PassSetLayered,
            &RecordShellExecute};
}

std::string TipBytes(const NOTIFYICONDATAA& data, std::size_t count) {
    return std::string(data.szTip, data.szTip + count);
}

}  // namespace zavi::test
