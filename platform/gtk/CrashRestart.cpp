#include "CrashRestart.h"

#include <string>

#include "../ErrorReport.h"

namespace zavi {
namespace {

std::string Reason(WebKitWebProcessTerminationReason reason) {
    switch (reason) {
        case WEBKIT_WEB_PROCESS_CRASHED:
            return "its web process crashed";
        case WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT:
            return "its web process ran out of memory";
        default:
            return "its web process was ended";
    }
}

}  // namespace

CrashRestart::CrashRestart(WebKitWebView* view, ViewKeeper& keeper, PageLoader& loader)
    : m_view(view), m_keeper(keeper), m_loader(loader) {
    g_signal_connect(view, "web-process-terminated", G_CALLBACK(&CrashRestart::OnTerminated), this);
}

CrashRestart::~CrashRestart() {
    g_signal_handlers_disconnect_by_data(m_view, this);
    // The page's web process goes with the control, not a second or two later: by then the
    // program's end has closed its line to the session bus, and it would complain of it.
    webkit_web_view_terminate_web_process(m_view);
}

void CrashRestart::OnTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                gpointer self) {
    auto* restart = static_cast<CrashRestart*>(self);
    if (!restart->m_loader.Committed()) {
        ErrorReportAndQuit(ProgramError("The web engine could not be started (" + Reason(reason) +
                                        "). WebKitGTK or its web process may be missing."));
        return;
    }
    g_message("The web engine's page process ended (%s); the page is loaded again.",
              Reason(reason).c_str());
    restart->m_loader.LoadAfter(restart->m_keeper.EngineStopped(Clock::now()));
}

}  // namespace zavi
