#include "MediaRecovery.h"

#include <algorithm>

namespace zavi {

std::optional<MediaEvent> ParseMediaEvent(std::string_view name) {
    if (name == "playing") {
        return MediaEvent::Playing;
    }
    if (name == "pause") {
        return MediaEvent::ListenerPause;
    }
    if (name == "ended") {
        return MediaEvent::Ended;
    }
    if (name == "error") {
        return MediaEvent::Failed;
    }
    return std::nullopt;
}

std::optional<MediaRecovery::Delay> MediaRecovery::OnEvent(const std::string& element,
                                                           MediaEvent event) {
    auto found = m_elements.find(element);
    if (event == MediaEvent::Playing) {
        if (found == m_elements.end()) {
            if (m_elements.size() >= kMostElements) {
                return std::nullopt;
            }
            found = m_elements.emplace(element, Element{State::Playing, kFirstDelay}).first;
        }
        found->second = {State::Playing, kFirstDelay};
        return std::nullopt;
    }
    // An element never heard playing is the page's business: nothing went away.
    if (found == m_elements.end()) {
        return std::nullopt;
    }
    Element& tracked = found->second;
    if (event == MediaEvent::ListenerPause) {
        tracked.state = State::PausedByListener;
        return std::nullopt;
    }
    if (tracked.state == State::PausedByListener) {
        return std::nullopt;  // a paused stream that drops stays paused
    }
    tracked.state = State::Recovering;
    const Delay delay = tracked.nextDelay;
    tracked.nextDelay = std::min(delay * 2, kLongestDelay);
    return delay;
}

}  // namespace zavi
