#include "PageProtocol.h"

#include <cstdlib>
#include <vector>

namespace zavi::page {
namespace {

// How long an element stands still before the script says so: half the time after which
// the program takes it for stuck, so that it is told in time.
constexpr std::chrono::milliseconds kStillFor{kStuckAfter / 2};

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// A JSON object, member by member.
class Object {
  public:
    Object& Add(std::string_view name, std::string_view value) {
        m_text += m_text.size() > 1 ? "," : "";
        m_text += Quoted(name);
        m_text += ':';
        m_text += value;
        return *this;
    }
    Object& Add(std::string_view name, std::size_t value) {
        return Add(name, std::to_string(value));
    }
    Object& Add(std::string_view name, bool value) {
        return Add(name, std::string_view(value ? "true" : "false"));
    }
    std::string Text() const { return m_text + "}"; }

  private:
    std::string m_text = "{";
};

std::string StateJson(const ListenerState& state) {
    const int volume = state.volume < 0 ? 0 : state.volume > 100 ? 100 : state.volume;
    return Object()
        .Add("paused", state.paused)
        .Add("volume", std::to_string(volume / 100.0))
        .Add("muted", state.muted)
        .Add("resume", state.resume)
        .Text();
}

std::string ProtocolJson() {
    Object events;
    for (const MediaEvent event :
         {MediaEvent::Playing, MediaEvent::ListenerPause, MediaEvent::Ended, MediaEvent::Failed,
          MediaEvent::Stalled, MediaEvent::Loaded}) {
        const std::string_view name = MediaEventName(event);
        // The script names each event by the element's own event where there is one.
        const std::string_view key = event == MediaEvent::ListenerPause ? "pause"
                                     : event == MediaEvent::Failed      ? "error"
                                                                        : name;
        events.Add(key, Quoted(name));
    }
    const std::string media = Object()
                                  .Add("kind", Quoted(kMediaKind))
                                  .Add("element", std::size_t{kElement})
                                  .Add("event", std::size_t{kEvent})
                                  .Add("live", std::size_t{kLive})
                                  .Add("library", std::size_t{kLibrary})
                                  .Add("fresh", std::size_t{kFresh})
                                  .Add("idle", std::size_t{kIdle})
                                  .Text();
    const std::string title = Object()
                                  .Add("kind", Quoted(kTitleKind))
                                  .Add("title", std::size_t{kTitle})
                                  .Add("artist", std::size_t{kArtist})
                                  .Text();
    return Object()
        .Add("separator", Quoted(std::string_view(&kSeparator, 1)))
        .Add("events", events.Text())
        .Add("media", media)
        .Add("title", title)
        .Text();
}

std::vector<std::string_view> Fields(std::string_view message) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = message.find(kSeparator, start);
        fields.push_back(message.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

std::chrono::milliseconds Milliseconds(std::string_view text) {
    const std::string digits(text.substr(0, 12));
    const long long value = std::strtoll(digits.c_str(), nullptr, 10);
    return std::chrono::milliseconds(value < 0 ? 0 : value);
}

}  // namespace

std::string ScriptCall(std::string_view source, const ScriptSettings& settings) {
    static constexpr const char* kParts[] = {"documents", "detached", "all"};
    const std::string limits = Object()
                                   .Add("mostElements", kMostElements)
                                   .Add("checkMs", std::to_string(kCheckEvery.count()))
                                   .Add("stillMs", std::to_string(kStillFor.count()))
                                   .Text();
    const std::string json =
        Object()
            .Add("transport",
                 Quoted(settings.transport == Transport::WebKit ? "webkit" : "external"))
            .Add("part", Quoted(kParts[static_cast<int>(settings.part)]))
            .Add("channel", Quoted(settings.channel))
            .Add("command", Quoted(settings.command))
            .Add("token", Quoted(settings.token))
            .Add("protocol", ProtocolJson())
            .Add("limits", limits)
            .Add("state", StateJson(settings.state))
            .Text();
    std::string call = "(";
    call += source;
    call += ")(";
    call += json;
    call += ");";
    return call;
}

std::string CommandCall(const ScriptSettings& settings, const ListenerState& state) {
    const std::string name = Quoted(settings.command);
    std::string call = "if (typeof window[";
    call += name;
    call += "] === 'function') { window[";
    call += name;
    call += "](";
    call += Quoted(StateJson(state));
    call += "); }";
    return call;
}

long long Answer(MediaKeeper& keeper, std::string_view message, TimePoint now) {
    const std::vector<std::string_view> fields = Fields(message);
    if (fields[0] == kTitleKind && fields.size() == kTitleFields) {
        keeper.NowPlaying(std::string(fields[kTitle]), std::string(fields[kArtist]));
        return 0;
    }
    if (fields[0] != kMediaKind || fields.size() != kMediaFields) {
        return -1;
    }
    const std::string_view element = fields[kElement];
    const std::optional<MediaEvent> event = ParseMediaEvent(fields[kEvent]);
    if (element.empty() || element.size() > kLongestName || !event) {
        return -1;
    }
    MediaReport report{*event};
    report.live = fields[kLive] != "false";
    report.library = fields[kLibrary] == "true";
    report.fresh = fields[kFresh] == "true";
    report.idle = Milliseconds(fields[kIdle]);
    const auto delay = keeper.OnMedia(std::string(element), report, now);
    return delay ? delay->count() : -1;
}

}  // namespace zavi::page
