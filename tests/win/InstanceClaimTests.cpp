#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "TestForm.h"
#include "WineTestSupport.h"
#include "platform/InstanceClaim.h"

namespace zavi {
namespace {

using namespace std::chrono_literals;

// Each test claims a name of its own, so none sees another's claim; a second program is a
// second thread, since a mutex belongs to the thread that holds it.
TEST(InstanceClaim, TheFirstHoldsItAndASecondGetsItOnlyOnceTheFirstHasGone) {
    const char* name = "VLZaviRadio.TestClaim1";
    auto first = std::make_unique<InstanceClaim>(name);
    ASSERT_TRUE(first->Held());

    std::promise<void> firstGone;
    std::promise<bool> secondAtStart;
    std::promise<bool> secondAfterWaiting;
    std::thread second([&] {
        InstanceClaim claim(name);
        secondAtStart.set_value(claim.Held() || claim.WaitFor(50ms));
        firstGone.get_future().wait();
        secondAfterWaiting.set_value(claim.WaitFor(5000ms));
    });
    EXPECT_FALSE(secondAtStart.get_future().get());
    first.reset();
    firstGone.set_value();
    EXPECT_TRUE(secondAfterWaiting.get_future().get());
    second.join();

    // Another name is another program's claim.
    const InstanceClaim other("VLZaviRadio.TestClaim2");
    EXPECT_TRUE(other.Held());
}

TEST(InstanceClaim, AProgramThatWasKilledBlocksNoLaterLaunch) {
    const wchar_t* objectName = L"Local\\VLZaviRadio.TestClaim3.Instance";
    // A holder that ends without letting go, as a killed process does; the object itself
    // stays, since this handle keeps it.
    HANDLE kept = nullptr;
    std::thread killed([&] { kept = CreateMutexW(nullptr, TRUE, objectName); });
    killed.join();
    ASSERT_NE(kept, nullptr);

    InstanceClaim next("VLZaviRadio.TestClaim3");
    EXPECT_FALSE(next.Held());  // the object is there, held by nobody alive
    EXPECT_TRUE(next.WaitFor(0ms));
    CloseHandle(kept);
}

TEST(ShowRunningForm, RestoresAMinimizedWindowOfThatClassAndBringsItToTheFront) {
    EXPECT_FALSE(ShowRunningForm(test::kFramedTestForm));  // none yet

    test::FramedTestForm form;
    form.Load();
    EXPECT_FALSE(ShowRunningForm(test::kFramedTestForm));  // loaded but never shown
    form.Show();
    test::PumpMessagesFor(50);
    ShowWindow(form.hWnd(), SW_MINIMIZE);
    test::PumpMessagesFor(50);
    ASSERT_TRUE(IsIconic(form.hWnd()));

    EXPECT_TRUE(ShowRunningForm(test::kFramedTestForm));
    test::PumpMessagesFor(100);
    EXPECT_FALSE(IsIconic(form.hWnd()));
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_EQ(GetForegroundWindow(), form.hWnd());
}

}  // namespace
}  // namespace zavi
