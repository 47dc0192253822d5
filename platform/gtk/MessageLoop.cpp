#include "MessageLoop.h"

#include "Gtk.h"

namespace zavi {
namespace {

// The UI thread's pending quit: GTK has no queue to hold it.
std::optional<int>& PendingQuit() {
    static std::optional<int> pending;
    return pending;
}

}  // namespace

void RequestQuit(int exitCode) {
    // The first request stands, as the first WM_QUIT ends a message loop.
    if (!PendingQuit()) {
        PendingQuit() = exitCode;
    }
    g_main_context_wakeup(nullptr);
}

std::optional<int> TakeQuitRequest() {
    return std::exchange(PendingQuit(), std::nullopt);
}

int RunMessageLoop() {
    while (!PendingQuit()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return *TakeQuitRequest();
}

}  // namespace zavi
