#include "Platform.h"

#include "Gtk.h"
#include "Translations.h"

namespace zavi {

bool StartPlatform(int* argc, char*** argv) {
    // WebKit's DMA-BUF renderer draws a view larger than its window too low (by the part
    // the window cuts off); the shared-memory one draws it where it is.
    g_setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", FALSE);
    // Stations that stream HLS (the BBC's Nepali service, for one) play only with WebKit's
    // HLS support on; it is off unless asked for, and read by the web process it starts.
    g_setenv("WEBKIT_GST_ENABLE_HLS_SUPPORT", "1", FALSE);
    gdk_set_allowed_backends("x11");
    g_set_prgname("zaviradio");
    BindTranslations();
    return gtk_init_check(argc, argv) != FALSE;
}

}  // namespace zavi
