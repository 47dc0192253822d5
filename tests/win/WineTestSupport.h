// Helpers for tests of real windows: pumping messages, answering the error box, and
// stand-ins for the platform operations that record what they were given.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Api.h"

namespace zavi::test {

struct PumpResult {
    bool quitPosted = false;
    int timerTicks[4] = {};  // WM_TIMER count by timer id, for ids 0 to 3
};

// Dispatches this thread's messages for the given time, as the program's loop would.
PumpResult PumpMessagesFor(DWORD milliseconds, HWND timerWindow = nullptr);
// As the GTK tests name it, for the cases both builds share.
inline PumpResult PumpFor(DWORD milliseconds) {
    return PumpMessagesFor(milliseconds);
}
// Takes any WM_QUIT left in the queue by an earlier test.
void DrainQuit();

// Answers every error message box the program shows, with OK, and keeps its text.
class ErrorBoxAnswerer {
  public:
    ErrorBoxAnswerer();
    ~ErrorBoxAnswerer();
    ErrorBoxAnswerer(const ErrorBoxAnswerer&) = delete;
    ErrorBoxAnswerer& operator=(const ErrorBoxAnswerer&) = delete;

    std::vector<std::string> Texts() const;

  private:
    void Watch();

    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

// What the recording stand-ins saw. Window-style calls are passed on to user32, so the
// window really changes; the notification area is left alone.
struct Recorder {
    std::vector<NotifyCall> notifyCalls;
    std::vector<COLORREF> layeredKeys;
    std::vector<BYTE> layeredFlags;
    int getStyleCalls = 0;
    int setStyleCalls = 0;
    std::vector<std::wstring> opened;  // what went to the default handler, in order
};

Recorder& Recorded();
// A table of recording stand-ins; what an earlier test recorded is cleared.
API::Table RecordingTable();
// The first bytes of the native record's tip field, NULs and padding included.
std::string TipBytes(const NOTIFYICONDATAA& data, std::size_t count);

}  // namespace zavi::test
