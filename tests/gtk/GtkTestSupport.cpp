#include "GtkTestSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <gdk/gdkx.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>

#include "platform/AppIdentity.h"
#include "platform/gtk/MessageLoop.h"

namespace zavi::test {
namespace {

using Clock = std::chrono::steady_clock;

Display* XDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

Window XWindowOf(GtkWidget* window) {
    return GDK_WINDOW_XID(gtk_widget_get_window(window));
}

}  // namespace

PumpResult PumpFor(int milliseconds) {
    PumpResult result;
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        if (const auto quit = TakeQuitRequest()) {
            result.quitRequested = true;
            result.exitCode = *quit;
        }
        g_usleep(2000);
    }
    return result;
}

bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (Clock::now() > end) {
            return false;
        }
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(2000);
    }
    return true;
}

void DrainQuit() {
    PumpFor(20);
    TakeQuitRequest();
}

ErrorDialogAnswerer::ErrorDialogAnswerer() : m_source(g_timeout_add(20, &Look, this)) {}

ErrorDialogAnswerer::~ErrorDialogAnswerer() {
    g_source_remove(m_source);
}

gboolean ErrorDialogAnswerer::Look(gpointer self) {
    auto* answerer = static_cast<ErrorDialogAnswerer*>(self);
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        if (!GTK_IS_MESSAGE_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data))) {
            continue;
        }
        GtkWidget* dialog = GTK_WIDGET(item->data);
        gchar* text = nullptr;
        g_object_get(dialog, "text", &text, nullptr);
        answerer->m_texts.push_back(text != nullptr ? text : "");
        g_free(text);
        answerer->m_titles.push_back(gtk_window_get_title(GTK_WINDOW(dialog)));
        std::string buttons;
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GtkWidget* actions = gtk_dialog_get_action_area(GTK_DIALOG(dialog));
        G_GNUC_END_IGNORE_DEPRECATIONS
        GList* children = gtk_container_get_children(GTK_CONTAINER(actions));
        for (GList* child = children; child != nullptr; child = child->next) {
            if (GTK_IS_BUTTON(child->data)) {
                buttons += (buttons.empty() ? "" : "|");
                buttons += gtk_button_get_label(GTK_BUTTON(child->data));
            }
        }
        g_list_free(children);
        answerer->m_buttons.push_back(buttons);
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    }
    g_list_free(windows);
    return G_SOURCE_CONTINUE;
}

XWindowFacts FactsOf(GtkWidget* window) {
    XWindowFacts facts;
    XWindowAttributes attributes{};
    XGetWindowAttributes(XDisplay(), XWindowOf(window), &attributes);
    facts.overrideRedirect = attributes.override_redirect != False;
    gdk_window_get_frame_extents(gtk_widget_get_window(window), &facts.outer);
    return facts;
}

ShapeMask::ShapeMask(GtkWidget* window) {
    int count = 0;
    int ordering = 0;
    XRectangle* rects =
        XShapeGetRectangles(XDisplay(), XWindowOf(window), ShapeBounding, &count, &ordering);
    for (int i = 0; i < count; ++i) {
        m_rects.push_back({rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    }
    if (rects != nullptr) {
        XFree(rects);
    }
}

bool ShapeMask::Shows(int x, int y) const {
    for (const GdkRectangle& r : m_rects) {
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
            return true;
        }
    }
    return false;
}

namespace {

int CountTitled(Display* display, Window window, const std::string& title) {
    int count = 0;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, window, &attributes);
        count += (title == name && attributes.map_state == IsViewable) ? 1 : 0;
        XFree(name);
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i) {
            count += CountTitled(display, children[i], title);
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
    return count;
}

}  // namespace

int ViewableWindowsTitled(const std::string& title) {
    // Windows of any client, the tray's and the window manager's included, may go while
    // the tree is walked: their errors are expected, not the program's.
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    XSync(XDisplay(), False);
    const int count = CountTitled(XDisplay(), DefaultRootWindow(XDisplay()), title);
    gdk_x11_display_error_trap_pop_ignored(display);
    return count;
}

GdkRectangle BoundsIn(GtkWidget* control) {
    GdkRectangle box{0, 0, gtk_widget_get_allocated_width(control),
                     gtk_widget_get_allocated_height(control)};
    gtk_widget_translate_coordinates(control, gtk_widget_get_toplevel(control), 0, 0, &box.x,
                                     &box.y);
    return box;
}

void SendDeleteEvent(GtkWidget* window) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

Rendering Render(GtkWidget* window) {
    // A control's change may be waiting for the next frame's layout: done now, as it would be.
    gtk_container_check_resize(GTK_CONTAINER(window));
    Rendering image;
    image.width = gtk_widget_get_allocated_width(window);
    image.height = gtk_widget_get_allocated_height(window);
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(window, cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < image.width; ++x) {
            image.pixels.push_back(row[x] & 0xFFFFFF);
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

PrivateBus::PrivateBus() {
    gchar* out = nullptr;
    const gchar* argv[] = {"dbus-daemon",       "--session",     "--fork", "--nosyslog",
                           "--print-address=1", "--print-pid=1", nullptr};
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                      nullptr, &out, nullptr, nullptr, nullptr)) {
        ADD_FAILURE() << "no dbus-daemon";
        return;
    }
    gchar** lines = g_strsplit(out, "\n", 3);
    m_address = lines[0];
    m_daemon = lines[1] != nullptr ? std::atoi(lines[1]) : 0;
    g_strfreev(lines);
    g_free(out);
}

PrivateBus::~PrivateBus() {
    if (m_daemon > 0) {
        kill(m_daemon, SIGTERM);
    }
}

GObjectPtr<GDBusConnection> PrivateBus::Connect() const {
    return GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(
        m_address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr));
}

guint RegisterObject(GDBusConnection* bus, const char* path, const char* xml,
                     const GDBusInterfaceVTable& vtable, gpointer data) {
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, nullptr);
    const guint id = g_dbus_connection_register_object(bus, path, node->interfaces[0], &vtable,
                                                       data, nullptr, nullptr);
    g_dbus_node_info_unref(node);
    return id;
}

GVariant* Call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
               const char* method, GVariant* parameters) {
    struct Answer {
        bool done = false;
        GVariant* reply = nullptr;
    } answer;
    g_dbus_connection_call(
        bus, name, path, interface, method, parameters, nullptr, G_DBUS_CALL_FLAGS_NONE, 3000,
        nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* to = static_cast<Answer*>(data);
            to->reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
            to->done = true;
        },
        &answer);
    PumpUntil([&] { return answer.done; }, 5000);
    return answer.reply;
}

}  // namespace zavi::test
