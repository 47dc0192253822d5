#include <gtest/gtest.h>

#include <exdispid.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "StationConfig.h"
#include "WineTestSupport.h"
#include "platform/win32/BrowserEvents.h"
#include "platform/win32/WebBrowser.h"
#include "player/StationAddress.h"
#include "player/StationKeeper.h"

namespace zavi {
namespace {

// An event's arguments as the control passes them: last first.
class EventArguments {
  public:
    explicit EventArguments(std::vector<VARIANT> inDeclarationOrder)
        : m_values(inDeclarationOrder.rbegin(), inDeclarationOrder.rend()) {
        m_parameters.rgvarg = m_values.data();
        m_parameters.cArgs = static_cast<UINT>(m_values.size());
    }
    DISPPARAMS* get() { return &m_parameters; }

  private:
    std::vector<VARIANT> m_values;
    DISPPARAMS m_parameters{};
};

VARIANT Dispatch(IDispatch* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = value;
    return v;
}
VARIANT Text(BSTR value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
}
VARIANT TextByRef(VARIANT* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = value;
    return v;
}
VARIANT Flag(VARIANT_BOOL value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value;
    return v;
}
VARIANT FlagByRef(VARIANT_BOOL* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = value;
    return v;
}
VARIANT Empty() {
    VARIANT v;
    VariantInit(&v);
    return v;
}

// Keeps to the station as the player does, counts the failures it is told of and answers
// each with a short wait.
class CountingKeeper final : public BrowserKeeper {
  public:
    NavigationVerdict TopPage(std::string_view url) const override {
        return m_station.TopPage(url);
    }
    NavigationVerdict NewWindow(std::string_view url) const override {
        return m_station.NewWindow(url);
    }
    Delay PageFailed(PageFailure failure) override {
        failures.push_back(failure);
        return Delay(200);
    }
    void PageLoaded() override { ++loaded; }
    // Media reports are answered with their element's number of seconds.
    std::optional<Delay> OnMedia(const std::string& element, const MediaReport& report,
                                 TimePoint) override {
        reports.push_back(element + "/" + std::string(MediaEventName(report.event)));
        return Delay(1000 * std::atoi(element.c_str()));
    }
    void NowPlaying(const std::string& title, const std::string& artist) override {
        titles.push_back(title + "|" + artist);
    }
    void PageTitle(const std::string& title) override { titles.push_back(title); }

    std::vector<PageFailure> failures;
    std::vector<std::string> reports;
    std::vector<std::string> titles;
    int loaded = 0;

  private:
    StationKeeper m_station;
};

class BrowserEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_binding.emplace(test::RecordingTable());
        m_parent = CreateWindowExW(0, L"STATIC", L"Browser events test", WS_POPUP, 0, 0, 665, 353,
                                   nullptr, nullptr, nullptr, nullptr);
        m_browser.emplace(m_parent, PixelRect{0, 0, 665, 353}, m_keeper);
        m_events = BrowserEvents::Connect(m_browser->Control(), m_keeper);
    }
    void TearDown() override {
        m_events->Disconnect();
        m_events.Reset();
        m_browser.reset();
        DestroyWindow(m_parent);
        m_binding.reset();
    }

    // BeforeNavigate2 for the frame going to the address; true when it was cancelled.
    bool BeforeNavigate(IDispatch* frame, const wchar_t* address) {
        BSTR url = SysAllocString(address);
        VARIANT urlValue = Text(url);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EventArguments arguments({Dispatch(frame), TextByRef(&urlValue), Empty(), Empty(), Empty(),
                                  Empty(), FlagByRef(&cancel)});
        Invoke(DISPID_BEFORENAVIGATE2, arguments);
        SysFreeString(url);
        return cancel == VARIANT_TRUE;
    }
    bool NewWindow(const wchar_t* address) {
        BSTR url = SysAllocString(address);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EventArguments arguments({Empty(), FlagByRef(&cancel), Empty(), Empty(), Text(url)});
        Invoke(DISPID_NEWWINDOW3, arguments);
        SysFreeString(url);
        return cancel == VARIANT_TRUE;
    }
    // NavigateError for the frame with this status; true when its error page was cancelled.
    bool NavigateError(IDispatch* frame, long status) {
        VARIANT code;
        VariantInit(&code);
        code.vt = VT_I4;
        code.lVal = status;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EventArguments arguments(
            {Dispatch(frame), Empty(), Empty(), TextByRef(&code), FlagByRef(&cancel)});
        Invoke(DISPID_NAVIGATEERROR, arguments);
        return cancel == VARIANT_TRUE;
    }
    bool FileDownload(bool activeDocument) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EventArguments arguments(
            {Flag(activeDocument ? VARIANT_TRUE : VARIANT_FALSE), FlagByRef(&cancel)});
        Invoke(DISPID_FILEDOWNLOAD, arguments);
        return cancel == VARIANT_TRUE;
    }
    void Invoke(DISPID event, EventArguments& arguments) {
        EXPECT_EQ(m_events->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, arguments.get(), nullptr,
                                   nullptr, nullptr),
                  S_OK);
    }
    IDispatch* TopFrame() const { return m_browser->Control(); }

    CountingKeeper m_keeper;  // keeps the control to the built-in station, as the player's
    std::optional<API::ScopedBinding> m_binding;
    HWND m_parent = nullptr;
    std::optional<WebBrowser> m_browser;
    ComPtr<BrowserEvents> m_events;
};

