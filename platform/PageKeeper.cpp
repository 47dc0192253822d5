#include "PageKeeper.h"

namespace zavi {

std::optional<MediaEvent> ParseMediaEvent(std::string_view name) {
    static constexpr std::pair<std::string_view, MediaEvent> kNames[] = {
        {"playing", MediaEvent::Playing}, {"pause", MediaEvent::ListenerPause},
        {"ended", MediaEvent::Ended},     {"error", MediaEvent::Failed},
        {"stalled", MediaEvent::Stalled}, {"loaded", MediaEvent::Loaded}};
    for (const auto& [text, event] : kNames) {
        if (name == text) {
            return event;
        }
    }
    return std::nullopt;
}

}  // namespace zavi
