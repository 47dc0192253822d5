#include "../ErrorReport.h"

#include "Gtk.h"
#include "MessageLoop.h"

namespace zavi {

void ErrorReport(const ProgramError& error) {
    const std::string text = ErrorReportText(error.Description(), error.Source());
    // Modal for the whole program: no other window of ours takes input until it is answered.
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                            GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), kApplicationTitle);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

void ErrorReportAndQuit(const ProgramError& error) {
    ErrorReport(error);
    RequestQuit(1);
}

}  // namespace zavi
