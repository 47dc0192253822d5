// RedrawOnMap: the page starts loading while the player is being shown, and WebKit keeps no
// frame it drew before the view was on the screen: on about half of all launches the page
// stayed blank but for its media controls until the window was minimized and restored. A
// relayout at the same size, once the view is on the screen, has it draw the page again;
// a second one a little later catches a first frame that was still on its way.
#pragma once

#include "Gtk.h"
#include "SourceId.h"

namespace zavi {

class RedrawOnMap {
  public:
    explicit RedrawOnMap(GtkWidget* view);
    ~RedrawOnMap();
    RedrawOnMap(const RedrawOnMap&) = delete;
    RedrawOnMap& operator=(const RedrawOnMap&) = delete;

  private:
    static void OnMapped(GtkWidget* view, gpointer self);
    static gboolean OnRedraw(gpointer self);

    static constexpr guint kFirstRedrawMs = 100;
    static constexpr guint kNextRedrawMs = 900;
    static constexpr int kRedraws = 2;

    GtkWidget* m_view;
    SourceId m_redrawSource;
    int m_redraws = 0;
};

}  // namespace zavi
