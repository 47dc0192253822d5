#include "RedrawOnMap.h"

namespace zavi {

RedrawOnMap::RedrawOnMap(GtkWidget* view) : m_view(view) {
    g_signal_connect(view, "map", G_CALLBACK(&RedrawOnMap::OnMapped), this);
}

RedrawOnMap::~RedrawOnMap() {
    g_signal_handlers_disconnect_by_data(m_view, this);
}

void RedrawOnMap::OnMapped(GtkWidget* view, gpointer self) {
    auto* redraw = static_cast<RedrawOnMap*>(self);
    g_signal_handlers_disconnect_by_func(view, reinterpret_cast<gpointer>(&RedrawOnMap::OnMapped),
                                         self);
    redraw->m_redrawSource = g_timeout_add(kFirstRedrawMs, &RedrawOnMap::OnRedraw, self);
}

gboolean RedrawOnMap::OnRedraw(gpointer self) {
    auto* redraw = static_cast<RedrawOnMap*>(self);
    gtk_widget_queue_resize(redraw->m_view);
    redraw->m_redrawSource.Ended();
    if (++redraw->m_redraws < kRedraws) {
        redraw->m_redrawSource = g_timeout_add(kNextRedrawMs, &RedrawOnMap::OnRedraw, self);
    }
    return G_SOURCE_REMOVE;
}

}  // namespace zavi
