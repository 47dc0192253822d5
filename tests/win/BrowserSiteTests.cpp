#include <gtest/gtest.h>

#include "platform/win32/BrowserSite.h"

namespace zavi {
namespace {

// The group of the document host's commands, spelt out here so the site's own copy is
// checked against the published value.
constexpr GUID kDocHostCommands{
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

class BrowserSiteTest : public ::testing::Test {
  protected:
    template <class Interface>
    ComPtr<Interface> Query(REFIID iid) {
        ComPtr<Interface> result;
        EXPECT_EQ(m_site->QueryInterface(iid, result.PutVoid()), S_OK);
        return result;
    }

    RECT m_bounds{0, 0, 665, 353};
    ComPtr<BrowserSite> m_site = BrowserSite::Create(nullptr, m_bounds);
};

TEST_F(BrowserSiteTest, GivesEveryInterfaceTheControlAsksForAndOneIdentity) {
    const auto identity = Query<IUnknown>(IID_IUnknown);
    for (const IID* iid :
         {&IID_IOleClientSite, &IID_IOleWindow, &IID_IOleInPlaceSite, &IID_IOleInPlaceUIWindow,
          &IID_IOleInPlaceFrame, &IID_IDocHostUIHandler, &IID_IOleCommandTarget}) {
        const auto part = Query<IUnknown>(*iid);
        ASSERT_TRUE(part);
        // Each interface leads back to the same object.
        ComPtr<IUnknown> back;
        ASSERT_EQ(part->QueryInterface(IID_IUnknown, back.PutVoid()), S_OK);
        EXPECT_EQ(back.get(), identity.get());
    }
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(m_site->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(BrowserSiteTest, CountsItsReferences) {
    m_site->AddRef();
    EXPECT_EQ(m_site->Release(), 1u);  // the fixture's own is left
    { const auto handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler); }
    EXPECT_EQ(m_site->AddRef(), 2u);  // the query's reference was given back
    m_site->Release();
}

TEST_F(BrowserSiteTest, AsksForTheScreensDpiNoBorderAndThemedControls) {
    const auto handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    info.dwFlags = DOCHOSTUIFLAG_DIALOG;  // whatever was there is replaced
    ASSERT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_DPI_AWARE | DOCHOSTUIFLAG_NO3DBORDER |
                                               DOCHOSTUIFLAG_THEME));
    EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));
    EXPECT_EQ(info.pchHostCss, nullptr);
    EXPECT_EQ(info.pchHostNS, nullptr);
}

TEST_F(BrowserSiteTest, LeavesTheRestOfTheDocumentHostToTheControl) {
    const auto handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    POINT at{10, 10};
    // S_FALSE and E_NOTIMPL both mean "do what you would do without a host handler".
    EXPECT_EQ(handler->ShowContextMenu(0, &at, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    MSG message{};
    EXPECT_EQ(handler->TranslateAccelerator(&message, nullptr, 0), S_FALSE);
    LPOLESTR key = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(handler->GetOptionKeyPath(&key, 0), S_FALSE);
    EXPECT_EQ(key, nullptr);
    IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
    EXPECT_EQ(handler->GetDropTarget(nullptr, &target), E_NOTIMPL);
    EXPECT_EQ(target, nullptr);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(handler->GetExternal(&external), S_FALSE);
    EXPECT_EQ(external, nullptr);
    wchar_t address[] = L"http://127.0.0.1/";
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(handler->TranslateUrl(0, address, &translated), S_FALSE);
    EXPECT_EQ(translated, nullptr);
    IDataObject* filtered = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(handler->FilterDataObject(nullptr, &filtered), S_FALSE);
    EXPECT_EQ(filtered, nullptr);
}

TEST_F(BrowserSiteTest, AnswersAScriptErrorSoThePageGoesOnWithoutADialog) {
    const auto target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(target->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, OLECMDEXECOPT_DODEFAULT,
                           nullptr, &out),
              S_OK);
    EXPECT_EQ(out.vt, VT_BOOL);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);  // scripts keep running

    OLECMD commands[] = {{OLECMDID_SHOWSCRIPTERROR, 0}, {OLECMDID_SHOWMESSAGE, 0}};
    ASSERT_EQ(target->QueryStatus(&kDocHostCommands, 2, commands, nullptr), S_OK);
    EXPECT_EQ(commands[0].cmdf, static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED));
    EXPECT_EQ(commands[1].cmdf, 0u);
}

TEST_F(BrowserSiteTest, ReportsEveryOtherCommandAsNotSupported) {
    const auto target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    VARIANT out;
    VariantInit(&out);
    // Another command of the same group: the control keeps its own handling of it.
    EXPECT_EQ(target->Exec(&kDocHostCommands, OLECMDID_SHOWMESSAGE, 0, nullptr, &out),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(out.vt, VT_EMPTY);
    // The same number in the standard group means another command; in a group the site
    // does not know, it is not asked at all.
    EXPECT_EQ(target->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(target->Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out),
              OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(out.vt, VT_EMPTY);
    OLECMD command{OLECMDID_SHOWSCRIPTERROR, OLECMDF_SUPPORTED};
    EXPECT_EQ(target->QueryStatus(nullptr, 1, &command, nullptr), S_OK);
    EXPECT_EQ(command.cmdf, 0u);
    EXPECT_EQ(target->QueryStatus(&IID_IUnknown, 1, &command, nullptr), OLECMDERR_E_UNKNOWNGROUP);
}

}  // namespace
}  // namespace zavi
