#include "MediaRecovery.h"

#include <algorithm>

namespace zavi {

std::optional<Delay> MediaRecovery::OnEvent(const std::string& name, const MediaReport& report,
                                            TimePoint now) {
    auto found = m_elements.find(name);
    if (found == m_elements.end()) {
        // An element never heard playing is the page's business, unless the page asked it
        // to play and it never could: the station's stream was not there yet.
        const bool wanted =
            report.fresh && !report.library &&
            (report.event == MediaEvent::Failed || report.event == MediaEvent::Ended ||
             report.event == MediaEvent::Stalled);
        if ((report.event != MediaEvent::Playing && !wanted) ||
            m_elements.size() >= kMostElements) {
            return std::nullopt;
        }
        found = m_elements.emplace(name, Element{}).first;
        found->second.playingSince = now;
        found->second.live = report.live && !wanted;  // of a stream never heard: unknown
        if (wanted) {
            return Trouble(found->second, report, now);
        }
        return std::nullopt;
    }
    Element& element = found->second;
    // A live station restarted into a finished recording (a playlist that got its end
    // marker replays its last minute) is not back on the air.
    const bool replay = element.live && !report.live && element.state == State::Recovering;
    switch (report.event) {
        case MediaEvent::Playing:
            if (replay) {
                return Trouble(element, report, now);
            }
            element.state = State::Playing;
            element.playingSince = now;
            element.live = report.live;
            return std::nullopt;
        case MediaEvent::Loaded:
            if (replay) {
                return Trouble(element, report, now);
            }
            return std::nullopt;
        case MediaEvent::ListenerPause:
            element.state = State::PausedByListener;
            return std::nullopt;
        case MediaEvent::Stalled:
            if (report.idle < kStuckAfter) {
                return std::nullopt;  // slow, or just now waiting: not yet stuck
            }
            [[fallthrough]];
        case MediaEvent::Ended:
        case MediaEvent::Failed:
            if (element.state == State::PausedByListener) {
                return std::nullopt;  // a paused stream that drops stays paused
            }
            return Trouble(element, report, now);
    }
    return std::nullopt;
}

std::optional<Delay> MediaRecovery::Trouble(Element& element, const MediaReport& report,
                                            TimePoint now) {
    if (element.state == State::Playing && now - element.playingSince >= kRealReturn) {
        element.backoff.Reset();
    }
    if (report.library) {
        element.state = State::LibraryTrouble;
        return std::nullopt;
    }
    element.state = State::Recovering;
    return element.backoff.Next();
}

bool MediaRecovery::Any(State state) const {
    return std::any_of(m_elements.begin(), m_elements.end(),
                       [state](const auto& element) { return element.second.state == state; });
}

}  // namespace zavi