TEST_F(BrowserEventsTest, TheTopPageKeepsToTheStationAndOtherHostsGoToTheDefaultBrowser) {
    const std::wstring station = Widen(StationPageAddress(kStationHost));
    EXPECT_FALSE(BeforeNavigate(TopFrame(), station.c_str()));
    EXPECT_FALSE(BeforeNavigate(TopFrame(), L"http://127.0.0.1/another/page.html"));
    EXPECT_TRUE(test::Recorded().opened.empty());

    EXPECT_TRUE(BeforeNavigate(TopFrame(), L"http://127.0.0.2/elsewhere.html"));
    EXPECT_TRUE(BeforeNavigate(TopFrame(), L"mailto:studio@example.np"));
    EXPECT_TRUE(BeforeNavigate(TopFrame(), L"file:///C:/windows/win.ini"));
    EXPECT_EQ(test::Recorded().opened,
              (std::vector<std::wstring>{L"http://127.0.0.2/elsewhere.html",
                                         L"mailto:studio@example.np"}));
}

TEST_F(BrowserEventsTest, FramesGoWhereThePageSendsThem) {
    // Another control stands for a frame of the page: not the top one.
    WebBrowser frame(m_parent, PixelRect{0, 0, 10, 10}, m_keeper);
    EXPECT_FALSE(BeforeNavigate(frame.Control(), L"https://player.streaming.example/embed"));
    EXPECT_TRUE(test::Recorded().opened.empty());
}

TEST_F(BrowserEventsTest, NoNewWindowIsEverOpenedAndDownloadsAreRefused) {
    EXPECT_TRUE(NewWindow(L"https://www.example.com/"));
    EXPECT_EQ(test::Recorded().opened, (std::vector<std::wstring>{L"https://www.example.com/"}));
    // Within the station the control goes there itself.
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    EXPECT_TRUE(NewWindow(Widen("http://" + std::string(kStationHost) + "/popup.html").c_str()));
    EXPECT_EQ(test::Recorded().opened.size(), 1u);
    for (int i = 0; i < 300 && server.GetsFor("/popup.html") == 0; ++i) {
        test::PumpMessagesFor(10);
    }
    EXPECT_EQ(server.GetsFor("/popup.html"), 1);

    EXPECT_TRUE(FileDownload(false));
    EXPECT_FALSE(FileDownload(true));  // the control showing a page of its own
}

TEST_F(BrowserEventsTest, TheRealControlAsksAndAnotherHostIsNeverRequested) {
    m_events->Disconnect();  // the control's own, connected by Navigate, is the one at work
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    m_browser->Navigate(StationPageAddress(kStationHost));
    for (int i = 0; i < 300 && server.GetsFor(kStationPagePath) == 0; ++i) {
        test::PumpMessagesFor(10);
    }
    ASSERT_EQ(server.GetsFor(kStationPagePath), 1);
    // The same server under another name is another host to the page.
    const std::wstring elsewhere =
        L"http://localhost:" + std::to_wstring(test::PortOf(kStationHost)) + L"/elsewhere.html";
    BSTR url = SysAllocString(elsewhere.c_str());
    VARIANT none;
    VariantInit(&none);
    m_browser->Control()->Navigate(url, &none, &none, &none, &none);
    SysFreeString(url);
    test::PumpMessagesFor(500);
    EXPECT_EQ(server.GetsFor("/elsewhere.html"), 0);
    EXPECT_EQ(test::Recorded().opened, (std::vector<std::wstring>{elsewhere}));
}

}  // namespace
}  // namespace zavi

