// The baseline the program's player is measured against: the least a WebKitGTK program
// can be that plays a station page as the program does. One 532 x 334 window titled
// "Zavi Bare Shell" with one web view, on X11, with the shared-memory renderer, an
// ephemeral context, the web process sandboxed as the program's is, and autoplay
// allowed; it loads its one argument at once.
//   zavi_bare_shell URL
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        g_printerr("usage: zavi_bare_shell URL\n");
        return 2;
    }
    g_setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", FALSE);
    g_setenv("WEBKIT_GST_ENABLE_HLS_SUPPORT", "1", FALSE);
    gdk_set_allowed_backends("x11");
    gtk_init(&argc, &argv);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Zavi Bare Shell");
    gtk_window_set_default_size(GTK_WINDOW(window), 532, 334);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

    WebKitWebContext* context = webkit_web_context_new_ephemeral();
    webkit_web_context_set_sandbox_enabled(context, TRUE);
    WebKitWebsitePolicies* policies =
        webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
    GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                              "website-policies", policies, nullptr));
    g_object_unref(policies);
    g_object_unref(context);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
