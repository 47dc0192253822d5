// Helpers for tests of real GTK windows: pumping the main loop, answering the error
// dialog, reading the X server's view of a window, and the fixture that leaves no window
// of the program behind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gtk/Gtk.h"

namespace zavi::test {

struct PumpResult {
    bool quitRequested = false;
    int exitCode = -1;
};

// Handles events for the given time, as the program's loop would.
PumpResult PumpFor(int milliseconds);
// Handles events until the condition holds or the time is up; says whether it held.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds);
// How long a first page load may take: a new web process, on a machine that runs other
// tests beside this one.
inline constexpr int kFirstLoadMs = 30000;
// Takes any quit request left by an earlier test.
void DrainQuit();

// Answers every error dialog the program shows, with OK, and keeps its title and text.
class ErrorDialogAnswerer {
  public:
    ErrorDialogAnswerer();
    ~ErrorDialogAnswerer();
    ErrorDialogAnswerer(const ErrorDialogAnswerer&) = delete;
    ErrorDialogAnswerer& operator=(const ErrorDialogAnswerer&) = delete;

    std::vector<std::string> Texts() const { return m_texts; }
    std::vector<std::string> Titles() const { return m_titles; }
    // The buttons each dialog had, as "label" strings joined by '|'.
    std::vector<std::string> Buttons() const { return m_buttons; }

  private:
    static gboolean Look(gpointer self);
    guint m_source;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_titles;
    std::vector<std::string> m_buttons;
};

// The X server's facts about a top-level window.
struct XWindowFacts {
    bool overrideRedirect = false;
    GdkRectangle outer{0, 0, 0, 0};  // frame included, in root coordinates
};
XWindowFacts FactsOf(GtkWidget* window);
// Whether the window's X Shape mask lets the client pixel (x, y) show.
class ShapeMask {
  public:
    explicit ShapeMask(GtkWidget* window);
    bool Shows(int x, int y) const;
    std::size_t Rectangles() const { return m_rects.size(); }

  private:
    std::vector<GdkRectangle> m_rects;
};
// How many viewable X windows carry this title, anywhere on the display.
int ViewableWindowsTitled(const std::string& title);

// A control's box in its window's client area.
GdkRectangle BoundsIn(GtkWidget* control);
// Asks a window to close as the window manager does (the close box, Alt+F4): a delete event.
void SendDeleteEvent(GtkWidget* window);

// The window rendered as its pixels, 0x00RRGGBB.
struct Rendering {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
};
Rendering Render(GtkWidget* window);

// A session bus of the test's own: a real dbus-daemon, ended with the object.
class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // A new connection to it, as another program would have.
    GObjectPtr<GDBusConnection> Connect() const;

  private:
    std::string m_address;
    GPid m_daemon = 0;
};

// An object of the test's own at PATH on BUS, its one interface described by XML; its id.
guint RegisterObject(GDBusConnection* bus, const char* path, const char* xml,
                     const GDBusInterfaceVTable& vtable, gpointer data);

// A method call over BUS, answered while the main loop turns (the object called may live in
// this process); its reply, or null after an error or 3 s.
GVariant* Call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
               const char* method, GVariant* parameters);

}  // namespace zavi::test