namespace zavi {
namespace {

TEST_F(BrowserEventsTest, ATopPageThatFailsShowsNoErrorPageAndItsOwnerIsTold) {
    m_events->Disconnect();
    std::vector<PageFailure> failures;
    m_events = BrowserEvents::Connect(m_browser->Control(), m_keeper,
                                      [&](PageFailure failure) { failures.push_back(failure); });
    const long kResourceNotFound = static_cast<long>(0x800C0005);  // INET_E_RESOURCE_NOT_FOUND
    EXPECT_TRUE(NavigateError(TopFrame(), 503));
    EXPECT_TRUE(NavigateError(TopFrame(), 404));
    EXPECT_TRUE(NavigateError(TopFrame(), kResourceNotFound));
    EXPECT_EQ(failures,
              (std::vector<PageFailure>{PageFailure::ServerError, PageFailure::ClientError,
                                        PageFailure::Unreachable}));
    // A frame's failure is the page's own business; the control's own trouble (here Wine's,
    // which has no document engine: REGDB_E_CLASSNOTREG) is not mended by loading again.
    WebBrowser frame(m_parent, PixelRect{0, 0, 10, 10}, m_keeper);
    EXPECT_FALSE(NavigateError(frame.Control(), 503));
    EXPECT_FALSE(NavigateError(TopFrame(), static_cast<long>(0x80040154)));
    EXPECT_FALSE(NavigateError(TopFrame(), 200));
    EXPECT_EQ(failures.size(), 3u);
}

// The real control, sent to a host that is not there yet: it is tried again when the
// keeper says, and the page is requested once the host answers.
TEST_F(BrowserEventsTest, APageThatDidNotLoadIsLoadedAgainWhenTheKeeperSays) {
    m_events->Disconnect();
    m_browser->Navigate(StationPageAddress(kStationHost));  // nothing listens yet
    for (int i = 0; i < 500 && m_keeper.failures.empty(); ++i) {
        test::PumpMessagesFor(10);
    }
    ASSERT_FALSE(m_keeper.failures.empty());
    EXPECT_EQ(m_keeper.failures[0], PageFailure::Unreachable);
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    for (int i = 0; i < 500 && server.GetsFor(kStationPagePath) == 0; ++i) {
        test::PumpMessagesFor(10);
    }
    EXPECT_EQ(server.GetsFor(kStationPagePath), 1);
}

// The page's way to the program: window.external, as the control asks the document host
// for it, by the method the script was told of. (Wine has no engine to run the script
// itself: its injection at DocumentComplete cannot be seen here.)
TEST_F(BrowserEventsTest, ThePageScriptReportsThroughWindowExternal) {
    CountingKeeper& keeper = m_keeper;
    ComPtr<IDocHostUIHandler> host;
    ComPtr<IOleObject> control;
    ASSERT_TRUE(SUCCEEDED(m_browser->Control()->QueryInterface(IID_IOleObject, control.PutVoid())));
    ComPtr<IOleClientSite> site;
    ASSERT_TRUE(SUCCEEDED(control->GetClientSite(site.Put())));
    ASSERT_TRUE(SUCCEEDED(site->QueryInterface(IID_IDocHostUIHandler, host.PutVoid())));
    ComPtr<IDispatch> external;
    ASSERT_EQ(host->GetExternal(external.Put()), S_OK);
    ASSERT_TRUE(external);

    const std::wstring method = Widen(m_browser->Script().channel);
    const auto call = [&](const std::wstring& name, const std::wstring& message) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
        DISPID id = 0;
        if (FAILED(external->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) {
            return std::wstring(L"no such method");
        }
        BSTR text = SysAllocString(message.c_str());
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = text;
        DISPPARAMS parameters{&argument, nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT invoked = external->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters,
                                                 &result, nullptr, nullptr);
        SysFreeString(text);
        return SUCCEEDED(invoked) && result.vt == VT_I4 ? std::to_wstring(result.lVal)
                                                        : std::wstring(L"failed");
    };
    const auto message = [](std::initializer_list<std::wstring> fields) {
        std::wstring joined;
        for (const std::wstring& field : fields) {
            joined += (joined.empty() ? L"" : L"\x1f") + field;
        }
        return joined;
    };
    // A media report, in the protocol's fields, answered with the keeper's delay; a title
    // in Nepali arrives as it was; anything else is answered -1.
    EXPECT_EQ(
        call(method, message({L"media", L"3:1", L"ended", L"true", L"false", L"false", L"0"})),
        L"3000");
    EXPECT_EQ(call(method, message({L"title", L"\x0930\x0947\x0921\x093F\x092F\x094B", L"FM"})),
              L"0");
    EXPECT_EQ(call(method, message({L"media", L"1:1", L"sung", L"true", L"false", L"false", L"0"})),
              L"-1");
    EXPECT_EQ(call(L"alert", L"media"), L"no such method");
    EXPECT_EQ(keeper.reports, (std::vector<std::string>{"3:1/ended"}));
    EXPECT_EQ(keeper.titles,
              (std::vector<std::string>{"\xE0\xA4\xB0\xE0\xA5\x87\xE0\xA4\xA1\xE0\xA4\xBF"
                                        "\xE0\xA4\xAF\xE0\xA5\x8B|FM"}));
}

// A top page that came is a page that loaded: the keeper starts afresh (a failure's back-off
// is over); a frame's is not.
TEST_F(BrowserEventsTest, ATopPageThatCameIsReportedLoaded) {
    m_events->Disconnect();
    CountingKeeper keeper;
    int injected = 0;
    m_events = BrowserEvents::Connect(m_browser->Control(), keeper, {}, [&] { ++injected; });
    WebBrowser frame(m_parent, PixelRect{0, 0, 10, 10}, m_keeper);
    for (IDispatch* which : {static_cast<IDispatch*>(frame.Control()), TopFrame()}) {
        EventArguments arguments({Dispatch(which), Empty()});
        Invoke(DISPID_DOCUMENTCOMPLETE, arguments);
    }
    EXPECT_EQ(keeper.loaded, 1);
    EXPECT_EQ(injected, 1);
}

}  // namespace
}  // namespace zavi
