// MediaRecovery: decides when a station page's media element whose stream went away, or
// never came, is started again. A station's encoder or server restarts, its host refuses
// for a while, or a connection hangs; the page's <audio> then ends, fails or stands still
// and never tries again by itself. This brings it back, with a back-off, and never undoes
// a pause the listener (or the page) made. Elements fed by a player library (Media Source
// Extensions) are left to it: their source is not ours to load again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "../platform/PageKeeper.h"
#include "Backoff.h"

namespace zavi {

class MediaRecovery {
  public:
    // Near a second at first, doubling to ten: the station is heard again within about
    // ten seconds of its return, and an outage costs one attempt per ten seconds.
    static constexpr Delay kFirstDelay{1000};
    static constexpr Delay kLongestDelay{10000};
    static constexpr Delay kStuckAfter = zavi::kStuckAfter;
    // Played this long: the station is back, and the back-off starts afresh. A first
    // "playing" proves little: a restart can play a few seconds that were left over.
    static constexpr Delay kRealReturn{10000};
    static constexpr std::size_t kMostElements = zavi::kMostElements;

    std::optional<Delay> OnEvent(const std::string& element, const MediaReport& report,
                                 TimePoint now);
    // As above, with only the event known.
    std::optional<Delay> OnEvent(const std::string& element, MediaEvent event, TimePoint now = {}) {
        return OnEvent(element, MediaReport{event}, now);
    }

    // A new page: the elements of the old one are gone.
    void Forget() { m_elements.clear(); }

    std::size_t Tracked() const { return m_elements.size(); }
    // Some element is paused by the listener / being brought back by the program.
    bool ListenerPaused() const { return Any(State::PausedByListener); }
    bool Recovering() const { return Any(State::Recovering); }

  private:
    enum class State { Playing, PausedByListener, Recovering, LibraryTrouble };
    struct Element {
        State state = State::Playing;
        Backoff backoff{kFirstDelay, kLongestDelay};
        TimePoint playingSince{};
        bool live = true;
    };

    std::optional<Delay> Trouble(Element& element, const MediaReport& report, TimePoint now);
    bool Any(State state) const;

    std::unordered_map<std::string, Element> m_elements;
};

}  // namespace zavi
