// PageKeeper: what a web browser control asks of the window that owns it: where its page
// may go, and how a station page keeps playing through what real networks do. The control
// reports what it meets (a navigation, a page that did not load, what the page's media
// elements do, whether the view makes sound) and carries out the answers; the window
// decides.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Clock.h"

namespace zavi {

enum class NavigationVerdict {
    Stay,           // the view goes there
    OpenInBrowser,  // the user's default browser (or mail program) goes there instead
    Refuse,         // nothing goes there
};

// Why the page did not load: no answer at all (refused, no name, no network, timed out),
// an HTTP 5xx, or an HTTP 4xx (which may mean that the page has moved).
enum class PageFailure { Unreachable, ServerError, ClientError };

// What a page's media element did. ListenerPause is a pause that is not the end of the
// stream: the listener's, through the page's controls, a library's pause() or the
// desktop's media keys. Stalled: it should be playing but has made no progress. Loaded:
// its source's length is known (a live one has none).
enum class MediaEvent { Playing, ListenerPause, Ended, Failed, Stalled, Loaded };

// The event named as the page's script names it ("playing", "pause", "ended", "error",
// "stalled", "loaded"), and back.
std::optional<MediaEvent> ParseMediaEvent(std::string_view name);
std::string_view MediaEventName(MediaEvent event);

// A page cannot make the program keep more than this many elements.
inline constexpr std::size_t kMostElements = 64;
// No progress for this long, not paused: a connection that hangs without closing.
inline constexpr std::chrono::milliseconds kStuckAfter{10000};

struct MediaReport {
    MediaEvent event;
    // Its source has no end (a live stream); false for a finished recording or playlist.
    bool live = true;
    // Fed by the page's own player library (Media Source Extensions): never restarted
    // from its source, which belongs to the library.
    bool library = false;
    // It was asked to play (autoplay, play()) but has never played.
    bool fresh = false;
    // For Stalled: how long it has made no progress.
    std::chrono::milliseconds idle{0};
};

// Where the top page and new windows may go.
class NavigationKeeper {
  public:
    // The top page going to `url`: a link, a form, a redirect or a script's doing.
    virtual NavigationVerdict TopPage(std::string_view url) const = 0;
    // A new window asked for (window.open, a link with a target): never one of the view's.
    virtual NavigationVerdict NewWindow(std::string_view url) const = 0;

  protected:
    ~NavigationKeeper() = default;
};

// When a page that did not load is loaded again, and when one came.
class LoadKeeper {
  public:
    // The page did not load: after how long to load it again.
    virtual Delay PageFailed(PageFailure failure) = 0;
    // The page came: the old page's elements are gone.
    virtual void PageLoaded() = 0;

  protected:
    ~LoadKeeper() = default;
};

// What the page's media elements do, and what the page says it plays.
class MediaKeeper {
  public:
    // The delay after which the element is to be stopped (if it is not) and started again
    // from its own source, or none: leave it as it is, and drop a restart still to come.
    virtual std::optional<Delay> OnMedia(const std::string& element, const MediaReport& report,
                                         TimePoint now) = 0;
    // What the page says it plays (its media session), empty when it says nothing; and the
    // document's title.
    virtual void NowPlaying(const std::string& title, const std::string& artist) = 0;
    virtual void PageTitle(const std::string& title) = 0;

  protected:
    ~MediaKeeper() = default;
};

// What a browser that watches its own view asks (the Windows control times its loads and
// follows the network itself, and is not heard): how long a page may take, when a page
// waited for is loaded once the network is back, and when a page gone silent, or one
// whose process ended, is loaded again.
class ViewKeeper {
  public:
    // How long a page may take to come (a host that takes the connection and never
    // answers) before it counts as one that did not load.
    virtual Delay LoadTimeout() const = 0;
    // The desktop has a network again: after how long a page waited for is loaded, in
    // place of the wait the failure was given.
    virtual Delay NetworkReturned() = 0;
    // The view began or stopped making sound.
    virtual void OnSound(bool playing, TimePoint now) = 0;
    // Whether the page, silent when it should not be, is to be loaded again now; if so, the
    // keeper counts it as done.
    virtual bool ReloadDue(TimePoint now) = 0;
    // The page's web process ended under it (a crash, or out of memory) after the page had
    // come: after how long to load the page again, in a new one.
    virtual Delay EngineStopped(TimePoint now) = 0;

  protected:
    ~ViewKeeper() = default;
};

// What every browser asks; each of its parts takes only the keeper it needs.
class BrowserKeeper : public NavigationKeeper, public LoadKeeper, public MediaKeeper {
  protected:
    ~BrowserKeeper() = default;
};

// All of it: what the player's window answers (the Linux browser asks all of it).
class PageKeeper : public BrowserKeeper, public ViewKeeper {
  protected:
    ~PageKeeper() = default;
};

}  // namespace zavi
