#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GtkTestSupport.h"
#include "LoopbackServer.h"
#include "ProgramWindowsTest.h"
#include "StationConfig.h"
#include "player/StationAddress.h"

namespace zavi {
namespace {

// The channel the program's media script reports on, in its own script world, seen from a
// page the player loaded.
class MediaWatchTest : public test::ProgramWindowsTest {
  protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        ASSERT_TRUE(m_server.Listening());
        ZaviRadioSplash().Show();
        zavi::VelostanZaviRadio().Show();
        ASSERT_TRUE(test::PumpUntil([&] { return m_server.GetsFor(kStationPagePath) == 1; },
                                    test::kFirstLoadMs));
        // The reports below are the loaded page's: the player forgets the elements of the
        // page before it once the new one has come.
        test::PumpUntil([] { return webkit_web_view_is_loading(View()) == FALSE; }, 5000);
    }

    static WebKitWebView* View() { return VelostanZaviRadio().WebBrowser2().View(); }

    // Runs an async function body in a script world of the page (nullptr: the page's own),
    // with the arguments (a{sv}: its variables) if any, and gives its result as text, or
    // "error: " and the message.
    static std::string Run(const char* world, const std::string& body,
                           GVariant* arguments = nullptr) {
        struct Result {
            bool done = false;
            std::string text;
        };
        // Left to the callback if the engine never answers, so it writes nowhere stale.
        auto* result = new Result;
        webkit_web_view_call_async_javascript_function(
            View(), body.c_str(), -1, arguments, world, nullptr, nullptr,
            [](GObject* view, GAsyncResult* async, gpointer data) {
                auto* answer = static_cast<Result*>(data);
                GError* error = nullptr;
                JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
                    WEBKIT_WEB_VIEW(view), async, &error);
                if (value != nullptr) {
                    char* text = jsc_value_to_string(value);
                    answer->text = text;
                    g_free(text);
                    g_object_unref(value);
                } else {
                    answer->text = std::string("error: ") + error->message;
                    g_error_free(error);
                }
                answer->done = true;
            },
            result);
        if (!test::PumpUntil([&] { return result->done; }, 5000)) {
            return "no answer";
        }
        const std::string text = result->text;
        delete result;
        return text;
    }

    // Posts each "element/event" of the list on the channel, as the page script's media
    // reports of a live stream, and joins the answers.
    static std::string Report(const std::string& reports) {
        return Run("zaviradio",
                   "const channel = window.webkit.messageHandlers.zaviradioMedia;"
                   "const answers = [];"
                   "for (const report of reports.split(' ')) {"
                   "  const [element, event] = report.split('/');"
                   "  const message = ['media', element, event, true, false, false, 0];"
                   "  answers.push(await channel.postMessage(message.join('\\x1f')));"
                   "}"
                   "return answers.join(',');",
                   g_variant_new_parsed("{'reports': <%s>}", reports.c_str()));
    }

    test::LoopbackServer m_server{test::PortOf(kStationHost)};
};

TEST_F(MediaWatchTest, AnswersThePageScriptWithWhenToRestart) {
    // Playing, then the stream ends and three restarts fail: 1 s, 2 s, 4 s; playing
    // again for a moment is not yet a return; a listener's pause is left alone, and so is
    // what follows it.
    EXPECT_EQ(Report("f:1/playing f:1/ended f:1/error f:1/error f:1/playing f:1/ended"),
              "-1,1000,2000,4000,-1,8000");
    EXPECT_EQ(Report("f:2/playing f:2/pause f:2/ended f:2/error"), "-1,-1,-1,-1");
    // An element never heard playing, an unknown event, and what is not a report at all.
    EXPECT_EQ(Report("f:3/error f:3/play f:3/stalled"), "-1,-1,-1");
    EXPECT_EQ(Run("zaviradio",
                  "const channel = window.webkit.messageHandlers.zaviradioMedia;"
                  "return [await channel.postMessage('playing'),"
                  "        await channel.postMessage({element: 7, event: 'playing'}),"
                  "        await channel.postMessage('media\\x1ff:4')].join(',');"),
              "-1,-1,-1");
}

TEST_F(MediaWatchTest, ThePageItselfCannotSeeTheChannel) {
    EXPECT_EQ(Run(nullptr,
                  "return typeof (window.webkit && window.webkit.messageHandlers &&"
                  "               window.webkit.messageHandlers.zaviradioMedia);"),
              "undefined");
    EXPECT_EQ(Run("zaviradio", "return typeof window.webkit.messageHandlers.zaviradioMedia;"),
              "object");
    // The page's own world has a channel of the program's too, for media outside its
    // documents, under a name the page cannot list.
    EXPECT_EQ(Run(nullptr,
                  "return Object.keys(window.webkit.messageHandlers).length + ':' +"
                  "       Object.getOwnPropertyNames(window.webkit.messageHandlers).length;"),
              "0:0");
}

TEST_F(MediaWatchTest, ANewPageForgetsTheOldOnesElements) {
    EXPECT_EQ(Report("f:1/playing"), "-1");
    VelostanZaviRadio().WebBrowser2().Navigate(StationPageAddress(kStationHost));
    ASSERT_TRUE(test::PumpUntil([&] { return m_server.GetsFor(kStationPagePath) == 2; }, 10000));
    test::PumpUntil([] { return webkit_web_view_is_loading(View()) == FALSE; }, 5000);
    EXPECT_EQ(Report("f:1/ended"), "-1");
}

}  // namespace
}  // namespace zavi
