// The floor the Linux program's CPU is compared with: a plain GTK window that only shows
// itself, titled "Zavi Floor".
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Zavi Floor");
    gtk_window_set_default_size(GTK_WINDOW(window), 532, 334);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
