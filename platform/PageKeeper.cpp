#include "PageKeeper.h"

namespace zavi {

namespace {

constexpr std::pair<std::string_view, MediaEvent> kNames[] = {
    {"playing", MediaEvent::Playing}, {"pause", MediaEvent::ListenerPause},
    {"ended", MediaEvent::Ended},     {"error", MediaEvent::Failed},
    {"stalled", MediaEvent::Stalled}, {"loaded", MediaEvent::Loaded}};

}  // namespace

std::string_view MediaEventName(MediaEvent event) {
    for (const auto& [text, named] : kNames) {
        if (named == event) {
            return text;
        }
    }
    return {};
}

std::optional<MediaEvent> ParseMediaEvent(std::string_view name) {
    for (const auto& [text, event] : kNames) {
        if (name == text) {
            return event;
        }
    }
    return std::nullopt;
}

}  // namespace zavi
