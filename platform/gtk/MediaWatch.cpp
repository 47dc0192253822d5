#include "MediaWatch.h"

#include <chrono>

#include "PageScriptSource.h"

namespace zavi {
namespace {

constexpr const char* kWorld = "zaviradio";
constexpr const char* kChannel = "zaviradioMedia";

std::string RandomName() {
    char* uuid = g_uuid_string_random();
    std::string name = "zavi";
    for (const char* c = uuid; *c != '\0'; ++c) {
        if (*c != '-') {
            name += *c;
        }
    }
    g_free(uuid);
    return name;
}

}  // namespace

MediaWatch::MediaWatch(WebKitUserContentManager* manager, MediaKeeper& keeper)
    : m_keeper(keeper),
      m_manager(
          GObjectPtr<WebKitUserContentManager>(WEBKIT_USER_CONTENT_MANAGER(g_object_ref(manager)))),
      m_pageChannel(RandomName()),
      m_command(RandomName()),
      m_token(RandomName()) {
    Listen(kChannel, kWorld);
    Listen(m_pageChannel, nullptr);
    AddScripts();
}

MediaWatch::~MediaWatch() {
    g_signal_handlers_disconnect_by_data(m_manager.get(), this);
    webkit_user_content_manager_unregister_script_message_handler_in_world(m_manager.get(),
                                                                           kChannel, kWorld);
    webkit_user_content_manager_unregister_script_message_handler(m_manager.get(),
                                                                  m_pageChannel.c_str());
    webkit_user_content_manager_remove_all_scripts(m_manager.get());
}

page::ScriptSettings MediaWatch::Settings(page::ScriptPart part) const {
    const bool own = part == page::ScriptPart::Documents;
    return {
        page::Transport::WebKit, part, own ? kChannel : m_pageChannel, m_command, m_token, m_state};
}

void MediaWatch::Listen(const std::string& channel, const char* world) {
    const std::string signal = "script-message-with-reply-received::" + channel;
    g_signal_connect(m_manager.get(), signal.c_str(), G_CALLBACK(&MediaWatch::OnMessage), this);
    webkit_user_content_manager_register_script_message_handler_with_reply(m_manager.get(),
                                                                           channel.c_str(), world);
}

// In every frame: station players are often a frame of the streaming service's own.
void MediaWatch::AddScripts() {
    webkit_user_content_manager_remove_all_scripts(m_manager.get());
    for (const page::ScriptPart part : {page::ScriptPart::Documents, page::ScriptPart::Detached}) {
        const std::string call = page::ScriptCall(page::kScriptSource, Settings(part));
        WebKitUserScript* script =
            part == page::ScriptPart::Documents
                ? webkit_user_script_new_for_world(
                      call.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kWorld, nullptr, nullptr)
                : webkit_user_script_new(call.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                         WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr,
                                         nullptr);
        webkit_user_content_manager_add_script(m_manager.get(), script);
        webkit_user_script_unref(script);
    }
}

void MediaWatch::SetState(WebKitWebView* view, const page::ListenerState& state) {
    m_state = state;
    m_state.resume = false;  // a page still to come plays as it will
    AddScripts();
    const std::string call = page::CommandCall(Settings(page::ScriptPart::Documents), state);
    for (const char* world : {kWorld, static_cast<const char*>(nullptr)}) {
        webkit_web_view_evaluate_javascript(view, call.c_str(), -1, world, nullptr, nullptr,
                                            nullptr, nullptr);
    }
}

gboolean MediaWatch::OnMessage(WebKitUserContentManager*, JSCValue* message,
                               WebKitScriptMessageReply* reply, gpointer self) {
    auto* watch = static_cast<MediaWatch*>(self);
    long long answer = -1;
    if (jsc_value_is_string(message)) {
        char* text = jsc_value_to_string(message);
        answer = page::Answer(watch->m_keeper, text, Clock::now());
        g_free(text);
    }
    JSCValue* value =
        jsc_value_new_number(jsc_value_get_context(message), static_cast<double>(answer));
    webkit_script_message_reply_return_value(reply, value);
    g_object_unref(value);
    return TRUE;
}

}  // namespace zavi
