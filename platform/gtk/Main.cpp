// The Linux entry point: GTK on X11, then the program.
#include <cstdio>

#include "../../app/Program.h"
#include "../AppIdentity.h"
#include "DesktopNotice.h"
#include "Gtk.h"
#include "Platform.h"

int main(int argc, char** argv) {
    if (!zavi::StartPlatform(&argc, &argv)) {
        // Started from a menu, nobody reads standard error: a Wayland desktop without
        // Xwayland is told in its notification area.
        constexpr const char* kNoDisplay =
            "Zavi Radio needs an X display. On a Wayland desktop, install Xwayland.";
        std::fprintf(stderr, "zaviradio: cannot open the X display (is DISPLAY set?)\n");
        zavi::SendDesktopNotice("Zavi Radio cannot start", kNoDisplay);
        return 1;
    }
    // The web engine names the playing page to the desktop's media controls (MPRIS) by
    // the process's default application and its name. The application is never
    // registered: one program per session is the instance claim's work.
    const zavi::GObjectPtr<GApplication> application(
        g_application_new(zavi::kDesktopId, G_APPLICATION_NON_UNIQUE));
    g_application_set_default(application.get());
    g_set_application_name(zavi::kDisplayName);
    const int exitCode = zavi::RunSingleInstance();
    g_application_set_default(nullptr);
    return exitCode;
}
