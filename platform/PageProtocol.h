// PageProtocol: how the program and its script in the station page (PageScript.js) speak,
// defined here once and handed to the script when it is put in the page. The script sends
// messages, each one string: its kind, then that kind's fields in the order below, joined
// by the separator. A media report is answered with the delay after which the element is
// to be started again, or -1; the page is told the listener's state by a call of the
// script's command with that state as JSON.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "PageKeeper.h"

namespace zavi::page {

inline constexpr char kSeparator = '\x1f';
inline constexpr std::string_view kMediaKind = "media";
inline constexpr std::string_view kTitleKind = "title";

// Each field's place in a message of its kind (the kind is at 0).
enum MediaField : std::size_t {
    kElement = 1,
    kEvent,
    kLive,
    kLibrary,
    kFresh,
    kIdle,
    kMediaFields
};
enum TitleField : std::size_t { kTitle = 1, kArtist, kTitleFields };

// An element's name is the script's own (frame and number); longer is no report of ours.
inline constexpr std::size_t kLongestName = 64;
// How often the script looks at playing elements' positions, and how long one stands still
// before it says so: half the time after which the program takes it for stuck.
inline constexpr std::chrono::milliseconds kCheckEvery{2500};

// What the listener holds from the tray. Volume in per cent; resume asks elements that
// went silent to play at once.
struct ListenerState {
    bool paused = false;
    int volume = 100;
    bool muted = false;
    bool resume = false;
};

// Linux runs the script twice (the program's own world for the documents' elements, the
// page's for media outside them); Windows' control has one world.
enum class ScriptPart { Documents, Detached, All };
enum class Transport { WebKit, External };

struct ScriptSettings {
    Transport transport;
    ScriptPart part;
    std::string channel;  // the message handler's name (WebKit), or window.external's method
    std::string command;  // the name the script takes the listener's state under
    std::string token;    // what marks the state passed on to frames
    ListenerState state;
};

// The script's source called with its settings: what is put in the page.
std::string ScriptCall(std::string_view source, const ScriptSettings& settings);
// What runs in a frame that has the script to tell it the listener's state.
std::string CommandCall(const ScriptSettings& settings, const ListenerState& state);

// A message from the page answered through its keeper: a media report with the delay in
// milliseconds (or -1), what the page says it plays with 0, anything else with -1.
long long Answer(MediaKeeper& keeper, std::string_view message, TimePoint now);

}  // namespace zavi::page
