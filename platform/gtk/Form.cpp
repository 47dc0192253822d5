#include "Form.h"

#include <algorithm>

#include "../ErrorReport.h"
#include "../Screen.h"
#include "MessageLoop.h"
#include "PrimaryMonitor.h"
#include "ProgramIcon.h"
#include "SystemColours.h"

namespace zavi {
namespace {

// Marks a window as one of our forms, so the runtime can tell whether any is loaded
// without a registry of its own.
constexpr char kFormKey[] = "VLZaviRadio.Form";
constexpr char kBoundsKey[] = "VLZaviRadio.Bounds";

// The platform's timers tick no faster than this, as on Windows; a faster one would wake
// the program a thousand times a second for nothing.
constexpr guint kMinimumTimerMs = 10;

}  // namespace

Form::Form(const FormDefinition& definition) : m_definition(definition) {}

Form::~Form() {
    // A derived form unloads itself in its own destructor, while its handlers still exist;
    // this only makes sure no window outlives its form.
    if (IsLoaded()) {
        g_signal_handlers_disconnect_by_data(m_window, this);
        g_object_set_data(G_OBJECT(m_window), kFormKey, nullptr);
        gtk_widget_destroy(std::exchange(m_window, nullptr));
    }
}

void Form::Load() {
    if (IsLoaded()) {
        return;
    }
    m_dpi = Screen::Dpi();
    m_icon = LoadProgramIcon();
    const PixelRect client = ToPixels(m_definition.client, m_dpi);
    const bool floating = m_definition.kind == FormKind::Floating;

    // A popup is placed exactly where it is put: a window manager would move a managed
    // window out of a panel at the screen's edge. It is in no taskbar and takes no focus.
    m_window = gtk_window_new(floating ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    g_object_set_data(G_OBJECT(m_window), kFormKey, this);
    gtk_window_set_title(GTK_WINDOW(m_window), m_definition.caption);
    gtk_widget_set_name(m_window, m_definition.name);
    // The window's role names it on the display, as its class does on Windows, so a
    // second launch can find it.
    gtk_window_set_role(GTK_WINDOW(m_window), m_definition.name);
    gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
    SetWindowIcons(GTK_WINDOW(m_window), m_icon.get());
    if (floating) {
        gtk_window_move(GTK_WINDOW(m_window), client.left, client.top);
        // Where X windows are a Wayland compositor's (Xwayland), it gives the keyboard to
        // an unmanaged window unless it says it is a notification, or will not take it.
        gtk_window_set_type_hint(GTK_WINDOW(m_window), GDK_WINDOW_TYPE_HINT_NOTIFICATION);
        gtk_window_set_accept_focus(GTK_WINDOW(m_window), FALSE);
    } else {
        gtk_window_set_position(GTK_WINDOW(m_window), GTK_WIN_POS_CENTER);
        g_signal_connect(m_window, "configure-event", G_CALLBACK(&Form::OnMapped), this);
    }

    m_overlay = gtk_overlay_new();
    GtkWidget* canvas = gtk_drawing_area_new();
    gtk_widget_set_size_request(canvas, client.width, client.height);
    gtk_widget_add_events(canvas, GDK_POINTER_MOTION_MASK);
    g_signal_connect(canvas, "draw", G_CALLBACK(&Form::OnDraw), this);
    g_signal_connect(canvas, "motion-notify-event", G_CALLBACK(&Form::OnMotion), this);
    g_signal_connect(m_overlay, "get-child-position", G_CALLBACK(&Form::ChildPosition), this);
    gtk_container_add(GTK_CONTAINER(m_overlay), canvas);
    gtk_container_add(GTK_CONTAINER(m_window), m_overlay);
    g_signal_connect(m_window, "delete-event", G_CALLBACK(&Form::OnDeleteEvent), this);
    if (!floating) {
        g_signal_connect(m_window, "key-press-event", G_CALLBACK(&Form::OnKeyPress), this);
    }
    g_signal_connect(m_window, "destroy", G_CALLBACK(&Form::OnDestroy), this);
    g_signal_connect(m_window, "show", G_CALLBACK(&Form::OnShowOrHide), this);
    g_signal_connect(m_window, "hide", G_CALLBACK(&Form::OnShowOrHide), this);
    gtk_widget_show_all(m_overlay);
    // A screen reader reads a start-up window out as it shows, without moving the focus,
    // as it does a notification; its drawn texts are told as the canvas's.
    m_canvas = canvas;
    if (floating) {
        atk_object_set_role(gtk_widget_get_accessible(m_window), ATK_ROLE_NOTIFICATION);
    }

    try {
        CreateControls();
    } catch (...) {
        // A form whose controls could not all be made is not left half loaded.
        Unload();
        throw;
    }
    if (!m_tabStops.empty()) {
        gtk_window_set_focus(GTK_WINDOW(m_window), m_tabStops.front().second);
    }
    OnLoad();
}

void Form::Show() {
    Load();
    // A window that is up, minimized or behind others, is left as it is.
    if (!gtk_widget_get_visible(m_window)) {
        gtk_widget_show(m_window);
    }
}

void Form::Present() {
    Show();
    gtk_window_present_with_time(GTK_WINDOW(m_window), gtk_get_current_event_time());
}

void Form::Hide() {
    Load();
    gtk_widget_hide(m_window);
}

void Form::Unload() {
    if (IsLoaded()) {
        gtk_widget_destroy(m_window);
    }
}

GdkRectangle Form::OuterRect() const {
    GdkWindow* window = gtk_widget_get_window(m_window);
    GdkRectangle outer{0, 0, 0, 0};
    if (window != nullptr && gtk_widget_get_mapped(m_window)) {
        gdk_window_get_frame_extents(window, &outer);
        return outer;
    }
    // Not on the screen yet: where it will be put, at its client size.
    const PixelRect client = ToPixels(m_definition.client, m_dpi);
    gtk_window_get_position(GTK_WINDOW(m_window), &outer.x, &outer.y);
    outer.width = client.width;
    outer.height = client.height;
    return outer;
}

double Form::Width() const {
    return PixelsToTwips(OuterRect().width, m_dpi);
}

double Form::Height() const {
    return PixelsToTwips(OuterRect().height, m_dpi);
}

double Form::Left() const {
    return PixelsToTwips(OuterRect().x, m_dpi);
}

double Form::Top() const {
    return PixelsToTwips(OuterRect().y, m_dpi);
}

void Form::SetLeft(double twips) {
    gtk_window_move(GTK_WINDOW(m_window), TwipsToPixels(twips, m_dpi), OuterRect().y);
}

void Form::SetTop(double twips) {
    gtk_window_move(GTK_WINDOW(m_window), OuterRect().x, TwipsToPixels(twips, m_dpi));
}

bool Form::AnyLoaded() {
    GList* windows = gtk_window_list_toplevels();
    bool found = false;
    for (GList* item = windows; item != nullptr && !found; item = item->next) {
        found = g_object_get_data(G_OBJECT(item->data), kFormKey) != nullptr;
    }
    g_list_free(windows);
    return found;
}

void Form::Place(GtkWidget* control, const PixelRect& bounds) {
    g_object_set_data_full(G_OBJECT(control), kBoundsKey, new PixelRect(bounds),
                           [](gpointer rect) { delete static_cast<PixelRect*>(rect); });
    gtk_overlay_add_overlay(GTK_OVERLAY(m_overlay), control);
    gtk_widget_show_all(control);
}

void Form::AddTabStop(GtkWidget* control, int tabIndex) {
    auto at = std::find_if(m_tabStops.begin(), m_tabStops.end(),
                           [tabIndex](const auto& stop) { return stop.first > tabIndex; });
    m_tabStops.insert(at, {tabIndex, control});
    GList* chain = nullptr;
    for (const auto& stop : m_tabStops) {
        chain = g_list_append(chain, stop.second);
    }
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_container_set_focus_chain(GTK_CONTAINER(m_overlay), chain);
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_list_free(chain);
}

void Form::Click(unsigned controlId) {
    RunUntrapped([&] { OnClick(controlId); });
}

void Form::AddLabel(const Label& label) {
    m_labels.push_back(&label);
    std::string texts;
    for (const Label* each : m_labels) {
        texts += (texts.empty() ? "" : "\n") + each->Caption();
    }
    AtkObject* accessible = gtk_widget_get_accessible(m_canvas);
    atk_object_set_role(accessible, ATK_ROLE_LABEL);
    atk_object_set_name(accessible, texts.c_str());
}

void Form::StartTimer(const TimerDefinition& timer) {
    StopTimer(timer);
    auto tick = std::make_unique<Timer>();
    tick->form = this;
    tick->id = timer.id;
    tick->source =
        g_timeout_add(std::max(timer.intervalMs, kMinimumTimerMs), &Form::OnTick, tick.get());
    m_timers.push_back(std::move(tick));
}

void Form::StopTimer(const TimerDefinition& timer) {
    const auto running = std::find_if(m_timers.begin(), m_timers.end(),
                                      [&](const auto& tick) { return tick->id == timer.id; });
    if (running != m_timers.end()) {
        m_timers.erase(running);
    }
}

gboolean Form::OnTick(gpointer data) {
    // The handler may unload the form, and the timer with it: nothing of it is used after.
    Form* const form = static_cast<Timer*>(data)->form;
    const unsigned id = static_cast<Timer*>(data)->id;
    // An error that reaches here was trapped by nobody: it ends the program.
    RunUntrapped([form, id] { form->OnTimer(id); });
    return G_SOURCE_CONTINUE;
}

gboolean Form::OnDraw(GtkWidget* canvas, cairo_t* cr, gpointer data) {
    auto* form = static_cast<Form*>(data);
    const CairoColour back = ToCairo(form->m_definition.backColour);
    cairo_set_source_rgb(cr, back.red, back.green, back.blue);
    cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(canvas),
                    gtk_widget_get_allocated_height(canvas));
    cairo_fill(cr);
    for (const Label* label : form->m_labels) {
        label->Paint(cr);
    }
    return TRUE;
}

gboolean Form::OnMotion(GtkWidget* canvas, GdkEventMotion* event, gpointer data) {
    auto* form = static_cast<Form*>(data);
    const int x = static_cast<int>(event->x);
    const int y = static_cast<int>(event->y);
    // The label painted last lies on top.
    bool upArrow = false;
    for (auto label = form->m_labels.rbegin(); label != form->m_labels.rend(); ++label) {
        if ((*label)->Contains(x, y)) {
            upArrow = (*label)->Pointer() == MousePointer::UpArrow;
            break;
        }
    }
    GdkWindow* window = gtk_widget_get_window(canvas);
    GdkCursor* cursor =
        upArrow ? gdk_cursor_new_for_display(gdk_window_get_display(window), GDK_SB_UP_ARROW)
                : nullptr;
    gdk_window_set_cursor(window, cursor);
    if (cursor != nullptr) {
        g_object_unref(cursor);
    }
    return FALSE;
}

// GTK centres the window before the window manager has framed it; once it has, the
// whole window, frame included, is centred in the work area, as on Windows.
gboolean Form::OnMapped(GtkWidget* window, GdkEvent*, gpointer data) {
    const GdkRectangle outer = static_cast<Form*>(data)->OuterRect();
    if (!gtk_widget_get_mapped(window) ||
        outer.height <= gdk_window_get_height(gtk_widget_get_window(window))) {
        return FALSE;  // not framed yet
    }
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(&Form::OnMapped), data);
    // The primary monitor's, where the start-up window was: not the pointer's.
    GdkRectangle work{};
    gdk_monitor_get_workarea(Screen::PrimaryMonitor(), &work);
    const int left = work.x + (work.width - outer.width) / 2;
    const int top = work.y + (work.height - outer.height) / 2;
    if (left != outer.x || top != outer.y) {
        gtk_window_move(GTK_WINDOW(window), left, top);
    }
    return FALSE;
}

