#include "NotifyIcon.h"

#include "../../splash/NotifyIconData.h"

// GtkStatusIcon is deprecated in favour of StatusNotifier, which needs a D-Bus host that
// plain X11 panels such as trayer do not have; XEmbed is what they all take.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace zavi {

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip)
    : m_icon(gtk_status_icon_new()) {
    GtkStatusIcon* icon = m_icon.get();
    // The same flags say which parts are valid as in the shell's record.
    if ((definition.flags & kNifIcon) != 0 && owner.Icon() != nullptr) {
        gtk_status_icon_set_from_pixbuf(icon, owner.Icon());
    }
    if ((definition.flags & kNifTip) != 0) {
        // The shell's field holds 63 characters and a NUL.
        gtk_status_icon_set_tooltip_text(icon, tip.substr(0, kNotifyIconTipLength - 1).c_str());
    }
    gtk_status_icon_set_title(icon, tip.c_str());
    gtk_status_icon_set_name(icon, "zaviradio");
    gtk_status_icon_set_visible(icon, TRUE);
}

NotifyIcon::~NotifyIcon() {
    gtk_status_icon_set_visible(m_icon.get(), FALSE);
}

}  // namespace zavi

G_GNUC_END_IGNORE_DEPRECATIONS
