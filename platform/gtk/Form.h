// Form: a top-level GTK window with the lifetime the program's windows rely on. Load
// creates the window and its controls, starts its timers and runs the load sequence;
// Unload destroys them all; a later Load builds everything afresh. When the last form is
// unloaded, the message loop is told to end.
//
// The client area is an overlay: the form paints its background and labels on the
// bottom layer, and each control lies on a layer of its own at its defined bounds, above
// the controls placed before it and clipped by the window.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "../ControlDefinitions.h"
#include "../FormEvents.h"
#include "Gtk.h"
#include "Label.h"
#include "SourceId.h"

namespace zavi {

// The events it raises are declared once for both platforms (FormEvents.h); labels are
// registered with AddLabel to be painted.
class Form : public FormEvents {
  public:
    ~Form() override;

    bool IsLoaded() const { return m_window != nullptr; }
    void Load();
    void Show();
    void Hide();
    // Shown, restored if minimized, raised and given the focus: the user asked for it (a
    // click on the tray icon).
    void Present();
    void Unload() override;

    GtkWidget* hWnd() const { return m_window; }
    GdkPixbuf* Icon() const { return m_icon.get(); }
    // Outer size and position, frame included, in twips.
    double Width() const;
    double Height() const;
    double Left() const;
    double Top() const;
    void SetLeft(double twips);
    void SetTop(double twips);
    int Dpi() const { return m_dpi; }

    // Whether any form is loaded.
    static bool AnyLoaded();

    // For the platform's controls: puts one on the client area at its bounds.
    void Place(GtkWidget* control, const PixelRect& bounds);
    // Puts a control in the tab order; the first takes the focus the window is given.
    void AddTabStop(GtkWidget* control, int tabIndex);
    // A click on one of the form's buttons.
    void Click(unsigned controlId);

  protected:
    explicit Form(const FormDefinition& definition);

    void AddLabel(const Label& label);
    // Starts a timer, or starts it over if it is running.
    void StartTimer(const TimerDefinition& timer);
    void StopTimer(const TimerDefinition& timer);

  private:
    struct Timer {
        Form* form;
        unsigned id;
        SourceId source;
    };

    static gboolean OnDraw(GtkWidget* canvas, cairo_t* cr, gpointer form);
    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer form);
    static gboolean OnMotion(GtkWidget* canvas, GdkEventMotion* event, gpointer form);
    static gboolean OnMapped(GtkWidget* window, GdkEvent* event, gpointer form);
    static gboolean OnDeleteEvent(GtkWidget* window, GdkEvent* event, gpointer form);
    static void OnShowOrHide(GtkWidget* window, gpointer form);
    static void OnDestroy(GtkWidget* window, gpointer form);
    static gboolean OnTick(gpointer timer);
    static gboolean ChildPosition(GtkOverlay* overlay, GtkWidget* child, GdkRectangle* allocation,
                                  gpointer form);
    void Destroyed();
    GdkRectangle OuterRect() const;

    FormDefinition m_definition;
    GtkWidget* m_window = nullptr;  // a toplevel is GTK's own: Unload destroys it
    GtkWidget* m_overlay = nullptr;
    GtkWidget* m_canvas = nullptr;  // the labels are painted on it
    GObjectPtr<GdkPixbuf> m_icon;
    int m_dpi = 96;
    std::vector<const Label*> m_labels;
    std::vector<std::unique_ptr<Timer>> m_timers;
    std::vector<std::pair<int, GtkWidget*>> m_tabStops;  // by tab index
};

}  // namespace zavi