// Ctrl+W closes a window, as in every other program: here as the window's own close does.
gboolean Form::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    const bool control =
        (event->state & gtk_accelerator_get_default_mod_mask()) == GDK_CONTROL_MASK;
    if (!control || gdk_keyval_to_lower(event->keyval) != GDK_KEY_w) {
        return FALSE;
    }
    auto* form = static_cast<Form*>(data);
    RunUntrapped([form] { form->OnClose(); });
    return TRUE;
}

gboolean Form::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
    auto* form = static_cast<Form*>(data);
    RunUntrapped([form] { form->OnClose(); });
    return TRUE;  // the form decides; the window is not destroyed behind its back
}

void Form::OnShowOrHide(GtkWidget* window, gpointer data) {
    if (gtk_widget_in_destruction(window)) {
        return;
    }
    auto* form = static_cast<Form*>(data);
    RunUntrapped([&] { form->OnVisibleChanged(gtk_widget_get_visible(window)); });
}

gboolean Form::ChildPosition(GtkOverlay*, GtkWidget* child, GdkRectangle* allocation, gpointer) {
    const auto* bounds =
        static_cast<const PixelRect*>(g_object_get_data(G_OBJECT(child), kBoundsKey));
    if (bounds == nullptr) {
        return FALSE;
    }
    *allocation = GdkRectangle{bounds->left, bounds->top, bounds->width, bounds->height};
    return TRUE;
}

void Form::OnDestroy(GtkWidget*, gpointer data) {
    static_cast<Form*>(data)->Destroyed();
}

void Form::Destroyed() {
    m_timers.clear();
    RunUntrapped([this] { OnUnload(); });
    m_labels.clear();
    m_tabStops.clear();
    DestroyControls();
    g_signal_handlers_disconnect_by_data(m_window, this);
    g_object_set_data(G_OBJECT(m_window), kFormKey, nullptr);
    m_window = nullptr;
    m_overlay = nullptr;
    m_canvas = nullptr;
    m_icon = {};
    if (!AnyLoaded()) {
        RequestQuit(0);
    }
}

}  // namespace zavi
