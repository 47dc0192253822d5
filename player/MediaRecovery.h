// MediaRecovery: decides when a station page's media element whose stream went away is
// started again. A station's encoder or server restarts, or it is off the air for a while;
// the page's <audio> then ends or fails and never tries again by itself. This brings it
// back, with a back-off, and never undoes a pause the listener (or the page) made.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zavi {

// What a page's media element reports. ListenerPause is a pause that is not the end of
// the stream: the listener's, through the page's controls, or the page's own scripts'.
enum class MediaEvent { Playing, ListenerPause, Ended, Failed };

// The event named as the page's script names it ("playing", "pause", "ended", "error").
std::optional<MediaEvent> ParseMediaEvent(std::string_view name);

class MediaRecovery {
  public:
    using Delay = std::chrono::milliseconds;
    // Near a second at first, doubling to ten: the station is heard again within about
    // ten seconds of its return, and an outage costs one attempt per ten seconds.
    static constexpr Delay kFirstDelay{1000};
    static constexpr Delay kLongestDelay{10000};
    // A page cannot make the program keep more than this many elements.
    static constexpr std::size_t kMostElements = 64;

    // The delay after which the element is to be restarted from its own source, or none:
    // leave it as it is, and drop any restart still to come.
    std::optional<Delay> OnEvent(const std::string& element, MediaEvent event);

    // A new page: the elements of the old one are gone.
    void Forget() { m_elements.clear(); }

    std::size_t Tracked() const { return m_elements.size(); }

  private:
    enum class State { Playing, PausedByListener, Recovering };
    struct Element {
        State state;
        Delay nextDelay;
    };
    std::unordered_map<std::string, Element> m_elements;
};

}  // namespace zavi
