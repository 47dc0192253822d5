#include "ColourKey.h"

#include "SourceId.h"
#include <X11/extensions/shape.h>
#include <gdk/gdkx.h>

#include <memory>
#include <vector>

namespace zavi {
namespace {

constexpr char kKeyData[] = "VLZaviRadio.ColourKey";

using Region = UniqueHandle<cairo_region_t*, &cairo_region_destroy>;

// The window's shape in device pixels, given to the X server directly (no shape: the
// whole window). Through GDK it would be in GDK's own pixels, multiplied by the scale: at
// 2x every edge a step of two, with a fringe of the key colour along it. GDK never hears
// of it, so it never clips its own drawing to it.
void ShapeWindow(GtkWidget* window, const cairo_region_t* mask) {
    GdkWindow* surface = gtk_widget_get_window(window);
    if (surface == nullptr || !GDK_IS_X11_WINDOW(surface)) {
        return;
    }
    Display* display = GDK_WINDOW_XDISPLAY(surface);
    if (mask == nullptr) {
        XShapeCombineMask(display, GDK_WINDOW_XID(surface), ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    const int count = cairo_region_num_rectangles(mask);
    std::vector<XRectangle> rectangles(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        cairo_rectangle_int_t r{};
        cairo_region_get_rectangle(mask, i, &r);
        rectangles[static_cast<std::size_t>(i)] =
            XRectangle{static_cast<short>(r.x), static_cast<short>(r.y),
                       static_cast<unsigned short>(r.width), static_cast<unsigned short>(r.height)};
    }
    XShapeCombineRectangles(display, GDK_WINDOW_XID(surface), ShapeBounding, 0, 0,
                            rectangles.data(), count, ShapeSet, YXBanded);
}

class Key {
  public:
    Key(GtkWidget* window, std::uint32_t rgb) : m_window(window), m_rgb(rgb) {
        // Shaped to nothing until it has been rendered once, so it never shows its white.
        m_mask = Region(cairo_region_create());
        // A compositor may show X windows without their shapes (wlroots' Xwayland does):
        // where the screen is composited, the key is also drawn see-through on a visual
        // with alpha. It must be chosen before the window is made.
        GdkScreen* screen = gtk_widget_get_screen(window);
        GdkVisual* alpha = gdk_screen_get_rgba_visual(screen);
        if (!gtk_widget_get_realized(window) && alpha != nullptr &&
            gdk_screen_is_composited(screen)) {
            gtk_widget_set_visual(window, alpha);
            m_alpha = true;
        }
        g_signal_connect(window, "draw", G_CALLBACK(&Key::OnDraw), this);
        g_signal_connect(window, "map", G_CALLBACK(&Key::OnMap), this);
        g_signal_connect(window, "size-allocate", G_CALLBACK(&Key::OnAllocate), this);
        g_signal_connect(window, "realize", G_CALLBACK(&Key::OnRealize), this);
        g_signal_connect(window, "unrealize", G_CALLBACK(&Key::OnUnrealize), this);
        if (gtk_widget_get_realized(window)) {
            OnRealize(window, this);
        }
        Invalidate(WholeWindow());
    }
    // Goes when the key is removed or the window is finalized (its handlers are gone then).
    ~Key() {
        m_apply.Stop();
        OnUnrealize(m_window, this);
        g_signal_handlers_disconnect_by_data(m_window, this);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    // Rendering waits for the window's next frame, which the change itself asks for:
    // before that, a changed control may not have its new size, and cannot be drawn.
    void Invalidate(const GdkRectangle& area) {
        if (area.width <= 0 || area.height <= 0) {
            return;
        }
        if (m_pending.width <= 0) {
            m_pending = area;
        } else {
            gdk_rectangle_union(&m_pending, &area, &m_pending);
        }
    }

  private:
    static void OnMap(GtkWidget*, gpointer key) {
        static_cast<Key*>(key)->Invalidate(static_cast<Key*>(key)->WholeWindow());
    }
    static void OnAllocate(GtkWidget* window, GdkRectangle*, gpointer key) { OnMap(window, key); }

    // The X window is new, and has no shape of its own yet.
    static void OnRealize(GtkWidget* window, gpointer data) {
        auto* key = static_cast<Key*>(data);
        ShapeWindow(window, key->m_mask.get());
        if (key->m_clock == nullptr) {
            key->m_clock = gtk_widget_get_frame_clock(window);
            key->m_painted = g_signal_connect_swapped(key->m_clock, "after-paint",
                                                      G_CALLBACK(&Key::OnPainted), key);
        }
    }
    static void OnUnrealize(GtkWidget*, gpointer data) {
        auto* key = static_cast<Key*>(data);
        if (key->m_clock != nullptr) {
            g_signal_handler_disconnect(key->m_clock, key->m_painted);
            key->m_clock = nullptr;
        }
    }
    static void OnPainted(gpointer key) { static_cast<Key*>(key)->Render(); }

    // Before the window draws itself: all of it cleared to nothing, then only the mask
    // drawn. Not while it is being rendered for the mask itself.
    static gboolean OnDraw(GtkWidget* window, cairo_t* cr, gpointer data) {
        auto* key = static_cast<Key*>(data);
        if (!key->m_alpha || key->m_rendering) {
            return FALSE;
        }
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        // The mask is in device pixels: its path is added at that scale.
        const double scale = gtk_widget_get_scale_factor(window);
        cairo_scale(cr, 1 / scale, 1 / scale);
        gdk_cairo_region(cr, key->m_mask.get());
        cairo_scale(cr, scale, scale);
        cairo_clip(cr);
        return FALSE;
    }

    GdkRectangle WholeWindow() const {
        return {0, 0, gtk_widget_get_allocated_width(m_window),
                gtk_widget_get_allocated_height(m_window)};
    }

    // A window that is not on the screen is rendered when it comes back.
    void Render() {
        GdkRectangle area{};
        const GdkRectangle whole = WholeWindow();
        if (m_pending.width <= 0 || !gtk_widget_get_mapped(m_window) ||
            !gdk_rectangle_intersect(&m_pending, &whole, &area)) {
            return;
        }
        m_pending = GdkRectangle{0, 0, 0, 0};
        // Rendered at the monitor's scale, so that the mask is as fine as the drawing.
        const int scale = gtk_widget_get_scale_factor(m_window);
        cairo_surface_t* image =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, area.width * scale, area.height * scale);
        cairo_surface_set_device_scale(image, scale, scale);
        cairo_t* cr = cairo_create(image);
        cairo_translate(cr, -area.x, -area.y);
        m_rendering = true;
        gtk_widget_draw(m_window, cr);
        m_rendering = false;
        cairo_destroy(cr);
        cairo_surface_flush(image);
        const Region drawn(RegionWithout(image, m_rgb, area.x * scale, area.y * scale));
        cairo_surface_destroy(image);

        const cairo_rectangle_int_t changed{area.x * scale, area.y * scale, area.width * scale,
                                            area.height * scale};
        const Region before(cairo_region_copy(m_mask.get()));
        cairo_region_subtract_rectangle(m_mask.get(), &changed);
        cairo_region_union(m_mask.get(), drawn.get());
        if (cairo_region_equal(before.get(), m_mask.get())) {
            return;
        }
        // Not while the frame is still being finished.
        if (!m_apply.Active()) {
            m_apply = g_idle_add_full(G_PRIORITY_HIGH_IDLE, &Key::OnApply, this, nullptr);
        }
    }

    static gboolean OnApply(gpointer data) {
        auto* key = static_cast<Key*>(data);
        key->m_apply.Ended();
        ShapeWindow(key->m_window, key->m_mask.get());
        if (key->m_alpha) {
            gtk_widget_queue_draw(key->m_window);  // drawn again through the new mask
        }
        return G_SOURCE_REMOVE;
    }

    GtkWidget* m_window;
    std::uint32_t m_rgb;
    Region m_mask;  // in device pixels
    GdkRectangle m_pending{0, 0, 0, 0};
    GdkFrameClock* m_clock = nullptr;  // the realized window's
    gulong m_painted = 0;
    SourceId m_apply;
    bool m_alpha = false;      // on a visual with alpha, where the screen is composited
    bool m_rendering = false;  // for the mask, off screen
};

Key* KeyOf(GtkWidget* window) {
    return static_cast<Key*>(g_object_get_data(G_OBJECT(window), kKeyData));
}

}  // namespace

cairo_region_t* RegionWithout(cairo_surface_t* image, std::uint32_t rgb, int left, int top) {
    // cairo keeps RGB24 pixels as 0x00RRGGBB words.
    const std::uint32_t key = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    cairo_region_t* region = cairo_region_create();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFF) == key) {
                ++x;
            }
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) != key) {
                ++x;
            }
            if (x > start) {
                const cairo_rectangle_int_t run{left + start, top + y, x - start, 1};
                cairo_region_union_rectangle(region, &run);
            }
        }
    }
    return region;
}

void ApplyColourKey(GtkWidget* window, std::uint32_t rgb) {
    g_object_set_data_full(G_OBJECT(window), kKeyData, new Key(window, rgb),
                           [](gpointer key) { delete static_cast<Key*>(key); });
}

void RemoveColourKey(GtkWidget* window) {
    if (KeyOf(window) != nullptr) {
        g_object_set_data(G_OBJECT(window), kKeyData, nullptr);
        ShapeWindow(window, nullptr);
    }
}

void RefreshColourKey(GtkWidget* control) {
    GtkWidget* window = gtk_widget_get_toplevel(control);
    Key* key = window != nullptr ? KeyOf(window) : nullptr;
    if (key == nullptr) {
        return;
    }
    GtkAllocation area{};
    gtk_widget_get_allocation(control, &area);
    int x = 0;
    int y = 0;
    // The control's place in its window; nothing to do before it has one.
    if (area.width > 0 && gtk_widget_translate_coordinates(control, window, 0, 0, &x, &y)) {
        key->Invalidate(GdkRectangle{x, y, area.width, area.height});
    }
}

}  // namespace zavi
